#include "quillrt/files/zip_archive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "quillrt/files/zip_library.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/platform/file_system.h"

namespace quill {

using detail::Zip;

EZipError::~EZipError() = default;

namespace {

constexpr std::size_t kCopyBlock = 64 * 1024;

UnicodeString Quoted(const UnicodeString& name) { return u"\"" + name + u"\""; }

UnicodeString ErrorText(zip_error_t* error) { return Utf8ToUtf16(Zip().zip_error_strerror(error)); }

UnicodeString OpenErrorText(int code, const UnicodeString& what) {
  switch (code) {
    case ZIP_ER_NOENT: return u"Archive not found: " + Quoted(what);
    case ZIP_ER_NOZIP: return u"Not a zip archive: " + Quoted(what);
    case ZIP_ER_EXISTS: return u"Archive already exists: " + Quoted(what);
    default: {
      zip_error_t error;
      Zip().zip_error_init_with_code(&error, code);
      UnicodeString text = u"Cannot open archive " + Quoted(what) + u": " + ErrorText(&error);
      Zip().zip_error_fini(&error);
      return text;
    }
  }
}

// Entry attributes from the "external attributes" field, by the system that
// wrote the archive.
std::int32_t AttributesOf(zip_t* za, zip_uint64_t index, const std::string& name) {
  zip_uint8_t system = 0;
  zip_uint32_t external = 0;
  std::int32_t attr = faArchive;
  if (Zip().zip_file_get_external_attributes(za, index, 0, &system, &external) == 0) {
    if (system == ZIP_OPSYS_UNIX && (external >> 16) != 0) {
      const zip_uint32_t mode = external >> 16;
      attr = S_ISDIR(mode) ? faDirectory : faArchive;
      if ((mode & S_IWUSR) == 0) attr |= faReadOnly;
    } else if (system == ZIP_OPSYS_DOS || system == ZIP_OPSYS_UNIX) {
      attr = static_cast<std::int32_t>(external & 0x37);
      if (attr == 0) attr = faArchive;
    }
  }
  if (!name.empty() && (name.back() == '/' || name.back() == '\\')) attr = (attr & ~faArchive) | faDirectory;
  return attr;
}

std::time_t ToTimeT(TDateTime local_time) {
  int year, month, day, hour, minute, second, msec;
  if (local_time == 0 || !TryDecodeDateTime(local_time, year, month, day, hour, minute, second, msec))
    return std::time(nullptr);
  std::tm local {};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

UnicodeString WithForwardSlashes(UnicodeString name) {
  for (char16_t& c : name)
    if (c == u'\\') c = u'/';
  return name;
}

// The components of a stored name that may be written below a folder.
std::vector<std::string> SafeComponents(const std::string& stored) {
  std::vector<std::string> parts;
  std::string part;
  auto flush = [&] {
    if (!part.empty() && part != "." && part != "..") parts.push_back(part);
    part.clear();
  };
  for (char c : stored) {
    if (c == '/' || c == '\\')
      flush();
    else
      part.push_back(c);
  }
  flush();
  // A drive prefix ("C:") says where a Windows path started, nothing more.
  if (!parts.empty() && parts[0].size() == 2 && parts[0][1] == ':') parts.erase(parts.begin());
  return parts;
}

// A stream writing to a file descriptor it owns.
class TDescriptorStream : public TStream {
 public:
  explicit TDescriptorStream(int fd) : fd_(fd) {}
  ~TDescriptorStream() override { ::close(fd_); }
  std::int64_t Read(void*, std::int64_t) override { return 0; }
  std::int64_t Write(const void* buffer, std::int64_t count) override {
    const char* p = static_cast<const char*>(buffer);
    std::int64_t done = 0;
    while (done < count) {
      const ssize_t n = ::write(fd_, p + done, static_cast<std::size_t>(count - done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += n;
    }
    return done;
  }
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override {
    const int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET : origin == TSeekOrigin::soCurrent ? SEEK_CUR : SEEK_END;
    return ::lseek(fd_, offset, whence);
  }
  void SetSize(std::int64_t new_size) override {
    if (::ftruncate(fd_, new_size) != 0) throw EWriteError("cannot set the size of an extracted file");
  }

 private:
  int fd_;
};

class TDescriptor {
 public:
  explicit TDescriptor(int fd) : fd_(fd) {}
  ~TDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  int get() const { return fd_; }
  void reset(int fd) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

}  // namespace

struct TZipArchive::Handle {
  zip_t* za = nullptr;
  zip_source_t* memory_source = nullptr;  // kept alive to read the written bytes back
  std::string read_bytes;                 // what OpenFromBytes reads from
  bool writable = false;

  ~Handle() {
    // Holding anything means libzip was loaded to open it: Zip() cannot raise here.
    if (za != nullptr) Zip().zip_discard(za);
    if (memory_source != nullptr) Zip().zip_source_free(memory_source);
  }
};

TZipArchive::TZipArchive() = default;
TZipArchive::~TZipArchive() = default;

bool TZipArchive::Active() const { return handle_ != nullptr; }

void TZipArchive::SetFileName(const UnicodeString& file_name) {
  if (Active()) throw EZipError("The archive's file name cannot change while it is open");
  file_name_ = file_name;
}

void TZipArchive::RequireOpen() const {
  if (!Active()) throw EZipError("The archive is not open");
}

void TZipArchive::RequireWritable() const {
  RequireOpen();
  if (!handle_->writable) throw EZipError(u"The archive is open for reading only: " + Quoted(file_name_));
}

void TZipArchive::OpenArchive(TZipOpenMode mode) {
  if (Active()) CloseArchive();
  files_added_ = 0;
  int flags = ZIP_RDONLY;
  if (mode == TZipOpenMode::create) flags = ZIP_CREATE | ZIP_TRUNCATE;
  if (mode == TZipOpenMode::update) flags = ZIP_CREATE;
  if (mode == TZipOpenMode::read && DirectoryExists(file_name_)) throw EZipError(u"Not a zip archive: " + Quoted(file_name_));
  int code = 0;
  zip_t* za = Zip().zip_open(SystemPath(file_name_).c_str(), flags, &code);
  if (za == nullptr) throw EZipError(OpenErrorText(code, file_name_));
  handle_ = std::make_unique<Handle>();
  handle_->za = za;
  handle_->writable = mode != TZipOpenMode::read;
}

void TZipArchive::OpenFromBytes(std::string_view bytes) {
  if (Active()) CloseArchive();
  files_added_ = 0;
  auto handle = std::make_unique<Handle>();
  handle->read_bytes.assign(bytes);
  zip_error_t error;
  Zip().zip_error_init(&error);
  zip_source_t* source =
      Zip().zip_source_buffer_create(handle->read_bytes.data(), handle->read_bytes.size(), 0, &error);
  if (source == nullptr) {
    const UnicodeString text = ErrorText(&error);
    Zip().zip_error_fini(&error);
    throw EZipError(u"Cannot read an archive in memory: " + text);
  }
  zip_t* za = Zip().zip_open_from_source(source, ZIP_RDONLY, &error);
  if (za == nullptr) {
    const int code = Zip().zip_error_code_zip(&error);
    Zip().zip_error_fini(&error);
    Zip().zip_source_free(source);
    throw EZipError(OpenErrorText(code, u"(in memory)"));
  }
  Zip().zip_error_fini(&error);
  handle->za = za;
  handle_ = std::move(handle);
}

void TZipArchive::OpenFromStream(TStream& stream) {
  std::string bytes;
  stream.SetPosition(0);
  bytes.resize(static_cast<std::size_t>(stream.GetSize()));
  if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  OpenFromBytes(bytes);
}

void TZipArchive::CreateInMemory() {
  if (Active()) CloseArchive();
  files_added_ = 0;
  memory_bytes_.clear();
  zip_error_t error;
  Zip().zip_error_init(&error);
  zip_source_t* source = Zip().zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_t* za = source == nullptr ? nullptr : Zip().zip_open_from_source(source, ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (za == nullptr) {
    const UnicodeString text = ErrorText(&error);
    Zip().zip_error_fini(&error);
    if (source != nullptr) Zip().zip_source_free(source);
    throw EZipError(u"Cannot create an archive in memory: " + text);
  }
  Zip().zip_error_fini(&error);
  Zip().zip_source_keep(source);  // the archive owns one reference, we keep another
  handle_ = std::make_unique<Handle>();
  handle_->za = za;
  handle_->memory_source = source;
  handle_->writable = true;
}

int TZipArchive::EntryCount() const {
  if (!Active()) return 0;
  const zip_int64_t count = Zip().zip_get_num_entries(handle_->za, 0);
  if (count < 0) return 0;
  return count > INT_MAX ? INT_MAX : static_cast<int>(count);
}

void TZipArchive::CheckIndex(int index) const {
  RequireOpen();
  if (index < 0 || index >= EntryCount())
    throw EZipError(u"No entry " + IntToStr(index) + u" in archive " + Quoted(file_name_));
}

TZipFailureAction TZipArchive::Failure(const UnicodeString& name, TZipOperation operation, const UnicodeString& reason,
                                       TZipFailureAction action) {
  if (OnProcessFileFailure) OnProcessFileFailure(*this, name, operation, reason, action);
  if (action == zfaAbort) throw EZipError(Quoted(name) + u": " + reason);
  return action;
}

TZipEntryInfo TZipArchive::EntryInfo(int index) {
  CheckIndex(index);
  TZipEntryInfo info;
  zip_stat_t stat;
  Zip().zip_stat_init(&stat);
  if (Zip().zip_stat_index(handle_->za, static_cast<zip_uint64_t>(index), 0, &stat) != 0 ||
      (stat.valid & ZIP_STAT_NAME) == 0) {
    Failure(u"#" + IntToStr(index), TZipOperation::read_details, Utf8ToUtf16(Zip().zip_strerror(handle_->za)), zfaSkip);
    return info;
  }
  const std::string name = stat.name;
  info.StoredName = Utf8ToUtf16(name);
  if (stat.valid & ZIP_STAT_SIZE) info.Size = static_cast<std::int64_t>(stat.size);
  if (stat.valid & ZIP_STAT_COMP_SIZE) info.CompressedSize = static_cast<std::int64_t>(stat.comp_size);
  if (stat.valid & ZIP_STAT_MTIME) TryFileStampToDateTime({static_cast<std::int64_t>(stat.mtime), 0}, info.DateTime);
  if (stat.valid & ZIP_STAT_ENCRYPTION_METHOD) info.Encrypted = stat.encryption_method != ZIP_EM_NONE;
  info.Attr = AttributesOf(handle_->za, static_cast<zip_uint64_t>(index), name);
  return info;
}

UnicodeString TZipArchive::EntryName(int index) {
  CheckIndex(index);
  const char* name = Zip().zip_get_name(handle_->za, static_cast<zip_uint64_t>(index), 0);
  return name == nullptr ? UnicodeString() : Utf8ToUtf16(name);
}

int TZipArchive::FindEntry(const UnicodeString& name) const {
  if (!Active() || name.empty()) return -1;
  const UnicodeString wanted = WithForwardSlashes(name);
  int ignoring_case = -1;
  const int count = EntryCount();
  for (int i = 0; i < count; ++i) {
    const char* stored = Zip().zip_get_name(handle_->za, static_cast<zip_uint64_t>(i), 0);
    if (stored == nullptr) continue;
    const UnicodeString candidate = WithForwardSlashes(Utf8ToUtf16(stored));
    if (candidate == wanted) return i;
    if (ignoring_case < 0 && SameText(candidate, wanted)) ignoring_case = i;
  }
  return ignoring_case;
}

bool TZipArchive::ExtractToStream(int index, TStream& target) {
  CheckIndex(index);
  const UnicodeString name = EntryName(index);
  zip_file_t* file = Zip().zip_fopen_index(handle_->za, static_cast<zip_uint64_t>(index), 0);
  if (file == nullptr) {
    Failure(name, TZipOperation::extract, Utf8ToUtf16(Zip().zip_strerror(handle_->za)), zfaAbort);
    return false;
  }
  zip_stat_t stat;
  Zip().zip_stat_init(&stat);
  const bool size_known = Zip().zip_stat_index(handle_->za, static_cast<zip_uint64_t>(index), 0, &stat) == 0 &&
                          (stat.valid & ZIP_STAT_SIZE) != 0;
  const std::int64_t start = target.GetPosition();
  const bool appending = start == target.GetSize();
  std::vector<char> block(kCopyBlock);
  UnicodeString reason;
  zip_uint64_t delivered = 0;
  for (;;) {
    const zip_int64_t n = Zip().zip_fread(file, block.data(), block.size());
    if (n < 0) {
      reason = Utf8ToUtf16(Zip().zip_file_strerror(file));
      break;
    }
    if (n == 0) break;
    delivered += static_cast<zip_uint64_t>(n);
    try {
      target.WriteBuffer(block.data(), n);
    } catch (...) {
      Zip().zip_fclose(file);
      throw;
    }
  }
  Zip().zip_fclose(file);
  // A damaged directory can promise more bytes than the stored data holds; what
  // comes out short is not the entry.
  if (reason.empty() && size_known && delivered != stat.size)
    reason = u"the entry holds " + IntToStr(static_cast<std::uint64_t>(delivered)) + u" of the " +
             IntToStr(static_cast<std::uint64_t>(stat.size)) + u" bytes the archive lists";
  if (reason.empty()) return true;
  if (appending) {
    target.SetSize(start);
    target.SetPosition(start);
  }
  Failure(name, TZipOperation::extract, reason, zfaAbort);
  return false;
}

bool TZipArchive::ExtractToStream(const UnicodeString& name, TStream& target) {
  const int index = FindEntry(name);
  if (index < 0) throw EZipError(u"No entry " + Quoted(name) + u" in archive " + Quoted(file_name_));
  return ExtractToStream(index, target);
}

std::string TZipArchive::ExtractToBytes(int index) {
  TMemoryStream stream;
  ExtractToStream(index, stream);
  return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.GetSize()));
}

UnicodeString TZipArchive::ExtractToFolder(int index, const UnicodeString& folder) {
  const UnicodeString stored = EntryName(index);
  const std::string stored_bytes = Utf16ToUtf8(stored);
  const std::vector<std::string> parts = SafeComponents(stored_bytes);
  const bool is_folder = !stored_bytes.empty() && (stored_bytes.back() == '/' || stored_bytes.back() == '\\');
  if (parts.empty()) return {};

  TDescriptor dir(::open(SystemPath(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() < 0) {
    Failure(stored, TZipOperation::extract, u"cannot open folder " + Quoted(folder), zfaAbort);
    return {};
  }
  const std::size_t folders = is_folder ? parts.size() : parts.size() - 1;
  std::string written = SystemPath(ExcludeTrailingPathDelimiter(folder));
  for (std::size_t i = 0; i < folders; ++i) {
    ::mkdirat(dir.get(), parts[i].c_str(), 0777);
    const int next = ::openat(dir.get(), parts[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (next < 0) {
      Failure(stored, TZipOperation::extract, u"cannot create folder " + Quoted(Utf8ToUtf16(parts[i])), zfaAbort);
      return {};
    }
    dir.reset(next);
    written += "/" + parts[i];
  }
  if (is_folder) return {};
  const int fd = ::openat(dir.get(), parts.back().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) {
    Failure(stored, TZipOperation::extract, u"cannot create file " + Quoted(Utf8ToUtf16(parts.back())), zfaAbort);
    return {};
  }
  written += "/" + parts.back();
  TDescriptorStream out(fd);
  return ExtractToStream(index, out) ? Utf8ToUtf16(written) : UnicodeString();
}

AnsiString TZipArchive::Comment() const {
  if (!Active()) return {};
  int length = 0;
  const char* comment = Zip().zip_get_archive_comment(handle_->za, &length, ZIP_FL_ENC_RAW);
  return comment == nullptr || length <= 0 ? AnsiString() : AnsiString(comment, static_cast<std::size_t>(length));
}

void TZipArchive::SetComment(const AnsiString& comment) {
  RequireWritable();
  if (comment.size() > 0xFFFF) throw EZipError("An archive comment holds at most 65535 bytes");
  if (Zip().zip_set_archive_comment(handle_->za, comment.data(), static_cast<zip_uint16_t>(comment.size())) != 0)
    throw EZipError(u"Cannot set the archive comment: " + Utf8ToUtf16(Zip().zip_strerror(handle_->za)));
}

int TZipArchive::AddFile(const UnicodeString& path, const UnicodeString& stored_name) {
  RequireWritable();
  const UnicodeString name = stored_name.empty() ? ExtractFileName(path) : stored_name;
  const std::string native = SystemPath(path);
  {
    // The data is read when the archive is written; make sure now that it can be.
    TDescriptor probe(::open(native.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (probe.get() < 0 || ::fstat(probe.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
      Failure(path, TZipOperation::add, u"cannot read the file", zfaSkip);
      return 0;
    }
  }
  zip_error_t error;
  Zip().zip_error_init(&error);
  zip_source_t* source = Zip().zip_source_file_create(native.c_str(), 0, 0, &error);
  if (source == nullptr) {
    const UnicodeString text = ErrorText(&error);
    Zip().zip_error_fini(&error);
    Failure(path, TZipOperation::add, text, zfaSkip);
    return 0;
  }
  Zip().zip_error_fini(&error);
  const zip_int64_t index =
      Zip().zip_file_add(handle_->za, Utf16ToUtf8(name).c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
  if (index < 0) {
    Zip().zip_source_free(source);
    Failure(path, TZipOperation::add, Utf8ToUtf16(Zip().zip_strerror(handle_->za)), zfaSkip);
    return 0;
  }
  const zip_int32_t method = pack_level_ == 0 ? ZIP_CM_STORE : ZIP_CM_DEFLATE;
  Zip().zip_set_file_compression(handle_->za, static_cast<zip_uint64_t>(index), method, pack_level_);
  ++files_added_;
  return 1;
}

int TZipArchive::AddFromBytes(const UnicodeString& stored_name, std::string_view bytes, TDateTime local_time) {
  RequireWritable();
  // libzip frees the copy with free() once the archive is written. An empty
  // entry needs no buffer (libzip would not take one of no bytes).
  void* copy = nullptr;
  if (!bytes.empty()) {
    copy = std::malloc(bytes.size());
    if (copy == nullptr) throw EZipError("Out of memory adding to an archive");
    std::memcpy(copy, bytes.data(), bytes.size());
  }
  zip_error_t error;
  Zip().zip_error_init(&error);
  zip_source_t* source = Zip().zip_source_buffer_create(copy, bytes.size(), copy != nullptr ? 1 : 0, &error);
  if (source == nullptr) {
    std::free(copy);
    const UnicodeString text = ErrorText(&error);
    Zip().zip_error_fini(&error);
    throw EZipError(u"Cannot add " + Quoted(stored_name) + u": " + text);
  }
  Zip().zip_error_fini(&error);
  const zip_int64_t index =
      Zip().zip_file_add(handle_->za, Utf16ToUtf8(stored_name).c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
  if (index < 0) {
    Zip().zip_source_free(source);
    throw EZipError(u"Cannot add " + Quoted(stored_name) + u": " + Utf8ToUtf16(Zip().zip_strerror(handle_->za)));
  }
  const auto entry = static_cast<zip_uint64_t>(index);
  Zip().zip_set_file_compression(handle_->za, entry, pack_level_ == 0 ? ZIP_CM_STORE : ZIP_CM_DEFLATE, pack_level_);
  Zip().zip_file_set_mtime(handle_->za, entry, ToTimeT(local_time), 0);
  ++files_added_;
  return 1;
}

void TZipArchive::CloseArchive() {
  if (!Active()) return;
  std::unique_ptr<Handle> handle = std::move(handle_);
  if (!handle->writable) return;  // the handle discards the reader
  zip_t* za = handle->za;
  if (Zip().zip_close(za) != 0) {
    const UnicodeString reason = Utf8ToUtf16(Zip().zip_strerror(za));
    throw EZipError(u"Cannot write archive " + Quoted(file_name_.empty() ? UnicodeString(u"(in memory)") : file_name_) +
                    u": " + reason);  // the handle discards what is left
  }
  handle->za = nullptr;
  if (zip_source_t* source = handle->memory_source) {
    memory_bytes_.clear();
    zip_stat_t stat;
    Zip().zip_stat_init(&stat);
    if (Zip().zip_source_open(source) == 0) {
      if (Zip().zip_source_stat(source, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE)) memory_bytes_.reserve(stat.size);
      std::vector<char> block(kCopyBlock);
      zip_int64_t n;
      while ((n = Zip().zip_source_read(source, block.data(), block.size())) > 0)
        memory_bytes_.append(block.data(), static_cast<std::size_t>(n));
      Zip().zip_source_close(source);
    }
  }
}

}  // namespace quill
