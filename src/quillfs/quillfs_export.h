#pragma once
// The one export macro of quillfs. Like quillrt, the library is compiled with
// hidden visibility; its boundary carries QUILLFS_API.
#if defined(__GNUC__)
#define QUILLFS_API __attribute__((visibility("default")))
#else
#define QUILLFS_API
#endif
