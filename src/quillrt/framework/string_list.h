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
// Derived lists may override the virtual operations. Searching, sorting and the
// text forms read the stored lines directly, not through Get.
//
// Storage: each line lives in a cell (its text here, its slot in the derived list)
// that never moves; the order of the lines is a vector of cell numbers. Inserting,
// deleting, exchanging and sorting move only those numbers, so a sorted list
// filled one line at a time stays affordable at hundreds of thousands of lines.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <iterator>
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
  int Count() const { return static_cast<int>(order_.size()); }
  bool IsEmpty() const { return order_.empty(); }
  int Capacity() const { return static_cast<int>(order_.capacity()); }
  void SetCapacity(int capacity);

  virtual UnicodeString Get(int index) const;
  virtual void Put(int index, const UnicodeString& s);
  // The stored line itself, without copying.
  const UnicodeString& operator[](int index) const { return Line(CheckedIndex(index)); }
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
  std::vector<UnicodeString> ToStringArray() const;

  // Iteration over the lines in order: for (const UnicodeString& line : list).
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = UnicodeString;
    using difference_type = std::ptrdiff_t;
    using pointer = const UnicodeString*;
    using reference = const UnicodeString&;
    const_iterator() = default;
    const UnicodeString& operator*() const { return list_->Line(position_); }
    const UnicodeString* operator->() const { return &**this; }
    const_iterator& operator++() {
      ++position_;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator before = *this;
      ++position_;
      return before;
    }
    bool operator==(const const_iterator& other) const { return position_ == other.position_; }

   private:
    friend class TStrings;
    const_iterator(const TStrings* list, std::size_t position) : list_(list), position_(position) {}
    const TStrings* list_ = nullptr;
    std::size_t position_ = 0;
  };
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, order_.size()}; }

  // ---- Order ---------------------------------------------------------------
  // Sorts by CompareStrings. Like every custom sort, it does nothing on a list
  // that is Sorted (it is in order already) or has fewer than two lines. Equal
  // lines keep their relative order.
  virtual void Sort();
  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  // Marks the list Sorted without looking: for a filler that has put the
  // lines in CompareStrings order itself (and compared them to do so), so that
  // confirming the order would compare every line a second time.
  void AdoptAsSorted() { sorted_ = true; }
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

  // The slot storage of the derived list, indexed by cell number.
  // Makes room for `cells` cells (new slots empty).
  virtual void ResizeSlots(std::size_t cells) = 0;
  // Reserves room for `cells` cells, so that a list filled to a capacity set
  // beforehand does not move its slots as it grows.
  virtual void ReserveSlots(std::size_t cells) = 0;
  // Empties the slot of a cell that is given up (an owned object is freed).
  virtual void ResetSlot(int cell) = 0;
  virtual void ClearSlots() = 0;

  std::size_t CheckedIndex(int index) const;
  void CheckInsertIndex(int index) const;
  void CheckNotSorted() const;
  // The cell of the line at a (valid) position.
  int CellAt(std::size_t position) const { return order_[position]; }
  const UnicodeString& Line(std::size_t position) const {
    return texts_[static_cast<std::size_t>(order_[position])];
  }
  // Where Add would put s: false (with the index of the equal line) when it adds
  // nothing; raises for dupError.
  bool PlaceForAdd(const UnicodeString& s, int& index) const;
  // Stores s in a new cell placed at `index` (already checked); returns the cell.
  // The caller wraps it in Changing/Changed.
  int InsertCell(int index, UnicodeString s);
  // Reorders the lines by compare(i, j), which receives the lines' positions at the
  // start of the sort (the list does not change while it runs). A guarded, stable
  // merge sort: a comparison that is not a consistent order gives some order,
  // never a crash. Does nothing on a Sorted list.
  void SortLinesBy(const std::function<int(int, int)>& compare);
  // Adds `lines` as Add would, in one step. `fill_slots(cells)` receives the new
  // lines' cells, in the order of `lines`, to put their objects in.
  void AddInBulk(std::vector<UnicodeString> lines, const std::function<void(const std::vector<int>&)>& fill_slots);

 private:
  int NewCell(UnicodeString text);
  void FreeCell(int cell);
  // Keeps the lines at the listed positions, in that order; frees the others.
  void ApplyOrder(const std::vector<int>& positions);
  void SettleAppended(int first_new);
  void AssignSettings(const TStrings& source);
  void ReplaceLine(int index, const UnicodeString& line);

  std::vector<UnicodeString> texts_;  // by cell
  std::vector<int> order_;            // line position -> cell
  std::vector<int> free_cells_;       // cells given up, for reuse

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

  virtual View GetObject(int index) const { return TSlotTraits<TObj>::Get(SlotAt(CheckedIndex(index))); }
  // Replaces the object of a line (an owned one is freed).
  virtual void PutObject(int index, TObj object) {
    const std::size_t position = CheckedIndex(index);
    Changing();
    SlotAt(position) = std::move(object);
    Changed();
  }
  // Takes the object out of its line, which keeps an empty slot.
  TObj ExtractObject(int index) {
    const std::size_t position = CheckedIndex(index);
    Changing();
    TObj object = std::exchange(SlotAt(position), TObj{});
    Changed();
    return object;
  }
  int IndexOfObject(View object) const {
    for (int i = 0; i < Count(); ++i)
      if (TSlotTraits<TObj>::Get(SlotAt(static_cast<std::size_t>(i))) == object) return i;
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
    if constexpr (std::is_copy_constructible_v<TObj>) {
      if (const auto* same = dynamic_cast<const TStringListOf*>(&source)) {
        // Copy first: the source may be this list.
        std::vector<TObj> objects;
        objects.reserve(static_cast<std::size_t>(same->Count()));
        for (int i = 0; i < same->Count(); ++i) objects.push_back(same->SlotAt(static_cast<std::size_t>(i)));
        AddInBulk(same->ToStringArray(), [&](const std::vector<int>& cells) {
          for (std::size_t k = 0; k < cells.size(); ++k) slots_[static_cast<std::size_t>(cells[k])] = std::move(objects[k]);
        });
        return;
      }
    }
    TStrings::AddStrings(source);
  }

 protected:
  void InsertItem(int index, UnicodeString s) override { InsertItem(index, std::move(s), TObj{}); }
  virtual void InsertItem(int index, UnicodeString s, TObj object) {
    Changing();
    const int cell = InsertCell(index, std::move(s));
    slots_[static_cast<std::size_t>(cell)] = std::move(object);
    Changed();
  }

  TObj& SlotAt(std::size_t position) { return slots_[static_cast<std::size_t>(CellAt(position))]; }
  const TObj& SlotAt(std::size_t position) const { return slots_[static_cast<std::size_t>(CellAt(position))]; }

  void ResizeSlots(std::size_t cells) override { slots_.resize(cells); }
  void ReserveSlots(std::size_t cells) override { slots_.reserve(cells); }
  void ResetSlot(int cell) override { slots_[static_cast<std::size_t>(cell)] = TObj{}; }
  void ClearSlots() override { slots_.clear(); }

 private:
  std::vector<TObj> slots_;  // by cell
};

using TStringList = TStringListOf<TObjectRef>;
extern template class QUILLRT_API TStringListOf<TObjectRef>;

}  // namespace quill
