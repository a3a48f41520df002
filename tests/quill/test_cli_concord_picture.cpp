// quill concord --png: the picture is decoded and checked pixel by pixel.
#include <gtest/gtest.h>

#include <QImage>
#include <fstream>

#include "cli_runner.h"
#include "quillrt/rendering/colours.h"
#include "test_support.h"

namespace quill::testing {
namespace {

void WriteText(const std::filesystem::path& path, const std::string& utf8) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << utf8;
}

QRgb HitColour(int search_word) {
  const TColor c = SearchFoundColoursFromNumber(search_word)[tct_background];
  return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

struct Band {
  int top = 0, bottom = 0;  // rows, bottom exclusive
  int left = 0, right = 0;  // columns holding the hit colour, right exclusive
};

// The rows of the picture in which the hit colour reaches the centre column
// (the hit starts there in left-to-right text and ends there in right-to-left
// text), each with the columns the hit colour covers within it. A few columns
// either side are looked at, since a glyph may cover the hit's first columns.
std::vector<Band> HitBands(const QImage& image, QRgb hit, int centre_column) {
  std::vector<Band> bands;
  bool inside = false;
  for (int y = 0; y < image.height(); ++y) {
    bool on = false;
    for (int x = centre_column - 4; x <= centre_column + 4; ++x) on = on || image.pixel(x, y) == hit;
    // A glyph row that covers the window splits no band: rows that close
    // belong to the band above them.
    const bool continues = !bands.empty() && y - bands.back().bottom <= 3;
    if (on && !inside && !continues) bands.push_back({y, y, image.width(), 0});
    if (on) {
      Band& band = bands.back();
      band.bottom = y + 1;
      for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, y) == hit) {
          band.left = std::min(band.left, x);
          band.right = std::max(band.right, x + 1);
        }
    }
    inside = on;
  }
  return bands;
}

// Pixels of `colour` from row `top` down, outside every band's columns.
int StrayPixels(const QImage& image, QRgb colour, int top, const std::vector<Band>& bands) {
  int stray = 0;
  for (int y = top; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != colour) continue;
      const bool in_band = std::any_of(bands.begin(), bands.end(), [&](const Band& b) {
        return y >= b.top && y < b.bottom && x >= b.left && x < b.right;
      });
      stray += in_band ? 0 : 1;
    }
  return stray;
}

class CliConcordPicture : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string text;
    for (int i = 0; i < 6; ++i)
      text += "In session " + std::to_string(i) + " the grand jury heard a long list of witnesses and the jury "
              "then said nothing at all about the matter before it.\n";
    WriteText(dir.Path("corpus/court.txt"), text);
  }

  QImage Picture(const std::vector<std::string>& more, const std::string& name = "out.png") {
    std::vector<std::string> args{"concord", "-q", "-s", "jury", dir.path().string() + "/corpus", "--png",
                                  dir.Path(name).string(), "--png-width", "700"};
    args.insert(args.end(), more.begin(), more.end());
    const CliResult result = RunQuill(args);
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_TRUE(result.out.empty()) << "the picture replaces the listing";
    return QImage(QString::fromStdString(dir.Path(name).string()), "PNG");
  }

  TempDir dir;
};

TEST_F(CliConcordPicture, HitsAreCentredInTheirColourAndNowhereElse) {
  const QImage image = Picture({"--limit", "5"});
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), 700);
  const std::vector<Band> bands = HitBands(image, HitColour(0), 350);
  ASSERT_EQ(bands.size(), 5u);
  for (const Band& band : bands) {
    EXPECT_EQ(band.left, 350) << "the hit starts at the centre";
    EXPECT_GT(band.right - band.left, 10);
    EXPECT_LT(band.right - band.left, 80) << "only the hit is coloured";
  }
  // Below the header, the hit colour is found only in the hits' own boxes:
  // neither the context nor the second "jury" of each line carries it.
  EXPECT_EQ(StrayPixels(image, HitColour(0), bands.front().top, bands), 0);
}

TEST_F(CliConcordPicture, HeightFollowsTheLineCountAndTheDefaultIsForty) {
  const int one = Picture({"--limit", "1"}, "1.png").height();
  const int three = Picture({"--limit", "3"}, "3.png").height();
  const int seven = Picture({"--limit", "7"}, "7.png").height();
  EXPECT_GT(three, one);
  EXPECT_EQ((seven - three) * 2, (three - one) * 4);  // the same height per line
  // Twelve hits, all shown under the default of forty.
  const QImage all = Picture({});
  EXPECT_EQ(all.height(), one + 11 * (three - one) / 2);
  EXPECT_EQ(HitBands(all, HitColour(0), 350).size(), 12u);
}

