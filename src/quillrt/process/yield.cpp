#include "quillrt/process/yield.h"

namespace quill {

TYieldProcessProc AYieldProcessProc;

}  // namespace quill
