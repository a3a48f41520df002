#include "quillrt/process/user_identity.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <cstdint>

#include "quillrt/framework/exceptions.h"
#include "quillrt/platform/user_name.h"

namespace quill {

namespace {
constexpr std::uint32_t kNameCapacity = 1024;  // characters, terminating null included
}

UnicodeString Registry_Current_User() {
  WideChar buffer[kNameCapacity];
  std::uint32_t size = kNameCapacity;
  if (!GetUserNameW(buffer, &size)) RaiseLastOSError(u"cannot read the user name");
  // The reported size counts the terminating null.
  return UnicodeString(buffer, size > 0 ? size - 1 : 0);
}

UnicodeString Registry_Current_User_Initials() { return UpperCaseInitials(Registry_Current_User()); }

UnicodeString UpperCaseInitials(const UnicodeString& name) {
  UnicodeString initials;
  int letters = 0;
  const std::int32_t length = static_cast<std::int32_t>(name.size());
  for (std::int32_t i = 0; i < length && letters < 2;) {
    const std::int32_t start = i;
    UChar32 c;
    U16_NEXT(name.data(), i, length, c);
    // A letter outside the basic plane is two units and is taken whole.
    if (u_isupper(c)) {
      initials.append(name, static_cast<std::size_t>(start), static_cast<std::size_t>(i - start));
      ++letters;
    }
  }
  return initials;
}

}  // namespace quill
