#include "quillrt/process/yield.h"

#include "quillrt/process/log.h"

namespace quill {

// Defined ahead of the finaliser below so that, in this file's order of
// construction, the hook outlives it.
TYieldProcessProc AYieldProcessProc;

void FinaliseProcessServices() {
  // Nothing a log write does calls the hook, so emptying it first changes
  // nothing for the log and keeps a tool's pump from running during unload.
  AYieldProcessProc = nullptr;
  ProcessLog().Finalise(u"quit myKpSmall");
}

namespace {

// Runs the unload steps. Its constructor creates the log first, so that the log
// is destroyed after this object and is still there when the destructor runs.
struct ProcessServicesFinaliser {
  ProcessServicesFinaliser() { ProcessLog(); }
  ~ProcessServicesFinaliser() { FinaliseProcessServices(); }
  ProcessServicesFinaliser(const ProcessServicesFinaliser&) = delete;
  ProcessServicesFinaliser& operator=(const ProcessServicesFinaliser&) = delete;
};

const ProcessServicesFinaliser finaliser;

}  // namespace

}  // namespace quill
