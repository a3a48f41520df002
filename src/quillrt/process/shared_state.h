#pragma once
// Process-wide flags that the tools set and the libraries read (or the reverse).
// All are plain variables: every call comes on the tool's user-interface thread.
#include <cstdint>

#include "quillrt/process/tool_kinds.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// A stop request that a tool raises for its own long operations.
enum Tpanic_mode : std::uint8_t {
  panic_no_panic,
  panic_stop_at_EOF,
  panic_stop_asap,
  panic_stop,
};

// The running tool's kind; tool_controller at load. Chooses the log's tag.
extern QUILLRT_API tool_type current_tool_var;
// panic_no_panic at load; the tools read and raise it.
extern QUILLRT_API Tpanic_mode panic_mode;
// Shared answers of the tools' yes-to-all and no-to-all prompts; false at load.
extern QUILLRT_API bool yes_to_all;
extern QUILLRT_API bool no_to_all;
// Set by a tool while it shows an error message; false at load.
extern QUILLRT_API bool Global_ErrorMessageBusy;
// Master switch of the log; false at load. The tools set it; a failed write of
// the log turns it off for the rest of the process.
extern QUILLRT_API bool keeping_log;

}  // namespace quill
