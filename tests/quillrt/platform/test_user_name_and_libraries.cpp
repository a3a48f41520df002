// The user's name and the loading of shared libraries.
#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <vector>

#include "quillrt/platform/dynamic_library.h"
#include "quillrt/platform/user_name.h"

namespace quill {
namespace {

TEST(UserName, TwoCallFormReportsSizesWithTheNull) {
  UnicodeString name;
  ASSERT_EQ(CurrentUserName(name), 0) << "no user name available in this environment";
  ASSERT_FALSE(name.empty());

  // Too small: false, ERANGE and the capacity needed.
  std::vector<WideChar> small(name.size());
  std::uint32_t size = static_cast<std::uint32_t>(small.size());
  errno = 0;
  EXPECT_FALSE(GetUserNameW(small.data(), &size));
  EXPECT_EQ(errno, ERANGE);
  EXPECT_EQ(size, name.size() + 1);

  // Exactly large enough: the name, a null, and the count including it.
  std::vector<WideChar> exact(size, u'x');
  EXPECT_TRUE(GetUserNameW(exact.data(), &size));
  EXPECT_EQ(size, name.size() + 1);
  EXPECT_EQ(UnicodeString(exact.data()), name);

  errno = 0;
  EXPECT_FALSE(GetUserNameW(nullptr, &size));
  EXPECT_EQ(errno, EINVAL);
}

using CosFunction = double (*)(double);

TEST(DynamicLibrary, LoadLookUpAndRelease) {
  const HMODULE libm = LoadLibraryW(u"libm.so.6");
  ASSERT_NE(libm, 0u) << Utf16ToUtf8(LastLibraryError());
  // A second load of the same library gives the same handle and needs its own release.
  const HMODULE again = LoadLibraryW(u"libm.so.6");
  EXPECT_EQ(again, libm);

  auto cosine = reinterpret_cast<CosFunction>(GetProcAddress(libm, "cos"));
  ASSERT_NE(cosine, nullptr);
  EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
  EXPECT_EQ(GetProcAddress(libm, "no_such_function_here"), nullptr);
  EXPECT_FALSE(LastLibraryError().empty());
  EXPECT_EQ(GetProcAddress(libm, ""), nullptr);

  EXPECT_TRUE(FreeLibrary(libm));
  EXPECT_NE(GetProcAddress(libm, "cos"), nullptr);  // still loaded once
  EXPECT_TRUE(FreeLibrary(libm));
  EXPECT_FALSE(FreeLibrary(libm));  // balanced: the handle is gone
  EXPECT_EQ(GetProcAddress(libm, "cos"), nullptr);
}

TEST(DynamicLibrary, FailuresGiveZeroOrNull) {
  EXPECT_EQ(LoadLibraryW(u"libquill-no-such-library.so"), 0u);
  EXPECT_FALSE(LastLibraryError().empty());
  EXPECT_EQ(LoadLibraryW(u""), 0u);  // not the main program
  EXPECT_EQ(GetProcAddress(0, "cos"), nullptr);
  EXPECT_EQ(GetProcAddress(0xFFFFFFF0u, "cos"), nullptr);
  EXPECT_FALSE(FreeLibrary(0));
  EXPECT_FALSE(FreeLibrary(12345));
}

}  // namespace
}  // namespace quill
