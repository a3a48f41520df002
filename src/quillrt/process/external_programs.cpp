#include "quillrt/process/external_programs.h"

#include "quillrt/platform/dialogs.h"

namespace quill {

namespace {

// The extension of `file_name` with its dot ("" when the last name has none).
// Both slashes count as folder separators: the names come from the shell.
UnicodeString ExtensionWithDot(const UnicodeString& file_name) {
  const std::size_t dot = file_name.find_last_of(u"./\\");
  if (dot == UnicodeString::npos || file_name[dot] != u'.') return {};
  return file_name.substr(dot);
}

}  // namespace

UnicodeString ExecErrorMessage(std::uint32_t code, const UnicodeString& file_name) {
  switch (code) {
    case 0:
    case 8: return u"Not enough memory to run " + file_name;
    case 2:
    case 3:
    case 5: return u"Can't access " + file_name;
    case 16: return file_name + u" already running";
    case 26: return u"Sharing problem: " + file_name;
    case 27:
    case 31: return u"Can't handle files ending \"" + ExtensionWithDot(file_name) + u"\"";
    default: break;
  }
  if (code < 32) return u"Can't communicate with " + file_name;
  return {};
}

std::uint32_t CheckExec(std::uint32_t code, const UnicodeString& file_name) {
  if (code < 32) ShowMessageBox(UnicodeString(), ExecErrorMessage(code, file_name), MB_ICONNONE, MB_OK);
  return code;
}

Tlibrary_rec FindLibraryFunction(const UnicodeString& library_name, const UnicodeString& function_name) {
  Tlibrary_rec rec;
  rec.Hinst = LoadLibraryW(library_name);
  if (rec.Hinst != 0) rec.FPointer = GetProcAddress(rec.Hinst, Utf16ToUtf8(function_name));
  return rec;
}

bool CloseLibraryFunction(Tlibrary_rec& rec) {
  const bool released = rec.Hinst != 0 && FreeLibrary(rec.Hinst);
  rec.FPointer = nullptr;
  rec.Hinst = 0;
  return released;
}

}  // namespace quill
