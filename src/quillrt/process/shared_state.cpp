#include "quillrt/process/shared_state.h"

namespace quill {

// Constant-initialised: the values hold before any other unit's code runs.
tool_type current_tool_var = tool_controller;
Tpanic_mode panic_mode = panic_no_panic;
bool yes_to_all = false;
bool no_to_all = false;
bool Global_ErrorMessageBusy = false;
bool keeping_log = false;

}  // namespace quill
