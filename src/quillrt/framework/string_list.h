#pragma once
// The string list: lines of UTF-16 text, each with an object slot.
//
// TStrings holds the lines and every operation that does not touch the slots
// (ordering, searching, text forms, name=value pairs, files, change events).
// TStringListOf<TObj> adds the slots. TStringList, the everyday list, has slots of
// TObjectRef (a non-owning pointer or an integer); a list that owns its objects
// uses std::unique_ptr<X> slots, so that Delete, Clear and destruction free them.
//
// Ordering and equality follow the user's locale: AnsiCompareText by default,
// AnsiCompareStr when CaseSensitive. A Sorted list keeps its lines in that order:
// Add inserts at the line's place (what happens to an equal line depends on
// Duplicates), IndexOf searches by halving, and the operations that would place a
// line elsewhere (Put, Insert, Exchange, Move) raise EListError.
//
// Indexes are 0-based; a bad index raises EListError "List index out of bounds (n)".
// Derived lists may override the virtual operations; the lines are in `strings_`
// (read directly by searching, sorting and the text forms, so a derived class that
// overrides Get must keep `strings_` current).
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "quillrt/framework/encoding.h"
#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/lists.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// What Add does on a sorted list when an equal line is already there.
enum TDuplicates : std::uint8_t {
  dupIgnore,  // nothing is added; Add returns the index of the line already there
  dupAccept,  // the new line goes in before the equal ones
  dupError,   // EListError "String list does not allow duplicates"
};

// The object slot of a plain string list: a pointer the list does not own, or a
// pointer-sized integer (frequencies, language identifiers ...). Empty is zero.
class TObjectRef {
 public:
  constexpr TObjectRef() noexcept = default;
  constexpr TObjectRef(std::nullptr_t) noexcept {}
  template <class T>
  TObjectRef(T* pointer) noexcept : value_(reinterpret_cast<std::intptr_t>(pointer)) {}

  static constexpr TObjectRef FromInt(std::intptr_t value) noexcept {
    TObjectRef ref;
    ref.value_ = value;
    return ref;
  }
  constexpr std::intptr_t AsInt() const noexcept { return value_; }
  template <class T>
  T* As() const noexcept {
    return reinterpret_cast<T*>(value_);
  }
  constexpr explicit operator bool() const noexcept { return value_ != 0; }
  friend constexpr bool operator==(TObjectRef a, TObjectRef b) noexcept = default;

 private:
  std::intptr_t value_ = 0;
};

// How a slot is read: owning pointers are read as plain pointers.
template <class TObj>
struct TSlotTraits {
  using View = std::conditional_t<std::is_trivially_copyable_v<TObj>, TObj, const TObj&>;
  static View Get(const TObj& slot) { return slot; }
};
template <class X, class D>
struct TSlotTraits<std::unique_ptr<X, D>> {
  using View = X*;
  static X* Get(const std::unique_ptr<X, D>& slot) { return slot.get(); }
};
template <class X>
struct TSlotTraits<std::shared_ptr<X>> {
  using View = X*;
  static X* Get(const std::shared_ptr<X>& slot) { return slot.get(); }
};

class TStrings;
using TStringsNotifyEvent = std::function<void(TStrings& sender)>;

class QUILLRT_API TStrings {
 public:
  TStrings();
  TStrings(const TStrings&) = delete;
  TStrings& operator=(const TStrings&) = delete;
  virtual ~TStrings();

  // ---- Lines -------------------------------------------------------------
  int Count() const { return static_cast<int>(strings_.size()); }
  bool IsEmpty() const { return strings_.empty(); }
  int Capacity() const { return static_cast<int>(strings_.capacity()); }
  void SetCapacity(int capacity);

  virtual UnicodeString Get(int index) const;
  virtual void Put(int index, const UnicodeString& s);
  // The stored line itself, without copying.
  const UnicodeString& operator[](int index) const { return strings_[CheckedIndex(index)]; }
  const UnicodeString& First() const { return (*this)[0]; }
  const UnicodeString& Last() const { return (*this)[Count() - 1]; }

  // Appends (or, when Sorted, inserts at the line's place); returns the index.
  virtual int Add(const UnicodeString& s);
  virtual void Insert(int index, const UnicodeString& s);
  virtual void Delete(int index);
  virtual void Clear();
  virtual void Exchange(int index1, int index2);
  // Moves the line at cur_index (with its object) so that it stands at new_index.
  virtual void Move(int cur_index, int new_index);

