// Writes the seed corpora of the fuzz targets with the library's own writers, so
// that fuzzing starts from inputs the readers accept: real stream forms, real
// list streams, real zip archives, real search words and texts in each encoding.
//
//   quill_fuzz_seed_writer <folder>     (writes <folder>/<target>/<name>)
//
// The seeds are checked in under tests/fuzz/corpus/; run this again after a
// stream format changes and commit what it writes.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "quillrt/collections/integer_lists.h"
#include "quillrt/collections/mem_ini_file.h"
#include "quillrt/collections/record_lists.h"
#include "quillrt/collections/stream_forms.h"
#include "quillrt/collections/tuple_lists.h"
#include "quillrt/dates/timeline_data.h"
#include "quillrt/files/zip_archive.h"
#include "quillrt/framework/strings.h"
#include "quillrt/language/settings_records.h"
#include "quillrt/process/shared_state.h"
#include "quillrt/rendering/extra_fonts.h"
#include "quillrt/vocabulary/list_kinds.h"
#include "quillrt/vocabulary/saved_list_header.h"
#include "quillrt/vocabulary/section_starts.h"
#include "quillfs/chunk_format.h"
#include "quillfs/chunk_manifest.h"
#include "quilljobs/saved_list_files.h"

namespace {

using namespace quill;
namespace fs = std::filesystem;

class SeedFolder {
 public:
  SeedFolder(const fs::path& root, std::string_view target) : folder_(root / target) {
    fs::create_directories(folder_);
  }
  void Write(const std::string& name, std::string_view bytes) const {
    std::ofstream out(folder_ / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write seed " + (folder_ / name).string());
  }

 private:
  fs::path folder_;
};

std::string BytesOf(const TMemoryStream& stream) {
  const auto& bytes = stream.Bytes();
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::string Utf16Le(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
  return out;
}

std::string Utf16Be(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    out += static_cast<char>(c >> 8);
    out += static_cast<char>(c & 0xFF);
  }
  return out;
}

// One seed of a list: the choice byte the target dispatches on, then the list.
template <class List, class Rec>
void WriteList(const SeedFolder& seeds, int choice, const std::string& name, const std::vector<Rec>& recs,
               bool sorted) {
  List list;
  if constexpr (requires { list.sorted; }) list.sorted = sorted;
  for (const Rec& rec : recs) list.AddOne(rec);
  TMemoryStream stream;
  list.SaveToStream(stream);
  seeds.Write(name, std::string(1, static_cast<char>(choice)) + BytesOf(stream));
}

void CollectionSeeds(const fs::path& root) {
  const SeedFolder seeds(root, "fuzz_collections_streams");
  const std::vector<std::u16string> words = {u"", u"a", u"the", u"Ελληνικά", u"naïve café", u"日本語テキスト"};
  for (std::size_t i = 0; i < words.size(); ++i) {
    TMemoryStream stream;
    WriteAString(stream, words[i]);
    WriteWidePchar(stream, words[i].c_str());
    seeds.Write("strings_" + std::to_string(i), std::string(1, '\0') + BytesOf(stream));
  }
  TMemoryStream ansi;
  WriteShortString(ansi, "short string");
  WriteAnsiPchar(ansi, "an 8-bit text");
  seeds.Write("ansi", std::string(1, '\0') + BytesOf(ansi));

  const std::vector<std::int32_t> ints = {-7, 0, 3, 3, 12, 2147483647};
  WriteList<TQYLongintList>(seeds, 1, "longints_sorted", ints, true);
  WriteList<TQYLongintList>(seeds, 1, "longints", std::vector<std::int32_t>{5, -1, 9}, false);
  WriteList<TCardinalList>(seeds, 2, "cardinals", std::vector<std::uint32_t>{0, 1, 4000000000u}, true);
  WriteList<TQYInt64List>(seeds, 3, "int64s", std::vector<std::int64_t>{-1, 1LL << 40}, true);
  WriteList<TIntegerAndSingleList>(seeds, 4, "int_singles",
                                   std::vector<TIntegerAndSingleRec>{{1, 0.5f}, {2, 1.25f}, {7, -3.0f}}, true);
  WriteList<TCardinalAndFreqList>(seeds, 5, "card_freqs",
                                  std::vector<TCardinalAndFreq>{{1, 10}, {5, 2}, {9, 1}}, true);
  WriteList<TWordFreqAndSourceNumList>(
      seeds, 6, "word_freqs",
      std::vector<TWordFreqAndSourceNum>{{u"jury", 3, 1}, {u"juries", 1, 2}, {u"", 0, 0}}, false);
  WriteList<T2LongintList>(seeds, 7, "two_longints", std::vector<T2_longint_rec>{{1, 2}, {3, 4}}, false);
  WriteList<T3LongintList>(seeds, 8, "three_longints", std::vector<T3_longint_rec>{{1, 2, 3}}, false);
  WriteList<T4LongintList>(seeds, 9, "four_longints", std::vector<T4_longint_rec>{{1, 2, 3, 4}, {0, 0, 0, 0}},
                           false);
  WriteList<TIntegerAnd3CardinalsList>(seeds, 10, "int_3cards",
                                       std::vector<TIntegerAnd3CardinalsRec>{{4, {1, 2, 3}}}, false);
  WriteList<TStringColumnAndColourList>(
      seeds, 11, "columns", std::vector<TStringColumnAndColourRec>{{1, 0x00FF00, u"left"}, {2, 0, u"right"}}, false);
  WriteList<T2StringsAnd2IntegersList>(
      seeds, 12, "two_strings", std::vector<T2StringsAnd2IntegersRec>{{1, 2, u"one", u"two"}}, false);
  WriteList<TDoublePointerList>(seeds, 13, "pointers", std::vector<T2_Pointer>{{}, {}}, false);

  TSmallintList smallints;
  for (std::int16_t v : {std::int16_t{-3}, std::int16_t{0}, std::int16_t{300}}) smallints.AddOne(v);
  TMemoryStream stream;
  smallints.SaveToStream(stream);
  seeds.Write("smallints", std::string{'\x0e', '\x03', '\x00'} + BytesOf(stream));
}

void SearchWordSeeds(const fs::path& root) {
  const SeedFolder seeds(root, "fuzz_search_word_syntax");
  const std::vector<std::u16string> typed = {
      u"jury",           u"jur*",          u"*ury",          u"j?ry",         u"#",
      u"book/books/booked", u"\"New York\"", u"run*/ran",    u"the ^ of",     u"<b>bold</b>",
      u"cat_NN1",        u"don't",         u"well-known",    u"ﺍﻟﻌﺮﺑﻴﺔ",       u"**a*z",
      u"a / b / ",       u"[NN*]",         u"{context}",     u"CAPS",         u"\u00A0tab\there"};
  for (std::size_t i = 0; i < typed.size(); ++i) {
    // Odd option bytes make the target split at slashes first; the rest pick tag rules.
    for (std::uint8_t options : {std::uint8_t{0}, std::uint8_t{1}, std::uint8_t{6}}) {
      seeds.Write("word_" + std::to_string(i) + "_" + std::to_string(options),
                  std::string(1, static_cast<char>(options)) + Utf16Le(typed[i]));
    }
  }
}

void TextSeeds(const fs::path& root) {
  const SeedFolder seeds(root, "fuzz_file_buffer_type");
  const std::u16string text = u"The jury said, \"Naïve café\" — 1,234.5 words.\r\nΕλληνικά και 日本語.\n";
  seeds.Write("utf16le_bom", "\xFF\xFE" + Utf16Le(text));
  seeds.Write("utf16be_bom", "\xFE\xFF" + Utf16Be(text));
  seeds.Write("utf16le", Utf16Le(text));
  seeds.Write("utf16be", Utf16Be(text));
  seeds.Write("utf8_bom", "\xEF\xBB\xBFThe jury said \"naïve café\".\n");
  seeds.Write("utf8", "Ελληνικά και 日本語 and English.\n");
  seeds.Write("utf8_bad_byte", "caf\xC3\xA9 and caf\xE9 mixed\n");
  seeds.Write("ascii", "The Fulton County Grand Jury said Friday an investigation\n");
  seeds.Write("cp1252", "na\xEFve caf\xE9 \x93quoted\x94 \x80 5\n");
  seeds.Write("cp1251", "\xCF\xF0\xE8\xE2\xE5\xF2 \xEC\xE8\xF0\n");
  seeds.Write("binary", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
  seeds.Write("tiny", "ab");
}

void ZipSeeds(const fs::path& root) {
  const SeedFolder seeds(root, "fuzz_zip_archive");
  const auto write_zip = [&](const std::string& name, std::uint16_t level, const AnsiString& comment,
                             const std::vector<std::pair<std::u16string, std::string>>& entries) {
    TZipArchive zip;
    zip.CreateInMemory();
    zip.SetPackLevel(level);
    if (!comment.empty()) zip.SetComment(comment);
    for (const auto& [entry, bytes] : entries) zip.AddFromBytes(entry, bytes);
    zip.CloseArchive();
    seeds.Write(name, zip.InMemoryBytes());
  };
  write_zip("empty", 0, "", {});
  write_zip("one_stored", 0, "", {{u"a.txt", "The jury said.\n"}});
  write_zip("deflated", 6, "", {{u"texts/ca01.txt", std::string(2000, 'x') + "jury"}, {u"texts/ca02.txt", "b"}});
  write_zip("commented", 1, "a batch of saved lists", {{u"list1.lst", "\x01\x02"}, {u"sub\\list2.lst", ""}});
  write_zip("folders", 0, "", {{u"dir/", ""}, {u"dir/inner/file.txt", "inner"}});
}

// Word-processor documents: archives holding a document part, and parts alone.
void DocxSeeds(const fs::path& root) {
  const SeedFolder seeds(root, "fuzz_docx_text");
  const std::string head = "<?xml version=\"1.0\"?><w:document><w:body>";
  const std::string tail = "</w:body></w:document>";
  const std::string plain = head + "<w:p><w:r><w:t>Hel</w:t></w:r><w:r><w:t xml:space=\"preserve\">lo &amp; bye</w:t>"
                                   "</w:r></w:p><w:p/><w:p></w:p>" + tail;
  const std::string alternate = head +
                                "<w:p><mc:AlternateContent><mc:Choice><w:r><w:t>choice</w:t></w:r></mc:Choice>"
                                "<mc:Fallback><w:r><w:t>fallback</w:t></w:r></mc:Fallback></mc:AlternateContent>"
                                "</w:p>" + tail;
  seeds.Write("part_plain", plain);
  seeds.Write("part_alternate", alternate);
  const auto write_docx = [&](const std::string& name, const std::vector<std::pair<std::u16string, std::string>>& entries) {
    TZipArchive zip;
    zip.CreateInMemory();
    for (const auto& [entry, bytes] : entries) zip.AddFromBytes(entry, bytes);
    zip.CloseArchive();
    seeds.Write(name, zip.InMemoryBytes());
  };
  write_docx("docx_plain", {{u"[Content_Types].xml", "<Types/>"}, {u"word/document.xml", plain}});
  write_docx("docx_alternate", {{u"word/Document.XML", alternate}});
  write_docx("docx_without_part", {{u"word/styles.xml", plain}});
}

void TimelineSeeds(const fs::path& root) {
  const SeedFolder seeds(root, "fuzz_timeline_data");
  TTimeLineDataRec rec;
  const auto write = [&](const std::string& name) {
    TMemoryStream stream;
    WriteTimeLineDataRec(stream, rec);
    seeds.Write(name, BytesOf(stream));
  };
  write("blank");
  rec.basis = tlpb_years;
  rec.start_date = 2415021.0 + 4500 * 365.2425;
  rec.finish_date = rec.start_date + 3650;
  rec.periods = 10;
  rec.hits_total = 7;
  rec.wordcount_total = 12345;
  rec.hitsandWCounts = {{3, 5000}, {4, 7345}};
  rec.searchword = u"jury";
  write("years");
  rec.basis = tlpb_hours;
  rec.searchword = u"ﺍﻟﻌﺮﺑﻴﺔ";
  rec.hitsandWCounts.assign(24, {1, 2});
  write("hours");
}

void SettingsFileSeeds(const fs::path& root) {
  const SeedFolder seeds(root, "fuzz_settings_file");
  const fs::path scratch = fs::temp_directory_path() / "quill_seed_settings.ini";
  {
    TMyMemIniFile ini(Utf8ToUtf16(scratch.string()));
    ini.WriteString(u"Concord", u"Search word", u"jury/juries");
    ini.WriteBool(u"Concord", u"Case sensitive", true);
    ini.WriteBool(u"Concord", u"Whole words", false);
    ini.WriteString(u"Folders", u"Corpus", u"$userdir/corpora/brown");
    ini.WriteString(u"Ελληνικά", u"όνομα", u"τιμή");
    ini.UpdateFile();
  }
  std::ifstream in(scratch, std::ios::binary);
  const std::string utf16((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  fs::remove(scratch);
  seeds.Write("utf16_with_mark", utf16);
  seeds.Write("utf8", "[Concord]\r\nSearch word=jury\r\nCase sensitive=YES\r\n\r\n[Other]\r\nx=No\r\n");
  seeds.Write("utf8_with_mark", "\xEF\xBB\xBF[S]\nname=café\n");
}

void LegacyRecordSeeds(const fs::path& root) {
  const SeedFolder seeds(root, "fuzz_legacy_records");
  const auto write = [&](const std::string& name, std::uint8_t version, const auto& bytes) {
    seeds.Write(name, std::string(1, static_cast<char>(version)) +
                          std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  };
  // The first byte picks the settings version the readers are told about.
  for (std::uint8_t version : {std::uint8_t{5}, std::uint8_t{6}, std::uint8_t{8}}) {
    const std::string v = std::to_string(version);
    write("text_settings_" + v, version, TextSettRecToBytes(textsett_rec32{}));
    write("mutual_info_" + v, version, MutualInfoSettingsToBytes(TMutual_info_settings32{}));
    write("mutual_info_old_" + v, version, MutualInfoSettingsOldToBytes(TMutual_info_settings_old{}));
    write("chosen_file_" + v, version, ChosenFileRecToBytes(TChosenFile_BaseRec{}));
    write("extra_stats_" + v, version, ExtraStatsRecToBytes(TFileInfoExtraStatsRec{}));
  }
}

void SavedListHeaderSeeds(const fs::path& root) {
  const SeedFolder seeds(root, "fuzz_saved_list_header");
  const std::vector<std::pair<tool_type, list_type>> kinds = {
      {tool_word_lister, lt_word_list}, {tool_concordancer, lt_concordance_list}, {tool_keyness, lt_keyword_list},
      {tool_controller, lt_sections_list}};
  for (const auto& [tool, kind] : kinds) {
    TCheckSignature sig{};
    TMemoryStream stream;
    DiskSignatureISOKForToolAndList(sig, tool, kind, stream, writing);
    seeds.Write("header_" + std::to_string(tool) + "_" + std::to_string(kind), BytesOf(stream));
  }
}

void SectionStartsSeeds(const fs::path& root) {
  const SeedFolder seeds(root, "fuzz_section_starts");
  TSectionStartsList list;
  const auto write = [&](const std::string& name) {
    TMemoryStream body;
    list.SaveToStream(body);
    seeds.Write(name, BytesOf(body));
    TCheckSignature sig{};
    TMemoryStream file;
    DiskSignatureISOKForToolAndList(sig, current_tool_var, lt_sections_list, file, writing);
    list.SaveToStream(file);
    seeds.Write(name + "_file", BytesOf(file));
  };
  write("empty");
  list.AddSection(0, u"Chapter 1");
  list.AddSection(4096, u"Chapter 2: The Jury");
  list.AddSection(70000, u"Ελληνικά");
  write("three");
}

void ExtraFontSeeds(const fs::path& root) {
  const SeedFolder seeds(root, "fuzz_extra_font_spans");
  TExtraFontList list;
  TExtraFontRec hit;
  hit.switch_on_at_char = 10;
  hit.switch_off_at_char = 14;
  hit.highlight_typeface = Ttypeface_Set{tf_bold};
  list.AddOne(hit);
  TExtraFontRec open_ended;
  open_ended.switch_on_at_char = 30;
  open_ended.switch_off_at_char = -1;
  open_ended.default_ = true;
  list.AddOne(open_ended);
  // The first byte picks the work base version the reader is told about.
  for (std::uint8_t choice : {std::uint8_t{0}, std::uint8_t{1}}) {
    TMemoryStream stream;
    list.XSaveToStream(stream, choice & 1 ? 25 : 19);
    seeds.Write("spans_" + std::to_string(choice), std::string(1, static_cast<char>(choice)) + BytesOf(stream));
  }
}

void DrawerLayoutSeeds(const fs::path& root) {
  const SeedFolder seeds(root, "fuzz_text_drawer_layout");
  const std::vector<std::u16string> lines = {
      u"The Fulton County Grand Jury said Friday an investigation of recent primary election",
      u"שלום עולם 2024 עם Tel Aviv ושם",
      u"مرحبا بالعالم ١٢٣ مع London هنا",
      u"price 1,234.50 and 17.2 percent",
      u"<b>tagged</b> words and a very-long-hyphenated-word"};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    // lcid bit, width, alignment and wrap bits, midpoint, then the text.
    const char hebrew = i == 1 || i == 2 ? 1 : 0;
    const std::string header{hebrew, static_cast<char>(40 + 20 * i), static_cast<char>(i % 4 | (i % 2 ? 0x80 : 0)),
                             static_cast<char>(7 * i)};
    seeds.Write("line_" + std::to_string(i), header + Utf16Le(lines[i]));
  }
}

void ChunkHeaderSeeds(const fs::path& root) {
  const SeedFolder seeds(root, "fuzz_chunk_header");
  const auto write = [&](const std::string& name, const TChunkSetHeader& header) {
    TMemoryStream stream;
    WriteChunkSetHeader(stream, header);
    stream.WriteLE<std::int32_t>(1);  // the chunk number every chunk carries
    seeds.Write(name, BytesOf(stream) + "data");
  };
  TChunkSetHeader header;
  header.SourceName = "brown.txt";
  header.ChunkSize = 1 << 20;
  header.ChunkCount = 3;
  write("three_chunks", header);
  header.SourceName = std::string(255, 'n');
  header.ZipToo = true;
  header.ChunkCount = 1;
  write("long_name_zipped", header);
  TChunkManifest manifest;
  manifest.Source = {u"brown.txt", 2500000, std::string(64, 'a')};
  for (int i = 1; i <= 3; ++i) manifest.Chunks.push_back({u"brown.txt.00" + Utf8ToUtf16(std::to_string(i)), 1048576, std::string(64, 'b')});
  seeds.Write("manifest", ChunkManifestText(manifest));
}

// Each list twice: whole (choice byte 0, the file as written) and as the body
// alone (choice byte 1: the target puts a valid header in front).
void SavedListSeeds(const fs::path& root) {
  const SeedFolder seeds(root, "fuzz_saved_list");
  const auto write = [&](const std::string& name, const TMemoryStream& stream) {
    const std::string bytes = BytesOf(stream);
    seeds.Write(name, std::string(1, '\0') + bytes);
    seeds.Write(name + "_body", std::string(1, '\1') + bytes.substr(std::min(kCheckSignatureSize, bytes.size())));
  };
  const auto word_list = [&](const std::string& name, const std::vector<std::pair<std::u16string, int>>& lines,
                             int words_per_entry) {
    TStringList list;
    for (const auto& [line, frequency] : lines)
      list.AddObject(line, reinterpret_cast<TObject*>(std::intptr_t{frequency}));
    TMemoryStream stream;
    jobs::WriteSavedWordList(stream, list, words_per_entry);
    write(name, stream);
  };
  word_list("words", {{u"the", 69971}, {u"jury", 67}, {u"naïve", 2}, {u"Ελληνικά", 1}}, 1);
  word_list("bigrams", {{u"of the", 9724}, {u"the jury", 40}}, 2);
  word_list("empty_list", {}, 1);

  jobs::TSavedConcordance concordance;
  concordance.search_words = {u"jury", u"the"};
  concordance.sources = {u"/corpus/a01.txt", u"/corpus/b02.txt"};
  concordance.lines = {{0, 5, 1, 1, 0, 1, u"The Fulton County Grand ", u"Jury", u" said Friday"},
                       {1, 120, 9, 3, 1, 2, u"presentments that ", u"the", u" City Executive"}};
  TMemoryStream stream;
  jobs::WriteSavedConcordance(stream, concordance);
  write("concordance", stream);
  TMemoryStream empty;
  jobs::WriteSavedConcordance(empty, jobs::TSavedConcordance{});
  write("empty_concordance", empty);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: quill_fuzz_seed_writer <folder>\n";
    return 2;
  }
  try {
    const fs::path root = argv[1];
    const std::vector<std::function<void(const fs::path&)>> writers = {CollectionSeeds, SearchWordSeeds, TextSeeds,
                                                                      ZipSeeds, DocxSeeds,
                                                                      TimelineSeeds, SettingsFileSeeds,
                                                                      LegacyRecordSeeds, SavedListHeaderSeeds,
                                                                      SectionStartsSeeds, ExtraFontSeeds,
                                                                      DrawerLayoutSeeds, ChunkHeaderSeeds,
                                                                      SavedListSeeds};
    for (const auto& write : writers) write(root);
  } catch (const std::exception& e) {
    std::cerr << "quill_fuzz_seed_writer: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
