#include "quillrt/vocabulary/tool_shared_helpers.h"

#include <cstdlib>
#include <utility>

#include "quillrt/platform/file_system.h"
#include "quillrt/platform/mount_table.h"
#include "quillrt/platform/system_colours.h"

namespace quill {

TSearchStatsRec GlobalOneFilesStats{};
TDateTime Global_StartTime = 0.0;

void ExchangeTwoIntegers(std::int32_t& a, std::int32_t& b) { std::swap(a, b); }
void ExchangeTwoStrings(UnicodeString& a, UnicodeString& b) { a.swap(b); }
void ExchangeTwoTTypeRecs(std::uint32_t& a, std::uint32_t& b) { std::swap(a, b); }
void ExchangeTwoPointers(void*& a, void*& b) { std::swap(a, b); }

void ExchangeTwoHeadings(int a, int b, std::vector<UnicodeString>& headings) {
  const auto valid = [&headings](int i) { return i >= 0 && static_cast<std::size_t>(i) < headings.size(); };
  if (valid(a) && valid(b)) headings[a].swap(headings[b]);
}

thirtywidechar StringToThirtyWideChar(const UnicodeString& text) {
  thirtywidechar chars;
  SetFixedChars<WideChar>(chars, text);
  return chars;
}

int SelectAtAllTypeFromNumber(std::uint16_t n) {
  if (n > 13) return 3;
  if (n == 13) return 2;
  if (n == 1 || n == 4 || n == 7 || n == 10) return 0;
  return 1;
}

int SelectWithinTypeFromNumber(std::uint16_t n) {
  const bool odd = n % 2 == 1;
  if (n <= 14) return odd ? 2 : 3;
  return odd ? 0 : 1;
}

int FirstChosenInArrayOfBoolean(std::span<const bool> chosen) {
  for (std::size_t i = 0; i < chosen.size(); ++i)
    if (chosen[i]) return static_cast<int>(i);
  return 0;
}

int LastChosenInArrayOfBoolean(std::span<const bool> chosen) {
  for (std::size_t i = chosen.size(); i > 0; --i)
    if (chosen[i - 1]) return static_cast<int>(i - 1);
  return 0;
}

void ClearGlobalOneTextStats() { GlobalOneFilesStats = {}; }

void CopyAChunkTextStats(const TSearchStatsRec& stats) {
  for (int level = 0; level < text_stats_count; ++level) {
    GlobalOneFilesStats.number[level] += stats.number[level];
    GlobalOneFilesStats.position[level] += stats.position[level];
    GlobalOneFilesStats.out_of[level] += stats.out_of[level];
  }
}

void StartTiming() { Global_StartTime = Now(); }

double ElapsedTime(bool restart) {
  const TDateTime now = Now();
  const double elapsed = now - Global_StartTime;
  if (restart) Global_StartTime = now;
  return elapsed;
}

bool Network_Copy() {
  if (const char* remote = std::getenv("SSH_CONNECTION"); remote != nullptr && *remote != '\0') return true;
  const std::vector<TMountEntry> mounts = ReadMountTable();
  const int index = MountEntryFor(mounts, ProgramFolder());
  return index >= 0 && IsNetworkFileSystem(mounts[static_cast<std::size_t>(index)].Type);
}

TColor MyColourToRGB(TColor colour) {
  if (colour >= 0) return colour;
  return static_cast<TColor>(GetSysColor(static_cast<std::int32_t>(static_cast<std::uint32_t>(colour) & 0xFF)));
}

}  // namespace quill
