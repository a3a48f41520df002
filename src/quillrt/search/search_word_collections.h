#pragma once
// Collections of parsed search words: the search words of a request, its
// context words, its exclusion words and its tag patterns. Each word is kept in
// the order it was added, identified by the text the user typed for it, with its
// hit count, its wanted number of hits and its language number.
//
// A typed entry is split into alternatives ("cat/dog") and each alternative is
// parsed; the alternatives are visited last first, so that "cat/dog" added to an
// empty collection stores dog at index 0 and cat at 1. An alternative already
// present (same typed text, case-sensitive) is not stored twice: its index is
// returned again.
//
// Also here: the flat list of plain search words used for quick matching
// (TSimpleSearchlist), with its text-file reader, and the key=value helpers.
//
// Stream form of a collection (little-endian): int32 N, then N counted UTF-16
// strings, each "<typed text>\t<hits found>\t<language number>".
#include <cstdint>
#include <memory>
#include <vector>

#include "quillrt/framework/lists.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/string_list.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"
#include "quillrt/search/search_engine.h"
#include "quillrt/search/search_word_record.h"
#include "quillrt/search/search_word_syntax.h"

namespace quill {

// ---- Plain search words ---------------------------------------------------------

struct TSimpleSearch_rec {
  UnicodeString seek;
  std::int32_t n_wanted = 0;
  TMySearchFlags flags;
  friend bool operator==(const TSimpleSearch_rec&, const TSimpleSearch_rec&) = default;
};

struct TSimpleSearchSettings {
  std::int32_t spare_wordcount_multiplier = 1000;
  std::int32_t markup_search_span = 200;
};

QUILLRT_API TSimpleSearchSettings DefaultSimpleSearchSettings();

class QUILLRT_API TSimpleSearchHolder {
 public:
  explicit TSimpleSearchHolder(const TSimpleSearch_rec& r) : data(r) {}
  TSimpleSearch_rec data;
};

// Owns its holders. Getters answer an empty value for a bad index.
class QUILLRT_API TSimpleSearchlist : public TObjectList<TSimpleSearchHolder> {
 public:
  explicit TSimpleSearchlist(const TSimpleSearchSettings& aSettings = DefaultSimpleSearchSettings());
  ~TSimpleSearchlist() override;

  bool IndexAssignedOK(int a) const { return a >= 0 && a < Count(); }
  // Appends a copy; returns its index.
  std::int32_t AddOne(const TSimpleSearch_rec& r);
  // Takes other's settings and appends copies of all its records. Returns the sum
  // of the appended records' indices.
  std::int32_t AddAll(const TSimpleSearchlist& other);
  TSimpleSearch_rec GetAValue(int i) const;
  // The record's seek text with its markers written back ("*ing", "==May==").
  UnicodeString GetATypedInSW(int i) const;
  // The seek texts joined with `separator`.
  UnicodeString AsText(const UnicodeString& separator) const;

  // Reads a list of plain words, one or more a line. Empty lines and lines
  // beginning with ";" or "//" are skipped. The items of a line are separated by
  // " -> " or ",": each item ends at the next " -> " if there is one, else at the
  // next ",". Each item is trimmed; its markers are read and stripped and, unless
  // case-sensitive, it is upper-cased. With require_equals_sign an item is
  // "key = number": the key is the word and the number its wanted hits (at least
  // 1); an item without a key adds nothing. False when the file cannot be read.
  bool LoadFromFile(const UnicodeString& f, bool require_equals_sign);

  TSimpleSearchSettings Settings;
};

// "key = value": the text before the first "=", trimmed (empty without "="), and
// the text after it read as an integer (0 without "=" or when not a number).
QUILLRT_API UnicodeString KeyOfKeyPlusValue(const UnicodeString& s);
QUILLRT_API std::int32_t ValueOfKeyPlusValue(const UnicodeString& s);

// ---- Parsed search words ----------------------------------------------------------

class QUILLRT_API TSWHolder {
 public:
  explicit TSWHolder(const TSearch_word_format_rec& e) : data(e) {}
  TSearch_word_format_rec data;
};

// Owns its holders.
class QUILLRT_API TSWList : public TObjectList<TSWHolder> {
 public:
  ~TSWList() override;
};

class QUILLRT_API TBaseSearchItems {
 public:
  // Empty; no tag characters, locale 0, no splitting at slashes.
  TBaseSearchItems();
  TBaseSearchItems(const TIgnore_tag_type& Aignore_tags, std::uint32_t AnLCID, bool aSplit_SWs_at_slashes);
  virtual ~TBaseSearchItems();
  TBaseSearchItems(const TBaseSearchItems&) = delete;
  TBaseSearchItems& operator=(const TBaseSearchItems&) = delete;

