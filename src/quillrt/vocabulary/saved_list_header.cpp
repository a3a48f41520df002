#include "quillrt/vocabulary/saved_list_header.h"

#include <algorithm>

#include "quillrt/framework/exceptions.h"
#include "quillrt/vocabulary/tool_names.h"

namespace quill {
namespace {

constexpr std::size_t kSignatureAt = 0;
constexpr std::size_t kInfoSizeAt = 4;
constexpr std::size_t kSaveHeightAt = 8;
constexpr std::size_t kSaveWidthAt = 12;
constexpr std::size_t kTypeLengthAt = 16;
constexpr std::size_t kTypeCharsAt = 17;
static_assert(kTypeCharsAt + kCheckSignatureTypeChars == kCheckSignatureSize);

// The kinds a header may name; lt_sorting (42) is no saved list.
constexpr unsigned kHeaderKinds = 42;

void PutInt32(TCheckSignatureBytes& bytes, std::size_t at, std::int32_t value) {
  TStream::ToLE(value, bytes.data() + at);
}

std::int32_t GetInt32(const TCheckSignatureBytes& bytes, std::size_t at) {
  return TStream::FromLE<std::int32_t>(bytes.data() + at);
}

// Reads as many of the 57 bytes as the stream gives; a failing stream gives none.
std::size_t ReadUpTo57(TStream& stream, TCheckSignatureBytes& bytes) {
  bytes.fill(0);
  try {
    std::size_t got = 0;
    while (got < bytes.size()) {
      const std::int64_t n = stream.Read(bytes.data() + got, static_cast<std::int64_t>(bytes.size() - got));
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    return got;
  } catch (const Exception&) {
    return 0;
  }
}

}  // namespace

TCheckSignatureBytes CheckSignatureToBytes(const TCheckSignature& sig) {
  TCheckSignatureBytes bytes{};
  PutInt32(bytes, kSignatureAt, sig.signature);
  PutInt32(bytes, kInfoSizeAt, sig.infosize);
  PutInt32(bytes, kSaveHeightAt, sig.save_height);
  PutInt32(bytes, kSaveWidthAt, sig.save_width);
  const std::size_t length = std::min(sig.type_of_data.size(), kCheckSignatureTypeChars);
  bytes[kTypeLengthAt] = static_cast<std::uint8_t>(length);
  std::copy_n(sig.type_of_data.begin(), length, bytes.begin() + kTypeCharsAt);
  return bytes;
}

TCheckSignature CheckSignatureFromBytes(const TCheckSignatureBytes& bytes) {
  TCheckSignature sig;
  sig.signature = GetInt32(bytes, kSignatureAt);
  sig.infosize = GetInt32(bytes, kInfoSizeAt);
  sig.save_height = GetInt32(bytes, kSaveHeightAt);
  sig.save_width = GetInt32(bytes, kSaveWidthAt);
  const std::size_t length = std::min<std::size_t>(bytes[kTypeLengthAt], kCheckSignatureTypeChars);
  sig.type_of_data.assign(reinterpret_cast<const char*>(bytes.data() + kTypeCharsAt), length);
  return sig;
}

bool ReadCheckSignature(TStream& stream, TCheckSignature& sig) {
  TCheckSignatureBytes bytes;
  const std::size_t got = ReadUpTo57(stream, bytes);
  sig = CheckSignatureFromBytes(bytes);
  return got == kCheckSignatureSize;
}

bool WriteCheckSignature(TStream& stream, const TCheckSignature& sig) {
  const TCheckSignatureBytes bytes = CheckSignatureToBytes(sig);
  try {
    return stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size())) ==
           static_cast<std::int64_t>(bytes.size());
  } catch (const Exception&) {
    return false;
  }
}

bool DiskSignatureISOKForToolAndList(TCheckSignature& sig, tool_type tool, list_type lt, TStream& stream,
                                     TWriteOrRead mode) {
  if (mode == writing) {
    sig.signature = CurrentSignatureOf(tool);
    sig.type_of_data = AnsiString(ListSignature32Of(lt));
    return WriteCheckSignature(stream, sig);
  }
  if (tool >= kToolKindCount || lt >= kListKindCount) return false;
  return ReadCheckSignature(stream, sig) && sig.signature == CurrentSignatureOf(tool) &&
         sig.type_of_data == ListSignature32Of(lt);
}

list_type DiskFileType(const TCheckSignature& sig) {
  for (unsigned k = 0; k < kHeaderKinds; ++k)
    if (sig.type_of_data == list_signature32[k]) return static_cast<list_type>(k);
  if (sig.type_of_data == "KeyWords Database (v. 2)32") return lt_KW_database_list;
  return lt_none_in_use;
}

}  // namespace quill
