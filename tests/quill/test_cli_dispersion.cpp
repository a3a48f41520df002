// quill dispersion: the table of parts and measures, and the plot decoded and
// checked for its bars and the ticks of the hits.
#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <string>

#include "cli_runner.h"
#include "test_support.h"

namespace quill::testing {
namespace {

// The plot's geometry: a 58-pixel header, then 18-pixel rows whose bars run
// from 172 pixels to the width less 72.
constexpr int kHeader = 58;
constexpr int kRow = 18;
constexpr int kBarLeft = 172;
const QRgb kTick = qRgb(0x1F, 0x3A, 0x8B);

class CliDispersion : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_.Path("corpus"));
    WriteText(dir_.Path("corpus/1.txt"), "Jury a b jury\n");
    WriteText(dir_.Path("corpus/2.txt"), "c d e f g h JURY i\n");
  }
  std::string Corpus() const { return dir_.Path("corpus").string(); }
  TempDir dir_;
};

TEST_F(CliDispersion, TableOfMeasuresAndParts) {
  const CliResult result = RunQuill({"dispersion", "-s", "jury", Corpus(), "--segments", "2", "-q"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  // 12 words in two parts of six: hits at words 0, 3 and 10.
  EXPECT_EQ(result.out,
            "measure\tvalue\nhits\t3\ntokens\t12\nparts\t2\nrange\t2\n"
            "D\t0.666666666667\nDP\t0.166666666667\nDPnorm\t0.333333333333\n\n"
            "part\twords\thits\trel_freq\n"
            "segment 1 of 2\t6\t2\t0.333333333333\n"
            "segment 2 of 2\t6\t1\t0.166666666667\n");
}

TEST_F(CliDispersion, PlotHasABarPerFileAndATickPerHit) {
  const std::string png = dir_.Path("plot.png").string();
  const CliResult result = RunQuill({"dispersion", "-s", "jury", Corpus(), "--png", png, "--png-width", "600", "-q"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const QImage image(QString::fromStdString(png), "PNG");
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), 600);
  EXPECT_EQ(image.height(), kHeader + 2 * kRow + 8);
  const int bar = 600 - 12 - 60 - kBarLeft;  // the bar's width in pixels
  const auto ticks_in_row = [&](int row) {
    const int y = kHeader + row * kRow + kRow / 2;
    int ticks = 0;
    for (int x = kBarLeft; x < kBarLeft + bar; ++x)
      if (image.pixel(x, y) == kTick && (x == kBarLeft || image.pixel(x - 1, y) != kTick)) ++ticks;
    return ticks;
  };
  EXPECT_EQ(ticks_in_row(0), 2);  // 1.txt: words 0 and 3 of 4
  EXPECT_EQ(ticks_in_row(1), 1);  // 2.txt: word 6 of 8
  const int y = kHeader + kRow / 2;
  EXPECT_EQ(image.pixel(kBarLeft, y), kTick);
  EXPECT_EQ(image.pixel(kBarLeft + static_cast<int>(0.75 * (bar - 1)), y), kTick);
  EXPECT_EQ(image.pixel(kBarLeft + static_cast<int>(0.75 * (bar - 1)), y + kRow), kTick);
}

TEST_F(CliDispersion, RefusesBadRequests) {
  EXPECT_EQ(RunQuill({"dispersion", "-s", "jury", Corpus(), "--parts", "13", "-q"}).exit_code, 2);
  EXPECT_EQ(RunQuill({"dispersion", "-s", "ju ry", Corpus(), "-q"}).exit_code, 2);
  const std::string png = dir_.Path("x.png").string();
  EXPECT_EQ(RunQuill({"dispersion", "-s", "jury", Corpus(), "--png", png, "--png-width", "50", "-q"}).exit_code, 2);
  EXPECT_NE(RunQuill({"dispersion", "-s", "jury", Corpus(), "--png", dir_.Path("no/dir/x.png").string(), "-q"}).exit_code, 0);
  EXPECT_FALSE(std::filesystem::exists(png));
}

}  // namespace
}  // namespace quill::testing
