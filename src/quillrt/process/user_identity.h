#pragma once
// The logged-on user's name and initials, as the tools show them (for instance
// to stamp saved lists).
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// The user's name as the operating system reports it (at most 1023 characters).
// Raises EOSError when the name cannot be read.
QUILLRT_API UnicodeString Registry_Current_User();

// The first two upper-case letters of the user's name, in order ("JS" for
// maryJaneSmith); empty when the name has none. Raises as Registry_Current_User.
QUILLRT_API UnicodeString Registry_Current_User_Initials();

// The initials rule on its own: the first two upper-case letters of `name`.
QUILLRT_API UnicodeString UpperCaseInitials(const UnicodeString& name);

}  // namespace quill