  // Adds the alternatives of a typed entry and returns their indices, last
  // alternative first. The variants then set the language number, the
  // automatic-lemma mark or the wanted number of hits of every returned word.
  std::vector<std::int32_t> AddedSearchWords(const UnicodeString& s);
  std::vector<std::int32_t> AddedSearchWords(const UnicodeString& s, std::int16_t Language);
  std::vector<std::int32_t> AddedSearchWords(const UnicodeString& s, bool auto_lemma);
  std::vector<std::int32_t> AddedSearchWords(const UnicodeString& s, std::int32_t max_to_get);
  // As AddedSearchWords(s, use_any_lemmas), then the returned words are
  // brought to the top, in the order of the returned indices, which then give
  // their new places. Every returned word below the top block moves, whether
  // it was new or already in the collection further down; a returned word
  // already within the top block (the first as many places as words
  // returned) stays where it is.
  std::vector<std::int32_t> InsertSearchWordsAtTop(const UnicodeString& s, bool use_any_lemmas);
  // Appends a copy of a ready record, without the duplicate test.
  std::int32_t AddOneSW(const TSearch_word_format_rec& anItem);
  // The index of arec, appending it when it is not there.
  std::int32_t EnsureContains(const TSearch_word_format_rec& arec);
  // The index of the word typed as s.typed_in_text, or -1 (also when its
  // language differs from s.Langnum).
  std::int32_t IndexOf(const TSearch_word_format_rec& s) const;
  // The index of the last word typed exactly as s (case-sensitive), or -1.
  // Calls the yield hook once per word.
  std::int32_t TypeInIndexOf(const UnicodeString& s) const;
  // The alternatives of an entry, runs of spaces reduced to one.
  std::unique_ptr<TStringList> TypeInParts(const UnicodeString& s) const;

  std::int32_t Count() const { return fSearchWordList.Count(); }
  virtual void Clear();
  void ClearOne(std::int32_t n);
  void MoveToTop(std::int32_t old_index);

  // Per-word access: a bad index gives an empty record, null, false or 0, and
  // setters then do nothing.
  TSearch_word_format_rec GetSWR(std::int32_t n) const;
  void PutSWR(std::int32_t n, const TSearch_word_format_rec& rec);
  TSearch_word_format_rec* GetPtr(std::int32_t n) const;
  TMySearchFlags GetAFlag(std::int32_t n) const;
  void SetAFlag(std::int32_t n, TMySearchFlags flags);
  std::int32_t GetHitsFound(std::int32_t n) const;
  void SetHitsFound(std::int32_t n, std::int32_t hits);
  std::int32_t GetNToFind(std::int32_t n) const;
  void SetNToFind(std::int32_t n, std::int32_t n_to_find);
  std::int16_t GetLanguage(std::int32_t n) const;
  void SetLanguage(std::int32_t n, std::int16_t language);
  std::int32_t GetSpacesInSW(std::int32_t n) const;
  bool GetAutoLemmaAdded(std::int32_t n) const;
  void SetAutoLemmaAdded(std::int32_t n, bool added);
  bool GetSearchFound(std::int32_t n) const;
  void SetSearchFound(std::int32_t n, bool enough);

  void IncrementHits(std::int32_t n);
  void ClearHits();
  // hits_found of word i = a[i] for every i that both have.
  void SetHits(const std::vector<std::int32_t>& a);
  std::int64_t TotalHits() const;

  // Copies of the words listed in `from` (an empty record for a negative or bad
  // index), in that order.
  std::vector<TSearch_word_format_rec> CopyOfArrayOFSWItems(const std::vector<std::int32_t>& from) const;
  // The typed texts joined with "/"; abbreviated: the first 10, then " etc."
  // when there are more.
  UnicodeString AllTypedSearchWordsAsOne(bool abbreviated) const;
  // Rebuilds the plain forms of the words (markers stripped, flags read, one hit
  // wanted each) and returns them; the list stays the collection's.
  TSimpleSearchlist& ComputePlainSearchWords();
  TSimpleSearchlist& PlainSWS() const { return *fPlainSWS; }

