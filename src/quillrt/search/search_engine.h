#pragma once
// The search engine: what a concordance tool hands each text buffer to.
//
// The engine holds one buffer (UTF-16, or 8-bit in the code page of its LCID)
// and the buffer's class array. For one parsed search word at a time it calls
// the wanted-word matcher in a loop, restarting one character after the start of
// each hit, fills a hit record for every hit and passes it to the tool's
// callback, which says whether the hit counts towards the word's wanted number.
// The search ends when that number is reached, at the end of the buffer, or when
// the tool calls FoundEnough or Cancel (from the callback or from its yield
// hook). Running word, sentence, paragraph, heading and section counts of the
// current chunk are kept in ThisFileChunk_Stats and reported at the end of each
// search through the word-count event.
//
// Per chunk of a file a tool calls PrepareFirst (the engine builds the class
// array) or PrepareForConcordancing (the tool's own class array, with markup
// and markers), optionally SetArrayOfTagsFound, HandleAllowables and
// ClearChunkTextStats, then SearchAndDo once per search word.
#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/strings.h"
#include "quillrt/process/callbacks.h"
#include "quillrt/quillrt_export.h"
#include "quillrt/search/search_word_record.h"
#include "quillrt/text/char_classes.h"
#include "quillrt/text/class_bits.h"
#include "quillrt/text/search_stats.h"

namespace quill {

// A byte offset from the buffer's start at which every search begins when it is
// above 0 (rounded down to a whole character in UTF-16 buffers). Each thread
// has its own: engines searching on several threads do not share it.
extern QUILLRT_API thread_local std::int32_t Global_LowestJumpTo;
// Whether the scan position is inside a heading; the matcher keeps it up to date
// across searches and chunks. Each thread has its own, like the lowest jump.
extern QUILLRT_API thread_local bool Global_in_heading;

// How many markers of each segment code (sentence start 14 ... section end 21)
// the text holds.
struct TTagsFoundArray {
  std::array<std::int32_t, 8> counts{};

  std::int32_t& operator[](text_segments_type code) { return counts[Slot(code)]; }
  std::int32_t operator[](text_segments_type code) const { return counts[Slot(code)]; }
  bool Any(text_segments_type code) const { return (*this)[code] > 0; }
  friend bool operator==(const TTagsFoundArray&, const TTagsFoundArray&) = default;

 private:
  static std::size_t Slot(text_segments_type code) { return static_cast<std::size_t>(code - ts_sentence_start); }
};

// The record handed to the tool for every hit.
struct TSearchFound_Rec {
  const void* start_of_text = nullptr;      // the buffer
  const void* start_of_memory = nullptr;    // the buffer
  const void* where_hit_started = nullptr;  // the hit's first character
  // (byte offset of the hit in the buffer + FileBytePos) * 100 / the file's size;
  // 0 when the file's size is not known (0 or below).
  float percent_of_file = 0;
  std::int32_t hit_pos_in_wchar_kinds = 0;  // character offset of the hit in the buffer
  std::uint32_t FileBytePos = 0;            // byte position of the buffer in the file
  std::int32_t exact_hit_len = 0;           // what the pattern matched
  std::int32_t hit_characters = 0;          // ... extended to the end of the word
  std::int32_t search_number = 0;           // the engine's current_search_number
  std::int32_t hit_pos_in_characters = 0;   // character offset of the hit in the buffer
  std::array<std::uint8_t, 20> spare{};
  // The chunk's statistics at the hit; outside a heading the heading number and
  // position are -1.
  TSearchStatsRec count_stats;
};

class TSearchAndDoEngine;

// Called for every hit: true when the hit counts towards the wanted number.
using TSearchFoundEvent = std::function<bool(TObject* Sender, const TSearchFound_Rec& SearchFound)>;
// Called once at the end of each search with the chunk's statistics.
using TWordCountEvent = std::function<void(TObject* Sender, const TSearchStatsRec& Word_count)>;

// Raised when something fails inside a search loop (a callback that raises, a
// hook that fails ...). The message names the file and the search word:
//   problem searching <file> for "<typed text>"
QUILL_DECLARE_EXCEPTION(ESearchProblem, Exception);

class QUILLRT_API TSearchAndDoEngine : public TObject {
 public:
  // No buffer yet. With a class array given, the engine uses it for every buffer
  // and never resizes or frees it; the caller keeps it at least two words longer
  // than the buffers it fills it for (their character count + 2), or searches do
  // not start.
  TSearchAndDoEngine(bool ABufferInUnicode, bool ASearchWordsInUnicode, std::uint32_t AnLCID,
                     TClassArray* ABufferDetails = nullptr);
  ~TSearchAndDoEngine() override;
  TSearchAndDoEngine(const TSearchAndDoEngine&) = delete;
  TSearchAndDoEngine& operator=(const TSearchAndDoEngine&) = delete;

