#pragma once
// What the libraries need around external programs and libraries: explaining the
// shell's result code for a program or document a tool tried to start, and
// finding one function of a shared library by name.
#include <cstdint>

#include "quillrt/framework/strings.h"
#include "quillrt/platform/dynamic_library.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// Explains the result code the shell gave for starting `file_name`: codes below
// 32 are failures and are shown in a message box (empty caption, OK button);
// 32 and above mean success and show nothing. Returns `code` unchanged.
QUILLRT_API std::uint32_t CheckExec(std::uint32_t code, const UnicodeString& file_name);

// The message CheckExec shows for `code`, empty for codes of 32 and above.
QUILLRT_API UnicodeString ExecErrorMessage(std::uint32_t code, const UnicodeString& file_name);

// A function found in a shared library, with the library that holds it.
struct Tlibrary_rec {
  void* FPointer = nullptr;  // the function's address, or null
  std::uint32_t Hinst = 0;   // the loaded library's handle, or 0
};

// Loads `library_name` and looks up `function_name` in it. When the library
// loads but lacks the function, FPointer is null and Hinst still holds the
// library: release it with CloseLibraryFunction whenever Hinst is not 0.
QUILLRT_API Tlibrary_rec FindLibraryFunction(const UnicodeString& library_name, const UnicodeString& function_name);

// Releases the library of `rec` and clears both fields. Returns whether the
// release succeeded (false for a record that holds no library).
QUILLRT_API bool CloseLibraryFunction(Tlibrary_rec& rec);

}  // namespace quill
