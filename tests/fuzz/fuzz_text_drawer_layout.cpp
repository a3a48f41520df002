// Feeds arbitrary UTF-16 text to the text drawer: the first four bytes choose the
// language (left to right or right to left), the rectangle's width, the
// alignment, word wrapping and the hit; the rest is the line.
//
// Besides "no crash, no leak, no undefined behaviour", it checks that the chunks
// of a line are exactly its text from where the scan starts, that fitting never
// takes more than the width, that reordering only permutes chunks, and that the
// runs painted on one visual line of a concordance never overlap.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <vector>

#include "quillrt/rendering/recording_canvas.h"
#include "quillrt/rendering/text_drawer.h"

namespace {

using namespace quill;

void Check(bool condition) {
  if (!condition) std::abort();
}

UnicodeString Joined(const TWordChunkList& list) {
  UnicodeString all;
  for (int i = 0; i < list.Count(); ++i) all += list.Get(i)->data.w;
  return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::uint32_t lcid = (data[0] & 1) != 0 ? 0x040D : 0x0809;
  const std::int32_t width = 8 + data[1];
  const auto alignment = static_cast<TQYAlignment>(data[2] % 4);
  const bool wrapped = (data[2] & 0x80) != 0;
  UnicodeString text;
  for (std::size_t i = 4; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  const std::int32_t midpoint = text.empty() ? 0 : 1 + data[3] % static_cast<std::int32_t>(text.size());

  TRecordingCanvas canvas;
  TWordChunkList list(BogStandardColoursAndTypeface(), true, u' ');
  const std::int32_t k =
      list.LoadFrom(text, midpoint, 1, nullptr, canvas, lcid, BiDiModeFromLCID(lcid), false);
  if (list.Count() > 0) {
    const auto visible = std::find_if(text.begin(), text.end(), [](char16_t c) { return c > u' '; });
    const auto start = std::min<std::size_t>(static_cast<std::size_t>(midpoint - 1),
                                             static_cast<std::size_t>(visible - text.begin()));
    Check(Joined(list) == text.substr(start));
    Check(k >= 0 && k < list.Count());
    for (int i = 0; i < list.Count(); ++i) Check(!list.Get(i)->data.w.empty());

    const TWordsWhichFit fit = list.WhichWordsFit(0, width, (data[2] & 0x40) != 0);
    Check(fit.pixels <= width);
    Check(fit.last_segment >= -1 && fit.last_segment < list.Count());

    std::vector<UnicodeString> before;
    for (int i = 0; i < list.Count(); ++i) before.push_back(list.Get(i)->data.w);
    ReorderAnyLTRSinRTLSequences(list, 0, list.Count() - 1);
    std::vector<UnicodeString> after;
    for (int i = 0; i < list.Count(); ++i) after.push_back(list.Get(i)->data.w);
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    Check(before == after);
  }

  TMyTextDrawer drawer;
  drawer.DrawAChunkofText(text, canvas, {0, 0, width, 200}, lcid, alignment, false, false, wrapped, false);
  canvas.ClearCalls();
  drawer.DrawConcText(text, midpoint, 1, canvas, lcid, nullptr, {0, 0, width * 2, 60}, false, true, pra_screen);
  std::map<std::int32_t, std::vector<TRect>> by_line;
  for (const TCanvasCall& call : canvas.TextCalls()) by_line[call.rect.top].push_back(call.rect);
  for (auto& [top, rects] : by_line) {
    // Zero-wide runs (lone marks) sort before the run they stand against.
    std::sort(rects.begin(), rects.end(),
              [](const TRect& a, const TRect& b) { return a.left != b.left ? a.left < b.left : a.right < b.right; });
    for (std::size_t i = 1; i < rects.size(); ++i) Check(rects[i].left >= rects[i - 1].right);
  }
  drawer.fjust_measuring = true;
  canvas.ClearCalls();
  const TRect grown =
      drawer.DrawConcText(text, midpoint, 1, canvas, lcid, nullptr, {0, 0, 30, 16}, false, false, pra_screen);
  Check(canvas.Calls().empty());
  Check(grown.bottom <= 16 + 9 * 16 && grown.top >= -9 * 16);
  return 0;
}
