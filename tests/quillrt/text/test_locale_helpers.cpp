// A locale's code page and measures, and normalised paths.
#include <gtest/gtest.h>

#include <filesystem>

#include "quillrt/platform/code_pages.h"
#include "quillrt/text/locale_helpers.h"

namespace quill {
namespace {

TEST(LocaleHelpers, CodePagesAndMeasures) {
  EXPECT_EQ(CodePageFromLocale(0x0419), 1251u);
  EXPECT_EQ(LCIDToCodePage(0x0411), 932u);
  EXPECT_EQ(CodePageFromLocale(0x0439), 0u);            // Hindi: Unicode only
  EXPECT_EQ(CodePageFromLocale(0x7FFF0), GetACP());     // unknown: the system page
  EXPECT_FALSE(UserDefaultMeasurements(0x0409));
  EXPECT_TRUE(UserDefaultMeasurements(0x0407));
  EXPECT_TRUE(UserDefaultMeasurements(0x0809));         // the U.K. counts as metric
  EXPECT_TRUE(UserDefaultMeasurements(0x7FFF0));
}

TEST(LocaleHelpers, NormalisedPaths) {
  EXPECT_EQ(NormalisedPath(u"C:\\"), u"C:\\");
  EXPECT_EQ(NormalisedPath(u"/a/"), u"/a/");
  EXPECT_EQ(NormalisedPath(u""), u"");
  EXPECT_EQ(NormalisedPath(u"/tmp//x/./y/../z/"), u"/tmp/x/z");
  EXPECT_EQ(NormalisedPath(u"/tmp/"), u"/tmp");
  const UnicodeString relative = NormalisedPath(u"some/file.txt");
  const UnicodeString expected =
      Utf8ToUtf16((std::filesystem::current_path() / "some" / "file.txt").lexically_normal().string());
  EXPECT_EQ(relative, expected);
}

TEST(LocaleHelpers, NormalisedPathIntoABuffer) {
  WideChar buffer[normalised_path_buffer_size];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  NormalisedPathW(u"/tmp/a/../b", buffer);
  EXPECT_EQ(std::u16string(buffer), u"/tmp/b");
  EXPECT_EQ(buffer[normalised_path_buffer_size - 1], 0);  // zero-filled to the end
  // At most 260 characters are copied; the last unit stays zero.
  const UnicodeString long_path = u"/" + UnicodeString(300, u'x');
  NormalisedPathW(long_path, buffer);
  EXPECT_EQ(std::u16string(buffer).size(), 260u);
  EXPECT_EQ(buffer[260], 0);
  NormalisedPathW(u"/tmp", nullptr);
}

}  // namespace
}  // namespace quill
