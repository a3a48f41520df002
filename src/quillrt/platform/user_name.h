#pragma once
// The name of the user the process runs as: the effective user's login name from
// the password database, or $USER / $LOGNAME when the database has no entry for
// the user (as in many containers).
#include <cstdint>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// Reads the user's name into `name`. Returns 0 on success, otherwise an errno
// value saying why it could not be read (ENOENT when no source knows the user).
QUILLRT_API int CurrentUserName(UnicodeString& name);

// The classic two-call form. `size` holds the capacity of `buffer` in characters.
// On success the name is copied with a terminating null, `size` becomes the count
// copied including that null, and the result is true. On failure the result is
// false and errno says why: ERANGE when the buffer is too small (`size` then
// holds the capacity needed, null included), EINVAL for a null argument, or the
// reason reported by CurrentUserName.
QUILLRT_API bool GetUserNameW(WideChar* buffer, std::uint32_t* size);

}  // namespace quill
