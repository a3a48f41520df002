#include "quillrt/collections/shared_memory_lists.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "quillrt/framework/streams.h"

namespace quill {

namespace {

constexpr std::int32_t kMaxUsableSize = std::numeric_limits<std::int32_t>::max() - 4;
constexpr std::int64_t kSizeWordBytes = 4;

// The POSIX object name of a map name: "/" + UTF-8, with no further '/'.
std::string PosixNameOf(const UnicodeString& name) {
  std::string utf8 = Utf16ToUtf8(name);
  std::replace(utf8.begin(), utf8.end(), '/', '_');
  return "/" + utf8;
}

// Closes a descriptor when leaving scope; the mapping stays valid after close.
class TDescriptor {
 public:
  explicit TDescriptor(int fd) : fd_(fd) {}
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  ~TDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

// Opens the named object read-write, creating it (owner-only) when asked and
// absent. `created` tells whether this call made it.
int OpenObject(const std::string& posix_name, bool may_create, bool& created) {
  created = false;
  int fd = ::shm_open(posix_name.c_str(), O_RDWR, 0);
  if (fd >= 0 || errno != ENOENT || !may_create) return fd;
  fd = ::shm_open(posix_name.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
  if (fd >= 0) {
    created = true;
    return fd;
  }
  // Another process created it between the two calls.
  return errno == EEXIST ? ::shm_open(posix_name.c_str(), O_RDWR, 0) : -1;
}

std::int64_t ObjectBytes(int fd) {
  struct stat st {};
  return ::fstat(fd, &st) == 0 ? static_cast<std::int64_t>(st.st_size) : -1;
}

bool EnsureObjectBytes(int fd, std::int64_t bytes) {
  const std::int64_t now = ObjectBytes(fd);
  if (now < 0) return false;
  // Never shrink: another process may still read the old extent.
  return now >= bytes || ::ftruncate(fd, static_cast<off_t>(bytes)) == 0;
}

}  // namespace

// --- TMemoryMapFile -------------------------------------------------------------------

TMemoryMapFile::TMemoryMapFile(const UnicodeString& name, std::int32_t size_wanted) {
  SetupMap(name, size_wanted);
}

TMemoryMapFile::~TMemoryMapFile() {
  Close();
  if (fCreated) ::shm_unlink(PosixNameOf(fMapname).c_str());
}

void TMemoryMapFile::SetupMap(const UnicodeString& name, std::int32_t size) {
  Close();
  fMapname = name;
  OpenAndMap(size, TOpenMode::open_or_create);
}

void TMemoryMapFile::Remap(std::int32_t size) {
  if (!IsMapped()) OpenAndMap(size, TOpenMode::open_or_create);
}

void TMemoryMapFile::Reopen() {
  Close();
  OpenAndMap(0, TOpenMode::open_only);
}

void TMemoryMapFile::Close() {
  if (fBase != nullptr) ::munmap(fBase, static_cast<std::size_t>(fMappedBytes));
  fBase = nullptr;
  fMappedBytes = 0;
  FSize = 0;
}

bool TMemoryMapFile::MapDescriptor(int fd, std::int64_t bytes) {
  void* view = ::mmap(nullptr, static_cast<std::size_t>(bytes), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (view == MAP_FAILED) return false;
  fBase = view;
  fMappedBytes = bytes;
  return true;
}

void TMemoryMapFile::OpenAndMap(std::int32_t size, TOpenMode mode) {
  const bool may_create = mode == TOpenMode::open_or_create && size >= 0 && size <= kMaxUsableSize;
  bool created = false;
  const std::string posix_name = PosixNameOf(fMapname);
  const TDescriptor fd(OpenObject(posix_name, may_create, created));
  if (fd.get() < 0) return;

  if (created) {
    const std::int64_t bytes = std::int64_t{size} + kSizeWordBytes;
    if (!EnsureObjectBytes(fd.get(), bytes) || !MapDescriptor(fd.get(), bytes)) {
      ::shm_unlink(posix_name.c_str());
      return;
    }
    fCreated = true;
    FSize = size;
    SetMemL(0, size);
    return;
  }

  // An existing block: map what the object really holds (a creator elsewhere
  // may not have sized it yet) and believe its size word only within that.
  const std::int64_t bytes = std::min<std::int64_t>(ObjectBytes(fd.get()), std::int64_t{kMaxUsableSize} + kSizeWordBytes);
  if (bytes < kSizeWordBytes || !MapDescriptor(fd.get(), bytes)) return;
  const std::int64_t extent = bytes - kSizeWordBytes;
  const std::int32_t stored = GetMemL(0);
  FSize = (stored >= 0 && stored <= extent) ? stored : static_cast<std::int32_t>(extent);
}

bool TMemoryMapFile::ResizeTo(std::int32_t size) {
  if (size < 0 || size > kMaxUsableSize) return false;
  Close();
  bool created = false;
  const std::string posix_name = PosixNameOf(fMapname);
  const TDescriptor fd(OpenObject(posix_name, true, created));
  if (fd.get() < 0) return false;
  if (created) fCreated = true;
  const std::int64_t wanted = std::int64_t{size} + kSizeWordBytes;
  if (!EnsureObjectBytes(fd.get(), wanted)) return false;
  const std::int64_t bytes = std::min<std::int64_t>(ObjectBytes(fd.get()), std::int64_t{kMaxUsableSize} + kSizeWordBytes);
  if (bytes < wanted || !MapDescriptor(fd.get(), bytes)) return false;
  FSize = size;
  SetMemL(0, size);
  return true;
}

void* TMemoryMapFile::ConvertPointer(std::int32_t offset) const {
  if (fBase == nullptr || offset < 0 || offset >= fMappedBytes) return nullptr;
  return static_cast<unsigned char*>(fBase) + offset;
}

std::int32_t TMemoryMapFile::GetMemL(std::int32_t offset) const {
  if (fBase == nullptr || offset < 0 || std::int64_t{offset} + 4 > fMappedBytes) return 0;
  return TStream::FromLE<std::int32_t>(static_cast<const unsigned char*>(fBase) + offset);
}

bool TMemoryMapFile::SetMemL(std::int32_t offset, std::int32_t value) {
  if (fBase == nullptr || offset < 0 || std::int64_t{offset} + 4 > fMappedBytes) return false;
  TStream::ToLE(value, static_cast<unsigned char*>(fBase) + offset);
  return true;
}

// --- TFlexibleSizeMap -----------------------------------------------------------------

TFlexibleSizeMap::TFlexibleSizeMap(const UnicodeString& name, std::int32_t size)
    : TMemoryMapFile(u"lexpool_compartilhar" + name, size) {}

void TFlexibleSizeMap::Checksize(std::int32_t wanted) {
  if (wanted == MapSize() && IsMapped()) return;
  ResizeTo(wanted);
}

std::int32_t TFlexibleSizeMap::ReadFromMemmap(void* buffer, std::int32_t index, std::int32_t count) {
  FPosition = index;
  if (count < 0 || index < 0 || index >= MapSize() || !IsMapped()) return 0;
  const std::int32_t available = std::min(count, MapSize() - index);
  std::memcpy(buffer, ConvertPointer(index), static_cast<std::size_t>(available));
  FPosition += available;
  return available;
}

bool TFlexibleSizeMap::WriteToMemmap(const void* buffer, std::int32_t index, std::int32_t count) {
  FPosition = index;
  if (count < 0 || index < 0 || std::int64_t{index} + count > kMaxUsableSize) return false;
  const auto end = static_cast<std::int32_t>(index + count);
  if (end > MapSize() || !IsMapped()) Checksize(std::max(end, MapSize()));
  if (!IsMapped() || end > MapSize()) return false;
  if (count > 0) std::memcpy(ConvertPointer(index), buffer, static_cast<std::size_t>(count));
  FPosition = end;
  return true;
}

// --- TMyStreamMemList -----------------------------------------------------------------

TMyStreamMemList::TMyStreamMemList(const UnicodeString& name) : memmap(std::make_unique<TFlexibleSizeMap>(name, 4)) {}

TMyStreamMemList::~TMyStreamMemList() = default;

bool TMyStreamMemList::CopyToMemmap() {
  // An entry is its leading word and at least one byte after it: the reader
  // takes an entry that consumes nothing as damage.
  std::vector<std::int32_t> sizes(static_cast<std::size_t>(Count()));
  std::int64_t total = 4;
  for (int i = 0; i < Count(); ++i) {
    sizes[static_cast<std::size_t>(i)] = SizeofHolderData(i);
    if (sizes[static_cast<std::size_t>(i)] <= 4) return false;
    total += sizes[static_cast<std::size_t>(i)];
    if (total > kMaxUsableSize) return false;
  }
  const auto total32 = static_cast<std::int32_t>(total);
  memmap->Checksize(total32);
  if (!memmap->IsMapped() || memmap->MapSize() != total32) return false;
  memmap->SetMemL(0, total32);
  memmap->SetPosition(4);
  for (int i = 0; i < Count(); ++i) {
    const std::int32_t start = memmap->Position();
    if (!WriteHolderToMap(i)) return false;
    // A holder that wrote other than it announced would put every later entry
    // out of step for the reader.
    if (memmap->Position() != start + sizes[static_cast<std::size_t>(i)] || memmap->GetMemL(start) <= 0) return false;
  }
  return true;
}

bool TMyStreamMemList::MoveToMemmap() {
  const bool copied = CopyToMemmap();
  Clear();
  data_only_in_memmap = true;
  return copied;
}

bool TMyStreamMemList::LoadFromMemmap() {
  Clear();
  data_only_in_memmap = false;
  // A block too small for its size word may have grown since we mapped it.
  if (memmap->MapSize() < 4) memmap->Reopen();
  if (memmap->MapSize() < 4) return false;
  std::int32_t total = memmap->GetMemL(0);
  if (total != memmap->MapSize()) {
    // The writer resized the block after we mapped it: look again.
    memmap->Reopen();
    total = memmap->GetMemL(0);
  }
  if (total < 4 || total != memmap->MapSize()) return false;
  return ReadEntries();
}

bool TMyStreamMemList::ReadEntries() {
  const std::int32_t size = memmap->MapSize();
  std::int32_t position = 4;
  while (position < size) {
    if (size - position < 4) return false;  // a leading word cut off by the end
    if (memmap->GetMemL(position) <= 0) break;
    memmap->SetPosition(position + 4);
    const int before = Count();
    const std::int32_t consumed = ReadHolderFromMap();
    if (consumed <= 0 || consumed > size - position - 4) {
      while (Count() > before) Delete(Count() - 1);
      return false;
    }
    position += 4 + consumed;
  }
  return true;
}

}  // namespace quill
