#pragma once
// Handing a list to another process through a named block of shared memory.
//
// Block layout (little-endian, offsets from the start of the block):
//   0   int32  the block's usable size in bytes (for a list: 4 + the sum of its
//              entries' sizes)
//   4   ...    the entries one after another; each begins with an int32 greater
//              than 0, and a word of 0 or less ends the data
// The memory behind the block is 4 bytes longer than the usable size.
//
// Names. A map called "abc" is the POSIX shared-memory object "/abc" (UTF-8,
// any '/' in the name turned into '_'). Names too long for the system leave the
// object unmapped.
//
// Lifetime of a name. POSIX keeps a shared-memory object until its name is
// removed, whoever still has it open. The object that created the name removes
// it in its destructor (Close alone does not, since resizing closes and opens
// again). Processes that still have the block mapped keep their view; a process
// that opens the name after that gets a new, empty block. So the process that
// hands a list over (or the one that created the block to receive it) must keep
// its map alive until the other side has read the list.
//
// Trust. The block comes from another process and may be damaged or changed
// while it is read. Nothing here reads or writes outside the mapped memory: a
// size word that claims more than the memory holds is not believed, negative
// offsets and counts move nothing, and a list entry that claims bytes beyond the
// block ends LoadFromMemmap with false.
//
// Growing. A block grows by enlarging the object and mapping it again (no pages
// are committed on a fault, so there is no fault handler); it never shrinks,
// because another process may still read the old extent. The descriptor is
// closed as soon as the view is mapped.
#include <cstdint>
#include <memory>

#include "quillrt/collections/useful_base_list.h"
#include "quillrt/framework/lists.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

class QUILLRT_API TMemoryMapFile {
 public:
  // Opens the block called `name`, or creates it with `size_wanted` usable bytes.
  TMemoryMapFile(const UnicodeString& name, std::int32_t size_wanted);
  TMemoryMapFile(const TMemoryMapFile&) = delete;
  TMemoryMapFile& operator=(const TMemoryMapFile&) = delete;
  virtual ~TMemoryMapFile();

  // Opens the existing block of that name, whose size comes from its offset 0,
  // or creates one of `size` usable bytes and writes `size` at offset 0. On any
  // failure the object stays unmapped; nothing is raised.
  void SetupMap(const UnicodeString& name, std::int32_t size);
  // Maps the block again (creating it with `size` when it has gone) if unmapped.
  void Remap(std::int32_t size);
  // Unmaps; the name stays (see the header comment).
  void Close();
  // Drops the current view and opens the named block afresh, learning its size
  // from offset 0. Never creates or resizes; unmapped when the name is gone.
  void Reopen();

  bool IsMapped() const { return fBase != nullptr; }
  // The address of `offset`, or null when the offset is outside the mapped memory.
  void* ConvertPointer(std::int32_t offset) const;
  // The int32 at `offset`; 0 when the four bytes are not all inside the mapping.
  std::int32_t GetMemL(std::int32_t offset) const;
  // Writes an int32 at `offset`; false (nothing written) outside the mapping.
  bool SetMemL(std::int32_t offset, std::int32_t value);

  void* Base() const { return fBase; }
  std::int32_t MapSize() const { return FSize; }
  const UnicodeString& MapName() const { return fMapname; }
  // Whether this object created the name (and so removes it when destroyed).
  bool CreatedTheName() const { return fCreated; }

 protected:
  // Bytes mapped: the usable size plus the 4 trailing bytes, or more when the
  // object was enlarged by another process.
  std::int64_t MappedBytes() const { return fMappedBytes; }
  // Enlarges the object to hold `size` usable bytes and maps all of it; writes
  // `size` at offset 0. False, and unmapped, when the system refuses.
  bool ResizeTo(std::int32_t size);

 private:
  enum class TOpenMode { open_only, open_or_create };
  void OpenAndMap(std::int32_t size, TOpenMode mode);
  bool MapDescriptor(int fd, std::int64_t bytes);

  UnicodeString fMapname;
  std::int32_t FSize = 0;
  void* fBase = nullptr;
  std::int64_t fMappedBytes = 0;
  bool fCreated = false;
};

// A block that can be resized and read or written at a position. Its name is
// "lexpool_compartilhar" followed by the name given.
class QUILLRT_API TFlexibleSizeMap : public TMemoryMapFile {
 public:
  TFlexibleSizeMap(const UnicodeString& name, std::int32_t size);

  // Makes the usable size exactly `wanted` (growing the memory when needed) and
  // records it at offset 0. Nothing happens when it already is; a negative size
  // is refused.
  void Checksize(std::int32_t wanted);
  // Copies up to `count` bytes from offset `index` into `buffer`, stopping at the
  // usable size: returns the bytes copied (0 for a negative index or count).
  // Position becomes index, then advances by the bytes copied.
  std::int32_t ReadFromMemmap(void* buffer, std::int32_t index, std::int32_t count);
  // Copies `count` bytes from `buffer` to offset `index`, growing the block
  // first when they reach beyond its usable size. Position becomes index, then
  // advances by count. False (nothing written, position at index) for a negative
  // index or count, or when the block cannot grow.
  bool WriteToMemmap(const void* buffer, std::int32_t index, std::int32_t count);
  // The address of the current position (null when outside the mapping).
  void* PositionPtr() const { return ConvertPointer(FPosition); }

  std::int32_t Position() const { return FPosition; }
  void SetPosition(std::int32_t position) { FPosition = position; }

 private:
  std::int32_t FPosition = 0;
};

// An owning list that copies its entries into a block and back. A derived class
// says how big an entry is in the block, writes it and reads it back.
class QUILLRT_API TMyStreamMemList : public TObjectList<TUsefulBaseListObject> {
 public:
  // Opens (or creates, 4 bytes long) the block "lexpool_compartilhar" + name.
  explicit TMyStreamMemList(const UnicodeString& name);
  ~TMyStreamMemList() override;

  // Writes 4 + the entries' sizes at offset 0 and every entry after it, in order.
  // True when every entry was written whole, took exactly the size it announced
  // and began with a word above 0.
  bool CopyToMemmap();
  // CopyToMemmap, then empties the list: the data now lives only in the block.
  bool MoveToMemmap();
  // Empties the list and reads the entries from the block, opening it afresh
  // first when another process has resized it. True when the block
  // holds a size word matching its extent and every entry up to the end (or up
  // to a word of 0 or less) was read whole. On false the list keeps the entries
  // read whole before the damage.
  bool LoadFromMemmap();

  bool data_only_in_memmap = false;
  TFlexibleSizeMap& Memmap() { return *memmap; }
  const TFlexibleSizeMap& Memmap() const { return *memmap; }

 protected:
  // Bytes entry `index` occupies in the block, its leading word included.
  virtual std::int32_t SizeofHolderData(int index) const = 0;
  // Writes entry `index`, leading word first, at the map's position (through
  // WriteToMemmap); true when it was written.
  virtual bool WriteHolderToMap(int index) = 0;
  // Reads one entry from the map's position, which stands just after the entry's
  // leading word, and adds it to the list. Returns the bytes consumed after the
  // leading word, or a negative value when the entry could not be read whole.
  virtual std::int32_t ReadHolderFromMap() = 0;

 private:
  bool ReadEntries();

  std::unique_ptr<TFlexibleSizeMap> memmap;
};

}  // namespace quill
