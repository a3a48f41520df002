#include "quillrt/framework/exceptions.h"

#include <cerrno>
#include <cstring>

namespace quill {

Exception::Exception(UnicodeString message)
    : message_(std::move(message)), utf8_(Utf16ToUtf8(message_)) {}

Exception::Exception(std::string_view utf8_message)
    : message_(Utf8ToUtf16(utf8_message)), utf8_(utf8_message) {}

Exception::~Exception() = default;

// Out-of-line destructors anchor each class's type information in quillrt, so
// that a catch in a tool matches an exception thrown inside the library.
EConvertError::~EConvertError() = default;
EListError::~EListError() = default;
EStreamError::~EStreamError() = default;
EReadError::~EReadError() = default;
EWriteError::~EWriteError() = default;
EFOpenError::~EFOpenError() = default;
EFCreateError::~EFCreateError() = default;
EInOutError::~EInOutError() = default;
EInvalidCast::~EInvalidCast() = default;
EAbort::~EAbort() = default;

UnicodeString SysErrorMessage(int error_code) {
  char buffer[256] = {};
  // The GNU strerror_r may return a static string instead of filling the buffer.
  const char* text = strerror_r(error_code, buffer, sizeof buffer);
  return Utf8ToUtf16(text ? text : buffer);
}

namespace {
UnicodeString OsErrorText(int code, const UnicodeString& context) {
  UnicodeString text = u"System Error.  Code: " + Utf8ToUtf16(std::to_string(code)) + u".\n" +
                       SysErrorMessage(code);
  if (!context.empty()) text = context + u": " + text;
  return text;
}
}  // namespace

EOSError::EOSError(int error_code, const UnicodeString& context)
    : Exception(OsErrorText(error_code, context)), error_code_(error_code) {}

EOSError::~EOSError() = default;

void RaiseLastOSError(const UnicodeString& context) { throw EOSError(errno, context); }

}  // namespace quill