  // Index of a line equal to s by CompareStrings, or -1. Sorted lists use Find.
  virtual int IndexOf(const UnicodeString& s) const;
  // Binary search of a sorted list. Returns whether s is there; `index` is where it
  // is, or where it would be inserted. When Duplicates is dupAccept the index is
  // the first of the run of equal lines; otherwise it is the first equal line the
  // search meets (such lists hold no equal lines unless Duplicates was changed).
  // On an unsorted list the answer means nothing.
  virtual bool Find(const UnicodeString& s, int& index) const;

  // Adds the lines of `source` as Add would (objects too, where the lists' slots
  // allow), in one step: a sorted list is merged, not filled line by line.
  virtual void AddStrings(const TStrings& source);
  void AddStrings(std::vector<UnicodeString> lines);
  // Replaces the lines (and objects, where the slots allow) by those of `source`
  // and takes its text settings (line break, delimiter, quote, name-value
  // separator). Sorted, Duplicates and CaseSensitive stay this list's own: the
  // lines are added as Add would.
  virtual void Assign(const TStrings& source);
  // Same count and the same lines, compared exactly (objects are not compared).
  bool Equals(const TStrings& other) const;
  std::vector<UnicodeString> ToStringArray() const { return strings_; }

  auto begin() const { return strings_.cbegin(); }
  auto end() const { return strings_.cend(); }

  // ---- Order ---------------------------------------------------------------
  // Sorts by CompareStrings. Like every custom sort, it does nothing on a list
  // that is Sorted (it is in order already) or has fewer than two lines. Equal
  // lines keep their relative order.
  virtual void Sort();
  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
  bool CaseSensitive() const { return case_sensitive_; }
  // Changing it re-sorts a sorted list.
  void SetCaseSensitive(bool case_sensitive);
  // -1, 0 or 1: AnsiCompareText, or AnsiCompareStr when CaseSensitive.
  virtual int CompareStrings(const UnicodeString& a, const UnicodeString& b) const;

  // ---- Text forms ------------------------------------------------------------
  // Every line followed by LineBreak.
  UnicodeString Text() const { return GetTextStr(); }
  // Replaces the lines by those of `text`. With the default line break (CR LF) a
  // line ends at CR, LF or CR LF; with another line break, at each occurrence of
  // it. A line break at the very end does not start another, empty, line.
  void SetText(const UnicodeString& text) { SetTextStr(text); }
  virtual UnicodeString GetTextStr() const;
  virtual void SetTextStr(const UnicodeString& text);
  const UnicodeString& LineBreak() const { return line_break_; }
  void SetLineBreak(UnicodeString line_break) { line_break_ = std::move(line_break); }

  // The lines separated by Delimiter. A line holding the quote character, the
  // delimiter or (unless StrictDelimiter) a blank or control character is quoted,
  // with inner quotes doubled; a list of one empty line gives two quotes.
  UnicodeString DelimitedText() const;
  // Replaces the lines by the items of `text`: items end at the delimiter and,
  // unless StrictDelimiter, at blanks (which are skipped around items); a quoted
  // item runs to its closing quote, doubled quotes standing for one.
  void SetDelimitedText(const UnicodeString& text);
  // DelimitedText with ',' '"' and StrictDelimiter off, whatever the settings.
  UnicodeString CommaText() const;
  void SetCommaText(const UnicodeString& text);
  WideChar Delimiter() const { return delimiter_; }
  void SetDelimiter(WideChar delimiter) { delimiter_ = delimiter; }
  WideChar QuoteChar() const { return quote_char_; }
  void SetQuoteChar(WideChar quote_char) { quote_char_ = quote_char; }
  bool StrictDelimiter() const { return strict_delimiter_; }
  void SetStrictDelimiter(bool strict) { strict_delimiter_ = strict; }

  // ---- name=value lines --------------------------------------------------------
  WideChar NameValueSeparator() const { return name_value_separator_; }
  void SetNameValueSeparator(WideChar separator) { name_value_separator_ = separator; }
  // The text before the first separator; empty when the line has none.
  UnicodeString Names(int index) const;
  // The text after the first separator of line `index`; empty when it has none.
  UnicodeString ValueFromIndex(int index) const;
  void SetValueFromIndex(int index, const UnicodeString& value);
  // First line whose name equals `name` by CompareStrings, or -1.
  int IndexOfName(const UnicodeString& name) const;
  // The value of the first line named `name`; empty when there is none.
  UnicodeString Values(const UnicodeString& name) const;
  // Sets the value of the line named `name`, adding the line when there is none;
  // an empty value deletes the line.
  void SetValue(const UnicodeString& name, const UnicodeString& value);
  int AddPair(const UnicodeString& name, const UnicodeString& value);

