#include "corpus_input.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <system_error>

#include "commands.h"
#include "quillrt/files/file_contents.h"
#include "quillrt/files/peruse_dir.h"
#include "quillrt/files/search_rec_list.h"
#include "quillrt/files/zip_paths.h"
#include "quillrt/framework/encoding.h"
#include "quillrt/framework/exceptions.h"
#include "quillrt/text/unicode_signatures.h"
#include "quillrt/platform/code_pages.h"
#include "quillrt/platform/locale_info.h"

namespace quill::cli {
namespace fs = std::filesystem;

namespace {

std::string Utf8(const UnicodeString& s) { return Utf16ToUtf8(s); }

std::optional<fs::path> FindUpwards(fs::path dir, const fs::path& wanted) {
  for (int up = 0; up < 8 && !dir.empty(); ++up) {
    std::error_code error;
    if (fs::is_directory(dir / wanted, error)) return dir / wanted;
    if (dir == dir.parent_path()) break;
    dir = dir.parent_path();
  }
  return std::nullopt;
}

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
  if (lcid == 0 || !IsValidLCID(lcid)) Fail("unknown language: " + lang, kExitUsage);
  SetUserDefaultLCID(lcid);
  // 8-bit texts are read in the language's code page (Unicode-only languages
  // keep the system's).
  if (const std::uint32_t code_page = AnsiCodePageOfLCID(lcid); code_page > 3) SetACP(code_page);
}

void AddFolderFiles(const CorpusOptions& options, const UnicodeString& folder, std::vector<CorpusFile>& files) {
  const UnicodeString mask = Utf8ToUtf16(options.mask.empty() ? "*" : options.mask);
  TPeruseDir walker(mask, u"*", mask, Utf8ToUtf16(options.exclude_dirs), Utf8ToUtf16(options.exclude_ext), false,
                    options.zips, false, false, false);
  walker.EnsureExcludedFoldersHavePathmarks();
  std::vector<UnicodeString> folders{folder};
  if (options.subfolders) {
    walker.OnFoundDir = [&](const UnicodeString& found) { folders.push_back(found); };
    walker.ProcessAllSubDirectories(folder);
  }
  // Listing order is the file system's: sort, so that runs (and the first
  // spelling met of each word) do not depend on it.
  const std::size_t first = files.size();
  for (const UnicodeString& dir : folders) {
    TMySearchRecList found;
    walker.HandleAllFilesIn(dir, &found);
    const UnicodeString prefix = dir.ends_with(u'/') ? dir : dir + u'/';
    for (int i = 0; i < found.Count(); ++i) {
      const TMySearchRec rec = found.GetAMySearchRec(i);
      files.push_back({prefix + rec.ShortName, static_cast<std::uint32_t>(rec.Size), rec.Number_Within_Zip != 0});
    }
  }
  std::sort(files.begin() + static_cast<std::ptrdiff_t>(first), files.end(),
            [](const CorpusFile& a, const CorpusFile& b) { return a.name < b.name; });
}

// A file's bytes mapped into memory: no copy of a large corpus file is made
// before it is decoded. Not Ok when the file cannot be mapped (it is then read).
class MappedFile {
 public:
  explicit MappedFile(const std::string& name) {
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
      size_ = static_cast<std::size_t>(info.st_size);
      void* data = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
      if (data != MAP_FAILED) {
        data_ = static_cast<const char*>(data);
        ::madvise(data, size_, MADV_SEQUENTIAL);
      }
    }
    ::close(fd);
  }
  ~MappedFile() {
    if (data_ != nullptr) ::munmap(const_cast<char*>(data_), size_);
  }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  bool Ok() const { return data_ != nullptr; }
  std::string_view Bytes() const { return {data_, size_}; }

 private:
  const char* data_ = nullptr;
  std::size_t size_ = 0;
};

