#include "quillrt/process/log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>

#include "quillrt/framework/date_time.h"
#include "quillrt/framework/format.h"
#include "quillrt/framework/streams.h"
#include "quillrt/process/shared_state.h"

namespace quill {

namespace {

// The workbench's major version, part of the controller's tag.
constexpr int kWorkbenchMajorVersion = 7;

// A literal, not a string object: entries are still written during unload,
// when this file's objects may already be gone.
constexpr char16_t kLineEnd[] = u"\r\n";

// Appends the code units of `text` to `bytes`, little-endian.
void AppendUtf16LE(std::string& bytes, const UnicodeString& text) {
  bytes.reserve(bytes.size() + 2 * text.size());
  for (const WideChar unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
}

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Opens the file for appending; creates it when missing, in which case `created`
// is set. -1 on failure.
int OpenForAppend(const std::string& path, bool& created) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd >= 0 || errno != ENOENT) return fd;
    // Exclusive creation: a file that appears meanwhile is appended to, never
    // truncated or given a second byte-order mark.
    fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      created = true;
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

}  // namespace

TLogFile::~TLogFile() = default;

void TLogFile::SetFileName(const UnicodeString& file_name) {
  std::lock_guard guard(lock_);
  file_name_ = file_name;
}

UnicodeString TLogFile::FileName() const {
  std::lock_guard guard(lock_);
  return file_name_;
}

std::size_t TLogFile::PendingCount() const {
  std::lock_guard guard(lock_);
  return pending_.size();
}

bool TLogFile::WriteInProgress() const {
  std::lock_guard guard(lock_);
  return writing_;
}

void TLogFile::Add(const UnicodeString& text, bool add_line_end) {
  if (!keeping_log) return;  // cheap way out before any copying
  const UnicodeString entry = add_line_end ? text + kLineEnd : text;
  Write(&entry);
}

void TLogFile::FlushPending() { Write(nullptr); }

void TLogFile::Write(const UnicodeString* own_entry) {
  if (!keeping_log) return;
  UnicodeString file_name;
  std::vector<UnicodeString> earlier;
  {
    std::lock_guard guard(lock_);
    if (file_name_.empty()) return;
    if (writing_) {
      if (own_entry != nullptr) pending_.push_back(*own_entry);
      return;
    }
    if (own_entry == nullptr && pending_.empty()) return;
    writing_ = true;
    file_name = file_name_;
    earlier.swap(pending_);
  }
  // The flag is cleared on every way out.
  struct ClearFlag {
    TLogFile& log;
    ~ClearFlag() {
      std::lock_guard guard(log.lock_);
      log.writing_ = false;
    }
  } clear_flag{*this};

  bool written = false;
  try {
    const UnicodeString tag = LogToolTag(current_tool_var);
    UnicodeString text;
    for (const UnicodeString& line : earlier) text += tag + line;
    if (own_entry != nullptr) text += tag + *own_entry;
    written = AppendToFile(file_name, text);
  } catch (...) {
    written = false;
  }
  if (!written) keeping_log = false;
}

bool TLogFile::AppendToFile(const UnicodeString& file_name, const UnicodeString& text) {
  bool created = false;
  const int fd = OpenForAppend(SystemPath(file_name), created);
  if (fd < 0) return false;
  std::string bytes;
  if (created) bytes = "\xFF\xFE";
  AppendUtf16LE(bytes, text);
  const bool written = WriteAll(fd, bytes);
  const bool closed = ::close(fd) == 0;
  return written && closed;
}

void TLogFile::StartNewSection() {
  if (!keeping_log) return;
  UnicodeString started;
  try {
    started = u"LOG STARTED at " + DateTimeToStr(Now());
  } catch (...) {
    return;  // no usable clock or format: no section rather than an exception
  }
  Add(UnicodeString(10, u'*'), true);
  Add(started, true);
}

void TLogFile::Clear() {
  try {
    const UnicodeString file_name = FileName();
    if (file_name.empty()) return;
    const std::string path = SystemPath(file_name);
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return;
    if (::unlink(path.c_str()) != 0) return;
    StartNewSection();
  } catch (...) {
    // Clearing the log is a convenience; it never disturbs the caller.
  }
}

void TLogFile::Finalise(const UnicodeString& farewell) {
  Add(farewell, true);  // takes the pending lines with it when it is written
  FlushPending();       // whatever a write under way kept from it
  Close();
}

void TLogFile::Close() {
  std::lock_guard guard(lock_);
  pending_.clear();
  pending_.shrink_to_fit();
  file_name_.clear();
}

TLogFile& ProcessLog() {
  static TLogFile log;
  return log;
}

UnicodeString LogToolTag(tool_type kind) {
  switch (kind) {
    case tool_word_lister: return u"(W): ";
    case tool_concordancer: return u"(C): ";
    case tool_keyness: return u"(K): ";
    case tool_char_ngrams: return u"(CHRG): ";
    case tool_controller: return u"(QY" + Utf8ToUtf16(std::to_string(kWorkbenchMajorVersion)) + u"): ";
    case tool_text_converter: return u"(TXC): ";
    case tool_concgrams: return u"(CGR): ";
    case tool_language_chooser: return u"(LNG): ";
    case tool_viewer_aligner: return u"(VA): ";
    case tool_char_profiler: return u"(CA): ";
    case tool_minimal_pairs: return u"(MP): ";
    case tool_file_utilities: return u"(FU): ";
    case tool_api: return u"(API): ";
    case tool_file_viewer: return u"(FV): ";
    case tool_corpus_checker: return u"(CC): ";
    case tool_lexpool: return u"(WDB): ";
    case tool_any_main:
    case tool_reserved_8:
    case tool_spare_10:
    case tool_spare_12:
    case tool_version_checker:
    case tool_none: break;
  }
  return u"(\?\?)";  // also for a value outside the enumeration
}

void SetLogFilename(const UnicodeString& file_name) { ProcessLog().SetFileName(file_name); }
UnicodeString GetLogFilename() { return ProcessLog().FileName(); }
void AddToLogFile(const UnicodeString& text, bool add_line_end) { ProcessLog().Add(text, add_line_end); }
void StartNewLogSection() { ProcessLog().StartNewSection(); }
void ClearLogFile() { ProcessLog().Clear(); }

}  // namespace quill
