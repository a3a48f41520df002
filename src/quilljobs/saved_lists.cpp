// Saved lists written and read by the jobs; the body layouts are in
// saved_lists.md.
#include "quilljobs/saved_lists.h"

#include <functional>
#include <memory>
#include <unordered_map>

#include "quilljobs/saved_list_files.h"
#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/vocabulary/file_recognition.h"
#include "quillrt/vocabulary/saved_list_header.h"
#include "quillrt/vocabulary/tool_names.h"

namespace quill::jobs {
namespace {

// Headers from this version on are the 57-byte form.
constexpr std::int32_t kFirst32BitVersion = 35;

void SaveWholeFile(const std::string& path, const std::function<void(TStream&)>& write_body) {
  try {
    WriteFileAtomically(Utf8ToUtf16(path), [&](TStream& stream) {
      write_body(stream);
      return true;
    });
  } catch (const Exception& e) {
    throw JobError(JobError::failed, "cannot save " + path + ": " + e.what());
  }
}

TSavedWordList LoadWordList(const std::string& path) {
  TFileStream stream(Utf8ToUtf16(path), fmOpenRead | fmShareDenyWrite);
  return ReadSavedWordList(stream);
}

TSavedConcordance LoadConcordance(const std::string& path) {
  TFileStream stream(Utf8ToUtf16(path), fmOpenRead | fmShareDenyWrite);
  return ReadSavedConcordance(stream);
}

// The header of a file longer than it, naming a list kind with a version of
// the 57-byte form; nothing otherwise.
std::optional<TCheckSignature> HeaderOfSavedList(const UnicodeString& file_name) {
  TCheckSignature header;
  try {
    TFileStream stream(file_name, fmOpenRead | fmShareDenyNone);
    if (stream.GetSize() <= static_cast<std::int64_t>(kCheckSignatureSize) || !ReadCheckSignature(stream, header))
      return std::nullopt;
  } catch (const Exception&) {
    return std::nullopt;
  }
  if (header.signature < kFirst32BitVersion || DiskFileType(header) == lt_none_in_use) return std::nullopt;
  return header;
}

std::string KindName(list_type kind) { return Utf16ToUtf8(ListTypeName(kind)); }
std::string ToolName(tool_type tool) {
  const UnicodeString name = Tool_Name(tool);
  return name.empty() ? "no tool" : Utf16ToUtf8(name);
}

// The tool of a header: the kind's own tool when the version is one it wrote,
// now or before; otherwise the lowest tool that writes this version.
void ToolOfHeader(const TQYStored_File_rec& rec, const TCheckSignature& header, SavedFileDescription& d) {
  const tool_type owner = ToolTypeFromListType(d.kind);
  const std::int32_t owner_version = CurrentSignatureOf(owner);
  if (header.signature >= kFirst32BitVersion && header.signature <= owner_version) {
    d.tool = owner;
    d.earlier_version = header.signature < owner_version;
    return;
  }
  TQYStored_File_rec copy = rec;
  d.tool = WhichToolsQuillary32BitFile(copy);
  d.earlier_version = false;
}

void CountEntries(const std::string& path, SavedFileDescription& d) {
  try {
    if (d.kind == lt_word_list && d.tool == tool_word_lister && !d.earlier_version) {
      const TSavedWordList loaded = LoadWordList(path);
      d.entries = loaded.list->Count();
      d.words_per_entry = loaded.WordsPerEntry();
    } else if (d.kind == lt_concordance_list && d.tool == tool_concordancer && !d.earlier_version) {
      d.entries = static_cast<std::int64_t>(LoadConcordance(path).lines.size());
    }
  } catch (const Exception&) {
    d.entries.reset();  // a body this tool does not know, or a damaged one
  }
}

}  // namespace

void SaveFrequencyList(const std::string& path, const TStringList& list, int words_per_entry) {
  SaveWholeFile(path, [&](TStream& stream) { WriteSavedWordList(stream, list, words_per_entry); });
}

void SaveConcordance(const std::string& path, const std::vector<ConcordanceLine>& lines,
                     const std::vector<std::string>& search_words) {
  TSavedConcordance saved;
  for (const std::string& word : search_words) saved.search_words.push_back(Utf8ToUtf16(word));
  // The source texts in the order their first line comes.
  std::unordered_map<std::string, std::int32_t> source_numbers;
  for (const ConcordanceLine& line : lines) {
    const auto [it, fresh] = source_numbers.try_emplace(line.file, static_cast<std::int32_t>(saved.sources.size()));
    if (fresh) saved.sources.push_back(Utf8ToUtf16(line.file));
    saved.lines.push_back({it->second, line.word_number, line.sentence, line.paragraph, line.search_word,
                           line.hit_number, line.left, line.hit, line.right});
  }
  SaveWholeFile(path, [&](TStream& stream) { WriteSavedConcordance(stream, saved); });
}

TSavedWordList LoadSavedFrequencyList(const std::string& path) {
  try {
    return LoadWordList(path);
  } catch (const Exception& e) {
    const SavedFileDescription d = DescribeSavedFile(path);
    if (d.recognised && d.kind != lt_word_list)
      throw JobError(JobError::failed, path + " is a " + KindName(d.kind) + ", not a word list");
    throw JobError(JobError::failed, "cannot load " + path + ": " + e.what());
  }
}

SavedFileDescription DescribeSavedFile(const std::string& path) {
  SavedFileDescription d;
  TQYStored_File_rec rec;
  rec.filename = Utf8ToUtf16(path);
  if (!FileExists(rec.filename)) {
    d.how = "no such file";
    return d;
  }
  if (IsABatchZipFileForListType(rec)) {
    d.recognised = true;
    d.how = "batch zip";
    d.kind = rec.ListType;
    d.tool = d.kind == lt_none_in_use ? tool_none : ToolTypeFromListType(d.kind);
    if (d.kind != lt_none_in_use) d.entries = rec.Number_within_Zipfile;
    return d;
  }
  if (const auto header = HeaderOfSavedList(rec.filename)) {
    d.kind = DiskFileType(*header);
    d.version = header->signature;
    ToolOfHeader(rec, *header, d);
    if (d.tool == tool_none) {
      d.how = "a " + KindName(d.kind) + " header of unknown version " + std::to_string(d.version);
      return d;
    }
    d.recognised = true;
    d.how = "saved list";
    CountEntries(path, d);
    return d;
  }
  if (IsAnOldQuillaryFile(rec)) {
    d.recognised = true;
    d.how = "earlier release";
    d.kind = rec.ListType;
    d.tool = ToolTypeFromListType(d.kind);
    return d;
  }
  d.how = "not a saved list";
  return d;
}

std::string DescriptionLine(const std::string& path, const SavedFileDescription& d) {
  std::string line = path + ": ";
  if (!d.recognised) return line + d.how;
  if (d.how == "batch zip") {
    if (d.kind == lt_none_in_use) return line + "batch zip of lists of no known kind";
    return line + "batch zip of " + std::to_string(*d.entries) + " " + KindName(d.kind) + " files (" +
           ToolName(d.tool) + ")";
  }
  line += KindName(d.kind);
  if (d.words_per_entry > 1) line += " of " + std::to_string(d.words_per_entry) + "-grams";
  if (d.how == "earlier release") return line + " (" + ToolName(d.tool) + ", earlier release)";
  line += " (" + ToolName(d.tool) + ", version " + std::to_string(d.version);
  if (d.earlier_version) line += ", an earlier version";
  line += ")";
  if (d.entries) return line + ", " + std::to_string(*d.entries) + (*d.entries == 1 ? " entry" : " entries");
  return line + ", entries not readable by quill";
}

}  // namespace quill::jobs
