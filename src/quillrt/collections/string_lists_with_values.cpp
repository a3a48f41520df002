#include "quillrt/collections/string_lists_with_values.h"

#include <limits>
#include <optional>
#include <string_view>

#include "quillrt/collections/comparisons.h"
#include "quillrt/collections/string_comparisons.h"

namespace quill {

namespace {

// Adds with 32-bit wrap-around, as the counts have always done.
std::int32_t WrappingAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

// A whole decimal int32: an optional sign and at least one digit, nothing else.
std::optional<std::int32_t> WholeInt32(std::u16string_view s) {
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  if (i == s.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < u'0' || s[i] > u'9') return std::nullopt;
    value = value * 10 + (s[i] - u'0');
    if (value > static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

// Calls add_line for each line of text. With the CR LF break a line ends at CR,
// LF or CR LF; otherwise at each occurrence of the break. A break at the very
// end does not start another, empty, line.
template <class AddLine>
void SplitLines(std::u16string_view text, std::u16string_view line_break, AddLine add_line) {
  std::size_t start = 0;
  if (line_break == u"\r\n") {
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] != u'\r' && text[i] != u'\n') continue;
      add_line(text.substr(start, i - start));
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      start = i + 1;
    }
  } else if (!line_break.empty()) {
    for (std::size_t at = text.find(line_break); at != std::u16string_view::npos;
         at = text.find(line_break, start)) {
      add_line(text.substr(start, at - start));
      start = at + line_break.size();
    }
  }
  if (start < text.size()) add_line(text.substr(start));
}

}  // namespace

// ---- TStringListWithALongint -------------------------------------------------

TStringListWithALongint::~TStringListWithALongint() = default;

int TStringListWithALongint::AddOne(const UnicodeString& S, std::int32_t value) {
  return AddObject(S, std::make_unique<TLongIntHolder>(value));
}

std::int32_t TStringListWithALongint::GetOne(int index) const {
  const TLongIntHolder* holder = HolderAt(index);
  return holder ? holder->data : 0;
}

void TStringListWithALongint::SetOne(int index, std::int32_t value) {
  if (TLongIntHolder* holder = HolderAt(index)) holder->data = value;
}

std::int32_t TStringListWithALongint::HighestFrequency() const {
  std::int32_t highest = 0;
  for (int i = 0; i < Count(); ++i) {
    const TLongIntHolder* holder = GetObject(i);
    if (holder && holder->data > highest) highest = holder->data;
  }
  return highest;
}

void TStringListWithALongint::SortOnFreq() {
  CustomSort([](TStringListOf& list, int a, int b) {
    const auto& self = static_cast<const TStringListWithALongint&>(list);
    return CompareLongints(self.SortedHolder(b)->data, self.SortedHolder(a)->data);
  });
}

void TStringListWithALongint::SetTextStr(const UnicodeString& text) {
  BeginUpdate();
  struct EndUpdateOnExit {
    TStrings& list;
    ~EndUpdateOnExit() { list.EndUpdate(); }
  } end_update{*this};
  Clear();
  SplitLines(text, LineBreak(), [this](std::u16string_view line) {
    const std::size_t tab = line.find(u'\t');
    if (tab != std::u16string_view::npos && tab >= 1) {
      if (const auto value = WholeInt32(line.substr(tab + 1))) {
        AddOne(UnicodeString(line.substr(0, tab)), *value);
        return;
      }
    }
    AddOne(UnicodeString(line), -1);
  });
}

// ---- TStringListWithASingle --------------------------------------------------

TStringListWithASingle::~TStringListWithASingle() = default;

int TStringListWithASingle::AddOne(const UnicodeString& S, float value) {
  return AddObject(S, std::make_unique<TSingleHolder>(value));
}

float TStringListWithASingle::GetOne(int index) const {
  const TSingleHolder* holder = HolderAt(index);
  return holder ? holder->data : 0.0f;
}

void TStringListWithASingle::SetOne(int index, float value) {
  if (TSingleHolder* holder = HolderAt(index)) holder->data = value;
}

void TStringListWithASingle::SortOnFreq() {
  CustomSort([](TStringListOf& list, int a, int b) {
    const auto& self = static_cast<const TStringListWithASingle&>(list);
    return CompareSingles(self.SortedHolder(b)->data, self.SortedHolder(a)->data);
  });
}

// ---- TStringListWithIntAndSingle ---------------------------------------------

TStringListWithIntAndSingle::~TStringListWithIntAndSingle() = default;

int TStringListWithIntAndSingle::AddOne(const UnicodeString& S, const TIntegerAndSingleRec& rec) {
  return AddObject(S, std::make_unique<TIntegerAndSingleHolder>(rec));
}

void TStringListWithIntAndSingle::GetOne(int index, TIntegerAndSingleRec& rec) const {
  const TIntegerAndSingleHolder* holder = HolderAt(index);
  rec = holder ? holder->data : TIntegerAndSingleRec{};
}

void TStringListWithIntAndSingle::SetOne(int index, const TIntegerAndSingleRec& rec) {
  if (TIntegerAndSingleHolder* holder = HolderAt(index)) holder->data = rec;
}

