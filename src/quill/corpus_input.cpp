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

// What a file's bytes hold. UTF-16 shows itself in its first bytes (a
// byte-order mark, the statistics of its units, the zero bytes of Latin
// text), so only a sample is tested for it: the statistical test over a whole
// large corpus file would cost more than counting its words. The rest is judged as the file utilities judge it:
// UTF-8 when well-formed up to its first non-ASCII character, else the 8-bit
// code page.
struct TextKind {
  enum Encoding { utf16, utf16_big_endian, utf8, eight_bit } encoding;
  std::size_t mark;  // bytes of byte-order mark to skip
};

TextKind KindOfText(std::string_view bytes) {
  constexpr std::size_t kSample = 1 << 16;
  std::size_t mark = 0;
  if (const TEncoding* marked = TEncoding::DetectFromPreamble(bytes, mark)) {
    if (marked == TEncoding::Unicode()) return {TextKind::utf16, mark};
    if (marked == TEncoding::BigEndianUnicode()) return {TextKind::utf16_big_endian, mark};
    return {TextKind::utf8, mark};
  }
  const std::size_t sample = std::min(bytes.size(), kSample) & ~std::size_t{1};
  const TFileContentsSet kind = FileBufferType(bytes.data(), true, static_cast<std::int64_t>(sample));
  if (kind.Contains(fc_16_bit_reversed)) return {TextKind::utf16_big_endian, 0};
  // Without a mark, the zero high bytes of the Latin characters tell the byte
  // order (and betray UTF-16 that the statistics missed): zeros at even
  // offsets are big-endian.
  std::size_t zero_even = 0, zero_odd = 0;
  for (std::size_t i = 0; i < sample; ++i)
    if (bytes[i] == 0) ++(i % 2 == 0 ? zero_even : zero_odd);
  const bool big_endian_zeros = zero_even > zero_odd;
  if (kind.Contains(fc_16_bit)) return {big_endian_zeros ? TextKind::utf16_big_endian : TextKind::utf16, 0};
  const std::size_t zeros = zero_even + zero_odd;
  if (zeros * 8 > sample && std::max(zero_even, zero_odd) * 10 >= zeros * 9)
    return {big_endian_zeros ? TextKind::utf16_big_endian : TextKind::utf16, 0};
  // The UTF-8 test looks no further than the first byte above 0x7F: skip the
  // plain ASCII before it eight bytes at a time.
  std::size_t ascii = 0;
  for (std::uint64_t eight; ascii + 8 <= bytes.size(); ascii += 8) {
    std::memcpy(&eight, bytes.data() + ascii, sizeof eight);
    if (eight & 0x8080808080808080ull) break;
  }
  bool all_ascii = true;
  if (CheckedUTF(bytes.substr(ascii), all_ascii) && !all_ascii) return {TextKind::utf8, 0};
  return {TextKind::eight_bit, 0};
}