  // One typed text a line. Loading replaces the words (not their plain forms)
  // and is true when some line added a word; it is remembered in From_a_file.
  // Saving writes UTF-16 with a byte-order mark and always answers true.
  bool LoadFromFile(const UnicodeString& Filename, std::int32_t n_wanted);
  bool SaveToFile(const UnicodeString& Filename) const;
  // The stream form (see above). Reading adds each entry anew (parsed with the
  // collection's settings) and restores its hits and language; it stops at the
  // first damaged entry with false, keeping what it added. Saving is false only
  // when the stream fails.
  bool ReadFromStream(TStream& Stream);
  bool SaveToStream(TStream& Stream) const;

  std::int32_t GetCurrentSearch() const { return fCurrentSearch; }
  void SetCurrentSearch(std::int32_t n) { fCurrentSearch = n; }
  std::uint32_t GetLCID() const { return fLCID; }
  void SetLCID(std::uint32_t lcid) { fLCID = lcid; }
  bool GetSplitting_at_slashes() const { return fSplitting_at_slashes; }
  void SetSplitting_at_slashes(bool split) { fSplitting_at_slashes = split; }
  bool GetFormatPreChecked() const { return fFormatPreChecked; }
  void SetFormatPreChecked(bool pre_checked) { fFormatPreChecked = pre_checked; }
  bool GetFrom_a_file() const { return fFrom_a_file; }
  const TSWList& SearchWordList() const { return fSearchWordList; }

  std::int32_t process_one_specific_SW_number = -1;  // the one word to process, -1 for all
  TIgnore_tag_type ignore_tags{};                    // tag characters used when parsing

 protected:
  // The adding step behind every AddedSearchWords.
  virtual std::vector<std::int32_t> fAddedSearchWordsIndices(const UnicodeString& s);
  TSearch_word_format_rec* At(std::int32_t n) const;

  std::unique_ptr<TSimpleSearchlist> fPlainSWS;
  std::int32_t fCurrentSearch = 0;
  TSWList fSearchWordList;
  std::uint32_t fLCID = 0;
  bool fSplitting_at_slashes = false;
  bool fFormatPreChecked = false;
  bool fFrom_a_file = false;
};

class QUILLRT_API TContextWordItems : public TBaseSearchItems {
 public:
  using TBaseSearchItems::TBaseSearchItems;
  ~TContextWordItems() override;

  std::int32_t sought_context_word_pos = 0;
  bool require_one_context_word_position = false;
  bool require_all_context_words = false;
};

class QUILLRT_API TExclusionWordItems : public TBaseSearchItems {
 public:
  using TBaseSearchItems::TBaseSearchItems;
  ~TExclusionWordItems() override;
};

class QUILLRT_API TTagContextWordItems : public TBaseSearchItems {
 public:
  using TBaseSearchItems::TBaseSearchItems;
  ~TTagContextWordItems() override;
};

// The search words of a request. An entry typed exactly as a stored word adds
// nothing. Once the first word carries a context word, the collection makes a
// context-word collection and an engine (8-bit buffers, UTF-16 words) of its own
// for the context searches; both live as long as the collection.
class QUILLRT_API TSearchWordItems : public TBaseSearchItems {
 public:
  using TBaseSearchItems::TBaseSearchItems;
  ~TSearchWordItems() override;

  // Whether word n names a context word; a true answer also sets
  // HasAnyContextWords. False for a bad index.
  bool GetHasContextWord(std::int32_t n);
  TSearchAndDoEngine* GetTempEngine() const { return ftempEngine.get(); }
  TContextWordItems* GetTempCWItems() const { return ftempCWItems.get(); }

  std::int32_t ColunaPraProcura = 0;  // column to search in
  bool HasAnyContextWords = false;

 protected:
  std::vector<std::int32_t> fAddedSearchWordsIndices(const UnicodeString& s) override;

 private:
  std::unique_ptr<TSearchAndDoEngine> ftempEngine;
  std::unique_ptr<TContextWordItems> ftempCWItems;
};

}  // namespace quill
