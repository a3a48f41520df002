#pragma once
// Coloured spans: which characters of a line take which colours and typefaces
// (tags, context words, collocates, sort keys), and the list of them with its
// versioned stream form.
//
// Stream form (little-endian), written in version 3:
//   count    4   number of spans
//   version  4   the span form's version (absent when the work base is below 20)
//   spans        count records of 72 bytes, or of 28 bytes in version 0
// The 72-byte span:
//   0  switch_on_at_char (int32)      4  switch_off_at_char (int32, negative: open)
//   8  colour_rec (4 x int32)        24  spare_typefaces (typeface byte)
//  25  padding (3)                   28  Colouring_word_instead_of_tag (bool)
//  29  default (bool)                30  applies_to (category byte)
//  31  default_typeface              32  highlight_typeface
//  33  spare_determined (bool)       34  padding (2)
//  36  spareInts (9 x int32)
// The 28-byte span of version 0 is the first 28 bytes of that layout.
#include <array>
#include <cstdint>

#include "quillrt/collections/three_level_sort.h"
#include "quillrt/framework/streams.h"
#include "quillrt/quillrt_export.h"
#include "quillrt/rendering/colours.h"

namespace quill {

enum TExtraFontCategory : std::uint8_t {
  efc_tag,
  efc_context_word,
  efc_colloc_highlight,
  efc_centre_word,
  efc_sort1,
  efc_sort2,
  efc_sort3,
  efc_unknown,
};

inline constexpr std::size_t extra_font_rec_size = 72;
inline constexpr std::size_t extra_font_rec_old_size = 28;
// The span form written by this release.
inline constexpr std::int32_t current_extra_font_version = 3;
// Work bases from this version on carry the span form's version in the stream.
inline constexpr std::int32_t extra_font_versioned_work_base = 20;

// The span of the older stream form.
struct TExtraFontRecOld {
  std::int32_t switch_on_at_char = 0;
  std::int32_t switch_off_at_char = 0;
  TMyCanvasColourRec colour_rec;
  Ttypeface_Set spare_typefaces;
  friend bool operator==(const TExtraFontRecOld&, const TExtraFontRecOld&) = default;
};

struct TExtraFontRec {
  std::int32_t switch_on_at_char = 0;   // first character of the span
  std::int32_t switch_off_at_char = 0;  // last character; negative for open-ended
  TMyCanvasColourRec colour_rec;
  Ttypeface_Set spare_typefaces;        // the typefaces of the older form
  bool Colouring_word_instead_of_tag = false;
  bool default_ = false;                // paint with the drawer's own colours
  TExtraFontCategory applies_to = efc_tag;
  Ttypeface_Set default_typeface;
  Ttypeface_Set highlight_typeface;
  bool spare_determined = false;
  std::array<std::int32_t, 9> spareInts{};
  friend bool operator==(const TExtraFontRec&, const TExtraFontRec&) = default;
};

using TExtraFontRecBytes = std::array<std::uint8_t, extra_font_rec_size>;

QUILLRT_API TExtraFontRecBytes ExtraFontRecToBytes(const TExtraFontRec& rec);
QUILLRT_API TExtraFontRec ExtraFontRecFromBytes(const std::uint8_t* bytes);
// A span of the older form; the fields it lacks are zero.
QUILLRT_API TExtraFontRec ExtraFontRecFromOldBytes(const std::uint8_t* bytes);

class QUILLRT_API TExtraFontHolder {
 public:
  explicit TExtraFontHolder(const TExtraFontRec& data) : fData(data) {}
  TExtraFontRec fData;
};

// Owns one holder per span. Sorting (never yielding) is on the spans' starts, or
// on their categories when the sort key is not 0.
class QUILLRT_API TExtraFontList : public T3SortNonYieldingList {
 public:
  TExtraFontList();
  ~TExtraFontList() override;
  TExtraFontList(const TExtraFontList&) = delete;
  TExtraFontList& operator=(const TExtraFontList&) = delete;

  // Frees every span and marks the list unsorted.
  void Clear() override;
  // Appends a copy of e; returns its index.
  std::int32_t AddOne(const TExtraFontRec& e);
  // Nothing for a bad index.
  void Delete(std::int32_t index);
  // A copy of span i, or an empty record for a bad index.
  TExtraFontRec GetAFontFrec(std::int32_t i) const;
  // Replaces span i; nothing for a bad index.
  void SetAFontFrec(std::int32_t i, const TExtraFontRec& rec);

  // The first span starting at startpoint, or -1. Once sorted on starts, the
  // search stops at the first span starting after it.
  std::int32_t IndexOfStart(std::int32_t startpoint) const;
  // The first span starting within startpoint..endpoint whose end is open or
  // lies in that range too, or -1.
  std::int32_t IndexOfStartAndEnd(std::int32_t startpoint, std::int32_t endpoint) const;
  void SortOnStartpoints();

  std::int32_t GetEFVersion() const { return fEFVersion; }
  void SetEFVersion(std::int32_t version) { fEFVersion = version; }

  // Replaces the spans with those of the stream. The count is taken as its
  // absolute value and followed by the version when aWorkBaseVersionNumber is
  // 20 or more; before that there is no version (0: 28-byte spans). Spans of
  // versions below 3 take both typefaces from spare_typefaces. A stream that
  // ends early keeps the spans that arrived whole and answers false.
  bool XReadFromStream(TStream& Stream, std::int32_t aWorkBaseVersionNumber);
  // Raises the version to at least 3 and writes the list; false when the stream
  // takes fewer bytes than written.
  bool XSaveToStream(TStream& Stream, std::int32_t aWorkBaseVersionNumber);

  void SetBase(void* p, std::int32_t sortvar) override;

  std::int32_t base_int = 0;  // the sort's pivot key
  std::int32_t fEFVersion = 0;
  // Some span has a typeface of its own, so words painted in it need a space
  // between them.
  bool insert_space_between_words = false;

 private:
  TExtraFontHolder* Holder(std::int32_t i) const;
  void NoteTypefaces(const TExtraFontRec& rec);
  std::int32_t CompareWithBase(const void* item, std::int32_t sortvar) const;
};

}  // namespace quill
