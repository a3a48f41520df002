#pragma once
// The desktop's named colours ("system colours": window, window text, button face,
// highlight ...), looked up by their classic index 0..30. Without a desktop the
// answer is the classic default palette; a toolkit that knows the real palette
// (the Qt controls library) installs a lookup of its own.
#include <cstdint>
#include <functional>

#include "quillrt/quillrt_export.h"

namespace quill {

// The indexes of the named colours most callers need.
enum TSystemColourIndex : std::int32_t {
  COLOR_SCROLLBAR = 0,
  COLOR_BACKGROUND = 1,
  COLOR_WINDOW = 5,
  COLOR_WINDOWTEXT = 8,
  COLOR_HIGHLIGHT = 13,
  COLOR_HIGHLIGHTTEXT = 14,
  COLOR_BTNFACE = 15,
  COLOR_BTNSHADOW = 16,
  COLOR_GRAYTEXT = 17,
  COLOR_BTNTEXT = 18,
  COLOR_INFOTEXT = 23,
  COLOR_INFOBK = 24,
  COLOR_MENUBAR = 30,
};

inline constexpr std::int32_t kSystemColourCount = 31;

// A lookup of the named colour `index` as 0x00BBGGRR.
using TSystemColourProc = std::function<std::uint32_t(std::int32_t index)>;

// The current colour of `index` as 0x00BBGGRR: the installed lookup's answer,
// else the default palette's; 0 (black) for an index outside 0..30, as the
// platform answers an unknown index.
QUILLRT_API std::uint32_t GetSysColor(std::int32_t index);

// The default palette's colour of `index` (0 outside 0..30).
QUILLRT_API std::uint32_t DefaultSysColor(std::int32_t index);

// Installs the lookup GetSysColor asks first; an empty one restores the default.
QUILLRT_API void SetSystemColourProc(TSystemColourProc proc);

}  // namespace quill
