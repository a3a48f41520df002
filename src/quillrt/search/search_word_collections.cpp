#include "quillrt/search/search_word_collections.h"

#include <algorithm>
#include <limits>

#include "quillrt/catalogue/message_catalogue.h"
#include "quillrt/collections/stream_forms.h"
#include "quillrt/framework/encoding.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/process/log.h"
#include "quillrt/process/shared_state.h"
#include "quillrt/process/yield.h"
#include "quillrt/text/char_classes.h"

namespace quill {

namespace {

constexpr WideChar kTab = u'\t';
constexpr std::int32_t kAbbreviatedWords = 10;

// Every run of spaces becomes one space.
UnicodeString StrippedDoubleSpaces(const UnicodeString& text) {
  UnicodeString result;
  result.reserve(text.size());
  for (const WideChar c : text) {
    if (c == u' ' && !result.empty() && result.back() == u' ') continue;
    result.push_back(c);
  }
  return result;
}

// The parsed text of an alternative and the alternative as typed.
void LogParsed(const UnicodeString& search_text, const UnicodeString& typed) {
  UnicodeString line = u"search word \"";
  line.append(search_text).append(u"\" typed as \"").append(typed).append(u"\"");
  AddToLogFile(line);
}

std::int32_t SpacesIn(const UnicodeString& text) {
  return static_cast<std::int32_t>(std::count(text.begin(), text.end(), u' '));
}

bool StartsWith(const UnicodeString& text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && std::u16string_view(text).substr(0, prefix.size()) == prefix;
}

// A number of a stream entry: absent when it does not parse.
bool ParsedNumber(const UnicodeString& text, int& value) { return TryStrToInt(text, value); }

}  // namespace

// ---------------------------------------------------------------------------
// Plain search words

TSimpleSearchSettings DefaultSimpleSearchSettings() { return TSimpleSearchSettings{}; }

TSimpleSearchlist::TSimpleSearchlist(const TSimpleSearchSettings& aSettings) : Settings(aSettings) {}

TSimpleSearchlist::~TSimpleSearchlist() = default;

std::int32_t TSimpleSearchlist::AddOne(const TSimpleSearch_rec& r) {
  Add(std::make_unique<TSimpleSearchHolder>(r));
  return Count() - 1;
}

std::int32_t TSimpleSearchlist::AddAll(const TSimpleSearchlist& other) {
  Settings = other.Settings;
  // Counted first, so that adding a list to itself doubles it and stops.
  const int n = other.Count();
  std::int32_t sum = 0;
  for (int i = 0; i < n; ++i) sum += AddOne(other.Get(i)->data);
  return sum;
}

TSimpleSearch_rec TSimpleSearchlist::GetAValue(int i) const {
  return IndexAssignedOK(i) ? Get(i)->data : TSimpleSearch_rec{};
}

UnicodeString TSimpleSearchlist::GetATypedInSW(int i) const {
  if (!IndexAssignedOK(i)) return {};
  const TSimpleSearch_rec& r = Get(i)->data;
  return SWStringPlusFlags(r.seek, r.flags);
}

UnicodeString TSimpleSearchlist::AsText(const UnicodeString& separator) const {
  UnicodeString text;
  for (int i = 0; i < Count(); ++i) {
    if (i > 0) text += separator;
    text += Get(i)->data.seek;
  }
  return text;
}

bool TSimpleSearchlist::LoadFromFile(const UnicodeString& f, bool require_equals_sign) {
  Clear();
  if (!FileExists(f)) return false;
  TStringList lines;
  try {
    lines.LoadFromFile(f);
  } catch (const Exception&) {
    return false;
  }
  static constexpr std::u16string_view kArrow = u" -> ";
  for (const UnicodeString& line : lines) {
    MyYieldProcess();
    if (line.empty() || StartsWith(line, u";") || StartsWith(line, u"//")) continue;
    std::size_t from = 0;
    while (from <= line.size()) {
      std::size_t end = line.find(kArrow, from);
      std::size_t next = end == UnicodeString::npos ? UnicodeString::npos : end + kArrow.size();
      if (end == UnicodeString::npos) {
        end = line.find(u',', from);
        next = end == UnicodeString::npos ? UnicodeString::npos : end + 1;
      }
      const UnicodeString item = Trim(line.substr(from, end == UnicodeString::npos ? end : end - from));
      TSimpleSearch_rec r;
      r.seek = require_equals_sign ? Uppercase(KeyOfKeyPlusValue(item)) : item;
      r.flags = FlagsFromSW(r.seek);
      if (!r.flags.Contains(myCaseIsSensitive)) r.seek = Uppercase(r.seek);
      r.n_wanted = std::max(1, ValueOfKeyPlusValue(item));
      // An empty item (",,", or no key where one is required) names no word.
      if (!r.seek.empty()) AddOne(r);
      if (next == UnicodeString::npos) break;
      from = next;
    }
  }
  return true;
}

UnicodeString KeyOfKeyPlusValue(const UnicodeString& s) {
  const std::size_t equals = s.find(u'=');
  return equals == UnicodeString::npos ? UnicodeString() : Trim(s.substr(0, equals));
}

std::int32_t ValueOfKeyPlusValue(const UnicodeString& s) {
  const std::size_t equals = s.find(u'=');
  if (equals == UnicodeString::npos) return 0;
  int value = 0;
  return TryStrToInt(Trim(s.substr(equals + 1)), value) ? value : 0;
}

// ---------------------------------------------------------------------------
// Collections

TSWList::~TSWList() = default;

TBaseSearchItems::TBaseSearchItems() : fPlainSWS(std::make_unique<TSimpleSearchlist>(DefaultSimpleSearchSettings())) {}

TBaseSearchItems::TBaseSearchItems(const TIgnore_tag_type& Aignore_tags, std::uint32_t AnLCID,
                                   bool aSplit_SWs_at_slashes)
    : TBaseSearchItems() {
  ignore_tags = Aignore_tags;
  fLCID = AnLCID;
  fSplitting_at_slashes = aSplit_SWs_at_slashes;
}

TBaseSearchItems::~TBaseSearchItems() = default;

TSearch_word_format_rec* TBaseSearchItems::At(std::int32_t n) const {
  return n >= 0 && n < Count() ? &fSearchWordList.Get(n)->data : nullptr;
}

std::unique_ptr<TStringList> TBaseSearchItems::TypeInParts(const UnicodeString& s) const {
  UnicodeString entry = StrippedDoubleSpaces(s);
  return SplitSWList(entry, fSplitting_at_slashes);
}

std::vector<std::int32_t> TBaseSearchItems::fAddedSearchWordsIndices(const UnicodeString& s) {
  const std::unique_ptr<TStringList> parts = TypeInParts(s);
  std::vector<std::int32_t> result;
  for (int i = parts->Count() - 1; i >= 0; --i) {
    const UnicodeString& alternative = (*parts)[i];
    UnicodeString work = alternative;
    TSearch_word_format_rec rec;
    if (fFormatPreChecked) {
      UnParsed_SearchWord(work, rec);
    } else {
      Parsed_SearchWord(ignore_tags, work, rec);
    }
    if (keeping_log) LogParsed(rec.search_text, alternative);
    if (rec.search_text.empty()) continue;
    std::int32_t index = TypeInIndexOf(rec.typed_in_text);
    if (index < 0) {
      rec.spaces_in_sw = SpacesIn(rec.search_text);
      index = Count();
      fSearchWordList.Add(std::make_unique<TSWHolder>(rec));
    }
    result.push_back(index);
  }
  return result;
}

std::vector<std::int32_t> TBaseSearchItems::AddedSearchWords(const UnicodeString& s) {
  return fAddedSearchWordsIndices(s);
}

std::vector<std::int32_t> TBaseSearchItems::AddedSearchWords(const UnicodeString& s, std::int16_t Language) {
  std::vector<std::int32_t> indices = fAddedSearchWordsIndices(s);
  for (const std::int32_t n : indices) SetLanguage(n, Language);
  return indices;
}

std::vector<std::int32_t> TBaseSearchItems::AddedSearchWords(const UnicodeString& s, bool auto_lemma) {
  std::vector<std::int32_t> indices = fAddedSearchWordsIndices(s);
  for (const std::int32_t n : indices) SetAutoLemmaAdded(n, auto_lemma);
  return indices;
}

std::vector<std::int32_t> TBaseSearchItems::AddedSearchWords(const UnicodeString& s, std::int32_t max_to_get) {
  std::vector<std::int32_t> indices = fAddedSearchWordsIndices(s);
  for (const std::int32_t n : indices) SetNToFind(n, max_to_get);
  return indices;
}

std::vector<std::int32_t> TBaseSearchItems::InsertSearchWordsAtTop(const UnicodeString& s, bool use_any_lemmas) {
  std::vector<std::int32_t> indices = AddedSearchWords(s, use_any_lemmas);
  const auto n = static_cast<std::int32_t>(indices.size());
  // The words are followed by their holders, not their indices: every move
  // shifts the words between its two ends.
  std::vector<const TSWHolder*> holders;
  holders.reserve(indices.size());
  for (const std::int32_t index : indices) holders.push_back(fSearchWordList.Get(index));
  for (std::int32_t p = 0; p < n; ++p) {
    if (indices[static_cast<std::size_t>(p)] <= n - 1) continue;  // already in the top block
    const int current = fSearchWordList.IndexOf(holders[static_cast<std::size_t>(p)]);
    if (current > p) fSearchWordList.Move(current, p);
  }
  for (std::int32_t p = 0; p < n; ++p) {
    indices[static_cast<std::size_t>(p)] = fSearchWordList.IndexOf(holders[static_cast<std::size_t>(p)]);
  }
  return indices;
}

std::int32_t TBaseSearchItems::AddOneSW(const TSearch_word_format_rec& anItem) {
  fSearchWordList.Add(std::make_unique<TSWHolder>(anItem));
  return Count() - 1;
}

std::int32_t TBaseSearchItems::EnsureContains(const TSearch_word_format_rec& arec) {
  const std::int32_t index = IndexOf(arec);
  return index >= 0 ? index : AddOneSW(arec);
}

std::int32_t TBaseSearchItems::IndexOf(const TSearch_word_format_rec& s) const {
  const std::int32_t index = TypeInIndexOf(s.typed_in_text);
  if (index < 0 || At(index)->Langnum != s.Langnum) return -1;
  return index;
}

std::int32_t TBaseSearchItems::TypeInIndexOf(const UnicodeString& s) const {
  std::int32_t found = -1;
  for (std::int32_t i = 0; i < Count(); ++i) {
    MyYieldProcess();
    // The yield hook may have changed the list.
    if (i < Count() && fSearchWordList.Get(i)->data.typed_in_text == s) found = i;
  }
  return found;
}

void TBaseSearchItems::Clear() {
  fSearchWordList.Clear();
  fPlainSWS->Clear();
  fFrom_a_file = false;
}

void TBaseSearchItems::ClearOne(std::int32_t n) {
  if (At(n) != nullptr) fSearchWordList.Delete(n);
}

void TBaseSearchItems::MoveToTop(std::int32_t old_index) {
  if (old_index > 0 && old_index < Count()) fSearchWordList.Move(old_index, 0);
}

// ---- per-word access --------------------------------------------------------

TSearch_word_format_rec TBaseSearchItems::GetSWR(std::int32_t n) const {
  const TSearch_word_format_rec* rec = At(n);
  return rec != nullptr ? *rec : TSearch_word_format_rec{};
}

void TBaseSearchItems::PutSWR(std::int32_t n, const TSearch_word_format_rec& rec) {
  if (TSearch_word_format_rec* stored = At(n)) *stored = rec;
}

TSearch_word_format_rec* TBaseSearchItems::GetPtr(std::int32_t n) const { return At(n); }

TMySearchFlags TBaseSearchItems::GetAFlag(std::int32_t n) const {
  const TSearch_word_format_rec* rec = At(n);
  return rec != nullptr ? rec->flags : TMySearchFlags{};
}

void TBaseSearchItems::SetAFlag(std::int32_t n, TMySearchFlags flags) {
  if (TSearch_word_format_rec* rec = At(n)) rec->flags = flags;
}

std::int32_t TBaseSearchItems::GetHitsFound(std::int32_t n) const {
  const TSearch_word_format_rec* rec = At(n);
  return rec != nullptr ? rec->hits_found : 0;
}

void TBaseSearchItems::SetHitsFound(std::int32_t n, std::int32_t hits) {
  if (TSearch_word_format_rec* rec = At(n)) rec->hits_found = hits;
}

std::int32_t TBaseSearchItems::GetNToFind(std::int32_t n) const {
  const TSearch_word_format_rec* rec = At(n);
  return rec != nullptr ? rec->n_to_find : 0;
}

void TBaseSearchItems::SetNToFind(std::int32_t n, std::int32_t n_to_find) {
  if (TSearch_word_format_rec* rec = At(n)) rec->n_to_find = n_to_find;
}

std::int16_t TBaseSearchItems::GetLanguage(std::int32_t n) const {
  const TSearch_word_format_rec* rec = At(n);
  return rec != nullptr ? rec->Langnum : std::int16_t{0};
}

void TBaseSearchItems::SetLanguage(std::int32_t n, std::int16_t language) {
  if (TSearch_word_format_rec* rec = At(n)) rec->Langnum = language;
}

std::int32_t TBaseSearchItems::GetSpacesInSW(std::int32_t n) const {
  const TSearch_word_format_rec* rec = At(n);
  return rec != nullptr ? rec->spaces_in_sw : 0;
}

bool TBaseSearchItems::GetAutoLemmaAdded(std::int32_t n) const {
  const TSearch_word_format_rec* rec = At(n);
  return rec != nullptr && rec->auto_lemma_added;
}

void TBaseSearchItems::SetAutoLemmaAdded(std::int32_t n, bool added) {
  if (TSearch_word_format_rec* rec = At(n)) rec->auto_lemma_added = added;
}

bool TBaseSearchItems::GetSearchFound(std::int32_t n) const {
  const TSearch_word_format_rec* rec = At(n);
  return rec != nullptr && rec->achou_suficiente;
}

void TBaseSearchItems::SetSearchFound(std::int32_t n, bool enough) {
  if (TSearch_word_format_rec* rec = At(n)) rec->achou_suficiente = enough;
}

void TBaseSearchItems::IncrementHits(std::int32_t n) {
  if (TSearch_word_format_rec* rec = At(n)) ++rec->hits_found;
}

void TBaseSearchItems::ClearHits() {
  for (std::int32_t i = 0; i < Count(); ++i) At(i)->hits_found = 0;
}

void TBaseSearchItems::SetHits(const std::vector<std::int32_t>& a) {
  const std::int32_t n = std::min(Count(), static_cast<std::int32_t>(a.size()));
  for (std::int32_t i = 0; i < n; ++i) At(i)->hits_found = a[static_cast<std::size_t>(i)];
}

std::int64_t TBaseSearchItems::TotalHits() const {
  std::int64_t total = 0;
  for (std::int32_t i = 0; i < Count(); ++i) total += At(i)->hits_found;
  return total;
}

// ---- derived forms ------------------------------------------------------------

std::vector<TSearch_word_format_rec> TBaseSearchItems::CopyOfArrayOFSWItems(
    const std::vector<std::int32_t>& from) const {
  std::vector<TSearch_word_format_rec> copies;
  copies.reserve(from.size());
  for (const std::int32_t n : from) copies.push_back(GetSWR(n));
  return copies;
}

UnicodeString TBaseSearchItems::AllTypedSearchWordsAsOne(bool abbreviated) const {
  const std::int32_t shown = abbreviated ? std::min(Count(), kAbbreviatedWords) : Count();
  UnicodeString text;
  for (std::int32_t i = 0; i < shown; ++i) {
    if (i > 0) text += u'/';
    text += At(i)->typed_in_text;
  }
  if (shown < Count()) {
    text += u' ';
    text += CatalogueText("_QYEtc");
  }
  return text;
}

TSimpleSearchlist& TBaseSearchItems::ComputePlainSearchWords() {
  fPlainSWS->Clear();
  for (std::int32_t i = 0; i < Count(); ++i) {
    TSimpleSearch_rec plain;
    plain.seek = At(i)->typed_in_text;
    plain.flags = FlagsFromSW(plain.seek);
    plain.n_wanted = 1;
    fPlainSWS->AddOne(plain);
  }
  return *fPlainSWS;
}

// ---- files and streams ----------------------------------------------------------

bool TBaseSearchItems::LoadFromFile(const UnicodeString& Filename, std::int32_t n_wanted) {
  fFrom_a_file = false;
  TStringList lines;
  try {
    lines.LoadFromFile(Filename);
  } catch (const Exception&) {
    return false;
  }
  fSearchWordList.Clear();
  for (const UnicodeString& line : lines) {
    if (line.empty()) continue;
    if (!AddedSearchWords(line, n_wanted).empty()) fFrom_a_file = true;
  }
  return fFrom_a_file;
}

bool TBaseSearchItems::SaveToFile(const UnicodeString& Filename) const {
  TStringList lines;
  for (std::int32_t i = 0; i < Count(); ++i) lines.Add(At(i)->typed_in_text);
  lines.SetWriteBOM(true);
  try {
    lines.SaveToFile(Filename, TEncoding::Unicode());
  } catch (const Exception&) {
    // A word list that cannot be saved is not worth stopping the tool for.
  }
  return true;
}

bool TBaseSearchItems::ReadFromStream(TStream& Stream) {
  try {
    const auto count = Stream.ReadLE<std::int32_t>();
    if (count < 0) return false;
    for (std::int32_t i = 0; i < count; ++i) {
      const UnicodeString entry = ReadAString(Stream);
      const std::size_t first_tab = entry.find(kTab);
      const UnicodeString text = entry.substr(0, first_tab);
      int hits = -1;
      int language = -1;
      if (first_tab != UnicodeString::npos) {
        const std::size_t second_tab = entry.find(kTab, first_tab + 1);
        const std::size_t hits_end = second_tab == UnicodeString::npos ? entry.size() : second_tab;
        if (!ParsedNumber(entry.substr(first_tab + 1, hits_end - first_tab - 1), hits)) hits = -1;
        if (second_tab != UnicodeString::npos) {
          const std::size_t language_end = entry.find(kTab, second_tab + 1);
          const UnicodeString language_text =
              entry.substr(second_tab + 1, language_end == UnicodeString::npos ? language_end
                                                                                : language_end - second_tab - 1);
          if (!ParsedNumber(language_text, language) || language > std::numeric_limits<std::int16_t>::max()) {
            language = -1;
          }
        }
      }
      for (const std::int32_t n : AddedSearchWords(text)) {
        if (hits >= 0) SetHitsFound(n, hits);
        if (language >= 0) SetLanguage(n, static_cast<std::int16_t>(language));
      }
    }
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

bool TBaseSearchItems::SaveToStream(TStream& Stream) const {
  try {
    Stream.WriteLE<std::int32_t>(Count());
    for (std::int32_t i = 0; i < Count(); ++i) {
      const TSearch_word_format_rec& rec = *At(i);
      WriteAString(Stream, rec.typed_in_text + kTab + IntToStr(rec.hits_found) + kTab + IntToStr(rec.Langnum));
    }
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

// ---------------------------------------------------------------------------
// Subclasses

TContextWordItems::~TContextWordItems() = default;
TExclusionWordItems::~TExclusionWordItems() = default;
TTagContextWordItems::~TTagContextWordItems() = default;
TSearchWordItems::~TSearchWordItems() = default;

bool TSearchWordItems::GetHasContextWord(std::int32_t n) {
  const TSearch_word_format_rec* rec = At(n);
  if (rec == nullptr || !rec->has_file_based_context_word) return false;
  HasAnyContextWords = true;
  return true;
}

std::vector<std::int32_t> TSearchWordItems::fAddedSearchWordsIndices(const UnicodeString& s) {
  if (TypeInIndexOf(s) >= 0) return {};
  std::vector<std::int32_t> indices = TBaseSearchItems::fAddedSearchWordsIndices(s);
  if (!indices.empty() && GetHasContextWord(0) && !ftempCWItems && !ftempEngine) {
    ftempCWItems = std::make_unique<TContextWordItems>(ignore_tags, fLCID, true);
    ftempEngine = std::make_unique<TSearchAndDoEngine>(false, true, fLCID);
  }
  return indices;
}

}  // namespace quill
