#pragma once
// Helpers of the text-drawer tests: the recorded runs of a canvas in a form that
// compares at a glance, and coloured spans for hits.
#include <string>
#include <vector>

#include "quillrt/framework/strings.h"
#include "quillrt/rendering/recording_canvas.h"
#include "quillrt/rendering/text_drawer.h"

namespace quill::testing {

// One painted run: its text, the x of its left end and its y.
struct Run {
  std::string text;
  std::int32_t left = 0;
  std::int32_t top = 0;
  friend bool operator==(const Run&, const Run&) = default;
};

inline std::ostream& operator<<(std::ostream& os, const Run& run) {
  return os << "{\"" << run.text << "\", " << run.left << ", " << run.top << "}";
}

inline std::vector<Run> Runs(const TRecordingCanvas& canvas) {
  std::vector<Run> runs;
  for (const TCanvasCall& call : canvas.TextCalls()) runs.push_back({Utf16ToUtf8(call.text), call.rect.left, call.rect.top});
  return runs;
}

// The texts of the painted runs ordered by their left ends: what is seen from
// left to right on one line (each run as its characters are shown).
inline std::string SeenLeftToRight(const TRecordingCanvas& canvas, std::int32_t top) {
  std::vector<TCanvasCall> calls;
  for (const TCanvasCall& call : canvas.TextCalls())
    if (call.rect.top == top) calls.push_back(call);
  std::sort(calls.begin(), calls.end(), [](const TCanvasCall& a, const TCanvasCall& b) { return a.rect.left < b.rect.left; });
  std::string seen;
  for (const TCanvasCall& call : calls) seen += Utf16ToUtf8(call.visual);
  return seen;
}

inline const TCanvasCall* CallFor(const TRecordingCanvas& canvas, const char16_t* text) {
  for (const TCanvasCall& call : canvas.Calls())
    if (call.text == text) return &call;
  return nullptr;
}

inline TExtraFontRec HitSpan(std::int32_t first, std::int32_t last, std::int32_t search_word) {
  const TMyCanvasColourRecAndTypeface look = SearchFoundColoursAndFontStyleFromNumber(search_word);
  TExtraFontRec span;
  span.switch_on_at_char = first;
  span.switch_off_at_char = last;
  span.colour_rec = look.colourset;
  span.default_typeface = look.default_typeface;
  span.highlight_typeface = look.highlight_typeface;
  span.applies_to = efc_centre_word;
  return span;
}

inline std::vector<std::string> ChunkTexts(const TWordChunkList& list) {
  std::vector<std::string> texts;
  for (int i = 0; i < list.Count(); ++i) texts.push_back(Utf16ToUtf8(list.Get(i)->data.w));
  return texts;
}

}  // namespace quill::testing
