// Feeds arbitrary bytes to the coloured-span readers: the first byte picks the
// work base (below 20: count and 28-byte spans, no version; 20 and above: count,
// version, then 28- or 72-byte spans by version), the rest is the stream.
//
// Besides "no crash, no leak, no undefined behaviour", whatever was read must
// save, read back into a fresh list as the same spans, and save again to the
// very same bytes; and every single span must survive its own 72-byte form.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "quillrt/rendering/extra_fonts.h"

namespace {

using namespace quill;

void Check(bool condition) {
  if (!condition) std::abort();
}

std::vector<std::uint8_t> Saved(TExtraFontList& list) {
  TMemoryStream out;
  Check(list.XSaveToStream(out, extra_font_versioned_work_base));
  Check(list.GetEFVersion() >= current_extra_font_version);
  return out.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::int32_t work_base = data[0] & 1 ? 25 : 19;
  TMemoryStream in;
  if (size > 1) in.WriteBuffer(data + 1, static_cast<std::int64_t>(size - 1));
  in.SetPosition(0);

  TExtraFontList list;
  list.XReadFromStream(in, work_base);
  Check(list.Count() <= static_cast<std::int32_t>(size / 28));
  bool own_typeface = false;
  for (std::int32_t i = 0; i < list.Count(); ++i) {
    const TExtraFontRec rec = list.GetAFontFrec(i);
    Check(ExtraFontRecFromBytes(ExtraFontRecToBytes(rec).data()) == rec);
    own_typeface = own_typeface || !rec.default_typeface.IsEmpty() || !rec.highlight_typeface.IsEmpty();
  }
  Check(list.insert_space_between_words == own_typeface);

  const std::vector<std::uint8_t> first = Saved(list);
  Check(first.size() == 8 + 72 * static_cast<std::size_t>(list.Count()));
  TMemoryStream again;
  again.WriteBuffer(first.data(), static_cast<std::int64_t>(first.size()));
  again.SetPosition(0);
  TExtraFontList back;
  Check(back.XReadFromStream(again, extra_font_versioned_work_base));
  Check(back.Count() == list.Count());
  for (std::int32_t i = 0; i < list.Count(); ++i) Check(back.GetAFontFrec(i) == list.GetAFontFrec(i));
  Check(Saved(back) == first);
  return 0;
}
