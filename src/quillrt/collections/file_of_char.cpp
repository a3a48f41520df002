#include "quillrt/collections/file_of_char.h"

#include <memory>
#include <string>

#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/sysutils.h"

namespace quill {

namespace {

constexpr unsigned char kByteOrderMark[] = {0xFF, 0xFE};

std::string LittleEndianUnits(const UnicodeString& text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

// The file opened at the place the next code unit goes.
std::unique_ptr<TFileStream> OpenForAppending(const UnicodeString& file_name) {
  if (FileExists(file_name)) {
    auto stream = std::make_unique<TFileStream>(file_name, fmOpenWrite);
    stream->Seek(stream->GetSize() / 2 * 2, TSeekOrigin::soBeginning);
    return stream;
  }
  auto stream = std::make_unique<TFileStream>(file_name, fmCreate);
  stream->WriteBuffer(kByteOrderMark, sizeof kByteOrderMark);
  return stream;
}

}  // namespace

void AddToFileOfChar(const UnicodeString& file_name, const UnicodeString& text) {
  if (file_name.empty()) return;
  try {
    const auto stream = OpenForAppending(file_name);
    const std::string bytes = LittleEndianUnits(text);
    if (!bytes.empty()) stream->WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  } catch (const EStreamError& error) {
    throw EInOutError(error.Message());
  }
}

}  // namespace quill
