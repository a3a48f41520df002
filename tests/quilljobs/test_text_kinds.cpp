// The judging of a file's bytes passes over plain ASCII a block at a time:
// what it finds must not depend on where in a block a telling byte falls.
#include <gtest/gtest.h>

#include <string>

#include "quilljobs/text_decoding.h"

namespace quill::jobs {
namespace {

// Digits, whose byte pairs are no UTF-16 text either way round, so that the
// UTF-16 statistics stay out of what is tested here.
std::string WithAt(std::size_t at, const std::string& inserted, std::size_t size = 48) {
  std::string text(size, '3');
  for (std::size_t i = 7; i < size; i += 8) text[i] = ' ';
  return text.replace(at, inserted.size(), inserted);
}

TEST(TextKinds, ATellingByteIsFoundWhereverItFalls) {
  EXPECT_EQ(KindOfText(WithAt(0, "")).encoding, TextKind::ascii);
  for (std::size_t at = 0; at + 3 < 48; ++at) {
    SCOPED_TRACE(at);
    EXPECT_EQ(KindOfText(WithAt(at, "\xC3\xA9")).encoding, TextKind::utf8);   // é in UTF-8
    EXPECT_EQ(KindOfText(WithAt(at, "\xE9")).encoding, TextKind::eight_bit);  // é in Latin-1
    EXPECT_EQ(KindOfText(WithAt(at, "\x01\x02")).encoding, TextKind::binary);
    EXPECT_EQ(KindOfText(WithAt(at, std::string(1, '\0'))).encoding, TextKind::binary);
    // Escape, form feed and the like are terminal text, not binary.
    EXPECT_EQ(KindOfText(WithAt(at, "\x1B\x0C")).encoding, TextKind::ascii);
    // Plain ASCII is told at once, and one byte of anything else anywhere
    // sends the text the long way.
    EXPECT_EQ(KindOfText(WithAt(at, "\t\r\n~ ")).encoding, TextKind::ascii);
    EXPECT_EQ(KindOfText(WithAt(at, std::string(1, '\x7F'))).encoding, TextKind::ascii);
    EXPECT_EQ(KindOfText(WithAt(at, "\x7F\x7F")).encoding, TextKind::binary);
  }
  // A damaged byte among well-formed UTF-8 far on in a long text.
  const std::string long_text = WithAt(4000, "\xC3\xA9 \xFF", 5000);
  const TextKind kind = KindOfText(long_text);
  EXPECT_EQ(kind.encoding, TextKind::utf8);
  EXPECT_EQ(kind.invalid_utf8, 1u);
}

}  // namespace
}  // namespace quill::jobs
