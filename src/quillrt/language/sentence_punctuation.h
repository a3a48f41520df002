#pragma once
// The punctuation that may end a sentence and the punctuation of other scripts
// that never does. The tables hold UTF-16 units in ascending order.
#include <array>

#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// "!", ".", "?".
extern QUILLRT_API const std::array<WideChar, 3> basic_sent_terminators;
// Full stops, question and exclamation marks and dandas of other scripts
// (Armenian, Arabic, Devanagari, Myanmar, Ethiopic, ideographic, full-width ...).
extern QUILLRT_API const std::array<WideChar, 63> other_sent_terminators;
// Punctuation of other scripts that never ends a sentence (Greek question mark
// and ano teleia, Arabic comma and semicolon, ideographic comma, ...).
extern QUILLRT_API const std::array<WideChar, 276> punct_not_ending_sent;

// True for the three basic terminators and the 63 of other scripts. Of ASCII
// only "!", "." and "?" qualify.
QUILLRT_API bool IsPotentialSentenceTerminator(WideChar ch);
// Membership of punct_not_ending_sent.
QUILLRT_API bool IsPunctNotEndingSentence(WideChar ch);

}  // namespace quill