UnicodeString DecodeCorpusBytes(std::string_view bytes) {
  if (bytes.size() < 4) return DecodedTextBytes(bytes);  // too short to judge by content
  const TextKind kind = KindOfText(bytes);
  switch (kind.encoding) {
    case TextKind::utf16: return TEncoding::Unicode()->GetString(bytes.substr(kind.mark));
    case TextKind::utf16_big_endian: return TEncoding::BigEndianUnicode()->GetString(bytes.substr(kind.mark));
    case TextKind::utf8: return TEncoding::UTF8()->GetString(bytes.substr(kind.mark));
    case TextKind::eight_bit: break;
  }
  return TEncoding::Default()->GetString(bytes);
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

bool IsAsciiBreak(unsigned c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Hands over `bytes` in pieces that end after an ASCII blank or line end, each
// decoded by `decode`. For UTF-8 and single-byte code pages such a byte is a
// character of its own.
void InPieces(std::string_view bytes, const std::function<void(std::string_view)>& decode) {
  constexpr std::size_t kPiece = 4 << 20;
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t end = std::min(bytes.size(), at + kPiece);
    while (end < bytes.size() && !IsAsciiBreak(static_cast<unsigned char>(bytes[end - 1]))) ++end;
    decode(bytes.substr(at, end - at));
    at = end;
  }
}

// The same for UTF-16 of either byte order: pieces end after a unit that is an
// ASCII blank or line end.
void InUtf16Pieces(std::string_view bytes, bool big_endian, const std::function<void(std::string_view)>& decode) {
  constexpr std::size_t kPiece = 4 << 20;
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t end = std::min(bytes.size(), at + kPiece) & ~std::size_t{1};
    if (end <= at) end = bytes.size();
    while (end < bytes.size()) {
      const auto b0 = static_cast<unsigned char>(bytes[end - 2]), b1 = static_cast<unsigned char>(bytes[end - 1]);
      const unsigned unit = big_endian ? (b0 << 8) | b1 : (b1 << 8) | b0;
      if (IsAsciiBreak(unit)) break;
      end += 2;
    }
    decode(bytes.substr(at, std::min(end, bytes.size()) - at));
    at = std::min(end, bytes.size());
  }
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

namespace quill::cli {

bool ReadCorpusTextInPieces(const CorpusFile& file, const std::function<void(std::u16string_view piece)>& take) {
  if (file.in_zip) {
    UnicodeString text;
    if (!ReadCorpusText(file, text)) return false;
    take(text);
    return true;
  }
  try {
    const MappedFile mapped(Utf8(file.name));
    std::string read;
    if (!mapped.Ok()) read = ReadWholeFile(file.name);
    std::string_view bytes = mapped.Ok() ? mapped.Bytes() : std::string_view(read);
    if (bytes.size() <= (1u << 16)) {
      take(DecodeCorpusBytes(bytes));
      return true;
    }
    std::vector<char16_t> wide;  // ASCII pieces are widened here, without a new string each time
    const auto ascii_or = [&](const TEncoding* encoding) {
      return [&, encoding](std::string_view piece) {
        std::uint64_t any = 0;
        std::size_t k = 0;
        for (std::uint64_t eight; k + 8 <= piece.size(); k += 8) {
          std::memcpy(&eight, piece.data() + k, sizeof eight);
          any |= eight;
        }
        for (; k < piece.size(); ++k) any |= static_cast<unsigned char>(piece[k]);
        if (any & 0x8080808080808080ull) {
          take(encoding->GetString(piece));
          return;
        }
        wide.resize(piece.size());
        for (std::size_t i = 0; i < piece.size(); ++i) wide[i] = static_cast<unsigned char>(piece[i]);
        take(std::u16string_view(wide.data(), wide.size()));
      };
    };
    switch (const TextKind kind = KindOfText(bytes); kind.encoding) {
      case TextKind::utf16:
        InUtf16Pieces(bytes.substr(kind.mark), false,
                      [&](std::string_view piece) { take(TEncoding::Unicode()->GetString(piece)); });
        break;
      case TextKind::utf16_big_endian:
        InUtf16Pieces(bytes.substr(kind.mark), true,
                      [&](std::string_view piece) { take(TEncoding::BigEndianUnicode()->GetString(piece)); });
        break;
      case TextKind::utf8:
        InPieces(bytes.substr(kind.mark), ascii_or(TEncoding::UTF8()));
        break;
      case TextKind::eight_bit:
        if (KeepsAscii(GetACP()))
          InPieces(bytes, ascii_or(TEncoding::Default()));
        else
          take(TEncoding::Default()->GetString(bytes));
        break;
    }
    return true;
  } catch (const std::exception& e) {
    std::cerr << "quill: cannot read " << Utf8(file.name) << ": " << e.what() << "\n";
    return false;
  }
}

}  // namespace quill::cli

namespace quill::cli {

void AppendWithoutPosTags(std::u16string_view text, std::u16string& out) {
  const auto is_space = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; };
  std::size_t i = 0;
  while (i < text.size()) {
    if (is_space(text[i])) {
      out.push_back(text[i++]);
      continue;
    }
    const std::size_t start = i;
    while (i < text.size() && !is_space(text[i])) ++i;
    const std::u16string_view token = text.substr(start, i - start);
    const std::size_t slash = token.rfind(u'/');
    out.append(slash != std::u16string_view::npos && slash > 0 ? token.substr(0, slash) : token);
  }
}

}  // namespace quill::cli
