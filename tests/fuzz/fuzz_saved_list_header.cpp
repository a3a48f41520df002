// Feeds arbitrary bytes to the readers of the 57-byte saved-list header and of
// the older header of earlier releases, and to the recognition of files on
// disk (old, 32-bit per tool, batch zip).
//
// Checks besides "no crash": a header read from bytes writes back to bytes
// that read as the same header, and to the input itself once the unused part
// of the type field is zeroed; the reading check agrees with the tables; the
// kind named by DiskFileType carries the signature read; the older header name
// is never longer than its length byte; recognition of a file agrees with the
// header read from its bytes.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "quillrt/framework/streams.h"
#include "quillrt/process/shared_state.h"
#include "quillrt/vocabulary/file_recognition.h"
#include "quillrt/vocabulary/saved_list_header.h"
#include "quillrt/vocabulary/tool_names.h"

namespace {

using namespace quill;

void Check(bool condition) {
  if (!condition) std::abort();
}

TCheckSignatureBytes FirstBytes(const std::uint8_t* data, std::size_t size) {
  TCheckSignatureBytes bytes{};
  std::copy_n(data, std::min(size, bytes.size()), bytes.begin());
  return bytes;
}

void FuzzHeaderBytes(const std::uint8_t* data, std::size_t size) {
  const TCheckSignatureBytes raw = FirstBytes(data, size);
  const TCheckSignature sig = CheckSignatureFromBytes(raw);
  Check(sig.type_of_data.size() <= kCheckSignatureTypeChars);
  const TCheckSignatureBytes written = CheckSignatureToBytes(sig);
  Check(CheckSignatureFromBytes(written) == sig);
  // What the writer changes: the length byte clamped to 40, the bytes past it zeroed.
  TCheckSignatureBytes expected = raw;
  expected[16] = static_cast<std::uint8_t>(std::min<std::size_t>(raw[16], kCheckSignatureTypeChars));
  std::fill(expected.begin() + 17 + expected[16], expected.end(), 0);
  Check(written == expected);

  const list_type kind = DiskFileType(sig);
  if (kind != lt_none_in_use && sig.type_of_data != "KeyWords Database (v. 2)32")
    Check(sig.type_of_data == ListSignature32Of(kind));
}

void FuzzHeaderStream(const std::uint8_t* data, std::size_t size) {
  TMemoryStream stream;
  if (size > 0) stream.WriteBuffer(data, static_cast<std::int64_t>(size));
  const tool_type tool = size > 0 ? static_cast<tool_type>(data[0] % (kToolKindCount + 2)) : tool_none;
  const list_type lt = size > 1 ? static_cast<list_type>(data[1] % (kListKindCount + 2)) : lt_word_list;
  stream.SetPosition(0);
  TCheckSignature sig;
  const bool ok = DiskSignatureISOKForToolAndList(sig, tool, lt, stream, reading);
  Check(sig == CheckSignatureFromBytes(FirstBytes(data, size)));
  const bool expected = size >= kCheckSignatureSize && tool < kToolKindCount && lt < kListKindCount &&
                        sig.signature == CurrentSignature[tool] && sig.type_of_data == list_signature32[lt];
  Check(ok == expected);

  // Writing then reading with the same tool and kind always agrees.
  if (tool < kToolKindCount && lt < kListKindCount) {
    TMemoryStream out;
    TCheckSignature written = sig;
    Check(DiskSignatureISOKForToolAndList(written, tool, lt, out, writing));
    out.SetPosition(0);
    TCheckSignature again;
    Check(DiskSignatureISOKForToolAndList(again, tool, lt, out, reading));
    Check(again == written);
  }
}

void FuzzOldHeaderName(const std::uint8_t* data, std::size_t size) {
  const std::size_t count = std::min<std::size_t>(size, 41);
  const AnsiString name = OldHeaderNameFromBytes(data, count);
  Check(count == 0 ? name.empty() : name.size() <= data[0]);
  Check(name.find('\0') == AnsiString::npos);
}

// The file recognition reads real files: one scratch file per process.
const std::string& ScratchFile() {
  static const std::string name = "/tmp/fuzz_saved_list_header." + std::to_string(::getpid());
  return name;
}

void FuzzRecognition(const std::uint8_t* data, std::size_t size) {
  const UnicodeString file = Utf8ToUtf16(ScratchFile());
  {
    TFileStream out(file, fmCreate);
    if (size > 0) out.WriteBuffer(data, static_cast<std::int64_t>(size));
  }
  TQYStored_File_rec rec;
  rec.filename = file;
  const TCheckSignature header = CheckSignatureFromBytes(FirstBytes(data, size));
  const bool has_header = size > kCheckSignatureSize;

  const tool_type tool = WhichToolsQuillary32BitFile(rec);
  if (tool == tool_none) {
    Check(rec.ListType == lt_none_in_use);
  } else {
    Check(has_header && CurrentSignature[tool] == header.signature && rec.ListType == DiskFileType(header));
  }
  Check(IsAQuillary32BitFileForTool(rec, tool_concordancer) == (has_header && header.signature == 36));
  current_tool_var = tool_word_lister;
  const bool earlier = WasAQuillary32BitFile(rec);
  Check(earlier == (has_header && header.signature >= 35 && header.signature < 37));

  const bool old = IsAnOldQuillaryFile(rec);
  Check(old == (rec.ListType != lt_none_in_use));
  if (old) Check(size > 41);

  rec.Number_within_Zipfile = -1;
  const bool batch = IsABatchZipFileForListType(rec);
  Check(rec.Number_within_Zipfile >= 0);
  if (!batch) Check(rec.ListType == lt_none_in_use && rec.Number_within_Zipfile == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzHeaderBytes(data, size);
  FuzzHeaderStream(data, size);
  FuzzOldHeaderName(data, size);
  FuzzRecognition(data, size);
  return 0;
}