  // A buffer for the engine to classify itself. ABuffer is NUL-terminated (UTF-16
  // or 8-bit as the engine was made for) and stays the caller's.
  void PrepareFirst(const void* ABuffer, std::int32_t AComplete_file_Size, std::uint32_t ABufferStartPosInFile,
                    TSearchFoundEvent ASearchFoundEvent, TWordCountEvent AWordCountEvent);

  // A buffer whose class array the tool has built (with its markup and marker
  // bits). ABufferDetailsEnd is the array's end sentinel, the word at
  // ABuffer_Characters + 1 (null: computed from the count). Markup is skipped.
  void PrepareForConcordancing(const UnicodeString& AFilename, const void* AStartOfText, TClassWord* ABufferDetails,
                               const TClassWord* ABufferDetailsEnd, std::int32_t AComplete_file_Size,
                               std::int32_t ABuffer_Characters, std::uint32_t ABufferStartPosInFile,
                               bool ASkipPunctuation, TSearchFoundEvent ASearchFoundEvent,
                               TWordCountEvent AWordCountEvent);

  // Takes a NUL-terminated buffer (null: none) and, unless the class array is the
  // caller's, classifies it.
  void SetABuffer(const void* b);

  // Marks the language's allowable middle characters (up to the first NUL of
  // wide_allowables) in the class array.
  void HandleAllowables(std::u16string_view wide_allowables, bool allow_middles_at_right, bool allow_middles_at_left);

  void SetArrayOfTagsFound(const TTagsFoundArray& anArrayOfTagsFound) { Arr_OfTextMarkersFound = anArrayOfTagsFound; }
  // A new LCID also sets Codepage.
  void SetLCID(std::uint32_t lcid);

  void ClearChunkTextStats() { ThisFileChunk_Stats = TSearchStatsRec{}; }
  void ClearCancel() { fCancelled = false; }
  // Both end the current search after the hit being reported.
  void Cancel();
  void FoundEnough() { fChega = true; }

  // Searches the buffer for one parsed search word. True when the search could
  // start: the engine is ready (a buffer, its class array and a hit callback)
  // and the word has a search text. For an 8-bit buffer the word's copies are
  // narrowed to the buffer's code page the first time (copies_converted); for a
  // case-sensitive word the upper, lower and title copies become the unchanged
  // one. Anything raised inside the loop comes out as ESearchProblem.
  bool SearchAndDo(TSearch_word_format_rec* item);
  bool SearchAndDo(TSearch_word_format_rec* item, std::int32_t item_num);

  // ---- state -----------------------------------------------------------------
  const void* GetBuffer() const { return fBuffer; }
  std::int32_t GetBuffer_Characters() const { return fBuffer_Characters; }
  const TClassWord* GetBufferDetailsStart() const { return fBufferDetailsStart; }
  const TClassWord* GetBufferDetailsEnd() const { return fBufferDetailsEnd; }
  std::int32_t GetHits_found() const { return fHits_found; }
  std::int32_t GetComplete_file_size() const { return fComplete_file_size; }
  void SetComplete_file_size(std::int32_t size) { fComplete_file_size = size; }
  bool GetReady() const { return fReady; }
  bool GetChega() const { return fChega; }
  bool GetCancelled() const { return fCancelled; }
  bool GetPreAssigned() const { return fPreAssigned; }
  bool GetBufferInUnicode() const { return fBufferInUnicode; }
  bool GetSearchWordsInUnicode() const { return fSearchWordsInUnicode; }
  std::uint32_t GetLCID() const { return fLCID; }
  bool GetSkipPunctuation() const { return fSkipPunctuation; }
  void SetSkipPunctuation(bool skip) { fSkipPunctuation = skip; }
  bool GetSkipAnyTags() const { return fSkipAnyTags; }
  void SetSkipAnyTags(bool skip) { fSkipAnyTags = skip; }
  const UnicodeString& GetFilename() const { return fFilename; }
  void SetFilename(const UnicodeString& name) { fFilename = name; }
  const UnicodeString& GetReplace_text() const { return fReplace_text; }
  void SetReplace_text(const UnicodeString& text) { fReplace_text = text; }
  // Set (by a hit callback, for instance) to make the scan go back to the
  // lowest-jump position instead of moving on one character after the hit.
  void SetLowestJumpToChanged(bool changed) { fLowestJumpToChanged = changed; }
  bool GetLowestJumpToChanged() const { return fLowestJumpToChanged; }
  const TSearchFoundEvent& GetSearchFoundEvent() const { return fSearchFoundEvent; }
  const TWordCountEvent& GetWordCountEvent() const { return fWordCountEvent; }

