#pragma once
// The cooperative yield hook. Long loops everywhere call MyYieldProcess once per
// step; a tool installs its message pump in AYieldProcessProc so that its window
// stays responsive while the libraries work. Code that must not be re-entered
// saves the hook, empties it while it runs and puts it back afterwards.
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

// The process services' part of unloading the library, run by a static object
// when the library is unloaded (or the program ends): when logging is on, the
// entry "quit myKpSmall" is written; the yield hook is emptied; lines still
// waiting in the log's pending list are written; the list is released and the
// log's file name cleared. Running it again writes nothing more.
QUILLRT_API void FinaliseProcessServices();

}  // namespace quill
