#include "quillrt/framework/string_list.h"

#include <algorithm>
#include <numeric>

#include "quillrt/framework/locale_text.h"

namespace quill {

// Exported with default visibility by the declaration in the header.
template class TStringListOf<TObjectRef>;

namespace {

const char kSortedListError[] = "Operation not allowed on sorted list";
const char kDuplicateError[] = "String list does not allow duplicates";

// Sorts `items` stably by compare(a, b) (negative, zero, positive). Bottom-up
// merge sort over insertion-sorted runs; every access is bounds-checked by
// construction, so an inconsistent comparison cannot make it read outside the
// vector.
template <class T, class Compare>
void MergeSort(std::vector<T>& items, Compare compare) {
  const std::size_t n = items.size();
  constexpr std::size_t kRun = 16;
  for (std::size_t start = 0; start < n; start += kRun) {
    const std::size_t stop = std::min(start + kRun, n);
    for (std::size_t i = start + 1; i < stop; ++i) {
      T value = items[i];
      std::size_t j = i;
      while (j > start && compare(value, items[j - 1]) < 0) {
        items[j] = items[j - 1];
        --j;
      }
      items[j] = value;
    }
  }
  if (n <= kRun) return;
  std::vector<T> merged(n);
  for (std::size_t width = kRun; width < n; width *= 2) {
    for (std::size_t low = 0; low < n; low += 2 * width) {
      const std::size_t mid = std::min(low + width, n);
      const std::size_t high = std::min(low + 2 * width, n);
      const auto from = [&](std::size_t k) { return items.begin() + static_cast<std::ptrdiff_t>(k); };
      // Runs already in order (common when adding to sorted data) cost one comparison.
      if (mid >= high || compare(items[mid], items[mid - 1]) >= 0) {
        std::copy(from(low), from(high), merged.begin() + static_cast<std::ptrdiff_t>(low));
        continue;
      }
      std::size_t i = low, j = mid, k = low;
      while (i < mid && j < high) merged[k++] = compare(items[j], items[i]) < 0 ? items[j++] : items[i++];
      while (i < mid) merged[k++] = items[i++];
      while (j < high) merged[k++] = items[j++];
    }
    items.swap(merged);
  }
}

// A line to sort by its text: the text is reached without going through the
// list's cell table, which keeps large sorts from waiting on memory twice.
struct SortEntry {
  const UnicodeString* text;
  int position;
};

// Splits text into lines as SetTextStr describes.
std::vector<UnicodeString> SplitLines(const UnicodeString& text, const UnicodeString& line_break) {
  std::vector<UnicodeString> lines;
  const std::size_t n = text.size();
  std::size_t start = 0;
  if (line_break.empty() || line_break == u"\r\n") {
    while (start < n) {
      std::size_t end = start;
      while (end < n && text[end] != u'\r' && text[end] != u'\n') ++end;
      lines.emplace_back(text, start, end - start);
      if (end < n && text[end] == u'\r' && end + 1 < n && text[end + 1] == u'\n') ++end;
      start = end + 1;
    }
  } else {
    while (start < n) {
      std::size_t end = text.find(line_break, start);
      if (end == UnicodeString::npos) end = n;
      lines.emplace_back(text, start, end - start);
      start = end + line_break.size();
    }
  }
  return lines;
}

bool IsBlank(WideChar c) { return c >= 1 && c <= u' '; }

UnicodeString Quoted(const UnicodeString& s, WideChar quote) {
  UnicodeString result(1, quote);
  for (const WideChar c : s) {
    result.push_back(c);
    if (c == quote) result.push_back(quote);
  }
  result.push_back(quote);
  return result;
}

UnicodeString JoinDelimited(const TStrings& lines, WideChar delimiter, WideChar quote, bool strict) {
  if (lines.Count() == 1 && lines[0].empty()) return UnicodeString(2, quote);
  UnicodeString result;
  for (int i = 0; i < lines.Count(); ++i) {
    const UnicodeString& s = lines[i];
    const bool needs_quotes = std::any_of(s.begin(), s.end(), [&](WideChar c) {
      return c == quote || c == delimiter || c == 0 || (!strict && IsBlank(c));
    });
    if (i > 0) result.push_back(delimiter);
    result += needs_quotes ? Quoted(s, quote) : s;
  }
  return result;
}

std::vector<UnicodeString> SplitDelimited(const UnicodeString& text, WideChar delimiter, WideChar quote, bool strict) {
  std::vector<UnicodeString> items;
  const std::size_t n = text.size();
  std::size_t p = 0;
  const auto skip_blanks = [&] {
    if (!strict)
      while (p < n && IsBlank(text[p])) ++p;
  };
  skip_blanks();
  while (p < n) {
    UnicodeString item;
    if (text[p] == quote) {
      ++p;
      while (p < n) {
        if (text[p] == quote) {
          if (p + 1 < n && text[p + 1] == quote) {
            item.push_back(quote);
            p += 2;
            continue;
          }
          ++p;  // the closing quote
          break;
        }
        item.push_back(text[p++]);
      }
    } else {
      const std::size_t start = p;
      while (p < n && text[p] != delimiter && (strict || !(IsBlank(text[p]) || text[p] == 0))) ++p;
      item.assign(text, start, p - start);
    }
    items.push_back(std::move(item));
    skip_blanks();
    if (p < n && text[p] == delimiter) {
      ++p;
      if (p == n) items.emplace_back();  // "a," holds an empty last item
      skip_blanks();
    } else if (p < n && !strict && text[p] == 0) {
      ++p;  // a NUL separates like a blank
      skip_blanks();
    }
  }
  return items;
}

}  // namespace

TStrings::TStrings() = default;
TStrings::~TStrings() = default;

// ---- Checks ------------------------------------------------------------------

std::size_t TStrings::CheckedIndex(int index) const {
  if (index < 0 || index >= Count()) detail::ListIndexError(index);
  return static_cast<std::size_t>(index);
}

void TStrings::CheckInsertIndex(int index) const {
  if (index < 0 || index > Count()) detail::ListIndexError(index);
}

void TStrings::CheckNotSorted() const {
  if (sorted_) throw EListError(kSortedListError);
}

void TStrings::SetCapacity(int capacity) {
  const auto wanted = static_cast<std::size_t>(std::max(capacity, Count()));
  order_.reserve(wanted);
  texts_.reserve(wanted);
  ReserveSlots(wanted);
}

// ---- Cells -------------------------------------------------------------------

int TStrings::NewCell(UnicodeString text) {
  if (!free_cells_.empty()) {
    const int cell = free_cells_.back();
    free_cells_.pop_back();
    texts_[static_cast<std::size_t>(cell)] = std::move(text);
    return cell;
  }
  texts_.push_back(std::move(text));
  try {
    ResizeSlots(texts_.size());
  } catch (...) {
    texts_.pop_back();
    throw;
  }
  return static_cast<int>(texts_.size() - 1);
}

void TStrings::FreeCell(int cell) {
  UnicodeString().swap(texts_[static_cast<std::size_t>(cell)]);
  ResetSlot(cell);
  free_cells_.push_back(cell);
}

int TStrings::InsertCell(int index, UnicodeString s) {
  // Room to give the cell back must exist before it is taken, so that giving it
  // back cannot fail; the room grows geometrically, as a reserve of one more
  // per line made a million adds reallocate a million times.
  if (free_cells_.capacity() < texts_.size() + 1)
    free_cells_.reserve(std::max(texts_.size() + 1, 2 * free_cells_.capacity()));
  const int cell = NewCell(std::move(s));
  try {
    order_.insert(order_.begin() + index, cell);
  } catch (...) {
    FreeCell(cell);
    throw;
  }
  return cell;
}

// ---- Changes -----------------------------------------------------------------

void TStrings::Changing() {
  if (update_count_ > 0) {
    if (changed_in_update_) return;
    changed_in_update_ = true;
  }
  if (OnChanging) OnChanging(*this);
}

void TStrings::Changed() {
  if (update_count_ == 0 && OnChange) OnChange(*this);
}

void TStrings::EndUpdate() {
  if (update_count_ == 0) return;  // unbalanced call: nothing to end
  if (--update_count_ > 0 || !changed_in_update_) return;
  changed_in_update_ = false;
  if (OnChange) OnChange(*this);
}

namespace {
// Runs `body` between BeginUpdate and EndUpdate, ending the update also when it raises.
template <class Body>
void InUpdate(TStrings& list, Body&& body) {
  list.BeginUpdate();
  try {
    body();
  } catch (...) {
    list.EndUpdate();
    throw;
  }
  list.EndUpdate();
}
}  // namespace

// ---- Lines -------------------------------------------------------------------

UnicodeString TStrings::Get(int index) const { return Line(CheckedIndex(index)); }

void TStrings::Put(int index, const UnicodeString& s) {
  const std::size_t position = CheckedIndex(index);
  CheckNotSorted();
  Changing();
  texts_[static_cast<std::size_t>(order_[position])] = s;
  Changed();
}

int TStrings::Add(const UnicodeString& s) {
  int index;
  if (!PlaceForAdd(s, index)) return index;
  InsertItem(index, s);
  return index;
}

bool TStrings::PlaceForAdd(const UnicodeString& s, int& index) const {
  if (!sorted_) {
    index = Count();
    return true;
  }
  if (Find(s, index)) {
    if (duplicates_ == dupIgnore) return false;
    if (duplicates_ == dupError) throw EListError(kDuplicateError);
  }
  return true;
}

void TStrings::Insert(int index, const UnicodeString& s) {
  CheckNotSorted();
  CheckInsertIndex(index);
  InsertItem(index, s);
}

void TStrings::Delete(int index) {
  const std::size_t position = CheckedIndex(index);
  Changing();
  const int cell = order_[position];
  order_.erase(order_.begin() + static_cast<std::ptrdiff_t>(position));
  FreeCell(cell);
  Changed();
}

void TStrings::Clear() {
  if (order_.empty()) return;
  Changing();
  order_.clear();
  texts_.clear();
  free_cells_.clear();
  ClearSlots();
  Changed();
}

// Exchange and Move are refused on a sorted list (as Put and Insert are): they
// would break the order that Find relies on.
void TStrings::Exchange(int index1, int index2) {
  const std::size_t i = CheckedIndex(index1);
  const std::size_t j = CheckedIndex(index2);
  CheckNotSorted();
  Changing();
  std::swap(order_[i], order_[j]);
  Changed();
}

void TStrings::Move(int cur_index, int new_index) {
  if (cur_index == new_index) return;
  CheckedIndex(cur_index);
  CheckedIndex(new_index);
  CheckNotSorted();
  Changing();
  const auto first = order_.begin();
  if (cur_index < new_index)
    std::rotate(first + cur_index, first + cur_index + 1, first + new_index + 1);
  else
    std::rotate(first + new_index, first + cur_index, first + cur_index + 1);
  Changed();
}

int TStrings::IndexOf(const UnicodeString& s) const {
  if (sorted_) {
    int index;
    return Find(s, index) ? index : -1;
  }
  for (std::size_t i = 0; i < order_.size(); ++i)
    if (CompareStrings(Line(i), s) == 0) return static_cast<int>(i);
  return -1;
}

bool TStrings::Find(const UnicodeString& s, int& index) const {
  bool found = false;
  int low = 0;
  int high = Count() - 1;
  while (low <= high) {
    const int mid = low + (high - low) / 2;
    const int c = CompareStrings(Line(static_cast<std::size_t>(mid)), s);
    if (c < 0) {
      low = mid + 1;
    } else {
      high = mid - 1;
      if (c == 0) {
        found = true;
        if (duplicates_ != dupAccept) low = mid;
      }
    }
  }
  index = low;
  return found;
}

std::vector<UnicodeString> TStrings::ToStringArray() const { return {begin(), end()}; }

void TStrings::AddStrings(const TStrings& source) { AddStrings(source.ToStringArray()); }

void TStrings::AddStrings(std::vector<UnicodeString> lines) {
  AddInBulk(std::move(lines), [](const std::vector<int>&) {});
}

void TStrings::AssignSettings(const TStrings& source) {
  line_break_ = source.line_break_;
  delimiter_ = source.delimiter_;
  quote_char_ = source.quote_char_;
  strict_delimiter_ = source.strict_delimiter_;
  name_value_separator_ = source.name_value_separator_;
}

void TStrings::Assign(const TStrings& source) {
  if (&source == this) return;
  InUpdate(*this, [&] {
    Clear();
    AssignSettings(source);
    AddStrings(source);
  });
}

bool TStrings::Equals(const TStrings& other) const { return std::equal(begin(), end(), other.begin(), other.end()); }

// ---- Bulk additions and reordering ---------------------------------------------

void TStrings::AddInBulk(std::vector<UnicodeString> lines,
                         const std::function<void(const std::vector<int>&)>& fill_slots) {
  if (lines.empty()) return;
  const int first_new = Count();
  Changing();
  std::vector<int> cells;
  cells.reserve(lines.size());
  try {
    // Reserve first so that, once the cells exist, nothing below can fail.
    order_.reserve(order_.size() + lines.size());
    free_cells_.reserve(texts_.size() + lines.size());
    for (auto& line : lines) cells.push_back(NewCell(std::move(line)));
  } catch (...) {
    for (const int cell : cells) FreeCell(cell);
    Changed();
    throw;
  }
  fill_slots(cells);
  order_.insert(order_.end(), cells.begin(), cells.end());
  try {
    if (sorted_) SettleAppended(first_new);
  } catch (...) {
    Changed();
    throw;
  }
  Changed();
}

// Puts the lines from position first_new on (appended unsorted) where a series of
// Adds would have put them, with the same treatment of equal lines: sorts the new
// lines, merges them into the sorted old ones, then applies Duplicates.
void TStrings::SettleAppended(int first_new) {
  const int count = Count();
  const bool accept = duplicates_ == dupAccept;
  const auto line = [this](int position) -> const UnicodeString& { return Line(static_cast<std::size_t>(position)); };
  // Add puts a line before the equal ones already there (dupAccept): among equal
  // lines the newest comes first. Otherwise older lines come first.
  std::vector<SortEntry> entries;
  entries.reserve(static_cast<std::size_t>(count - first_new));
  for (int position = first_new; position < count; ++position) entries.push_back({&line(position), position});
  MergeSort(entries, [&](const SortEntry& a, const SortEntry& b) {
    const int c = CompareStrings(*a.text, *b.text);
    if (c != 0 || !accept) return c;
    return a.position > b.position ? -1 : 1;
  });
  std::vector<int> fresh;
  fresh.reserve(entries.size());
  for (const SortEntry& entry : entries) fresh.push_back(entry.position);
  std::vector<SortEntry>().swap(entries);
  std::vector<int> merged;
  merged.reserve(static_cast<std::size_t>(count));
  std::size_t j = 0;
  for (int i = 0; i < first_new; ++i) {
    while (j < fresh.size()) {
      const int c = CompareStrings(line(fresh[j]), line(i));
      if (c > 0 || (c == 0 && !accept)) break;
      merged.push_back(fresh[j++]);
    }
    merged.push_back(i);
  }
  merged.insert(merged.end(), fresh.begin() + static_cast<std::ptrdiff_t>(j), fresh.end());

  if (accept) {
    ApplyOrder(merged);
    return;
  }
  // A new line equal to the line before it (an old one, or an earlier new one)
  // is a duplicate: dupIgnore drops it; dupError keeps what came before the first
  // such line in adding order and raises.
  std::vector<bool> duplicate(static_cast<std::size_t>(count), false);
  int first_duplicate = count;
  for (std::size_t k = 1; k < merged.size(); ++k) {
    const int position = merged[k];
    if (position < first_new) continue;
    if (CompareStrings(line(merged[k - 1]), line(position)) == 0) {
      duplicate[static_cast<std::size_t>(position)] = true;
      first_duplicate = std::min(first_duplicate, position);
    }
  }
  const bool refuse = duplicates_ == dupError && first_duplicate < count;
  std::erase_if(merged, [&](int position) {
    return refuse ? position >= first_duplicate : duplicate[static_cast<std::size_t>(position)];
  });
  ApplyOrder(merged);
  if (refuse) throw EListError(kDuplicateError);
}

void TStrings::ApplyOrder(const std::vector<int>& positions) {
  std::vector<int> reordered;
  reordered.reserve(positions.size());
  std::vector<bool> kept(order_.size(), false);
  for (const int position : positions) {
    reordered.push_back(order_[static_cast<std::size_t>(position)]);
    kept[static_cast<std::size_t>(position)] = true;
  }
  for (std::size_t position = 0; position < order_.size(); ++position)
    if (!kept[position]) FreeCell(order_[position]);
  order_.swap(reordered);
}

void TStrings::SortLinesBy(const std::function<int(int, int)>& compare) {
  if (sorted_ || Count() < 2) return;
  std::vector<int> positions(static_cast<std::size_t>(Count()));
  std::iota(positions.begin(), positions.end(), 0);
  MergeSort(positions, [&](int a, int b) { return compare(a, b); });
  Changing();
  ApplyOrder(positions);
  Changed();
}

// ---- Order -------------------------------------------------------------------

void TStrings::Sort() {
  if (sorted_ || Count() < 2) return;
  std::vector<SortEntry> entries;
  entries.reserve(order_.size());
  for (std::size_t position = 0; position < order_.size(); ++position)
    entries.push_back({&Line(position), static_cast<int>(position)});
  MergeSort(entries, [this](const SortEntry& a, const SortEntry& b) { return CompareStrings(*a.text, *b.text); });
  std::vector<int> positions;
  positions.reserve(entries.size());
  for (const SortEntry& entry : entries) positions.push_back(entry.position);
  Changing();
  ApplyOrder(positions);
  Changed();
}

void TStrings::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  if (sorted) Sort();
  sorted_ = sorted;
}