  TSearchStatsRec ThisFileChunk_Stats;  // running statistics of the current chunk
  std::int32_t Codepage = 0;            // ANSI code page of the LCID
  std::int32_t current_search_row = 0;  // for the calling tool
  std::int32_t current_search_number = 0;  // copied into each hit record
  bool IsAdditionalEngine = false;         // such an engine writes nothing to the log
  TTagsFoundArray Arr_OfTextMarkersFound;  // markers of each code the text holds
  std::uint32_t FileBytePos = 0;           // byte position of the buffer in the file

 protected:
  // Bytes per buffer character.
  std::int32_t CharSize() const { return fBufferInUnicode ? 2 : 1; }
  // Drops the engine's own class array (keeping its memory unless `release`).
  void DropOwnClassArray(bool release);
  // Makes the copies of an 8-bit search's word hold its bytes in the code page.
  void NarrowCopies(TSearch_word_format_rec& item) const;
  // The character offset at which searches begin.
  std::int32_t LowestJumpCharacter() const;
  // The search loop proper (steps that may raise).
  void RunSearch(TSearch_word_format_rec& item);
  void FillHitRecord(const void* hit, std::int32_t offset, std::uint16_t hit_characters, std::uint16_t exact_hit_len,
                     TSearchFound_Rec& record) const;
  void LogStart(const TSearch_word_format_rec& item) const;
  void LogHit(const TSearchFound_Rec& record, std::int32_t done, std::int32_t to_go) const;
  // The first `count` characters from character `offset` as UTF-16.
  UnicodeString BufferExtract(std::int32_t offset, std::int32_t count) const;

  TWordCountEvent fWordCountEvent;
  TSearchFoundEvent fSearchFoundEvent;
  TClassArray fBufferDetails;           // the engine's own class array
  TClassArray* fCallerDetails = nullptr;  // the caller's, given at creation
  // The class array in use was arranged by PrepareForConcordancing for its
  // chunk alone (the tool's, or made here when the tool gave none).
  bool fChunkDetails = false;
  TClassWord* fBufferDetailsStart = nullptr;
  const TClassWord* fBufferDetailsEnd = nullptr;
  const void* fBuffer = nullptr;
  std::int32_t fHits_found = 0;
  std::int32_t fComplete_file_size = 0;
  std::int32_t fBuffer_Characters = 0;
  bool fChega = false;
  bool fSkipPunctuation = false;
  bool fSkipAnyTags = false;
  bool fCancelled = false;
  bool fPreAssigned = false;
  bool fReady = false;
  bool fLowestJumpToChanged = false;
  bool fSearchWordsInUnicode = true;
  bool fBufferInUnicode = true;
  UnicodeString fReplace_text;
  std::uint32_t fLCID = 0;
  UnicodeString fFilename;
};

// An engine for the context searches made around a hit; it writes nothing to
// the log.
class QUILLRT_API TAdditionalSearchAndDoEngine : public TSearchAndDoEngine {
 public:
  TAdditionalSearchAndDoEngine(bool ABufferInUnicode, bool ASearchWordsInUnicode, std::uint32_t AnLCID,
                               TClassArray* ABufferDetails = nullptr);
  ~TAdditionalSearchAndDoEngine() override;

  void SetContext_exact_gap_required(std::int32_t Value) { context_exact_gap_required = Value; }
  std::int32_t context_exact_gap_required = 0;  // held for the calling tool's context test
};

// The word-list tool's quick test: is a word in the buffer at all?
class QUILLRT_API TWLSearchAndDo : public TSearchAndDoEngine {
 public:
  TWLSearchAndDo(bool ABufferInUnicode, bool ASearchWordsInUnicode, std::uint32_t AnLCID,
                 TClassArray* ABufferDetails = nullptr);
  ~TWLSearchAndDo() override;

  // The word and its case forms: all three the word itself when case-sensitive,
  // else upper case, lower case and every word capitalised.
  void SetSearchWord(const UnicodeString& aSearchWord, TMySearchFlags AFlags);
  // One matcher call over the whole buffer (of the last SetABuffer or
  // PrepareFirst), markup not skipped, statistics thrown away. A trailing star
  // of the word is not counted in its length, so that "work*" finds "work" too.
  bool QuickSearchFoundIgnoringTags();

  UnicodeString lo_copy;
  UnicodeString title_copy;
  UnicodeString search_text;
  TMySearchFlags flags;

 private:
  TClassArray fBufferPWChar;  // made for one test and released after it
};

// ---- Result summaries of the tools --------------------------------------------

struct TBreakdownRec {
  UnicodeString sw;
  std::int32_t found = 0;
  std::int32_t out_of = 0;
};

struct TSummaryArrays {
  std::vector<std::int32_t> breakdown_totals;
  std::vector<std::int32_t> main_count;
  std::vector<float> cumulative_count;
  std::vector<std::vector<TBreakdownRec>> breakdown_values;
};

}  // namespace quill
