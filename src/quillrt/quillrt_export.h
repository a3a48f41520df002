#pragma once
// The one export macro of quillrt. Everything is compiled with hidden visibility;
// the functions, classes and variables that form the library's boundary carry
// QUILLRT_API so that the shared object exports them.
#if defined(__GNUC__)
#define QUILLRT_API __attribute__((visibility("default")))
#else
#define QUILLRT_API
#endif
