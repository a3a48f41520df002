#pragma once
// The exception hierarchy. Every exception the libraries raise derives from
// Exception, which holds the message as UTF-16 text (what() gives it in UTF-8).
#include <exception>
#include <string>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

class QUILLRT_API Exception : public std::exception {
 public:
  explicit Exception(UnicodeString message);
  explicit Exception(std::string_view utf8_message);
  ~Exception() override;

  const UnicodeString& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  UnicodeString message_;
  std::string utf8_;
};

// Declares a class derived from `base` that takes the base's constructors.
#define QUILL_DECLARE_EXCEPTION(name, base) \
  class QUILLRT_API name : public base {    \
   public:                                  \
    using base::base;                       \
    ~name() override;                       \
  }

QUILL_DECLARE_EXCEPTION(EConvertError, Exception);    // a text that is not a number, a bad date ...
QUILL_DECLARE_EXCEPTION(EListError, Exception);       // index out of range, duplicates refused
QUILL_DECLARE_EXCEPTION(EStreamError, Exception);     // a stream count beyond its limit and kin
QUILL_DECLARE_EXCEPTION(EReadError, EStreamError);    // a read that delivered fewer bytes than asked
QUILL_DECLARE_EXCEPTION(EWriteError, EStreamError);   // a write that took fewer bytes than given
QUILL_DECLARE_EXCEPTION(EFOpenError, EStreamError);   // a file that could not be opened
QUILL_DECLARE_EXCEPTION(EFCreateError, EStreamError); // a file that could not be created
QUILL_DECLARE_EXCEPTION(EInOutError, Exception);      // other input and output failures
QUILL_DECLARE_EXCEPTION(EInvalidCast, Exception);     // an entry of the wrong class
QUILL_DECLARE_EXCEPTION(EAbort, Exception);           // a silent abort of an operation

// An operating-system failure; the message is the system's text for the code.
class QUILLRT_API EOSError : public Exception {
 public:
  EOSError(int error_code, const UnicodeString& context);
  ~EOSError() override;
  int ErrorCode() const noexcept { return error_code_; }

 private:
  int error_code_;
};

// The system's message for an errno value, as UTF-16.
QUILLRT_API UnicodeString SysErrorMessage(int error_code);

// Raises EOSError for the current errno ("RaiseLastOSError").
[[noreturn]] QUILLRT_API void RaiseLastOSError(const UnicodeString& context = {});

}  // namespace quill
