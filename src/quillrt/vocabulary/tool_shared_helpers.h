#pragma once
// Small helpers the tools share: exchanges, limits, fixed character arrays,
// stored selection numbers, Boolean arrays, the shared per-text statistics, a
// colour holder, timing, and whether the program runs over a network.
#include <cstdint>
#include <span>
#include <vector>

#include "quillrt/collections/basic_types.h"
#include "quillrt/framework/date_time.h"
#include "quillrt/framework/strings.h"
#include "quillrt/language/canvas_colour_rec.h"
#include "quillrt/quillrt_export.h"
#include "quillrt/text/search_stats.h"

namespace quill {

constexpr std::uint32_t MaxCardinal(std::uint32_t a, std::uint32_t b) { return a > b ? a : b; }
constexpr std::uint32_t MinCardinal(std::uint32_t a, std::uint32_t b) { return a < b ? a : b; }

QUILLRT_API void ExchangeTwoIntegers(std::int32_t& a, std::int32_t& b);
QUILLRT_API void ExchangeTwoStrings(UnicodeString& a, UnicodeString& b);
// Word-type records (32 bits: flags and value).
QUILLRT_API void ExchangeTwoTTypeRecs(std::uint32_t& a, std::uint32_t& b);
QUILLRT_API void ExchangeTwoPointers(void*& a, void*& b);
// Swaps headings a and b of `headings`; nothing when either index is outside it.
QUILLRT_API void ExchangeTwoHeadings(int a, int b, std::vector<UnicodeString>& headings);

// The array zero-filled, then at most the first 30 characters of `text`.
QUILLRT_API thirtywidechar StringToThirtyWideChar(const UnicodeString& text);

// A stored 16-bit selection number as a selection kind. "At all": 3 above 13,
// 2 for 13, 0 for 1, 4, 7 and 10, else 1. "Within": up to 14, 2 for odd and 3
// for even numbers; above 14, 0 for odd and 1 for even.
QUILLRT_API int SelectAtAllTypeFromNumber(std::uint16_t n);
QUILLRT_API int SelectWithinTypeFromNumber(std::uint16_t n);

// The index of the first (last) true element; 0 when none is true, the same
// answer as when element 0 is the one.
QUILLRT_API int FirstChosenInArrayOfBoolean(std::span<const bool> chosen);
QUILLRT_API int LastChosenInArrayOfBoolean(std::span<const bool> chosen);

// The counts of the text being processed, shared by the tools: per level
// (word, sentence, paragraph, heading, section) a number, a position and an
// out-of count.
extern QUILLRT_API TSearchStatsRec GlobalOneFilesStats;
QUILLRT_API void ClearGlobalOneTextStats();
// Adds one text's counts into GlobalOneFilesStats.
QUILLRT_API void CopyAChunkTextStats(const TSearchStatsRec& stats);

// Keeps one set of colours, for lists that hold colours per line.
class QUILLRT_API TColoursHolder {
 public:
  explicit TColoursHolder(const TMyCanvasColourRec& colours) : colours_(colours) {}
  const TMyCanvasColourRec& Colours() const { return colours_; }

 private:
  TMyCanvasColourRec colours_;
};

// The plain 0x00BBGGRR value of `colour`: a negative colour names a system colour
// by its low byte and gives that colour's current value; others come back as
// they are.
QUILLRT_API TColor MyColourToRGB(TColor colour);

// A shared stopwatch: StartTiming records Now() in Global_StartTime;
// ElapsedTime gives the days since then (a fraction) and, with `restart`,
// starts again from now.
extern QUILLRT_API TDateTime Global_StartTime;
QUILLRT_API void StartTiming();
QUILLRT_API double ElapsedTime(bool restart);

// Whether the program runs over a network: in a session opened from another
// machine (SSH_CONNECTION is set), or from a folder on a network file system
// (by the mount table). The tools then keep settings per user and warn that
// work is slower.
QUILLRT_API bool Network_Copy();

}  // namespace quill
