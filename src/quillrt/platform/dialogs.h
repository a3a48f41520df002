#pragma once
// Message boxes. The libraries never talk to a window system themselves: every
// question or notice goes through one replaceable hook that receives the caption,
// the text, the icon and the button set and returns the button chosen. The values
// follow the classic MB_ / ID constants so that callers read naturally.
//
// The default hook has no user interface: it writes the caption and the text to
// stderr (UTF-8) and answers the non-destructive choice, so that an unattended run
// never deletes or overwrites anything because of a question nobody saw. A GUI
// installs a dialog; the command-line tool installs a prompt (or answers yes).
#include <cstdint>
#include <functional>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// The icon shown beside the text.
enum TMsgBoxIcon : std::uint32_t {
  MB_ICONNONE = 0x00,
  MB_ICONERROR = 0x10,  // also known as "hand" or "stop"
  MB_ICONQUESTION = 0x20,
  MB_ICONWARNING = 0x30,  // also known as "exclamation"
  MB_ICONINFORMATION = 0x40,  // also known as "asterisk"
};

// The buttons offered.
enum TMsgBoxButtons : std::uint32_t {
  MB_OK = 0,
  MB_OKCANCEL = 1,
  MB_ABORTRETRYIGNORE = 2,
  MB_YESNOCANCEL = 3,
  MB_YESNO = 4,
  MB_RETRYCANCEL = 5,
  MB_CANCELTRYCONTINUE = 6,
};

// The button chosen.
enum TMsgBoxAnswer : std::int32_t {
  IDOK = 1,
  IDCANCEL = 2,
  IDABORT = 3,
  IDRETRY = 4,
  IDIGNORE = 5,
  IDYES = 6,
  IDNO = 7,
  IDTRYAGAIN = 10,
  IDCONTINUE = 11,
};

using TMessageBoxHook = std::function<TMsgBoxAnswer(const UnicodeString& caption, const UnicodeString& text,
                                                    TMsgBoxIcon icon, TMsgBoxButtons buttons)>;

// Shows a modal message box through the installed hook and returns the answer.
QUILLRT_API TMsgBoxAnswer ShowMessageBox(const UnicodeString& caption, const UnicodeString& text,
                                         TMsgBoxIcon icon, TMsgBoxButtons buttons);

// Installs `hook` and returns the one it replaces (never empty). An empty hook
// reinstalls the default.
QUILLRT_API TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook);

// The answer that does no harm for a button set: No for yes/no, Cancel wherever
// there is a Cancel, Abort for abort/retry/ignore (retrying without a user would
// loop and ignoring would carry on regardless), OK for OK alone.
QUILLRT_API TMsgBoxAnswer NonDestructiveAnswer(TMsgBoxButtons buttons);

// The default hook: writes the question to stderr and answers NonDestructiveAnswer.
QUILLRT_API TMsgBoxAnswer DefaultMessageBoxHook(const UnicodeString& caption, const UnicodeString& text,
                                                TMsgBoxIcon icon, TMsgBoxButtons buttons);

}  // namespace quill
