#include "quillrt/analysis/word_chars.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <array>
#include <climits>

namespace quill::word_chars {
namespace {

std::uint8_t FlagsOf(WideChar c) {
  const std::uint32_t mask = U_MASK(u_charType(static_cast<UChar32>(c)));
  std::uint8_t flags = 0;
  if (mask & (U_GC_L_MASK | U_GC_ND_MASK)) flags |= kWordChar;
  if (mask & (U_GC_L_MASK | U_GC_N_MASK)) flags |= kNGramWordChar;
  if (mask & (U_GC_M_MASK | U_GC_P_MASK)) flags |= kNGramBreak;
  if ((mask & (U_GC_PC_MASK | U_GC_PD_MASK)) || c == u',') flags |= kNGramSliding;
  if (mask & U_GC_Z_MASK) flags |= kNGramSeparator;
  return flags;
}

}  // namespace

const std::uint8_t* Flags() {
  static const auto table = [] {
    std::array<std::uint8_t, 65536> t{};
    for (std::uint32_t c = 0; c < t.size(); ++c) t[c] = FlagsOf(static_cast<WideChar>(c));
    return t;
  }();
  return table.data();
}

void AppendFolded(std::u16string_view word, UnicodeString& key) {
  bool ascii = true;
  for (const WideChar c : word) ascii = ascii && c < 0x80;
  if (ascii || word.size() > static_cast<std::size_t>(INT32_MAX / 3)) {
    for (const WideChar c : word) key.push_back(c >= u'A' && c <= u'Z' ? static_cast<WideChar>(c + 0x20) : c);
    return;
  }
  // Folding may lengthen the text (one unit can fold to three).
  const std::size_t at = key.size();
  key.resize(at + word.size() * 3);
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length = u_strFoldCase(key.data() + at, static_cast<int32_t>(word.size() * 3), word.data(),
                                       static_cast<int32_t>(word.size()), U_FOLD_CASE_DEFAULT, &status);
  if (U_FAILURE(status)) {
    key.resize(at);
    key.append(word);  // unfoldable: the word as it stands still counts
    return;
  }
  key.resize(at + static_cast<std::size_t>(length));
}

}  // namespace quill::word_chars