void TStringListWithIntAndSingle::SortOnInt(bool ascending) {
  CustomSort([ascending](TStringListOf& list, int a, int b) {
    const auto& self = static_cast<const TStringListWithIntAndSingle&>(list);
    const TIntegerAndSingleRec& x = self.SortedHolder(a)->data;
    const TIntegerAndSingleRec& y = self.SortedHolder(b)->data;
    const int by_int = CompareLongints(x.int_, y.int_);
    if (by_int != 0) return ascending ? by_int : -by_int;
    const int by_single = CompareSingles(x.s, y.s);
    return ascending ? -by_single : by_single;
  });
}

void TStringListWithIntAndSingle::SortOnSingle(bool ascending) {
  CustomSort([ascending](TStringListOf& list, int a, int b) {
    const auto& self = static_cast<const TStringListWithIntAndSingle&>(list);
    const TIntegerAndSingleRec& x = self.SortedHolder(a)->data;
    const TIntegerAndSingleRec& y = self.SortedHolder(b)->data;
    const int by_single = CompareSingles(x.s, y.s);
    if (by_single != 0) return ascending ? by_single : -by_single;
    const int by_int = CompareLongints(x.int_, y.int_);
    return ascending ? -by_int : by_int;
  });
}

void TStringListWithIntAndSingle::SortOnStrings(bool ascending) {
  CustomSort([ascending](TStringListOf& list, int a, int b) {
    const auto& self = static_cast<const TStringListWithIntAndSingle&>(list);
    int c = Compare2Strings(self[a], self[b]);
    if (c == 0) c = CompareSingles(self.SortedHolder(a)->data.s, self.SortedHolder(b)->data.s);
    return ascending ? c : -c;
  });
}

// ---- TStringListWith2LongintList ---------------------------------------------

TStringListWith2LongintList::~TStringListWith2LongintList() = default;

T2LongIntHolder* TStringListWith2LongintList::PairAt(int index) const {
  if (!IndexAssignedOK(index)) return nullptr;
  const auto* pair = std::get_if<std::unique_ptr<T2LongIntHolder>>(&GetObject(index));
  return pair ? pair->get() : nullptr;
}

T2LongintList* TStringListWith2LongintList::GetPairList(int index) const {
  if (!IndexAssignedOK(index)) return nullptr;
  const auto* pairs = std::get_if<std::unique_ptr<T2LongintList>>(&GetObject(index));
  return pairs ? pairs->get() : nullptr;
}

int TStringListWith2LongintList::AddOne(const UnicodeString& S, const T2_longint_rec& rec) {
  return AddObject(S, std::make_unique<T2LongIntHolder>(rec));
}

int TStringListWith2LongintList::AddOrIncOne(const UnicodeString& S, const T2_longint_rec& rec) {
  int index = IndexOf(S);
  if (index < 0) index = AddObject(S, std::make_unique<T2LongintList>());
  T2LongintList* pairs = GetPairList(index);
  if (pairs == nullptr) return -1;
  pairs->AddOne(rec);
  return index;
}

void TStringListWith2LongintList::GetOne(int index, T2_longint_rec& rec) const {
  const T2LongIntHolder* pair = PairAt(index);
  rec = pair ? pair->data : T2_longint_rec{};
}

void TStringListWith2LongintList::SetOne(int index, const T2_longint_rec& rec) {
  if (T2LongIntHolder* pair = PairAt(index)) pair->data = rec;
}

void TStringListWith2LongintList::AddToOneFreq(int index, std::int32_t freq, T2LongintSort which) {
  T2LongIntHolder* pair = PairAt(index);
  if (pair == nullptr) return;
  std::int32_t& field = which == t2_long1 ? pair->data.long1 : pair->data.long0;
  field = WrappingAdd(field, freq);
}

void TStringListWith2LongintList::IncOne(int index, T2LongintSort which) { AddToOneFreq(index, 1, which); }

int TStringListWith2LongintList::Repeateds(T2LongintSort which) const {
  int repeated = 0;
  for (int i = 0; i < Count(); ++i) {
    T2_longint_rec rec;
    GetOne(i, rec);
    if ((which == t2_long1 ? rec.long1 : rec.long0) > 1) ++repeated;
  }
  return repeated;
}

void TStringListWith2LongintList::SortOnFreq() {
  CustomSort([](TStringListOf& list, int a, int b) {
    const auto& self = static_cast<const TStringListWith2LongintList&>(list);
    T2_longint_rec x, y;
    self.GetOne(a, x);
    self.GetOne(b, y);
    const int by_long0 = CompareLongints(y.long0, x.long0);
    return by_long0 != 0 ? by_long0 : CompareLongints(x.long1, y.long1);
  });
}

void TStringListWith2LongintList::Delete(int Index) {
  if (IndexAssignedOK(Index)) TIndexCheckStringlistOf<T2LongintSlot>::Delete(Index);
}

// ---- TStringListWithFreqPointers ---------------------------------------------

TStringListWithFreqPointers::~TStringListWithFreqPointers() = default;

void TStringListWithFreqPointers::SortOnFreq() { CustomSort(StringListCompareDescFreq); }

}  // namespace quill