  // ---- Updates and change events ------------------------------------------------
  // OnChanging fires before and OnChange after each change. Between BeginUpdate and
  // the matching EndUpdate they fire once each: OnChanging before the first change,
  // OnChange at the last EndUpdate, and only when something changed.
  void BeginUpdate() { ++update_count_; }
  void EndUpdate();
  int UpdateCount() const { return update_count_; }
  TStringsNotifyEvent OnChange;
  TStringsNotifyEvent OnChanging;

  // ---- Files ---------------------------------------------------------------
  // Reads the stream from its position to its end and sets the lines from it. A
  // byte-order mark decides the encoding (UTF-8, UTF-16LE, UTF-16BE); without one
  // the given encoding is used, or TEncoding::Default(). The encoding used is
  // remembered (Encoding) for saving.
  virtual void LoadFromStream(TStream& stream, const TEncoding* encoding = nullptr);
  // As LoadFromStream; a file that cannot be opened raises EFOpenError.
  virtual void LoadFromFile(const UnicodeString& file_name, const TEncoding* encoding = nullptr);
  // Writes Text in `encoding`, or else the remembered Encoding, or else the
  // system's 8-bit code page, preceded by the encoding's byte-order mark when
  // WriteBOM. Characters an 8-bit page cannot hold are written as best-fit
  // letters or '?': pass a Unicode encoding to keep every character.
  virtual void SaveToStream(TStream& stream, const TEncoding* encoding = nullptr) const;
  // As SaveToStream, into a temporary file that replaces `file_name` only when
  // complete: a failed save raises and leaves an existing file as it was.
  virtual void SaveToFile(const UnicodeString& file_name, const TEncoding* encoding = nullptr) const;
  const TEncoding* Encoding() const { return encoding_; }
  void SetEncoding(const TEncoding* encoding) { encoding_ = encoding; }
  bool WriteBOM() const { return write_bom_; }
  void SetWriteBOM(bool write_bom) { write_bom_ = write_bom; }

 protected:
  // Around every change; see OnChanging/OnChange.
  virtual void Changing();
  virtual void Changed();

  // Inserts s with an empty object slot at index (already checked). Add, Insert and
  // their object forms come through here, one line at a time.
  virtual void InsertItem(int index, UnicodeString s) = 0;

  // The slot storage of the derived list, kept in step with strings_.
  virtual void EraseSlot(int index) = 0;
  virtual void ClearSlots() = 0;
  virtual void ExchangeSlots(int index1, int index2) = 0;
  virtual void MoveSlot(int cur_index, int new_index) = 0;
  virtual void ReserveSlots(int capacity) = 0;
  virtual void AppendEmptySlots(std::size_t count) = 0;
  // Rearranges the slots so that slot k is the former slot order[k]; slots not
  // named in `order` are dropped. Allocates before it moves anything.
  virtual void ReorderSlots(const std::vector<int>& order) = 0;

  std::size_t CheckedIndex(int index) const;
  void CheckInsertIndex(int index) const;
  void CheckNotSorted() const;
  // Where Add would put s: false (with the index of the equal line) when it adds
  // nothing; raises for dupError.
  bool PlaceForAdd(const UnicodeString& s, int& index) const;
  // Reorders the lines with their slots by compare(i, j), which receives the lines'
  // indexes at the start of the sort (the list does not change while it runs). A
  // guarded, stable merge sort: a comparison that is not a consistent order gives
  // some order, never a crash. Does nothing on a Sorted list.
  void SortLinesBy(const std::function<int(int, int)>& compare);
  // Adds `lines` as Add would, in one step. `append_slots` appends their slots
  // (as many as lines) at the end of the slot storage.
  void AddInBulk(std::vector<UnicodeString> lines, const std::function<void()>& append_slots);

  std::vector<UnicodeString> strings_;

 private:
  void ApplyOrder(const std::vector<int>& order);
  void ReplaceLine(int index, const UnicodeString& line);
  void SettleAppended(int first_new);
  void AssignSettings(const TStrings& source);

  bool sorted_ = false;
  bool case_sensitive_ = false;
  TDuplicates duplicates_ = dupIgnore;
  bool strict_delimiter_ = false;
  bool write_bom_ = true;
  bool changed_in_update_ = false;
  int update_count_ = 0;
  WideChar delimiter_ = u',';
  WideChar quote_char_ = u'"';
  WideChar name_value_separator_ = u'=';
  UnicodeString line_break_ = u"\r\n";
  const TEncoding* encoding_ = nullptr;
};

