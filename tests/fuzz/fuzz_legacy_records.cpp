// Feeds arbitrary bytes to the readers of older settings and file records, the
// first byte choosing the settings version they are told.
//
// Besides "no crash, no undefined behaviour", every read is checked: a failed
// read leaves the blank record; a successful one consumed exactly one of the two
// sizes of its record; and the record it produced, written in the current form
// and read back as such, gives the same bytes again.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>

#include "quillrt/language/legacy_records.h"

namespace {

using namespace quill;

void Check(bool condition) {
  if (!condition) std::abort();
}

struct Input {
  int version;
  const std::uint8_t* data;
  std::size_t size;
};

void Load(TMemoryStream& stream, const Input& in) {
  stream.Clear();
  if (in.size > 0) stream.WriteBuffer(in.data, static_cast<std::int64_t>(in.size));
  stream.SetPosition(0);
}

template <std::size_t N>
void LoadBytes(TMemoryStream& stream, const std::array<std::uint8_t, N>& bytes) {
  stream.Clear();
  stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(N));
  stream.SetPosition(0);
}

bool ConsumedOneOf(TMemoryStream& stream, std::initializer_list<std::int64_t> sizes) {
  const std::int64_t at = stream.GetPosition();
  for (std::int64_t size : sizes)
    if (at == size) return true;
  return false;
}

void FuzzLanguageRecord(const Input& in) {
  TMemoryStream stream;
  Load(stream, in);
  fixed_lang_details_rec32 rec;
  if (!Readfixed_lang_details_rec(stream, rec, in.version)) {
    Check(LangRecToBytes(rec) == TLangRecBytes{});
    return;
  }
  Check(ConsumedOneOf(stream, {632, 1040}));
  const TLangRecBytes written = LangRecToBytes(rec);
  LoadBytes(stream, written);
  fixed_lang_details_rec32 again;
  Check(Readfixed_lang_details_rec(stream, again, 18));
  Check(LangRecToBytes(again) == written);
}

void FuzzTextSettings(const Input& in) {
  TMemoryStream stream;
  Load(stream, in);
  textsett_rec32 rec;
  if (!ReadInTextSettings(stream, rec, in.version)) {
    Check(TextSettRecToBytes(rec) == TTextSettBytes{});
    return;
  }
  Check(ConsumedOneOf(stream, {2500, 3028}));
  Check(rec.standard_markers[1].auto_process == (GetFixedChars(rec.standard_markers[1].marker) == u"auto"));
  const TTextSettBytes written = TextSettRecToBytes(rec);
  LoadBytes(stream, written);
  textsett_rec32 again;
  Check(ReadInTextSettings(stream, again, 7));
  Check(TextSettRecToBytes(again) == written);
}

void FuzzConcordanceSettings(const Input& in) {
  TMemoryStream stream;
  Load(stream, in);
  TConcSettingsRec32 rec;
  if (!ReadInConcSettRec(stream, rec, in.version)) {
    Check(rec == TConcSettingsRec32{});
    return;
  }
  Check(ConsumedOneOf(stream, {1368, 2580}));
  if (stream.GetPosition() == 1368) {
    // Converted: the dropped language details leave zeros behind.
    for (std::size_t i = TConcSettingsRec32::off_tag_string_only_on_number; i < TConcSettingsRec32::off_colloc_horizons; ++i)
      Check(rec.bytes[i] == 0);
    Check(rec.bytes[TConcSettingsRec32::off_characters_for_textonly_display] == 60);
  }
}

void FuzzMutualInfoSettings(const Input& in) {
  TMemoryStream stream;
  Load(stream, in);
  TMutual_info_settings32 rec;
  if (!TMutual_info_settings32FromStream(stream, rec)) {
    Check(MutualInfoSettingsToBytes(rec) == TMutualInfoSettingsBytes{});
    return;
  }
  Check(ConsumedOneOf(stream, {32, 180}));
  const TMutualInfoSettingsBytes written = MutualInfoSettingsToBytes(rec);
  if (stream.GetPosition() == 32) {
    Check(rec.spare_stop == 0 && rec.MI_min_texts == 1);
    // The older form written from the converted settings keeps what it had.
    const auto old = MutualInfoSettingsOldToBytes(TMutual_info_settingsOldFrom32(rec));
    for (std::size_t i = 1; i <= 6; ++i) Check(old[i] == written[i]);
    return;
  }
  LoadBytes(stream, written);
  TMutual_info_settings32 again;
  Check(TMutual_info_settings32FromStream(stream, again));
  Check(MutualInfoSettingsToBytes(again) == written);
}

void FuzzChosenFile(const Input& in) {
  TMemoryStream stream;
  Load(stream, in);
  TChosenFile_BaseRec rec;
  if (!TChosenFileRecFromStream(stream, rec)) {
    Check(ChosenFileRecToBytes(rec) == ChosenFileRecToBytes(TChosenFile_BaseRec{}));
    return;
  }
  Check(ConsumedOneOf(stream, {49, 64}));
  Check(rec.FolderData >= 0);
  const TChosenFileRecBytes written = ChosenFileRecToBytes(rec);
  LoadBytes(stream, written);
  TChosenFile_BaseRec again;
  Check(TChosenFileRecFromStream(stream, again));
  Check(stream.GetPosition() == 64);
  Check(ChosenFileRecToBytes(again) == written);
}

void FuzzExtraStats(const Input& in) {
  TMemoryStream stream;
  Load(stream, in);
  TFileInfoExtraStatsRec rec;
  if (!ExtraStatsRecFromStream(stream, rec)) {
    Check(ExtraStatsRecToBytes(rec) == TExtraStatsRecBytes{});
    return;
  }
  Check(ConsumedOneOf(stream, {16, 40}));
  if (rec.version <= 1) return;  // written now, it would read as the older form
  const TExtraStatsRecBytes written = ExtraStatsRecToBytes(rec);
  LoadBytes(stream, written);
  TFileInfoExtraStatsRec again;
  Check(ExtraStatsRecFromStream(stream, again));
  Check(ExtraStatsRecToBytes(again) == written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // Versions the stored files use, and a few that make the readers detect.
  static constexpr int versions[] = {0, 1, 2, 3, 4, 5, 6, 7, 18, 19};
  const Input in{versions[data[0] % std::size(versions)], data + 1, size - 1};
  FuzzLanguageRecord(in);
  FuzzTextSettings(in);
  FuzzConcordanceSettings(in);
  FuzzMutualInfoSettings(in);
  FuzzChosenFile(in);
  FuzzExtraStats(in);
  return 0;
}