void TStrings::SetCaseSensitive(bool case_sensitive) {
  if (case_sensitive == case_sensitive_) return;
  case_sensitive_ = case_sensitive;
  if (sorted_) {
    sorted_ = false;
    Sort();
    sorted_ = true;
  }
}

int TStrings::CompareStrings(const UnicodeString& a, const UnicodeString& b) const {
  return case_sensitive_ ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

// ---- Text forms ----------------------------------------------------------------

UnicodeString TStrings::GetTextStr() const {
  std::size_t size = order_.size() * line_break_.size();
  for (const auto& s : *this) size += s.size();
  UnicodeString text;
  text.reserve(size);
  for (const auto& s : *this) {
    text += s;
    text += line_break_;
  }
  return text;
}

void TStrings::SetTextStr(const UnicodeString& text) {
  std::vector<UnicodeString> lines = SplitLines(text, line_break_);
  InUpdate(*this, [&] {
    Clear();
    AddStrings(std::move(lines));
  });
}

UnicodeString TStrings::DelimitedText() const {
  return JoinDelimited(*this, delimiter_, quote_char_, strict_delimiter_);
}

void TStrings::SetDelimitedText(const UnicodeString& text) {
  std::vector<UnicodeString> items = SplitDelimited(text, delimiter_, quote_char_, strict_delimiter_);
  InUpdate(*this, [&] {
    Clear();
    AddStrings(std::move(items));
  });
}

UnicodeString TStrings::CommaText() const { return JoinDelimited(*this, u',', u'"', false); }

void TStrings::SetCommaText(const UnicodeString& text) {
  std::vector<UnicodeString> items = SplitDelimited(text, u',', u'"', false);
  InUpdate(*this, [&] {
    Clear();
    AddStrings(std::move(items));
  });
}

// ---- name=value lines ------------------------------------------------------------

UnicodeString TStrings::Names(int index) const {
  const UnicodeString& line = Line(CheckedIndex(index));
  const std::size_t at = line.find(name_value_separator_);
  return at == UnicodeString::npos ? UnicodeString() : line.substr(0, at);
}

UnicodeString TStrings::ValueFromIndex(int index) const {
  const UnicodeString& line = Line(CheckedIndex(index));
  const std::size_t at = line.find(name_value_separator_);
  return at == UnicodeString::npos ? UnicodeString() : line.substr(at + 1);
}

int TStrings::IndexOfName(const UnicodeString& name) const {
  for (std::size_t i = 0; i < order_.size(); ++i) {
    const UnicodeString& line = Line(i);
    const std::size_t at = line.find(name_value_separator_);
    if (at != UnicodeString::npos && CompareStrings(line.substr(0, at), name) == 0) return static_cast<int>(i);
  }
  return -1;
}

UnicodeString TStrings::Values(const UnicodeString& name) const {
  const int index = IndexOfName(name);
  return index < 0 ? UnicodeString() : ValueFromIndex(index);
}

void TStrings::SetValueFromIndex(int index, const UnicodeString& value) {
  if (value.empty()) {
    Delete(index);
    return;
  }
  ReplaceLine(index, Names(index) + name_value_separator_ + value);
}

void TStrings::SetValue(const UnicodeString& name, const UnicodeString& value) {
  const int index = IndexOfName(name);
  if (index < 0) {
    if (!value.empty()) Add(name + name_value_separator_ + value);
  } else if (value.empty()) {
    Delete(index);
  } else {
    ReplaceLine(index, name + name_value_separator_ + value);
  }
}

// Put, except that a sorted list (which refuses Put) moves the line to its place.
void TStrings::ReplaceLine(int index, const UnicodeString& line) {
  if (!sorted_) {
    Put(index, line);
    return;
  }
  InUpdate(*this, [&] {
    Delete(index);
    Add(line);
  });
}

int TStrings::AddPair(const UnicodeString& name, const UnicodeString& value) {
  return Add(name + name_value_separator_ + value);
}

// ---- Files -------------------------------------------------------------------

void TStrings::LoadFromStream(TStream& stream, const TEncoding* encoding) {
  // Read to the end rather than trusting the size: some streams cannot tell it.
  const std::int64_t expected = stream.GetSize() - stream.GetPosition();
  std::string bytes(expected > 0 ? static_cast<std::size_t>(expected) : 0, '\0');
  if (expected > 0) bytes.resize(static_cast<std::size_t>(std::max<std::int64_t>(0, stream.Read(bytes.data(), expected))));
  std::vector<char> chunk(65536);
  while (true) {
    const std::int64_t got = stream.Read(chunk.data(), static_cast<std::int64_t>(chunk.size()));
    if (got <= 0) break;
    bytes.append(chunk.data(), static_cast<std::size_t>(got));
  }
  std::size_t preamble = 0;
  const TEncoding* detected = TEncoding::DetectFromPreamble(bytes, preamble);
  const TEncoding* used = detected ? detected : encoding ? encoding : TEncoding::Default();
  UnicodeString text = used->GetString(std::string_view(bytes).substr(preamble));
  std::string().swap(bytes);  // the text alone can be large enough
  SetTextStr(text);
  encoding_ = used;
}

void TStrings::LoadFromFile(const UnicodeString& file_name, const TEncoding* encoding) {
  TFileStream stream(file_name, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream, encoding);
}

void TStrings::SaveToStream(TStream& stream, const TEncoding* encoding) const {
  const TEncoding* used = encoding ? encoding : encoding_ ? encoding_ : TEncoding::Default();
  if (write_bom_) {
    const std::string_view preamble = used->GetPreamble();
    stream.WriteBuffer(preamble.data(), static_cast<std::int64_t>(preamble.size()));
  }
  const std::string bytes = used->GetBytes(GetTextStr());
  stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

void TStrings::SaveToFile(const UnicodeString& file_name, const TEncoding* encoding) const {
  WriteFileAtomically(file_name, [&](TStream& out) {
    SaveToStream(out, encoding);
    return true;
  });
}

}  // namespace quill
