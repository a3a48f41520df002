#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "quillrt/collections/shared_memory_lists.h"
#include "quillrt/framework/streams.h"

namespace quill {
namespace {

// A list of byte strings; in the block each entry is its length, then its bytes.
class TextEntry : public TUsefulBaseListObject {
 public:
  explicit TextEntry(std::string t) : text(std::move(t)) {}
  std::string text;
};

class TextMemList : public TMyStreamMemList {
 public:
  using TMyStreamMemList::TMyStreamMemList;

  void AddText(const std::string& text) { Add(std::make_unique<TextEntry>(text)); }
  std::vector<std::string> Texts() const {
    std::vector<std::string> all;
    for (int i = 0; i < Count(); ++i) all.push_back(static_cast<const TextEntry*>(Get(i))->text);
    return all;
  }

 protected:
  std::int32_t SizeofHolderData(int index) const override {
    return 4 + static_cast<std::int32_t>(static_cast<const TextEntry*>(Get(index))->text.size());
  }
  bool WriteHolderToMap(int index) override {
    const std::string& text = static_cast<const TextEntry*>(Get(index))->text;
    unsigned char word[4];
    TStream::ToLE(static_cast<std::int32_t>(text.size()), word);
    auto& map = Memmap();
    return map.WriteToMemmap(word, map.Position(), 4) &&
           map.WriteToMemmap(text.data(), map.Position(), static_cast<std::int32_t>(text.size()));
  }
  std::int32_t ReadHolderFromMap() override {
    auto& map = Memmap();
    const std::int32_t length = map.GetMemL(map.Position() - 4);
    std::string text(static_cast<std::size_t>(length), '\0');
    if (map.ReadFromMemmap(text.data(), map.Position(), length) != length) return -1;
    AddText(text);
    return length;
  }
};

const std::vector<std::string> kSample = {"first", "a longer second entry", "3", std::string(5000, 'x')};

// Names unique to this process and call, so parallel runs never meet.
UnicodeString UniqueName() {
  static int counter = 0;
  return Utf8ToUtf16("quilltest_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
}

bool PosixObjectExists(const UnicodeString& list_name) {
  const std::string name = "/lexpool_compartilhar" + Utf16ToUtf8(list_name);
  const int fd = ::shm_open(name.c_str(), O_RDONLY, 0);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

// Runs `child` in a forked process and returns its exit status (its result).
template <class F>
int RunInChild(F child) {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(child());
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

TEST(SharedMemoryLists, BlockHoldsTotalSizeThenEntriesInOrder) {
  const UnicodeString name = UniqueName();
  TextMemList list(name);
  list.AddText(std::string(8, 'a'));   // 12 bytes with its word
  list.AddText(std::string(16, 'b'));  // 20 bytes
  ASSERT_TRUE(list.CopyToMemmap());
  const auto& map = list.Memmap();
  EXPECT_EQ(map.MapSize(), 36);
  EXPECT_EQ(map.GetMemL(0), 36);
  EXPECT_EQ(map.GetMemL(4), 8);
  EXPECT_EQ(map.GetMemL(16), 16);
  EXPECT_EQ(static_cast<const char*>(map.ConvertPointer(20))[0], 'b');
  EXPECT_EQ(list.Count(), 2);

  ASSERT_TRUE(list.MoveToMemmap());
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(list.data_only_in_memmap);
  ASSERT_TRUE(list.LoadFromMemmap());
  EXPECT_FALSE(list.data_only_in_memmap);
  EXPECT_EQ(list.Texts(), (std::vector<std::string>{std::string(8, 'a'), std::string(16, 'b')}));
}

TEST(SharedMemoryLists, AnotherProcessReadsWhatThisOneWrote) {
  const UnicodeString name = UniqueName();
  TextMemList writer(name);
  for (const auto& text : kSample) writer.AddText(text);
  ASSERT_TRUE(writer.MoveToMemmap());

  const int child_result = RunInChild([&] {
    TextMemList reader(name);  // asks for 4 bytes, learns the real size
    if (reader.Memmap().CreatedTheName()) return 1;
    if (reader.Memmap().MapSize() != writer.Memmap().MapSize()) return 2;
    if (!reader.LoadFromMemmap()) return 3;
    return reader.Texts() == kSample ? 0 : 4;
  });
  EXPECT_EQ(child_result, 0);
}

TEST(SharedMemoryLists, ReaderSeesABlockThatAnotherProcessGrew) {
  const UnicodeString name = UniqueName();
  TextMemList reader(name);
  ASSERT_TRUE(reader.Memmap().CreatedTheName());
  ASSERT_EQ(reader.Memmap().MapSize(), 4);

  const int child_result = RunInChild([&] {
    TextMemList writer(name);
    for (const auto& text : kSample) writer.AddText(text);
    return writer.CopyToMemmap() ? 0 : 1;
  });
  ASSERT_EQ(child_result, 0);
  // The child did not create the name, so its exit left the block in place.
  ASSERT_TRUE(reader.LoadFromMemmap());
  EXPECT_EQ(reader.Texts(), kSample);
}

TEST(SharedMemoryLists, SecondOpenerLearnsSizeFromOffsetZero) {
  const UnicodeString name = UniqueName();
  TFlexibleSizeMap first(name, 100);
  ASSERT_TRUE(first.IsMapped());
  EXPECT_EQ(first.GetMemL(0), 100);
  TFlexibleSizeMap second(name, 8);
  ASSERT_TRUE(second.IsMapped());
  EXPECT_FALSE(second.CreatedTheName());
  EXPECT_EQ(second.MapSize(), 100);
  EXPECT_EQ(second.MapName(), u"lexpool_compartilhar" + name);
}

TEST(SharedMemoryLists, NameIsRemovedWhenItsCreatorIsDestroyed) {
  const UnicodeString name = UniqueName();
  auto creator = std::make_unique<TFlexibleSizeMap>(name, 16);
  {
    TFlexibleSizeMap opener(name, 16);
    ASSERT_TRUE(opener.IsMapped());
  }
  EXPECT_TRUE(PosixObjectExists(name));  // an opener leaves it
  creator->Close();
  EXPECT_TRUE(PosixObjectExists(name));  // closing is not the end
  creator.reset();
  EXPECT_FALSE(PosixObjectExists(name));
}

TEST(SharedMemoryLists, ReadsAndWritesStayInsideTheBlock) {
  TFlexibleSizeMap map(UniqueName(), 16);
  char buffer[32] = {};
  EXPECT_EQ(map.ReadFromMemmap(buffer, -1, 4), 0);  // never before the block
  EXPECT_EQ(map.ReadFromMemmap(buffer, 16, 4), 0);
  EXPECT_EQ(map.ReadFromMemmap(buffer, 4, -3), 0);
  EXPECT_EQ(map.ReadFromMemmap(buffer, 12, 32), 4);  // cut at the usable size
  EXPECT_EQ(map.Position(), 16);
  EXPECT_EQ(map.GetMemL(-2), 0);
  EXPECT_FALSE(map.SetMemL(1 << 20, 7));
  EXPECT_EQ(map.ConvertPointer(-1), nullptr);

  EXPECT_FALSE(map.WriteToMemmap("abcd", -4, 4));
  // A write past the end grows the block and records its new size.
  ASSERT_TRUE(map.WriteToMemmap("abcdefgh", 100, 8));
  EXPECT_EQ(map.MapSize(), 108);
  EXPECT_EQ(map.GetMemL(0), 108);
  EXPECT_EQ(map.Position(), 108);
  EXPECT_EQ(map.ReadFromMemmap(buffer, 100, 8), 8);
  EXPECT_EQ(std::string(buffer, 8), "abcdefgh");
}

class DamagedBlock : public ::testing::Test {
 protected:
  // Writes a good two-entry list, then lets the test damage it through a second map.
  void SetUp() override {
    writer.AddText("one");
    writer.AddText("two!");
    ASSERT_TRUE(writer.CopyToMemmap());  // 4 + 7 + 8 = 19 bytes
    poke_map = std::make_unique<TFlexibleSizeMap>(name, 0);
    ASSERT_EQ(poke_map->MapSize(), 19);
  }
  void Poke(std::int32_t offset, std::int32_t value) { ASSERT_TRUE(poke_map->SetMemL(offset, value)); }

  UnicodeString name = UniqueName();
  TextMemList writer{name};
  TextMemList reader{name};  // opened before the write: must look again when loading
  std::unique_ptr<TFlexibleSizeMap> poke_map;
};

TEST_F(DamagedBlock, EntryClaimingBytesPastTheEndFailsAndKeepsEarlierEntries) {
  Poke(11, 1000);
  EXPECT_FALSE(reader.LoadFromMemmap());
  EXPECT_EQ(reader.Texts(), std::vector<std::string>{"one"});
}

// A holder that believes the entry's word and reports it as consumed, whatever
// it could read: the list itself must catch the claim.
class TrustingMemList : public TextMemList {
 public:
  using TextMemList::TextMemList;

 protected:
  std::int32_t ReadHolderFromMap() override {
    auto& map = Memmap();
    const std::int32_t claimed = map.GetMemL(map.Position() - 4);
    char first = 0;
    map.ReadFromMemmap(&first, map.Position(), 1);
    AddText(std::string(1, first));
    return claimed;
  }
};

TEST_F(DamagedBlock, ListRejectsAHolderClaimingBytesPastTheEnd) {
  TrustingMemList trusting(name);
  EXPECT_TRUE(trusting.LoadFromMemmap());
  EXPECT_EQ(trusting.Texts(), (std::vector<std::string>{"o", "t"}));
  Poke(11, 9);  // the second entry claims one byte more than the block holds
  EXPECT_FALSE(trusting.LoadFromMemmap());
  EXPECT_EQ(trusting.Texts(), std::vector<std::string>{"o"});
}

TEST_F(DamagedBlock, SizeWordBeyondTheMemoryFails) {
  Poke(0, 1 << 24);
  EXPECT_FALSE(reader.LoadFromMemmap());
  EXPECT_EQ(reader.Count(), 0);
}

TEST_F(DamagedBlock, SizeWordBelowFourFails) {
  Poke(0, 2);
  EXPECT_FALSE(reader.LoadFromMemmap());
  EXPECT_EQ(reader.Count(), 0);
}

TEST_F(DamagedBlock, WordOfZeroEndsTheData) {
  Poke(11, 0);
  EXPECT_TRUE(reader.LoadFromMemmap());
  EXPECT_EQ(reader.Texts(), std::vector<std::string>{"one"});
}

TEST(SharedMemoryLists, BlockSmallerThanFourBytesLoadsNothing) {
  const UnicodeString name = UniqueName();
  TFlexibleSizeMap tiny(name, 2);
  TextMemList reader(name);
  EXPECT_EQ(reader.Memmap().MapSize(), 2);
  EXPECT_FALSE(reader.LoadFromMemmap());
  EXPECT_EQ(reader.Count(), 0);
  // Once a writer has filled it, the same reader sees the list.
  TextMemList writer(name);
  writer.AddText("grown");
  ASSERT_TRUE(writer.CopyToMemmap());
  ASSERT_TRUE(reader.LoadFromMemmap());
  EXPECT_EQ(reader.Texts(), std::vector<std::string>{"grown"});
}

TEST(SharedMemoryLists, EmptyListAndEntriesOfNoContent) {
  TextMemList list(UniqueName());
  EXPECT_TRUE(list.CopyToMemmap());
  EXPECT_EQ(list.Memmap().GetMemL(0), 4);
  EXPECT_TRUE(list.LoadFromMemmap());
  // An entry with nothing after its word could not be read back: refused.
  list.AddText("");
  EXPECT_FALSE(list.CopyToMemmap());
}

}  // namespace
}  // namespace quill
