#pragma once
// The corpus a command works on: PATH arguments turned into a list of files
// (files as given, folders walked with the corpus options), and each file's
// text read as UTF-16 with its encoding detected. Shared by the commands that
// read corpora (wordlist, ngrams, concord ...).
#include <CLI/CLI.hpp>

#include <cstdint>
#include <functional>
#include <string_view>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "quillrt/framework/strings.h"

namespace quill::cli {

struct CorpusOptions {
  std::vector<std::string> paths;  // files and folders; none: the default corpus
  std::string mask = "*";          // file masks for folders, separated by ";"
  bool subfolders = true;          // walk folders below the named ones
  bool zips = false;               // read the files inside zip archives too
  std::string exclude_dirs;        // folder masks left out at any depth, ";"-separated
  std::string exclude_ext;         // extensions left out (".bak;.tmp")
  std::string lang;                // language of the texts: locale name or LCID
  bool binary = false;             // read binary files as text too
};

// Adds PATH... ("-": standard input) and --mask, --subfolders/--no-subfolders,
// --zip, --exclude-dirs, --exclude-ext, --lang and --binary to a command.
void AddCorpusOptions(CLI::App* app, CorpusOptions& options);

// Whether a file name ends in ".docx" (any case): such a file is read as the text
// of its paragraphs, one a line, not as the bytes of its archive.
bool IsWordDocumentName(const std::string& name);

struct CorpusFile {
  UnicodeString name;  // full name; inside an archive: the archive, '\' and the entry
  std::int64_t size = 0;
  bool in_zip = false;
  UnicodeString archive;  // inside an archive: the archive's own name ...
  int entry = 0;          // ... and the entry's number in it (from 1); 0: read through `name`
};

// The files of the corpus: for each path in turn, standard input ("-"), the
// entries of an archive (a file named *.zip or holding a zip archive), a file
// as it is, or the files found in a folder tree (with the archives in it under
// --zip), sorted by full name. A path that does not exist, a folder that
// cannot be listed and an archive that cannot be opened are reported as
// skipped inputs (run_outcome.h) and the other paths are still collected. No
// path and no default corpus ends the command with exit code 2. Applies --lang
// (a bad one is a usage error) and --binary.
std::vector<CorpusFile> CollectCorpusFiles(const CorpusOptions& options);

// The text of a corpus file, decoded by what its bytes hold (text_decoding.h:
// UTF-16 either way, UTF-8 with U+FFFD for a few bad bytes and a warning, else
// the 8-bit code page of --lang or the system's). False when it cannot be read
// (reported as a skipped input) or is binary and --binary was not given
// (counted as such).
bool ReadCorpusText(const CorpusFile& file, UnicodeString& text);

// The same text handed over in pieces of a few megabytes, each cut just after
// an ASCII blank or line end, so that no word (nor "word/TAG" token) runs from
// one piece into the next (a text in a code page of two-byte characters,
// or inside an archive, comes whole). Large files need no buffer of their
// whole text. False, with a warning, when the file cannot be read.
bool ReadCorpusTextInPieces(const CorpusFile& file, const std::function<void(std::u16string_view piece)>& take);

// The default corpus: $QUILL_DEFAULT_CORPUS when set, else data/brown found
// from the working folder or the program's folder upwards.
std::optional<std::filesystem::path> DefaultCorpus();

// Checks a count option whose 0 means "no limit" (--limit, --top): a whole
// number from 0 up, with a short message for anything else.
CLI::Validator NonNegativeCount();

// Whether binary files are read as text (--binary); set by CollectCorpusFiles.
void ReadBinaryFiles(bool read);

// Why the file cannot be read (as the system says it); empty when it can.
std::string UnreadableReason(const std::string& path);

// Writes "quill: <message>" to standard error and ends the command with `code`.
[[noreturn]] void Fail(const std::string& message, int code);

}  // namespace quill::cli