TEST_F(CliConcordPicture, EachSearchWordHasItsOwnColour) {
  const QImage image = Picture({"-s", "witnesses", "--limit", "40"});
  EXPECT_EQ(HitBands(image, HitColour(0), 350).size(), 12u);
  EXPECT_EQ(HitBands(image, HitColour(1), 350).size(), 6u);
}

TEST(CliConcordPictureRtl, RightToLeftLinesEndTheirHitAtTheCentre) {
  TempDir dir;
  std::string text;
  for (int i = 0; i < 3; ++i) text += "הוא ראה את השופט בבית המשפט ואז ראה את העד.\n";
  WriteText(dir.Path("corpus/he.txt"), text);
  const std::string png = dir.Path("he.png").string();
  const CliResult result = RunQuill({"concord", "-q", "--lang", "he_IL", "-s", "ראה", dir.path().string() + "/corpus",
                                     "--png", png, "--png-width", "600"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const QImage image(QString::fromStdString(png), "PNG");
  const std::vector<Band> bands = HitBands(image, HitColour(0), 299);
  ASSERT_EQ(bands.size(), 6u);
  for (const Band& band : bands) EXPECT_EQ(band.right, 300) << "the hit ends at the centre, running leftwards";
  EXPECT_EQ(StrayPixels(image, HitColour(0), bands.front().top, bands), 0);
}

TEST(CliConcordPictureErrors, UnwritablePathOrTinyWidthFailsWithoutAFile) {
  TempDir dir;
  WriteText(dir.Path("corpus/a.txt"), "the jury said\n");
  const std::string corpus = dir.path().string() + "/corpus";
  const CliResult missing_folder =
      RunQuill({"concord", "-q", "-s", "jury", corpus, "--png", dir.Path("no/such/folder/x.png").string()});
  EXPECT_EQ(missing_folder.exit_code, 1);
  EXPECT_NE(missing_folder.err.find("cannot write the picture"), std::string::npos) << missing_folder.err;
  const CliResult narrow =
      RunQuill({"concord", "-q", "-s", "jury", corpus, "--png", dir.Path("x.png").string(), "--png-width", "20"});
  EXPECT_EQ(narrow.exit_code, 2);
  const CliResult huge =
      RunQuill({"concord", "-q", "-s", "jury", corpus, "--png", dir.Path("x.png").string(), "--png-width", "999999"});
  EXPECT_EQ(huge.exit_code, 2);
  EXPECT_FALSE(std::filesystem::exists(dir.Path("x.png")));
}

// The tool draws through a module loaded on the first picture: without it a
// picture fails with the reason and no file, and the rest of the tool works
// (it links no Qt library of its own).
TEST(CliConcordPictureErrors, ToolWithoutItsPicturesModule) {
  TempDir dir;
  WriteText(dir.Path("corpus/a.txt"), "the jury said\n");
  const std::string corpus = dir.path().string() + "/corpus";
  const std::string alone = dir.Path("bin/quill").string();
  std::filesystem::create_directories(dir.Path("bin"));
  std::filesystem::copy_file(QUILL_BINARY, alone);
  std::filesystem::permissions(alone, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);

  const CliResult picture = RunShell("\"" + alone + "\" concord -q -s jury '" + corpus + "' --png '" +
                                     dir.Path("x.png").string() + "'");
  EXPECT_EQ(picture.exit_code, 1);
  EXPECT_NE(picture.err.find("pictures cannot be drawn: quill-pictures.so was not found"), std::string::npos)
      << picture.err;
  EXPECT_FALSE(std::filesystem::exists(dir.Path("x.png")));

  const CliResult count = RunShell("\"" + alone + "\" concord -q --count -s jury '" + corpus + "'");
  EXPECT_EQ(count.exit_code, 0) << count.err;
  EXPECT_NE(count.out.find("jury\t1"), std::string::npos) << count.out;
  const CliResult libraries = RunShell("ldd \"" + alone + "\"");
  EXPECT_EQ(libraries.out.find("libQt6"), std::string::npos) << libraries.out;
}

}  // namespace
}  // namespace quill::testing
