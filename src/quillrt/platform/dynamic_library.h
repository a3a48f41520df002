#pragma once
// Loading shared libraries and looking up their functions by name, over
// dlopen/dlsym/dlclose.
//
// Module handles are unsigned 32-bit numbers, because callers keep them in stored
// records with a 32-bit field. A dlopen handle is a pointer and does not fit in 32
// bits on a 64-bit system, so this unit keeps a table of the libraries it has
// opened and hands out small ids instead. An id is never 0 (0 means "no library").
// Loading the same library again returns the same id, and each successful load
// must be balanced by one FreeLibrary, as the underlying loader counts them.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

using HMODULE = std::uint32_t;

// Loads the library `file_name` (a path, or a name the loader searches for, such
// as "libm.so.6"). Returns its handle, or 0 when it cannot be loaded (an empty
// name included: it would otherwise give the main program).
QUILLRT_API HMODULE LoadLibraryW(const UnicodeString& file_name);

// The address of the exported symbol `proc_name` of `module`, or null when the
// module is unknown or does not export the name.
QUILLRT_API void* GetProcAddress(HMODULE module, const std::string& proc_name);

// Releases one load of `module`. False when the handle is unknown (already freed
// or never loaded) or the loader refuses.
QUILLRT_API bool FreeLibrary(HMODULE module);

// The loader's message for the most recent failure of the three calls above on
// this thread, empty when the last call succeeded.
QUILLRT_API UnicodeString LastLibraryError();

// For a library that is loaded when first needed rather than linked: opens
// `soname` for the rest of the process's life and looks up each of `names`.
// Their addresses in the same order; or nothing, with the loader's reason in
// `reason`, when the library or a name cannot be found (the library is then
// let go again).
QUILLRT_API std::optional<std::vector<void*>> LoadLibraryForGood(const char* soname,
                                                                 std::span<const char* const> names,
                                                                 std::string& reason);

}  // namespace quill
