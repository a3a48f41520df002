#pragma once
// The corpus a job works on: files and folders turned into one ordered list
// of files (folders walked with masks, subfolders and exclusions, the entries
// of zip archives), and each file's text read as UTF-16 with its encoding
// judged from its bytes. Whatever cannot be read is reported through the
// events and counted, never silently left out.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "quilljobs/quilljobs_export.h"
#include "quilljobs/text_decoding.h"
#include "quilljobs/word_rule.h"
#include "quillrt/framework/strings.h"

namespace quill {
class TFileAndDirIterator;
}

namespace quill::jobs {

struct CorpusOptions {
  std::vector<std::string> paths;  // files and folders (UTF-8); "-" is standard input
  std::string mask = "*";          // file masks for folders, separated by ";"
  bool subfolders = true;          // walk folders below the named ones
  bool zips = false;               // read the files inside zip archives too
  std::string exclude_dirs;        // folder masks left out at any depth, ";"-separated
  std::string exclude_ext;         // extensions left out (".bak;.tmp")
  std::string lang;                // language of the texts: locale name or LCID; empty: English
  bool binary = false;             // read binary files as text too
  std::string favourites;          // a saved walk (Corpus::SaveFavourites) whose files come first,
                                   // read instead of walking the disk again; paths may add more
  int listing_threads = 0;         // threads listing a walk's folders at once (0: one per core)
  // The most bytes read from an input that cannot be mapped (standard input,
  // a pipe, a device): more ends the input with a message, so that an endless
  // one (/dev/zero, `yes`) cannot exhaust memory. Files are mapped and read in
  // pieces whatever their size.
  std::int64_t max_stream_bytes = std::int64_t{256} << 20;
};

// The pieces a large file is read in when no other size is asked for.
inline constexpr std::size_t kDefaultPieceBytes = std::size_t{1} << 20;

// A large file shared out among threads: its text cut into pieces that can
// be read independently, in any order. Piece k runs from the first cut at or
// after byte k x piece_bytes of the text to the first cut at or after byte
// (k + 1) x piece_bytes, a cut falling just after an ASCII blank or line
// end, so that a reader finds its piece's bounds without reading the pieces
// before it, and no word runs from one piece into the next. A piece may be
// empty (when a line is longer than a piece).
struct SharedPieces {
  std::size_t count = 0;  // 0: not shared out; read the file with ReadTextInPieces
  std::size_t piece_bytes = 0;
  TextKind kind;  // judged once, for every piece
};

// What a corpus reports on the way. Every handler may be empty.
struct CorpusEvents {
  // An input that had to be left out: a path that does not exist, a folder
  // that cannot be listed, an archive or file that cannot be read.
  std::function<void(const std::string& name, const std::string& reason)> on_skipped;
  // A binary file left out on purpose (binary files were not asked for).
  std::function<void(const std::string& name)> on_binary_skipped;
  // Something worth knowing that loses nothing (bad UTF-8 bytes read as U+FFFD).
  std::function<void(const std::string& message)> on_warning;
};

struct CorpusFile {
  UnicodeString name;  // full name; inside an archive: the archive, '\' and the entry
  std::int64_t size = 0;
  bool in_zip = false;
  UnicodeString archive;  // inside an archive: the archive's own name ...
  int entry = 0;          // ... and the entry's number in it (from 1); 0: read through `name`
  bool regular = false;   // measured as a regular file when listed (so not a pipe)
};

// Where a reader hands a file's text, piece by piece. `text` takes each piece
// decoded. `plain_bytes`, when set, is offered each piece first as the bytes
// it was read from, whenever the text's encoding keeps ASCII as it is (any
// but UTF-16): it says whether it took them, and a piece it refuses goes to
// `text`. It may take only plain ASCII (printable characters, tabs and line
// ends), whose text is its bytes, one character each; a reader that can take
// such bytes apart faster than their text (the word counter) sets it.
struct PieceTakers {
  std::function<void(std::u16string_view piece)> text;
  std::function<bool(std::string_view bytes)> plain_bytes;
};

// Whether a file name ends in ".docx" (any case): such a file is read as the
// text of its paragraphs, one a line, not as the bytes of its archive.
QUILLJOBS_API bool IsWordDocumentName(const std::string& name);

class QUILLJOBS_API Corpus {
 public:
  // Applies the language (a process-wide setting: the locale the engine and
  // the 8-bit decoders use) and collects the files: those of the favourites
  // file when one is named, then for each path in turn, standard input, the
  // entries of an archive (a file named *.zip or holding a zip archive), a
  // file as it is, or the files found in a folder tree by the corpus walker
  // (with the archives in it when zips are read); the files of each walk are
  // sorted by full name. Paths that cannot be used, folders that cannot be
  // listed and archives that cannot be read are reported and the others still
  // collected. Raises JobError(bad_request) for an unknown language, when
  // neither a path nor favourites are given, or for a favourites file written
  // by another tool; JobError(failed) for one that cannot be read.
  explicit Corpus(CorpusOptions options, CorpusEvents events = {});
  ~Corpus();
  Corpus(const Corpus&) = delete;
  Corpus& operator=(const Corpus&) = delete;

