#include "quillrt/rendering/extra_fonts.h"

#include <cstdlib>
#include <memory>

namespace quill {

namespace {

constexpr std::size_t off_switch_on = 0;
constexpr std::size_t off_switch_off = 4;
constexpr std::size_t off_colour_rec = 8;
constexpr std::size_t off_spare_typefaces = 24;
constexpr std::size_t off_colouring_word = 28;
constexpr std::size_t off_default = 29;
constexpr std::size_t off_applies_to = 30;
constexpr std::size_t off_default_typeface = 31;
constexpr std::size_t off_highlight_typeface = 32;
constexpr std::size_t off_spare_determined = 33;
constexpr std::size_t off_spare_ints = 36;

static_assert(off_colour_rec + 16 == off_spare_typefaces);
static_assert(off_spare_typefaces + 4 == extra_font_rec_old_size);
static_assert(off_spare_ints + 9 * 4 == extra_font_rec_size);

template <class T>
T Get(const std::uint8_t* bytes, std::size_t offset) {
  return TStream::FromLE<T>(bytes + offset);
}

template <class T>
void Put(std::uint8_t* bytes, std::size_t offset, T value) {
  TStream::ToLE<T>(value, bytes + offset);
}

// The fields the two forms share.
void ReadOldFields(const std::uint8_t* b, TExtraFontRec& rec) {
  rec.switch_on_at_char = Get<std::int32_t>(b, off_switch_on);
  rec.switch_off_at_char = Get<std::int32_t>(b, off_switch_off);
  for (std::size_t i = 0; i < 4; ++i) rec.colour_rec.colours[i] = Get<std::int32_t>(b, off_colour_rec + 4 * i);
  rec.spare_typefaces = Ttypeface_Set::FromByte(b[off_spare_typefaces]);
}

std::unique_ptr<TExtraFontHolder> Reclaim(void* item) {
  return std::unique_ptr<TExtraFontHolder>(static_cast<TExtraFontHolder*>(item));
}

bool HasOwnTypeface(const TExtraFontRec& rec) {
  return !rec.default_typeface.IsEmpty() || !rec.highlight_typeface.IsEmpty();
}

}  // namespace

TExtraFontRecBytes ExtraFontRecToBytes(const TExtraFontRec& rec) {
  TExtraFontRecBytes out{};  // padding stays zero
  std::uint8_t* b = out.data();
  Put<std::int32_t>(b, off_switch_on, rec.switch_on_at_char);
  Put<std::int32_t>(b, off_switch_off, rec.switch_off_at_char);
  for (std::size_t i = 0; i < 4; ++i) Put<std::int32_t>(b, off_colour_rec + 4 * i, rec.colour_rec.colours[i]);
  b[off_spare_typefaces] = rec.spare_typefaces.AsByte();
  b[off_colouring_word] = rec.Colouring_word_instead_of_tag ? 1 : 0;
  b[off_default] = rec.default_ ? 1 : 0;
  b[off_applies_to] = rec.applies_to;
  b[off_default_typeface] = rec.default_typeface.AsByte();
  b[off_highlight_typeface] = rec.highlight_typeface.AsByte();
  b[off_spare_determined] = rec.spare_determined ? 1 : 0;
  for (std::size_t i = 0; i < rec.spareInts.size(); ++i) Put<std::int32_t>(b, off_spare_ints + 4 * i, rec.spareInts[i]);
  return out;
}

TExtraFontRec ExtraFontRecFromBytes(const std::uint8_t* b) {
  TExtraFontRec rec;
  ReadOldFields(b, rec);
  rec.Colouring_word_instead_of_tag = b[off_colouring_word] != 0;
  rec.default_ = b[off_default] != 0;
  rec.applies_to = static_cast<TExtraFontCategory>(b[off_applies_to]);
  rec.default_typeface = Ttypeface_Set::FromByte(b[off_default_typeface]);
  rec.highlight_typeface = Ttypeface_Set::FromByte(b[off_highlight_typeface]);
  rec.spare_determined = b[off_spare_determined] != 0;
  for (std::size_t i = 0; i < rec.spareInts.size(); ++i) rec.spareInts[i] = Get<std::int32_t>(b, off_spare_ints + 4 * i);
  return rec;
}

TExtraFontRec ExtraFontRecFromOldBytes(const std::uint8_t* b) {
  TExtraFontRec rec;
  ReadOldFields(b, rec);
  return rec;
}

TExtraFontList::TExtraFontList() = default;

TExtraFontList::~TExtraFontList() { Clear(); }

void TExtraFontList::Clear() {
  for (void* item : List()) Reclaim(item);
  TPointerList<void>::Clear();
  sorted = false;
  insert_space_between_words = false;
}

TExtraFontHolder* TExtraFontList::Holder(std::int32_t i) const {
  if (i < 0 || i >= Count()) return nullptr;
  return static_cast<TExtraFontHolder*>(Get(i));
}

void TExtraFontList::NoteTypefaces(const TExtraFontRec& rec) {
  if (HasOwnTypeface(rec)) insert_space_between_words = true;
}

std::int32_t TExtraFontList::AddOne(const TExtraFontRec& e) {
  auto holder = std::make_unique<TExtraFontHolder>(e);
  const std::int32_t index = Add(holder.get());
  holder.release();  // the list owns it now
  NoteTypefaces(e);
  // An appended span may start before the last one: the early stop of
  // IndexOfStart must not trust an older sort.
  sorted = false;
  return index;
}

void TExtraFontList::Delete(std::int32_t index) {
  if (Holder(index) == nullptr) return;
  auto owned = Reclaim(Get(index));
  TPointerList<void>::Delete(index);
}

TExtraFontRec TExtraFontList::GetAFontFrec(std::int32_t i) const {
  const TExtraFontHolder* holder = Holder(i);
  return holder != nullptr ? holder->fData : TExtraFontRec{};
}

void TExtraFontList::SetAFontFrec(std::int32_t i, const TExtraFontRec& rec) {
  TExtraFontHolder* holder = Holder(i);
  if (holder == nullptr) return;
  holder->fData = rec;
  NoteTypefaces(rec);
  sorted = false;
}

std::int32_t TExtraFontList::IndexOfStart(std::int32_t startpoint) const {
  for (std::int32_t i = 0; i < Count(); ++i) {
    const std::int32_t start = Holder(i)->fData.switch_on_at_char;
    if (start == startpoint) return i;
    if (sorted && start > startpoint) break;
  }
  return -1;
}

std::int32_t TExtraFontList::IndexOfStartAndEnd(std::int32_t startpoint, std::int32_t endpoint) const {
  const auto within = [&](std::int32_t v) { return v >= startpoint && v <= endpoint; };
  for (std::int32_t i = 0; i < Count(); ++i) {
    const TExtraFontRec& rec = Holder(i)->fData;
    if (within(rec.switch_on_at_char) && (rec.switch_off_at_char < 0 || within(rec.switch_off_at_char))) return i;
  }
  return -1;
}

void TExtraFontList::SortOnStartpoints() {
  SetSortToAscend(sort_first_sort, true);
  DoASingleSort([this](const void* item) { return CompareWithBase(item, 0); }, 0);
  sorted = true;  // also for lists too short for a partition pass
}

void TExtraFontList::SetBase(void* p, std::int32_t sortvar) {
  if (p == nullptr) return;
  const TExtraFontRec& rec = static_cast<const TExtraFontHolder*>(p)->fData;
  base_int = sortvar == 0 ? rec.switch_on_at_char : rec.applies_to;
}

std::int32_t TExtraFontList::CompareWithBase(const void* item, std::int32_t sortvar) const {
  const TExtraFontRec& rec = static_cast<const TExtraFontHolder*>(item)->fData;
  const std::int32_t key = sortvar == 0 ? rec.switch_on_at_char : rec.applies_to;
  return key < base_int ? -1 : (key > base_int ? 1 : 0);
}

bool TExtraFontList::XReadFromStream(TStream& Stream, std::int32_t aWorkBaseVersionNumber) {
  Clear();
  std::int32_t stored_count = 0;
  if (!Stream.TryReadLE(stored_count)) return false;
  std::int64_t count = stored_count;
  fEFVersion = 0;
  if (aWorkBaseVersionNumber >= extra_font_versioned_work_base) {
    count = std::llabs(count);
    if (!Stream.TryReadLE(fEFVersion)) return false;
  }
  const bool old_form = fEFVersion == 0;
  const std::size_t span_size = old_form ? extra_font_rec_old_size : extra_font_rec_size;
  TExtraFontRecBytes bytes{};
  // Spans are read one at a time, so that a damaged count costs no memory.
  for (std::int64_t i = 0; i < count; ++i) {
    if (Stream.Read(bytes.data(), static_cast<std::int64_t>(span_size)) != static_cast<std::int64_t>(span_size))
      return false;
    TExtraFontRec rec = old_form ? ExtraFontRecFromOldBytes(bytes.data()) : ExtraFontRecFromBytes(bytes.data());
    if (fEFVersion < current_extra_font_version) {
      rec.default_typeface = rec.spare_typefaces;
      rec.highlight_typeface = rec.spare_typefaces;
    }
    AddOne(rec);
  }
  return true;
}

bool TExtraFontList::XSaveToStream(TStream& Stream, std::int32_t /*aWorkBaseVersionNumber*/) {
  if (fEFVersion < current_extra_font_version) fEFVersion = current_extra_font_version;
  bool complete = Stream.TryWriteLE<std::int32_t>(Count()) && Stream.TryWriteLE<std::int32_t>(fEFVersion);
  for (std::int32_t i = 0; complete && i < Count(); ++i) {
    const TExtraFontRecBytes bytes = ExtraFontRecToBytes(Holder(i)->fData);
    complete = Stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size())) ==
               static_cast<std::int64_t>(bytes.size());
  }
  return complete;
}

}  // namespace quill