// The text of a file's bytes, by what they hold. UTF-16 shows itself in its
// first bytes (a byte-order mark or the statistics of its units), so only a
// sample is tested for it: the statistical test over a whole large corpus file
// would cost more than counting its words. The rest is judged as the file
// utilities judge it: UTF-8 when well-formed with a non-ASCII character, else
// the 8-bit code page.
UnicodeString DecodeCorpusBytes(std::string_view bytes) {
  constexpr std::size_t kSample = 1 << 16;
  if (bytes.size() <= kSample) return DecodedTextBytes(bytes);
  std::size_t mark = 0;
  if (const TEncoding* marked = TEncoding::DetectFromPreamble(bytes, mark)) return marked->GetString(bytes.substr(mark));
  const TFileContentsSet kind = FileBufferType(bytes.data(), true, static_cast<std::int64_t>(kSample));
  if (kind.Contains(fc_16_bit_reversed)) return TEncoding::BigEndianUnicode()->GetString(bytes);
  if (kind.Contains(fc_16_bit)) return TEncoding::Unicode()->GetString(bytes);
  // The UTF-8 test looks no further than the first byte above 0x7F: skip the
  // plain ASCII before it eight bytes at a time.
  std::size_t ascii = 0;
  for (std::uint64_t eight; ascii + 8 <= bytes.size(); ascii += 8) {
    std::memcpy(&eight, bytes.data() + ascii, sizeof eight);
    if (eight & 0x8080808080808080ull) break;
  }
  bool all_ascii = true;
  if (CheckedUTF(bytes.substr(ascii), all_ascii) && !all_ascii) return TEncoding::UTF8()->GetString(bytes);
  return TEncoding::Default()->GetString(bytes);
}

}  // namespace

void Fail(const std::string& message, int code) {
  std::cerr << "quill: " << message << "\n";
  throw CLI::RuntimeError(code);
}

void AddCorpusOptions(CLI::App* app, CorpusOptions& options) {
  app->add_option("paths", options.paths, "Files and folders of the corpus (default: data/brown)");
  app->add_option("--mask", options.mask, "File masks for folders, separated by ';' (default: *)");
  app->add_flag("--subfolders,!--no-subfolders", options.subfolders, "Walk the folders below (default: on)");
  app->add_flag("--zip", options.zips, "Read the files inside zip archives too");
  app->add_option("--exclude-dirs", options.exclude_dirs, "Folder masks to leave out at any depth, ';'-separated");
  app->add_option("--exclude-ext", options.exclude_ext, "Extensions to leave out, e.g. '.bak;.tmp'");
  app->add_option("--lang", options.lang, "Language of the texts: locale name (de_DE) or LCID (0x0407)");
}

std::optional<fs::path> DefaultCorpus() {
  if (const char* env = std::getenv("QUILL_DEFAULT_CORPUS"); env != nullptr) {
    std::error_code error;
    if (fs::is_directory(env, error)) return fs::path(env);
    return std::nullopt;
  }
  std::error_code error;
  if (auto found = FindUpwards(fs::current_path(error), "data/brown")) return found;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (!error) return FindUpwards(program.parent_path(), "data/brown");
  return std::nullopt;
}

std::vector<CorpusFile> CollectCorpusFiles(const CorpusOptions& options) {
  ApplyLanguage(options.lang);
  std::vector<std::string> paths = options.paths;
  if (paths.empty()) {
    const auto corpus = DefaultCorpus();
    if (!corpus)
      Fail("no corpus named and the default corpus data/brown is not there: name files or folders, "
           "or run scripts/setup to fetch the Brown corpus",
           kExitFailure);
    paths.push_back(corpus->string());
  }
  for (const std::string& path : paths) {
    std::error_code error;
    if (!fs::exists(path, error) && !IsWithinAZipFile(Utf8ToUtf16(path))) Fail("no such file or folder: " + path, kExitFailure);
  }
  std::vector<CorpusFile> files;
  for (const std::string& path : paths) {
    const UnicodeString name = Utf8ToUtf16(path);
    std::error_code error;
    if (fs::is_directory(path, error)) {
      AddFolderFiles(options, name, files);
    } else if (fs::exists(path, error)) {
      const std::uintmax_t size = fs::file_size(path, error);
      files.push_back({name, error ? 0 : static_cast<std::int64_t>(size), false});
    } else {
      files.push_back({name, 0, true});  // a file inside an archive, named through the archive
    }
  }
  return files;
}

bool ReadCorpusText(const CorpusFile& file, UnicodeString& text) {
  try {
    if (file.in_zip)
      text = ContentsOfFileWithinZipFile(file.name);
    else if (const MappedFile mapped(Utf8(file.name)); mapped.Ok())
      text = DecodeCorpusBytes(mapped.Bytes());
    else
      text = DecodeCorpusBytes(ReadWholeFile(file.name));
    return true;
  } catch (const std::exception& e) {
    std::cerr << "quill: cannot read " << Utf8(file.name) << ": " << e.what() << "\n";
    return false;
  }
}

}  // namespace quill::cli