  const CorpusOptions& Options() const { return options_; }
  const std::vector<CorpusFile>& Files() const { return files_; }
  // The sum of the files' sizes (0 for standard input and pipes): the total
  // that progress is reported against.
  std::int64_t TotalBytes() const { return total_bytes_; }
  // The word rule of the corpus's language.
  WordRule Rule(bool pos_tags) const { return WordRuleOfLanguage(!options_.lang.empty(), pos_tags); }

  // The text of a file, decoded by what its bytes hold (UTF-16 either way,
  // UTF-8 with U+FFFD for a few bad bytes and a warning, else the 8-bit code
  // page of the language or the system's). False when it cannot be read
  // (reported) or is binary and binary files are not read (counted).
  bool ReadText(const CorpusFile& file, UnicodeString& text) const;

  // The same text handed over in pieces of about `piece_bytes` bytes, each cut
  // just after an ASCII blank or line end, so that no word (nor word/TAG
  // token) runs from one piece into the next (a text in a code page of
  // two-byte characters, or inside an archive, comes whole). Large files need
  // no buffer of their whole text: the pages of a piece are let go once it
  // has been handed over. No more pieces are cut once `stop` is set (a job's
  // cancel flag): the text then ends early.
  bool ReadTextInPieces(const CorpusFile& file, const std::function<void(std::u16string_view piece)>& take,
                        std::size_t piece_bytes = kDefaultPieceBytes, const std::atomic<bool>* stop = nullptr) const;
  // The same, offering each piece to `takers.plain_bytes` first (see there).
  bool ReadTextInPieces(const CorpusFile& file, const PieceTakers& takers, std::size_t piece_bytes,
                        const std::atomic<bool>* stop) const;

  // Plans a file's shared pieces, judging its text once (and reporting what
  // the judgement finds, as reading does). Files of piece_bytes or less, in
  // archives, documents and texts in a code page of two-byte characters are
  // not shared out (count 0). False when the file is not to be read at all:
  // it cannot be read (reported) or is binary and binary files are not read.
  bool PlanSharedPieces(const CorpusFile& file, std::size_t piece_bytes, SharedPieces& plan) const;
  // Hands piece `index` of a planned file to `take`, in parts of about
  // `read_bytes` cut as ReadTextInPieces cuts (nothing for an empty piece).
  // False when the file cannot be read now (reported).
  bool ReadSharedPiece(const CorpusFile& file, const SharedPieces& plan, std::size_t index,
                       const std::function<void(std::u16string_view part)>& take,
                       std::size_t read_bytes = kDefaultPieceBytes) const;
  bool ReadSharedPiece(const CorpusFile& file, const SharedPieces& plan, std::size_t index, const PieceTakers& takers,
                       std::size_t read_bytes) const;

  // Reading is safe from several threads at once (each with its own buffers);
  // the events are then called one at a time, in no set order.

  // Writes the walk the files were collected by (its folders and their files,
  // zip entries among them) as a favourites file stamped with the running
  // tool's signature, for CorpusOptions::favourites. Only a corpus that is one
  // walk can be saved: one folder, or one favourites file, and nothing else
  // (JobError(bad_request) otherwise). A file that cannot be written raises
  // JobError(failed) and leaves any earlier file of that name as it was.
  void SaveFavourites(const std::string& file) const;

  // Inputs reported skipped so far (while collecting and reading), and binary
  // files left out.
  std::int64_t SkippedInputs() const { return skipped_.load(); }
  std::int64_t BinaryFilesSkipped() const { return binary_skipped_.load(); }

 private:
  void Skipped(const std::string& name, const std::string& reason) const;
  void Collect();
  void AddFolderFiles(const UnicodeString& folder);
  void AddFavouritesFiles();
  void TakeFilesOf(TFileAndDirIterator& walk);
  static void MeasureAgain(std::span<CorpusFile> files);
  void ReportUnlistableFolders(const TFileAndDirIterator& walk) const;
  std::string ReadStream(const std::string& name) const;
  bool DecodeBytes(const std::string& name, std::string_view bytes, UnicodeString& text) const;
  bool KindToRead(const std::string& name, std::string_view bytes, TextKind& kind) const;
  bool KindToRead(const std::string& name, const TextKind& judged, TextKind& kind) const;

  CorpusOptions options_;
  CorpusEvents events_;
  std::vector<CorpusFile> files_;
  // The walks the folders' files came from, kept for SaveFavourites, and the
  // inputs that came from no walk (files, archives and standard input named).
  std::vector<std::unique_ptr<TFileAndDirIterator>> walks_;
  int inputs_outside_walks_ = 0;
  std::int64_t total_bytes_ = 0;
  mutable std::atomic<std::int64_t> skipped_{0};
  mutable std::atomic<std::int64_t> binary_skipped_{0};
  // Jobs read files on several threads; the events are heard one at a time.
  mutable std::mutex events_mutex_;
};

// Why the file cannot be read (as the system says it); empty when it can.
QUILLJOBS_API std::string UnreadableReason(const std::string& path);

}  // namespace quill::jobs
