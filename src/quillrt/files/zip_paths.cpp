#include "quillrt/files/zip_paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "quillrt/files/file_contents.h"
#include "quillrt/files/zip_archive.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/sysutils.h"

namespace quill {

namespace {

UnicodeString UserTempFolder() {
  std::error_code error;
  std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) base = "/tmp";
  return Utf8ToUtf16((base / ("quill-" + std::to_string(::getuid()))).string());
}

// Creates my_temp_path when missing and checks that it is a folder of ours that
// nobody else may enter (not a link someone left in its place).
void EnsurePrivateTempFolder() {
  const std::string path = SystemPath(ExcludeTrailingPathDelimiter(my_temp_path));
  ::mkdir(path.c_str(), 0700);
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid() ||
      (info.st_mode & 077) != 0)
    throw EFCreateError(u"Unsafe temporary folder: " + my_temp_path);
}

// Where ".zip" ends, followed by `delimiter`; npos when it is not there.
std::size_t ZipEnd(const UnicodeString& name) {
  const UnicodeString lower = LowerCase(name);
  for (const char16_t* marker : {u".zip\\", u".zip/"}) {
    const std::size_t at = lower.find(marker);
    if (at != UnicodeString::npos) return at + 4;
  }
  return UnicodeString::npos;
}

}  // namespace

UnicodeString my_temp_path = UserTempFolder();

bool IsZipExtension(const UnicodeString& ext) { return LowerCase(ext) == u".zip"; }

bool IsAZipFile(const UnicodeString& name) {
  const std::size_t dot = name.rfind(u'.');
  return dot != UnicodeString::npos && IsZipExtension(name.substr(dot));
}

bool IsWithinAZipFile(const UnicodeString& name) { return !FileExists(name) && ZipEnd(name) != UnicodeString::npos; }

UnicodeString ZipFileFullFileName(const UnicodeString& name) {
  const std::size_t end = ZipEnd(name);
  return end == UnicodeString::npos ? UnicodeString() : name.substr(0, end);
}

UnicodeString ZipFileWantedFileNameWithin(const UnicodeString& name) {
  const std::size_t end = ZipEnd(name);
  return end == UnicodeString::npos ? UnicodeString() : name.substr(end + 1);
}

UnicodeString ContentsOfFileWithinZipFile(const UnicodeString& zipname, int index) {
  TZipArchive archive;
  archive.SetFileName(zipname);
  archive.OpenArchive();
  const std::string bytes = archive.ExtractToBytes(index - 1);
  archive.CloseArchive();
  return DecodedTextBytes(bytes);
}

UnicodeString ContentsOfFileWithinZipFile(const UnicodeString& fullname) {
  TZipArchive archive;
  archive.SetFileName(ZipFileFullFileName(fullname));
  archive.OpenArchive();
  TMemoryStream stream;
  archive.ExtractToStream(ZipFileWantedFileNameWithin(fullname), stream);
  archive.CloseArchive();
  return DecodedTextBytes(
      std::string_view(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.GetSize())));
}

UnicodeString OpenedAZipFileToTempDir(const UnicodeString& zipname, int index) {
  const UnicodeString path = IncludeTrailingPathDelimiter(my_temp_path) + u"tempzip.txt";
  std::string entry;
  {
    TZipArchive archive;
    archive.SetFileName(zipname);
    archive.OpenArchive();
    if (index < 1 || index > archive.EntryCount()) return path;
    entry = archive.ExtractToBytes(index - 1);
  }
  const UnicodeString text = DecodedTextBytes(entry);
  std::string bytes("\xFF\xFE", 2);
  bytes.reserve(2 + text.size() * 2 + 4);
  auto put = [&](char16_t unit) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  };
  bool line_open = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      put(u'\r');
      put(u'\n');
      line_open = false;
    } else {
      put(c);
      line_open = true;
    }
  }
  if (line_open) {
    put(u'\r');
    put(u'\n');
  }
  EnsurePrivateTempFolder();
  WriteFileAtomically(path, [&](TStream& out) {
    out.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    return true;
  });
  return path;
}

}  // namespace quill
