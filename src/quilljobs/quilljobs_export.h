#pragma once
// The one export macro of quilljobs. The library is compiled with hidden
// visibility; what callers use carries QUILLJOBS_API.
#if defined(__GNUC__)
#define QUILLJOBS_API __attribute__((visibility("default")))
#else
#define QUILLJOBS_API
#endif
