#pragma once
// The diagnostic log: one UTF-16LE text file to which any part of the libraries
// appends entries while the tool has switched logging on.
//
// - Nothing is written while `keeping_log` (shared_state.h) is false or no file
//   name is set.
// - Every entry is the tag of the running tool (LogToolTag of current_tool_var,
//   taken when the entry is written), the caller's text and, normally, CR LF.
// - The file is opened, appended to and closed for every entry. A file the log
//   creates starts with the byte-order mark FF FE; an existing file is appended
//   to whatever it holds. There is no size limit or rotation.
// - Any failure to write switches `keeping_log` off for the rest of the process.
//   The caller is never told: logging must not disturb the work being logged.
//
// Entries that arrive while another entry is being written (from another thread,
// or from code the write itself calls) are not written then: their text waits in
// a pending list, so that the file is never opened twice at once. The next write
// takes them all out of the list and puts them into the file ahead of its own
// entry, each with its own tag, in the order they arrived. So every line reaches
// the file exactly once. At unload (FinaliseProcessServices) whatever is still
// pending is written the same way, without an entry of its own.
#include <cstddef>
#include <mutex>
#include <vector>

#include "quillrt/framework/strings.h"
#include "quillrt/process/tool_kinds.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// The log of the process. The free functions below act on one instance of it;
// the class exists so that the write can be observed and provoked in tests.
class QUILLRT_API TLogFile {
 public:
  TLogFile() = default;
  TLogFile(const TLogFile&) = delete;
  TLogFile& operator=(const TLogFile&) = delete;
  virtual ~TLogFile();

  void SetFileName(const UnicodeString& file_name);
  UnicodeString FileName() const;

  // Appends one entry: tag, text and CR LF when `add_line_end` is true.
  void Add(const UnicodeString& text, bool add_line_end);
  // A line of ten asterisks, then "LOG STARTED at " and the current date and
  // time in the user's format; both as whole lines.
  void StartNewSection();
  // When a name is set and the file exists: deletes it and starts a new section
  // (in a fresh file). Swallows every failure.
  void Clear();
  // Writes the lines still pending, each with its tag, without an entry of its own.
  void FlushPending();
  // Forgets the pending lines and the file name.
  void Close();
  // The log's part of unloading: writes `farewell` as an entry (when logging is
  // on), then any line still pending, and closes.
  void Finalise(const UnicodeString& farewell);

  std::size_t PendingCount() const;
  bool WriteInProgress() const;

 protected:
  // Appends `text` as UTF-16LE to the file, creating it with its byte-order mark
  // when it does not exist. Returns false (or raises) on any failure.
  virtual bool AppendToFile(const UnicodeString& file_name, const UnicodeString& text);

 private:
  // The common write step; `own_entry` is null when only pending lines are due.
  void Write(const UnicodeString* own_entry);

  mutable std::mutex lock_;  // guards the three fields below, never held while writing
  UnicodeString file_name_;
  bool writing_ = false;
  std::vector<UnicodeString> pending_;
};

// The process's log, created on first use.
QUILLRT_API TLogFile& ProcessLog();

// The tag that starts every entry written while `kind` is the running tool:
// "(W): " for the word lister, "(QY7): " for the controller, ... and "(??)"
// (no colon, no blank) for the kinds without a tag of their own.
QUILLRT_API UnicodeString LogToolTag(tool_type kind);

// The log's operations as free functions on ProcessLog().
QUILLRT_API void SetLogFilename(const UnicodeString& file_name);
QUILLRT_API UnicodeString GetLogFilename();
QUILLRT_API void AddToLogFile(const UnicodeString& text, bool add_line_end = true);
QUILLRT_API void StartNewLogSection();
QUILLRT_API void ClearLogFile();

}  // namespace quill
