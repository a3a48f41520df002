#include "quillrt/vocabulary/tool_names.h"

#include <unistd.h>

#include <string>

#include "quillrt/framework/format.h"
#include "quillrt/framework/locale_text.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/platform/file_system.h"

namespace quill {
namespace {

// Product names of the tools, one word each for the main tools and the
// concgram tool. Empty: the kind has no name and no program file.
constexpr std::array<std::u16string_view, kToolKindCount> kToolNames = {
    u"Wordlister",              // tool_word_lister
    u"Concordancer",            // tool_concordancer
    u"Keyness",                 // tool_keyness
    u"Chargrammer",             // tool_char_ngrams
    u"Quillary",                // tool_controller
    u"",                        // tool_any_main
    u"Text Converter",          // tool_text_converter
    u"QYConcgram",              // tool_concgrams
    u"",                        // tool_reserved_8
    u"Language Chooser",        // tool_language_chooser
    u"",                        // tool_spare_10
    u"Aligner",                 // tool_viewer_aligner
    u"",                        // tool_spare_12
    u"Character Profiler",      // tool_char_profiler
    u"Minimal Pairs",           // tool_minimal_pairs
    u"File Utilities",          // tool_file_utilities
    u"QY%d General API DLL",    // tool_api: %d is the major version
    u"File Viewer",             // tool_file_viewer
    u"Corpus Checker",          // tool_corpus_checker
    u"Quillary version check",  // tool_version_checker
    u"",                        // tool_lexpool
    u"",                        // tool_none
};

UnicodeString& HelpURL() {
  static UnicodeString url = u"https://www.quillary.example/downloads/version7/HTML/";
  return url;
}

// The running program's file, or empty when the system will not say.
UnicodeString RunningProgramFileName() {
  std::string buffer(4096, '\0');
  const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0) return {};
  buffer.resize(static_cast<std::size_t>(length));
  return Utf8ToUtf16(buffer);
}

}  // namespace

const std::array<std::int32_t, kToolKindCount> CurrentSignature = {
    37, 36, 37, 36, 37, 36, 37, 37, 36, 36, 36, 38, 36, 36, 37, 36, 36, 36, 36, 36, 36, 789,
};

std::int32_t CurrentSignatureOf(tool_type tool) {
  return tool < kToolKindCount ? CurrentSignature[tool] : 0;
}

UnicodeString Tool_Name(tool_type tool) {
  if (tool >= kToolKindCount) return {};
  if (tool == tool_api) return Format(UnicodeString(kToolNames[tool]), {kQuillaryMajorVersion});
  return UnicodeString(kToolNames[tool]);
}

UnicodeString GetShortToolFilename(tool_type tool) {
  UnicodeString name = Tool_Name(tool);
  if (name.empty()) return {};
  for (WideChar& c : name)
    if (c == u' ') c = u'_';
  return name + IntToStr(kQuillaryMajorVersion) + (tool == tool_api ? u".dll" : u".exe");
}

UnicodeString GetFullToolFilename(tool_type tool) { return ProgramFolder() + GetShortToolFilename(tool); }

void SetCurrentTool() { SetCurrentTool(RunningProgramFileName()); }

void SetCurrentTool(const UnicodeString& program_file_name) {
  const UnicodeString own_name = ExtractFileName(program_file_name);
  current_tool_var = tool_none;
  if (own_name.empty()) return;
  for (unsigned kind = 0; kind < kToolKindCount; ++kind) {
    if (AnsiSameText(GetShortToolFilename(static_cast<tool_type>(kind)), own_name)) {
      current_tool_var = static_cast<tool_type>(kind);
      return;
    }
  }
}

UnicodeString QuillaryControllerCaption() {
  return u"Quillary Tools" + Format(u"%4.1f", {static_cast<double>(kQuillaryMajorVersion)});
}

UnicodeString CurrentQYMajorVersion100Str() { return IntToStr(kQuillaryMajorVersion) + u".0.0.100"; }

UnicodeString QuillaryHelpURL() { return HelpURL(); }

void SetQuillaryHelpURL(const UnicodeString& url) { HelpURL() = url; }

float CardinalToSingle(std::uint32_t value) { return static_cast<float>(value); }

float IntToSingle(std::int32_t value) { return static_cast<float>(value); }

}  // namespace quill
