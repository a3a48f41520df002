#include "quillrt/framework/streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <random>
#include <string>

#include "quillrt/framework/file_names.h"

namespace quill {

// ---- TStream ---------------------------------------------------------------

TStream::~TStream() = default;

std::int64_t TStream::GetSize() {
  const std::int64_t here = Seek(0, TSeekOrigin::soCurrent);
  const std::int64_t size = Seek(0, TSeekOrigin::soEnd);
  Seek(here, TSeekOrigin::soBeginning);
  return size;
}

void TStream::ReadBuffer(void* buffer, std::int64_t count) {
  if (count <= 0) return;
  if (Read(buffer, count) != count) throw EReadError(std::string_view("Stream read error"));
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count) {
  if (count <= 0) return;
  if (Write(buffer, count) != count) throw EWriteError(std::string_view("Stream write error"));
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.GetSize();
  }
  std::vector<unsigned char> chunk(static_cast<std::size_t>(std::min<std::int64_t>(count, 1 << 16)));
  std::int64_t left = count;
  while (left > 0) {
    const std::int64_t n = std::min<std::int64_t>(left, static_cast<std::int64_t>(chunk.size()));
    source.ReadBuffer(chunk.data(), n);
    WriteBuffer(chunk.data(), n);
    left -= n;
  }
  return count;
}

// ---- TMemoryStream ---------------------------------------------------------

TMemoryStream::~TMemoryStream() = default;

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
  const std::int64_t size = GetSize();
  if (count <= 0 || position_ >= size) return 0;
  const std::int64_t n = std::min(count, size - position_);
  std::memcpy(buffer, data_.data() + position_, static_cast<std::size_t>(n));
  position_ += n;
  return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0 || position_ < 0) return 0;
  const std::int64_t end = position_ + count;
  if (end > GetSize()) data_.resize(static_cast<std::size_t>(end));
  std::memcpy(data_.data() + position_, buffer, static_cast<std::size_t>(count));
  position_ = end;
  return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  switch (origin) {
    case TSeekOrigin::soBeginning: position_ = offset; break;
    case TSeekOrigin::soCurrent: position_ += offset; break;
    case TSeekOrigin::soEnd: position_ = GetSize() + offset; break;
  }
  return position_;
}

void TMemoryStream::SetSize(std::int64_t new_size) {
  data_.resize(static_cast<std::size_t>(std::max<std::int64_t>(new_size, 0)));
  position_ = std::min(position_, GetSize());
}

void TMemoryStream::Clear() {
  data_.clear();
  data_.shrink_to_fit();
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
  source.SetPosition(0);
  const std::int64_t size = source.GetSize();
  std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
  source.ReadBuffer(bytes.data(), size);
  data_ = std::move(bytes);
  position_ = 0;
}

void TMemoryStream::LoadFromFile(const UnicodeString& file_name) {
  TFileStream file(file_name, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream& target) const {
  target.WriteBuffer(data_.data(), static_cast<std::int64_t>(data_.size()));
}

void TMemoryStream::SaveToFile(const UnicodeString& file_name) const {
  WriteFileAtomically(file_name, [this](TStream& out) {
    SaveToStream(out);
    return true;
  });
}

// ---- TFileStream -----------------------------------------------------------

std::string SystemPath(const UnicodeString& file_name) { return FileNameToBytes(file_name); }

namespace {

UnicodeString FileErrorText(const char* what, const UnicodeString& file_name, int error) {
  return Utf8ToUtf16(what) + u" \"" + file_name + u"\". " + SysErrorMessage(error);
}

int OpenFlags(std::uint16_t mode) {
  if (mode == fmCreate) return O_RDWR | O_CREAT | O_TRUNC;
  switch (mode & 0x0003) {
    case fmOpenWrite: return O_WRONLY;
    case fmOpenReadWrite: return O_RDWR;
    default: return O_RDONLY;
  }
}

}  // namespace

TFileStream::TFileStream(const UnicodeString& file_name, std::uint16_t mode) : file_name_(file_name) {
  const std::string path = SystemPath(file_name);
  fd_ = ::open(path.c_str(), OpenFlags(mode) | O_CLOEXEC, 0666);
  if (fd_ >= 0) {
    struct stat info {};
    if (::fstat(fd_, &info) == 0 && S_ISDIR(info.st_mode)) {
      ::close(fd_);
      fd_ = -1;
      errno = EISDIR;
    }
  }
  if (fd_ < 0) {
    const int error = errno;
    if (mode == fmCreate) throw EFCreateError(FileErrorText("Cannot create file", file_name, error));
    throw EFOpenError(FileErrorText("Cannot open file", file_name, error));
  }
}

TFileStream::~TFileStream() {
  if (fd_ >= 0) ::close(fd_);
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
  std::int64_t done = 0;
  auto* bytes = static_cast<unsigned char*>(buffer);
  while (done < count) {
    const ssize_t n = ::read(fd_, bytes + done, static_cast<std::size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
  std::int64_t done = 0;
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  while (done < count) {
    const ssize_t n = ::write(fd_, bytes + done, static_cast<std::size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  const int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET
                     : origin == TSeekOrigin::soCurrent ? SEEK_CUR
                                                        : SEEK_END;
  return ::lseek(fd_, offset, whence);
}

void TFileStream::SetSize(std::int64_t new_size) {
  if (::ftruncate(fd_, new_size) != 0) throw EWriteError(FileErrorText("Cannot resize file", file_name_, errno));
  if (GetPosition() > new_size) SetPosition(new_size);
}

void TFileStream::Flush() {
  if (::fsync(fd_) != 0) throw EWriteError(FileErrorText("Cannot flush file", file_name_, errno));
}

// ---- WriteFileAtomically ---------------------------------------------------

bool WriteFileAtomically(const UnicodeString& file_name, const std::function<bool(TStream&)>& writer) {
  namespace fs = std::filesystem;
  const fs::path target(SystemPath(file_name));
  std::random_device seed;
  const fs::path temp = target.string() + ".tmp" + std::to_string(seed() % 1000000);
  bool ok = false;
  try {
    {
      TFileStream out(Utf8ToUtf16(temp.string()), fmCreate);
      ok = writer(out);
      if (ok) out.Flush();
    }
    if (ok) {
      // Keep the permissions of a file we replace.
      std::error_code ec;
      const auto perms = fs::status(target, ec).permissions();
      if (!ec && fs::exists(target)) fs::permissions(temp, perms, ec);
      fs::rename(temp, target, ec);
      if (ec) throw EWriteError(FileErrorText("Cannot replace file", file_name, ec.value()));
    } else {
      std::error_code ignored;
      fs::remove(temp, ignored);
    }
  } catch (...) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    throw;
  }
  return ok;
}

}  // namespace quill
