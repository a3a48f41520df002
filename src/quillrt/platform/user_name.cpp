#include "quillrt/platform/user_name.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <vector>

namespace quill {

namespace {

// The name from the password database; 0 or the errno-like reason it failed.
int PasswordDatabaseName(std::string& name) {
  long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(static_cast<std::size_t>(suggested > 0 ? suggested : 1024));
  for (;;) {
    passwd entry{};
    passwd* found = nullptr;
    const int rc = getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found);
    if (rc == ERANGE && buffer.size() < (1u << 20)) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (rc != 0) return rc;
    if (found == nullptr || found->pw_name == nullptr || *found->pw_name == '\0') return ENOENT;
    name = found->pw_name;
    return 0;
  }
}

}  // namespace

int CurrentUserName(UnicodeString& name) {
  std::string utf8;
  int rc = PasswordDatabaseName(utf8);
  if (rc != 0) {
    for (const char* variable : {"USER", "LOGNAME"}) {
      const char* value = std::getenv(variable);
      if (value != nullptr && *value != '\0') {
        utf8 = value;
        rc = 0;
        break;
      }
    }
  }
  if (rc != 0) return rc;
  name = Utf8ToUtf16(utf8);
  return 0;
}

bool GetUserNameW(WideChar* buffer, std::uint32_t* size) {
  if (buffer == nullptr || size == nullptr) {
    errno = EINVAL;
    return false;
  }
  UnicodeString name;
  if (const int rc = CurrentUserName(name); rc != 0) {
    errno = rc;
    return false;
  }
  const std::uint64_t needed = name.size() + 1;
  if (needed > *size) {
    *size = static_cast<std::uint32_t>(std::min<std::uint64_t>(needed, UINT32_MAX));
    errno = ERANGE;
    return false;
  }
  std::copy(name.begin(), name.end(), buffer);
  buffer[name.size()] = u'\0';
  *size = static_cast<std::uint32_t>(needed);
  return true;
}

}  // namespace quill