template <class TObj>
class QUILLRT_API TStringListOf : public TStrings {
 public:
  using Slot = TObj;
  using View = typename TSlotTraits<TObj>::View;
  // Comparison for CustomSort: negative, zero or positive as line index1 goes before,
  // with or after line index2.
  using TStringListSortCompare = std::function<int(TStringListOf& list, int index1, int index2)>;

  TStringListOf() = default;
  ~TStringListOf() override = default;

  using TStrings::AddStrings;

  virtual View GetObject(int index) const { return TSlotTraits<TObj>::Get(objects_[CheckedIndex(index)]); }
  // Replaces the object of a line (an owned one is freed).
  virtual void PutObject(int index, TObj object) {
    const std::size_t i = CheckedIndex(index);
    Changing();
    objects_[i] = std::move(object);
    Changed();
  }
  // Takes the object out of its line, which keeps an empty slot.
  TObj ExtractObject(int index) {
    const std::size_t i = CheckedIndex(index);
    Changing();
    TObj object = std::move(objects_[i]);
    objects_[i] = TObj{};
    Changed();
    return object;
  }
  int IndexOfObject(View object) const {
    for (std::size_t i = 0; i < objects_.size(); ++i)
      if (TSlotTraits<TObj>::Get(objects_[i]) == object) return static_cast<int>(i);
    return -1;
  }

  // As Add, with an object. When a sorted list with dupIgnore adds nothing, it
  // keeps no reference to `object` (an owned one is freed).
  virtual int AddObject(const UnicodeString& s, TObj object) {
    int index;
    if (!PlaceForAdd(s, index)) return index;
    InsertItem(index, s, std::move(object));
    return index;
  }
  virtual void InsertObject(int index, const UnicodeString& s, TObj object) {
    CheckNotSorted();
    CheckInsertIndex(index);
    InsertItem(index, s, std::move(object));
  }

  // Sorts the lines with `compare`; does nothing on a Sorted list.
  void CustomSort(const TStringListSortCompare& compare) {
    SortLinesBy([&](int a, int b) { return compare(*this, a, b); });
  }

  void AddStrings(const TStrings& source) override {
    const auto* same = dynamic_cast<const TStringListOf*>(&source);
    if constexpr (std::is_copy_constructible_v<TObj>) {
      if (same != nullptr) {
        std::vector<TObj> objects(same->objects_);
        AddInBulk(same->strings_, [&] { AppendSlots(std::move(objects)); });
        return;
      }
    }
    TStrings::AddStrings(source);
  }

  const std::vector<TObj>& Objects() const { return objects_; }

 protected:
  void InsertItem(int index, UnicodeString s) override { InsertItem(index, std::move(s), TObj{}); }
  virtual void InsertItem(int index, UnicodeString s, TObj object) {
    Changing();
    const auto at = static_cast<std::ptrdiff_t>(index);
    objects_.insert(objects_.begin() + at, std::move(object));
    try {
      strings_.insert(strings_.begin() + at, std::move(s));
    } catch (...) {
      objects_.erase(objects_.begin() + at);
      throw;
    }
    Changed();
  }

  void EraseSlot(int index) override { objects_.erase(objects_.begin() + static_cast<std::ptrdiff_t>(index)); }
  void ClearSlots() override { objects_.clear(); }
  void ExchangeSlots(int index1, int index2) override {
    std::swap(objects_[static_cast<std::size_t>(index1)], objects_[static_cast<std::size_t>(index2)]);
  }
  void MoveSlot(int cur_index, int new_index) override {
    const auto first = objects_.begin();
    if (cur_index < new_index)
      std::rotate(first + cur_index, first + cur_index + 1, first + new_index + 1);
    else
      std::rotate(first + new_index, first + cur_index, first + cur_index + 1);
  }
  void ReserveSlots(int capacity) override { objects_.reserve(static_cast<std::size_t>(capacity)); }
  void AppendEmptySlots(std::size_t count) override { objects_.resize(objects_.size() + count); }
  void ReorderSlots(const std::vector<int>& order) override {
    std::vector<TObj> reordered;
    reordered.reserve(order.size());
    for (const int from : order) reordered.push_back(std::move(objects_[static_cast<std::size_t>(from)]));
    objects_.swap(reordered);
  }
  void AppendSlots(std::vector<TObj>&& objects) {
    objects_.insert(objects_.end(), std::make_move_iterator(objects.begin()), std::make_move_iterator(objects.end()));
  }

  std::vector<TObj> objects_;
};

using TStringList = TStringListOf<TObjectRef>;
extern template class TStringListOf<TObjectRef>;

}  // namespace quill
