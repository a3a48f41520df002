#include "quilljobs/corpus.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <span>
#include <system_error>
#include <thread>
#include <utility>

#include "quillfs/file_and_dir_iterator.h"
#include "quilljobs/job_control.h"
#include "quillrt/analysis/docx_text.h"
#include "quillrt/files/file_contents.h"
#include "quillrt/files/peruse_dir.h"
#include "quillrt/files/search_rec_list.h"
#include "quillrt/files/zip_paths.h"
#include "quillrt/platform/file_system.h"
#include "quillrt/framework/encoding.h"
#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/file_names.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/text/unicode_signatures.h"
#include "quillrt/platform/code_pages.h"
#include "quillrt/platform/locale_info.h"

namespace quill::jobs {
namespace fs = std::filesystem;

namespace {

// A name's bytes, for the system calls and the reports: its UTF-8, with the
// bytes of a name that is not UTF-8 given back as they were.
std::string Utf8(const UnicodeString& s) { return FileNameToBytes(s); }

// --lang: an ICU locale name ("tr", "de_DE") or an LCID ("0x041F", "1055").
void ApplyLanguage(const std::string& lang) {
  if (lang.empty()) return;
  std::uint32_t lcid = 0;
  char* end = nullptr;
  const unsigned long number = std::strtoul(lang.c_str(), &end, 0);
  if (end != lang.c_str() && *end == '\0')
    lcid = static_cast<std::uint32_t>(number);
  else
    lcid = LocaleNameToLCID(lang);
  if (lcid == 0 || !IsValidLCID(lcid)) throw JobError(JobError::bad_request, "unknown language: " + lang);
  SetUserDefaultLCID(lcid);
  // 8-bit texts are read in the language's code page, by every command
  // (Unicode-only languages keep the system's). The platform's page and the
  // page the decoders use are both set, so that the two never disagree.
  if (const std::uint32_t code_page = AnsiCodePageOfLCID(lcid); code_page > 3) {
    SetACP(code_page);
    try {
      SetSystemAnsiCodePage(static_cast<int>(code_page));
    } catch (const Exception&) {
      // A page the converter does not know: the system's page stays.
    }
  }
}

// An archive's entries as corpus files; an archive that cannot be opened is
// reported and costs only its own entries.
using SkipReport = std::function<void(const std::string& name, const std::string& reason)>;

void AddArchiveEntries(TPeruseDir& walker, const UnicodeString& folder, const UnicodeString& archive,
                       std::vector<CorpusFile>& files, const SkipReport& skipped) {
  const UnicodeString prefix = folder.empty() || folder.ends_with(u'/') ? folder : folder + u'/';
  TMySearchRecList found;
  // Entries that cannot be read are named when they are read; this counts the
  // archive-wide failures (entries beyond what a listing can number).
  bool entries_lost = false;
  walker.OnZipProblem = [&](TObject*) { entries_lost = true; };
  try {
    walker.AddAZip(&found, folder, archive);
  } catch (const std::exception& e) {
    skipped(Utf8(prefix + archive), std::string("not a readable zip archive: ") + e.what());
    return;
  }
  walker.OnZipProblem = nullptr;
  if (entries_lost) skipped(Utf8(prefix + archive), "some of its entries could not be listed");
  for (int i = 0; i < found.Count(); ++i) {
    const TMySearchRec rec = found.GetAMySearchRec(i);
    files.push_back({prefix + rec.ShortName, static_cast<std::uint32_t>(rec.Size), true, prefix + archive,
                     rec.Number_Within_Zip});
  }
}

// Why a folder cannot be listed; empty when it can.
std::string UnlistableFolderReason(const UnicodeString& folder) {
  DIR* dir = ::opendir(Utf8(folder).c_str());
  if (dir == nullptr) return std::strerror(errno);
  ::closedir(dir);
  return {};
}

}  // namespace

// The files of a folder tree as the corpus walker finds them: every folder
// below (with subfolders), each folder's files passing the masks and
// exclusions, and with zips the entries of its archives. An archive that
// cannot be read is named once, whether it cannot be opened at all or loses
// some entries.
void Corpus::AddFolderFiles(const UnicodeString& folder) {
  const UnicodeString mask = Utf8ToUtf16(options_.mask.empty() ? "*" : options_.mask);
  auto walk = std::make_unique<TFileAndDirIterator>();
  walk->SetHeadDir(folder);
  walk->SetFileMask(mask);
  walk->SetDirMask(u"*");
  walk->SetZipMask(mask);
  walk->SetIncludeSubFolders(options_.subfolders);
  walk->SetExcludedFoldersMask(Utf8ToUtf16(options_.exclude_dirs));
  walk->SetExcludedExtensions(Utf8ToUtf16(options_.exclude_ext));
  walk->SetReadZipfiles(options_.zips);
  walk->SetListingThreads(options_.listing_threads);
  std::set<UnicodeString> archives_named;
  walk->OnZipProblem = [&](TObject* sender) {
    const auto* walker = dynamic_cast<const TPeruseDir*>(sender);
    if (walker == nullptr || !archives_named.insert(walker->ZipInHand()).second) return;
    const UnicodeString& reason = walker->ZipProblemReason();
    Skipped(Utf8(walker->ZipInHand()), reason.empty() ? std::string("some of its entries could not be listed")
                                                      : "not a readable zip archive: " + Utf8(reason));
  };
  walk->IterateFindingFiles();
  walk->OnZipProblem = nullptr;
  ReportUnlistableFolders(*walk);
  TakeFilesOf(*walk);
  walks_.push_back(std::move(walk));
}

// The walker passes over a folder it cannot list without a word; the corpus
// names each one, since its files are lost to the run.
void Corpus::ReportUnlistableFolders(const TFileAndDirIterator& walk) const {
  for (int i = 0; i < walk.DirCount(); ++i) {
    const TFolderful* folder = walk.Folder(i);
    if (folder != nullptr && folder->Count() > 0) continue;
    const UnicodeString& name = walk.Dirs()[i];
    if (const std::string reason = UnlistableFolderReason(name); !reason.empty())
      Skipped(Utf8(name.size() > 1 ? ExcludeTrailingPathDelimiter(name) : name), "cannot list the folder: " + reason);
  }
}

// The files of a walk (or of favourites read) as handed over, in order of
// their full names, so that runs (and the first spelling met of each word) do
// not depend on the order the file system lists them in.
//
// A walk of the disk has just measured each file, and its records hold those
// sizes whole unless a file of 4 GB or more was listed; only favourites (old
// records) and such walks have their files measured again.
void Corpus::TakeFilesOf(TFileAndDirIterator& walk) {
  const std::size_t first = files_.size();
  files_.reserve(first + static_cast<std::size_t>(std::max(walk.Total(), 0)));
  const bool measured = walk.RecordsMeasuredWhole();
  walk.OnProcessingAFile = [this, measured](const UnicodeString& name, const TMySearchRec& rec) {
    const std::int64_t listed_size = static_cast<std::uint32_t>(rec.Size);
    if (rec.Number_Within_Zip > 0) {
      files_.push_back({name, listed_size, true, ZipFileFullFileName(name), rec.Number_Within_Zip});
      return;
    }
    const bool regular = measured && (rec.Attr & faArchive) != 0;
    files_.push_back({name, listed_size, false, {}, 0, regular});
  };
  walk.SetProcessingFiles(true);
  walk.ProcessAllFilesFound();
  walk.OnProcessingAFile = nullptr;
  if (!measured) MeasureAgain(std::span(files_).subspan(first));
  // Walks mostly hand their files over in this order already.
  const auto taken = files_.begin() + static_cast<std::ptrdiff_t>(first);
  const auto by_name = [](const CorpusFile& a, const CorpusFile& b) { return a.name < b.name; };
  if (!std::is_sorted(taken, files_.end(), by_name)) std::sort(taken, files_.end(), by_name);
}

// The walker's records hold sizes in 32 bits (the stored form of its lists),
// which a file of 4 GB or more overflows, and favourites hold what was true
// when they were saved: each file on disk is measured again, so that progress
// and the choice to read it in pieces see its real size, and noted as a
// regular file (which spares reading it a second look for a pipe).
// A stat is small beside reading the file, but thousands of them come before
// any reading starts, so they are shared among the cores.
void Corpus::MeasureAgain(std::span<CorpusFile> files) {
  // A file that cannot be measured keeps its listed size (reading it
  // reports what is wrong); nothing may escape a helper thread.
  const auto measure = [files](std::size_t from, std::size_t step) noexcept {
    for (std::size_t i = from; i < files.size(); i += step) {
      CorpusFile& file = files[i];
      if (file.in_zip) continue;
      struct stat info {};
      try {
        if (::stat(Utf8(file.name).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
      } catch (const std::exception&) {
        continue;
      }
      file.size = static_cast<std::int64_t>(info.st_size);
      file.regular = true;
    }
  };
  constexpr std::size_t kFilesForAHelper = 512;
  const std::size_t threads =
      std::clamp<std::size_t>(files.size() / kFilesForAHelper, 1, std::max(1u, std::thread::hardware_concurrency()));
  std::vector<std::jthread> helpers;
  for (std::size_t t = 1; t < threads; ++t) helpers.emplace_back(measure, t, threads);
  measure(0, threads);
}

void Corpus::AddFavouritesFiles() {
  auto walk = std::make_unique<TFileAndDirIterator>();
  walk->SetFavourites(FileNameToUtf16(options_.favourites));
  bool ours = false;
  try {
    ours = walk->ReadFavourites();
  } catch (const std::exception& e) {
    const std::string reason = UnreadableReason(options_.favourites);
    throw JobError(JobError::failed, std::string(e.what()) + " (" +
                                         (reason.empty() ? "not a favourites file, or a damaged one" : reason) + ")");
  }
  if (!ours)
    throw JobError(JobError::bad_request,
                   options_.favourites + " is a favourites file of another tool; save the walk again with this one");
  TakeFilesOf(*walk);
  walks_.push_back(std::move(walk));
}

void Corpus::SaveFavourites(const std::string& file) const {
  if (walks_.size() != 1 || inputs_outside_walks_ > 0)
    throw JobError(JobError::bad_request,
                   "favourites hold the walk of one folder: name one folder (or one favourites file) and nothing else");
  TFileAndDirIterator& walk = *walks_.front();
  walk.SetFavourites(FileNameToUtf16(file));
  try {
    walk.SaveFavourites();
  } catch (const std::exception& e) {
    throw JobError(JobError::failed, e.what());
  }
}

namespace {

// A file named on the command line is an archive when its name ends in ".zip"
// or its first bytes are a zip archive's local header.
bool IsArchiveFile(const std::string& path) {
  if (IsAZipFile(Utf8ToUtf16(path))) return true;
  if (IsWordDocumentName(path)) return false;  // a zip inside, but read as a document
  // Peeking at a pipe would take its first bytes away from the reading.
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  char head[4] = {};
  const bool zip = std::fread(head, 1, sizeof head, file) == sizeof head && std::memcmp(head, "PK\x03\x04", 4) == 0;
  std::fclose(file);
  return zip;
}

// A file's bytes in memory: a large corpus file is mapped, so that no copy of
// it is made before it is decoded; a small one is read, which costs less than
// setting up and tearing down a mapping (corpora are mostly small files). Not
// Ok when the file can be neither (it is then read as a stream).
//
// A large file's mapping serves to find where its pieces are cut; the bytes
// that are scanned or decoded in full are copied out with Copy, a stretch at
// a time into a buffer that is reused: touching a mapping page by page costs
// a fault into the kernel for each few pages, some three times the cost of
// reading the same bytes.
class MappedFile {
 public:
  // `listed_regular`: the file was a regular file when the corpus was listed.
  explicit MappedFile(const std::string& name, bool listed_regular = false) {
    // Only a regular file is opened here: a FIFO opened and closed again
    // would lose its writer and its bytes. (One that took a listed file's
    // place since is at least not waited for, and fstat turns it away.)
    struct stat by_name {};
    if (!listed_regular && (::stat(name.c_str(), &by_name) != 0 || !S_ISREG(by_name.st_mode))) return;
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
      const auto size = static_cast<std::size_t>(info.st_size);
      if (size < kMappedFrom)
        ReadWhole(fd, size);
      else
        Map(fd, size);
    }
    if (mapped_)
      fd_ = fd;
    else
      ::close(fd);
  }
  ~MappedFile() {
    if (mapped_) ::munmap(const_cast<char*>(data_), size_);
    if (fd_ >= 0) ::close(fd_);
  }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  bool Ok() const { return data_ != nullptr; }
  std::string_view Bytes() const { return {data_, size_}; }
  // The bytes of [from, to), read into `buffer` when the file is mapped. A
  // read that fails or comes up short (the file shrank meanwhile) gives the
  // mapping's bytes instead, as before.
  std::string_view Copy(std::size_t from, std::size_t to, std::string& buffer) const {
    to = std::min(to, size_);
    from = std::min(from, to);
    if (!mapped_) return Bytes().substr(from, to - from);
    buffer.resize(to - from);
    std::size_t done = 0;
    while (done < buffer.size()) {
      const ssize_t n = ::pread(fd_, buffer.data() + done, buffer.size() - done, static_cast<off_t>(from + done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return Bytes().substr(from, to - from);
      done += static_cast<std::size_t>(n);
    }
    return buffer;
  }
  // Lets the pages of [from, to) go: they count towards the process's memory
  // while mapped, and a file read in pieces is not looked at again.
  void Release(std::size_t from, std::size_t to) const {
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    from = from / page * page;
    to = std::min(to, size_) / page * page;
    if (mapped_ && to > from) ::madvise(const_cast<char*>(data_) + from, to - from, MADV_DONTNEED);
  }

 private:
  static constexpr std::size_t kMappedFrom = std::size_t{1} << 20;

  void Map(int fd, std::size_t size) {
    void* data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (data == MAP_FAILED) return;
    data_ = static_cast<const char*>(data);
    size_ = size;
    mapped_ = true;
    ::madvise(data, size_, MADV_SEQUENTIAL);
  }

  // Reads up to `size` bytes (fewer when the file shrinks meanwhile); a
  // failed read leaves the file to the stream reader, which reports why.
  void ReadWhole(int fd, std::size_t size) {
    copy_.resize(size);
    std::size_t done = 0;
    while (done < size) {
      const ssize_t n = ::read(fd, copy_.data() + done, size - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return;
      if (n == 0) break;
      done += static_cast<std::size_t>(n);
    }
    if (done == 0) return;
    copy_.resize(done);
    data_ = copy_.data();
    size_ = done;
  }

  const char* data_ = nullptr;
  std::size_t size_ = 0;
  bool mapped_ = false;
  int fd_ = -1;  // kept open while mapped, for Copy
  std::string copy_;  // the bytes of a small file
};

// Enough of a stream's first bytes to judge what they hold.
constexpr std::size_t kJudgedBytes = std::size_t{1} << 16;

// The bytes of a file that cannot be mapped (a pipe, a FIFO, a device) or of
// standard input ("-"), read to their end. At most `max_bytes`: an input that
// goes on (/dev/zero, `yes`) ends with an error rather than with all memory.
// When `stop_after_first` says so of the first bytes (binary content that is
// not wanted), only those are read: they are enough to leave the input out.
std::string ReadAllOf(const std::string& name, std::int64_t max_bytes,
                      const std::function<bool(std::string_view first)>& stop_after_first) {
  const bool standard_input = name == "-";
  const int fd = standard_input ? STDIN_FILENO : ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw EFOpenError(std::string("cannot open: ") + std::strerror(errno));
  std::string bytes;
  char chunk[1 << 16];
  for (;;) {
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      if (!standard_input) ::close(fd);
      throw EReadError(std::string("cannot read: ") + std::strerror(error));
    }
    const bool judged_before = bytes.size() >= kJudgedBytes;
    bytes.append(chunk, static_cast<std::size_t>(got));
    if (!judged_before && bytes.size() >= kJudgedBytes && stop_after_first && stop_after_first(bytes)) break;
    if (max_bytes > 0 && bytes.size() > static_cast<std::size_t>(max_bytes)) {
      if (!standard_input) ::close(fd);
      throw EReadError("more than " + std::to_string(max_bytes >> 20) +
                       " MB from a stream: an endless input? (files are read whatever their size)");
    }
  }
  if (!standard_input) ::close(fd);
  return bytes;
}

// A single-byte code page whose bytes below 0x80 are ASCII: its texts can be
// cut at such a byte, and widened byte by byte where they hold no other.
bool KeepsAscii(std::uint32_t code_page) {
  const char16_t* table = SingleByteToUnicodeTable(code_page);
  if (table == nullptr) return false;
  for (unsigned c = 0; c < 0x80; ++c)
    if (table[c] != c) return false;
  return true;
}

bool Stopped(const std::atomic<bool>* stop) { return stop != nullptr && stop->load(std::memory_order_relaxed); }

bool IsAsciiBreak(unsigned c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool IsUtf16(TextKind::Encoding encoding) {
  return encoding == TextKind::utf16 || encoding == TextKind::utf16_big_endian;
}

// How far past a piece's nominal end a cut looks for a line end before it
// settles for a blank: markup closes on its line, so a cut at a line end
// never splits a tag ("<p n=1>"), while a line longer than this is cut at a
// blank.
constexpr std::size_t kLineEndReach = std::size_t{64} << 10;

// The first cut at or after byte `at` of a text body: just after a line end
// within reach, else just after the first ASCII blank (a whole unit of
// UTF-16); the end when there is neither. For UTF-8 and single-byte code
// pages such a byte is a character of its own. The cut depends on the place
// alone, so that a piece's bounds can be found without reading the pieces
// before it.
std::size_t CutAtOrAfter(std::string_view body, std::size_t at, TextKind::Encoding encoding) {
  if (at == 0) return 0;
  const bool wide = IsUtf16(encoding);
  const std::size_t step = wide ? 2 : 1;
  const std::size_t first = wide ? std::max<std::size_t>(at & ~std::size_t{1}, 2) : at;
  if (first >= body.size()) return body.size();
  const auto unit_before = [&](std::size_t end) -> unsigned {
    if (!wide) return static_cast<unsigned char>(body[end - 1]);
    const auto b0 = static_cast<unsigned char>(body[end - 2]), b1 = static_cast<unsigned char>(body[end - 1]);
    return encoding == TextKind::utf16_big_endian ? (b0 << 8) | b1 : (b1 << 8) | b0;
  };
  const std::size_t reach = std::min(body.size(), first + kLineEndReach);
  for (std::size_t end = first; end <= reach; end += step)
    if (unit_before(end) == '\n') return end;
  for (std::size_t end = first; end <= body.size(); end += step)
    if (IsAsciiBreak(unit_before(end))) return end;
  return body.size();
}

// Hands over `bytes` in pieces of about `piece_bytes`, each ending at a cut,
// to `decode`.
void InPieces(std::string_view bytes, TextKind::Encoding encoding, std::size_t piece_bytes,
              const std::atomic<bool>* stop, const std::function<void(std::string_view)>& decode) {
  const std::size_t piece = std::max<std::size_t>(piece_bytes, IsUtf16(encoding) ? 2 : 1);
  std::size_t at = 0;
  while (at < bytes.size() && !Stopped(stop)) {
    const std::size_t end = std::min(std::max(CutAtOrAfter(bytes, at + piece, encoding), at + 1), bytes.size());
    decode(bytes.substr(at, end - at));
    at = end;
  }
}

// Whether a text of this kind can be cut at its ASCII blanks and line ends:
// every kind but a code page whose two-byte characters may hold such a byte.
bool SharesAscii(const TextKind& kind) {
  if (kind.encoding == TextKind::eight_bit || kind.encoding == TextKind::binary) return KeepsAscii(GetACP());
  return true;
}

// Decodes one piece of a text of the given kind (cut where the cuts above
// cut) and hands it over, after offering its bytes when they may be plain
// ASCII; ASCII is widened in `wide` rather than in a new string each time.
void DecodePiece(std::string_view piece, TextKind::Encoding encoding, std::vector<char16_t>& wide,
                 const PieceTakers& takers) {
  const auto& take = takers.text;
  switch (encoding) {
    case TextKind::utf16: take(TEncoding::Unicode()->GetString(piece)); return;
    case TextKind::utf16_big_endian: take(TEncoding::BigEndianUnicode()->GetString(piece)); return;
    default: break;
  }
  if (takers.plain_bytes && takers.plain_bytes(piece)) return;
  // Widened as if ASCII, in one pass that also notes any byte that is not;
  // a piece that holds one is decoded again properly.
  wide.resize(piece.size());
  if (!WidenedAscii(piece, wide.data())) {
    const bool utf8 = encoding == TextKind::utf8 || encoding == TextKind::ascii;
    take((utf8 ? TEncoding::UTF8() : TEncoding::Default())->GetString(piece));
    return;
  }
  take(std::u16string_view(wide.data(), wide.size()));
}

// The kind of a mapped text, judged as KindOfText judges it but a block at a
// time, so that judging a large file does not hold all of it in memory at
// once. UTF-16, a byte-order mark and binary content show in the first bytes;
// UTF-8 is told from 8-bit by counting every sequence.
TextKind KindOfMappedText(const MappedFile& mapped) {
  constexpr std::size_t kBlock = std::size_t{1} << 20;
  // A sequence starting at a block's last byte may run on this far.
  constexpr std::size_t kLongestSequenceRest = 3;
  const std::string_view bytes = mapped.Bytes();
  if (bytes.size() <= kBlock) return KindOfText(bytes);
  std::string buffer;
  const TextKind first = KindOfText(mapped.Copy(0, kJudgedBytes, buffer));
  if (first.encoding == TextKind::utf16 || first.encoding == TextKind::utf16_big_endian ||
      first.encoding == TextKind::binary)
    return first;
  Utf8Tally tally;
  for (std::size_t i = first.mark; i < bytes.size();) {
    const std::string_view block = mapped.Copy(i, i + kBlock + kLongestSequenceRest, buffer);
    i += tally.Count(block, 0, std::min(kBlock, block.size()));
  }
  if (first.mark > 0) return {TextKind::utf8, first.mark, tally.invalid};
  return tally.Verdict();
}

}  // namespace

std::string UnreadableReason(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::strerror(errno);
  struct stat info {};
  std::string reason;
  if (::fstat(fd, &info) != 0) reason = std::strerror(errno);
  else if (S_ISDIR(info.st_mode)) reason = "a folder, not a file";
  else if (S_ISREG(info.st_mode)) {
    char byte = 0;
    if (::read(fd, &byte, 1) < 0) reason = std::strerror(errno);
  }
  ::close(fd);
  return reason;
}

Corpus::Corpus(CorpusOptions options, CorpusEvents events) : options_(std::move(options)), events_(std::move(events)) {
  if (options_.paths.empty() && options_.favourites.empty())
    throw JobError(JobError::bad_request, "no corpus named: name files or folders");
  ApplyLanguage(options_.lang);
  if (!options_.favourites.empty()) AddFavouritesFiles();
  Collect();
  for (const CorpusFile& file : files_) total_bytes_ += file.size;
}

Corpus::~Corpus() = default;

void Corpus::Skipped(const std::string& name, const std::string& reason) const {
  skipped_.fetch_add(1);
  const std::lock_guard lock(events_mutex_);
  if (events_.on_skipped) events_.on_skipped(name, reason);
}

void Corpus::Collect() {
  for (const std::string& path : options_.paths) {
    const UnicodeString name = FileNameToUtf16(path);
    if (path == "-") {  // standard input
      files_.push_back({name, 0, false, {}, 0});
      ++inputs_outside_walks_;
      continue;
    }
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (fs::is_directory(status)) {
      AddFolderFiles(name);
      continue;
    }
    if (fs::exists(status) || IsWithinAZipFile(name)) ++inputs_outside_walks_;
    if (fs::exists(status)) {
      if (fs::is_regular_file(status) && IsArchiveFile(path)) {
        const fs::path archive(path);
        // A bare name ("t.zip") lies in the working folder, not at the root.
        const fs::path folder = archive.has_parent_path() ? archive.parent_path() : fs::path(".");
        TPeruseDir walker(u"*", u"*", Utf8ToUtf16(options_.mask.empty() ? "*" : options_.mask), u"",
                          Utf8ToUtf16(options_.exclude_ext), false, false, false, false, false);
        AddArchiveEntries(walker, FileNameToUtf16(folder.string()),
                          FileNameToUtf16(archive.filename().string()), files_,
                          [this](const std::string& entry, const std::string& reason) { Skipped(entry, reason); });
        continue;
      }
      const std::uintmax_t size = fs::is_regular_file(status) ? fs::file_size(path, error) : 0;
      files_.push_back({name, error ? 0 : static_cast<std::int64_t>(size), false, {}, 0});
    } else if (IsWithinAZipFile(name)) {
      files_.push_back({name, 0, true, {}, 0});  // a file inside an archive, named through the archive
    } else {
      Skipped(path, error && error != std::errc::no_such_file_or_directory ? error.message()
                                                                            : "no such file or folder");
    }
  }
}

// False (with the file counted) when the content is binary and not wanted;
// the warning a text with bad UTF-8 calls for.
bool Corpus::KindToRead(const std::string& name, std::string_view bytes, TextKind& kind) const {
  return KindToRead(name, KindOfText(bytes), kind);
}

bool Corpus::KindToRead(const std::string& name, const TextKind& judged, TextKind& kind) const {
  kind = judged;
  if (kind.encoding == TextKind::binary && !options_.binary) {
    binary_skipped_.fetch_add(1);
    const std::lock_guard lock(events_mutex_);
    if (events_.on_binary_skipped) events_.on_binary_skipped(name);
    return false;
  }
  const std::lock_guard lock(events_mutex_);
  if (kind.invalid_utf8 > 0 && events_.on_warning)
    events_.on_warning(name + " is UTF-8 with " + std::to_string(kind.invalid_utf8) +
                       " invalid byte(s), read as U+FFFD");
  return true;
}

bool Corpus::DecodeBytes(const std::string& name, std::string_view bytes, UnicodeString& text) const {
  if (bytes.size() < 4) {  // too short to judge by content
    text = DecodedTextBytes(bytes);
    return true;
  }
  // Most corpus files are plain ASCII: judged and widened in one pass, into
  // the caller's buffer.
  text.resize(bytes.size());
  if (WidenedPlainAscii(bytes, text.data())) return true;
  TextKind kind;
  if (!KindToRead(name, bytes, kind)) {
    text.clear();
    return false;
  }
  text = DecodeText(bytes, kind);
  return true;
}
bool Corpus::PlanSharedPieces(const CorpusFile& file, std::size_t piece_bytes, SharedPieces& plan) const {
  plan = {};
  piece_bytes = std::max<std::size_t>(piece_bytes, 2);
  if (file.in_zip || file.size <= static_cast<std::int64_t>(piece_bytes) || IsWordDocumentName(Utf8(file.name)))
    return true;
  try {
    const MappedFile mapped(Utf8(file.name), file.regular);
    // Not a regular file now, or too short to judge: read some other way.
    if (!mapped.Ok() || mapped.Bytes().size() < 4 || mapped.Bytes().size() <= piece_bytes) return true;
    TextKind kind;
    if (!KindToRead(Utf8(file.name), KindOfMappedText(mapped), kind)) return false;
    if (!SharesAscii(kind)) return true;
    const std::size_t body = mapped.Bytes().size() - std::min(kind.mark, mapped.Bytes().size());
    plan.count = (body + piece_bytes - 1) / piece_bytes;
    plan.piece_bytes = piece_bytes;
    plan.kind = kind;
    return true;
  } catch (const std::exception& e) {
    Skipped(Utf8(file.name), e.what());
    return false;
  }
}

bool Corpus::ReadSharedPiece(const CorpusFile& file, const SharedPieces& plan, std::size_t index,
                             const std::function<void(std::u16string_view part)>& take,
                             std::size_t read_bytes) const {
  return ReadSharedPiece(file, plan, index, PieceTakers{take, {}}, read_bytes);
}

bool Corpus::ReadSharedPiece(const CorpusFile& file, const SharedPieces& plan, std::size_t index,
                             const PieceTakers& takers, std::size_t read_bytes) const {
  try {
    const MappedFile mapped(Utf8(file.name), file.regular);
    if (!mapped.Ok()) {
      const std::string reason = UnreadableReason(Utf8(file.name));
      Skipped(Utf8(file.name), reason.empty() ? "it changed while it was being read" : reason);
      return false;
    }
    const std::size_t mark = std::min(plan.kind.mark, mapped.Bytes().size());
    const std::string_view body = mapped.Bytes().substr(mark);
    const std::size_t from = CutAtOrAfter(body, index * plan.piece_bytes, plan.kind.encoding);
    const std::size_t to = CutAtOrAfter(body, (index + 1) * plan.piece_bytes, plan.kind.encoding);
    // The piece is read in parts, each let go once handed over.
    std::vector<char16_t> wide;
    std::string copied;
    const auto decode_and_release = [&](std::string_view part) {
      const auto at = static_cast<std::size_t>(part.data() - mapped.Bytes().data());
      DecodePiece(mapped.Copy(at, at + part.size(), copied), plan.kind.encoding, wide, takers);
      mapped.Release(at, at + part.size());
    };
    InPieces(body.substr(from, to > from ? to - from : 0), plan.kind.encoding, read_bytes, nullptr,
             decode_and_release);
    return true;
  } catch (const std::exception& e) {
    Skipped(Utf8(file.name), e.what());
    return false;
  }
}

bool IsWordDocumentName(const std::string& name) {
  constexpr std::string_view kExtension = ".docx";
  if (name.size() <= kExtension.size()) return false;
  return std::equal(kExtension.begin(), kExtension.end(), name.end() - static_cast<std::ptrdiff_t>(kExtension.size()),
                    [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

bool Corpus::ReadText(const CorpusFile& file, UnicodeString& text) const {
  try {
    if (!file.in_zip && IsWordDocumentName(Utf8(file.name))) {
      text = DocxCorpusText(file.name);
      return true;
    }
    if (file.in_zip) {
      text = file.entry > 0 ? ContentsOfFileWithinZipFile(file.archive, file.entry)
                            : ContentsOfFileWithinZipFile(file.name);
      return true;
    }
    if (const MappedFile mapped(Utf8(file.name), file.regular); mapped.Ok()) return DecodeBytes(Utf8(file.name), mapped.Bytes(), text);
    return DecodeBytes(Utf8(file.name), ReadStream(Utf8(file.name)), text);
  } catch (const std::exception& e) {
    Skipped(Utf8(file.name), e.what());
    return false;
  }
}

std::string Corpus::ReadStream(const std::string& name) const {
  const bool stop_when_binary = !options_.binary;
  return ReadAllOf(name, options_.max_stream_bytes, [stop_when_binary](std::string_view first) {
    return stop_when_binary && KindOfText(first).encoding == TextKind::binary;
  });
}

bool Corpus::ReadTextInPieces(const CorpusFile& file, const std::function<void(std::u16string_view piece)>& take,
                              std::size_t piece_bytes, const std::atomic<bool>* stop) const {
  return ReadTextInPieces(file, PieceTakers{take, {}}, piece_bytes, stop);
}

bool Corpus::ReadTextInPieces(const CorpusFile& file, const PieceTakers& takers, std::size_t piece_bytes,
                              const std::atomic<bool>* stop) const {
  const auto& take = takers.text;
  if (file.in_zip || IsWordDocumentName(Utf8(file.name))) {
    UnicodeString text;
    if (!ReadText(file, text)) return false;
    take(text);
    return true;
  }
  try {
    const MappedFile mapped(Utf8(file.name), file.regular);
    std::string read;
    if (!mapped.Ok()) read = ReadStream(Utf8(file.name));
    std::string_view bytes = mapped.Ok() ? mapped.Bytes() : std::string_view(read);
    // Too short to judge in part (or small enough to need no pieces).
    if (bytes.size() < 4 || bytes.size() <= std::min<std::size_t>(kJudgedBytes, piece_bytes)) {
      // Plain ASCII is judged ASCII and read as it is, so it may go as bytes.
      if (bytes.size() >= 4 && takers.plain_bytes && takers.plain_bytes(bytes)) return true;
      UnicodeString text;
      if (!DecodeBytes(Utf8(file.name), bytes, text)) return false;
      take(text);
      return true;
    }
    TextKind kind;
    if (!KindToRead(Utf8(file.name), mapped.Ok() ? KindOfMappedText(mapped) : KindOfText(bytes), kind)) return false;
    if (!SharesAscii(kind)) {
      take(TEncoding::Default()->GetString(bytes));
      return true;
    }
    // Each piece is handed over, then its pages are let go.
    std::vector<char16_t> wide;
    std::string copied;
    const char* const first_byte = bytes.data();
    const auto decode_and_release = [&](std::string_view piece) {
      const auto at = static_cast<std::size_t>(piece.data() - first_byte);
      DecodePiece(mapped.Ok() ? mapped.Copy(at, at + piece.size(), copied) : piece, kind.encoding, wide, takers);
      mapped.Release(at, at + piece.size());
    };
    InPieces(bytes.substr(kind.mark), kind.encoding, piece_bytes, stop, decode_and_release);
    return true;
  } catch (const std::exception& e) {
    Skipped(Utf8(file.name), e.what());
    return false;
  }
}

}  // namespace quill::jobs
