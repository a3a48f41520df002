// The command line as a user meets it first.
#include <gtest/gtest.h>

#include "cli_runner.h"

namespace quill::testing {
namespace {

TEST(Cli, VersionAndHelp) {
  const auto version = RunQuill({"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_NE(version.out.find("quill "), std::string::npos) << version.out;

  const auto help = RunQuill({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("Usage"), std::string::npos) << help.out;
}

TEST(Cli, UnknownOptionIsAUsageError) {
  const auto result = RunQuill({"--no-such-option"});
  EXPECT_NE(result.exit_code, 0);
  EXPECT_FALSE(result.err.empty());
}

}  // namespace
}  // namespace quill::testing
