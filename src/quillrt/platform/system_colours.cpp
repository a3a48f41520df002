#include "quillrt/platform/system_colours.h"

#include <array>
#include <utility>

namespace quill {
namespace {

// 0x00BBGGRR from the red, green and blue of the usual #RRGGBB notation.
constexpr std::uint32_t Rgb(std::uint32_t rrggbb) {
  return ((rrggbb & 0xFF) << 16) | (rrggbb & 0xFF00) | ((rrggbb >> 16) & 0xFF);
}

// The classic desktop defaults, by index.
constexpr std::array<std::uint32_t, kSystemColourCount> kDefaults = {
    Rgb(0xC8C8C8), Rgb(0x000000), Rgb(0x99B4D1), Rgb(0xBFCDDB), Rgb(0xF0F0F0), Rgb(0xFFFFFF),
    Rgb(0x646464), Rgb(0x000000), Rgb(0x000000), Rgb(0x000000), Rgb(0xB4B4B4), Rgb(0xF4F7FC),
    Rgb(0xABABAB), Rgb(0x0078D7), Rgb(0xFFFFFF), Rgb(0xF0F0F0), Rgb(0xA0A0A0), Rgb(0x6D6D6D),
    Rgb(0x000000), Rgb(0x000000), Rgb(0xFFFFFF), Rgb(0x696969), Rgb(0xE3E3E3), Rgb(0x000000),
    Rgb(0xFFFFE1), Rgb(0x000000), Rgb(0x0066CC), Rgb(0xB9D1EA), Rgb(0xD7E4F2), Rgb(0x3399FF),
    Rgb(0xF0F0F0)};

TSystemColourProc& InstalledProc() {
  static TSystemColourProc proc;
  return proc;
}

bool InRange(std::int32_t index) { return index >= 0 && index < kSystemColourCount; }

}  // namespace

std::uint32_t DefaultSysColor(std::int32_t index) {
  return InRange(index) ? kDefaults[static_cast<std::size_t>(index)] : 0;
}

std::uint32_t GetSysColor(std::int32_t index) {
  if (!InRange(index)) return 0;
  const TSystemColourProc& proc = InstalledProc();
  return proc ? proc(index) & 0x00FFFFFFu : DefaultSysColor(index);
}

void SetSystemColourProc(TSystemColourProc proc) { InstalledProc() = std::move(proc); }

}  // namespace quill
