#pragma once
// The one export macro of quillctl. The library is compiled with hidden
// visibility; the functions, classes and variables of its boundary carry
// QUILLCTL_API so that the shared object exports them.
#if defined(__GNUC__)
#define QUILLCTL_API __attribute__((visibility("default")))
#else
#define QUILLCTL_API
#endif
