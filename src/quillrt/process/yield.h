#pragma once
// The cooperative yield hook. Long loops everywhere call MyYieldProcess once per
// step; a tool installs its message pump in AYieldProcessProc so that its window
// stays responsive while the libraries work.
#include <functional>

#include "quillrt/quillrt_export.h"

namespace quill {

using TYieldProcessProc = std::function<void()>;

// The hook; empty at load and cleared at unload.
extern QUILLRT_API TYieldProcessProc AYieldProcessProc;

// Calls the hook when one is set; otherwise does nothing. One test, one call.
inline void MyYieldProcess() {
  if (AYieldProcessProc) AYieldProcessProc();
}

}  // namespace quill
