#include "quillrt/platform/dialogs.h"

#include <cstdio>
#include <string>
#include <utility>

namespace quill {

namespace {

TMessageBoxHook& InstalledHook() {
  // Constructed on first use so that message boxes shown while other units load
  // or unload still find a hook.
  static TMessageBoxHook hook = DefaultMessageBoxHook;
  return hook;
}

const char* AnswerName(TMsgBoxAnswer answer) {
  switch (answer) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "Abort";
    case IDRETRY: return "Retry";
    case IDIGNORE: return "Ignore";
    case IDYES: return "Yes";
    case IDNO: return "No";
    case IDTRYAGAIN: return "Try again";
    case IDCONTINUE: return "Continue";
  }
  return "?";
}

}  // namespace

TMsgBoxAnswer NonDestructiveAnswer(TMsgBoxButtons buttons) {
  switch (buttons) {
    case MB_OK: return IDOK;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    case MB_YESNO: return IDNO;
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
    case MB_RETRYCANCEL:
    case MB_CANCELTRYCONTINUE: return IDCANCEL;
  }
  return IDCANCEL;  // an unknown button set: the safest refusal
}

TMsgBoxAnswer DefaultMessageBoxHook(const UnicodeString& caption, const UnicodeString& text, TMsgBoxIcon,
                                    TMsgBoxButtons buttons) {
  const TMsgBoxAnswer answer = NonDestructiveAnswer(buttons);
  std::string out;
  if (!caption.empty()) out += Utf16ToUtf8(caption) + "\n";
  out += Utf16ToUtf8(text) + "\n";
  if (buttons != MB_OK) out += std::string("(no one to ask: answered ") + AnswerName(answer) + ")\n";
  std::fwrite(out.data(), 1, out.size(), stderr);
  std::fflush(stderr);
  return answer;
}

TMsgBoxAnswer ShowMessageBox(const UnicodeString& caption, const UnicodeString& text, TMsgBoxIcon icon,
                             TMsgBoxButtons buttons) {
  // Call a copy: the hook may replace itself while its dialog is showing.
  const TMessageBoxHook hook = InstalledHook();
  return hook(caption, text, icon, buttons);
}

TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook) {
  if (!hook) hook = DefaultMessageBoxHook;
  return std::exchange(InstalledHook(), std::move(hook));
}

}  // namespace quill
