// Image-list files (layout, round trip, refusal of damaged files), the lists
// loaded from the program's folder, and lists made from icon files.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "quillctl/image_list_files.h"
#include "quillctl/qt_canvas.h"
#include "quillrt/framework/exceptions.h"

namespace quill {
namespace {

std::uint32_t U32(const QByteArray& bytes, qsizetype at) {
  std::uint32_t value = 0;
  for (int b = 3; b >= 0; --b) value = (value << 8) | static_cast<std::uint8_t>(bytes[at + b]);
  return value;
}

std::uint16_t U16(const QByteArray& bytes, qsizetype at) { return static_cast<std::uint16_t>(U32(bytes + "\0\0", at) & 0xFFFF); }

QImage Solid(int size, QRgb colour) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(colour);
  return image;
}

// Images compare by their straight (not premultiplied) pixels, as PNG keeps them.
bool SameImage(const QImage& a, const QImage& b) {
  return a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

TEST(ImageListFiles, FieldsSitAtTheirOffsetsLittleEndian) {
  TImageList list(16, u"Zw\u00f6lf");  // a name with a two-byte UTF-8 character
  list.Add(Solid(16, qRgba(255, 0, 0, 255)));
  list.Add(Solid(16, qRgba(0, 0, 255, 128)));
  const QByteArray bytes = ImageListFileBytes(list);
  EXPECT_EQ(bytes.left(4), QByteArray("QIML"));
  EXPECT_EQ(U16(bytes, 4), 1);   // version
  EXPECT_EQ(U16(bytes, 6), 16);  // image size
  EXPECT_EQ(U32(bytes, 8), 2u);  // count
  EXPECT_EQ(U16(bytes, 12), 6);  // name length in UTF-8 bytes
  EXPECT_EQ(bytes.mid(14, 6), QStringLiteral(u"Zw\u00f6lf").toUtf8());
  qsizetype at = 20;
  for (int image = 0; image < 2; ++image) {
    const std::uint32_t length = U32(bytes, at);
    EXPECT_TRUE(bytes.mid(at + 4, 4) == QByteArray("\x89PNG")) << image;
    at += 4 + length;
  }
  EXPECT_EQ(at, bytes.size());  // nothing after the last image
}

TEST(ImageListFiles, ListsRoundTripThroughAFile) {
  QTemporaryDir dir;
  const TImageList& drawn = ImageListOfDimension(3);
  const QString path = dir.filePath(QStringLiteral("list.res"));
  SaveImageListFile(drawn, path);
  const std::unique_ptr<TImageList> read = ReadImageListFile(path);
  ASSERT_EQ(read->Count(), drawn.Count());
  EXPECT_EQ(read->Size(), 32);
  EXPECT_EQ(read->Name(), u"ImageList32");
  for (std::int32_t i = 0; i < drawn.Count(); ++i) EXPECT_TRUE(SameImage(read->Image(i), drawn.Image(i))) << i;
  EXPECT_THROW(ReadImageListFile(dir.filePath(QStringLiteral("missing.res"))), EFOpenError);

  // A name too long for its field is cut after the last whole character.
  const TImageList long_name(16, UnicodeString(200, u'\u00e9'));  // 400 bytes of UTF-8
  const QByteArray bytes = ImageListFileBytes(long_name);
  EXPECT_EQ(U16(bytes, 12), 254);
  EXPECT_EQ(ImageListFromFileBytes(bytes)->Name(), UnicodeString(127, u'\u00e9'));
}

TEST(ImageListFiles, DamagedFilesAreRefusedWhole) {
  TImageList list(16, u"ImageList16");
  list.Add(Solid(16, qRgb(10, 20, 30)));
  list.Add(Solid(16, qRgb(40, 50, 60)));
  const QByteArray good = ImageListFileBytes(list);
  ASSERT_EQ(ImageListFromFileBytes(good)->Count(), 2);
  for (qsizetype cut = 0; cut < good.size(); ++cut)
    EXPECT_THROW(ImageListFromFileBytes(good.left(cut)), EReadError) << "cut at " << cut;

  const auto patched = [&](qsizetype at, std::initializer_list<std::uint8_t> values) {
    QByteArray bytes = good;
    for (const std::uint8_t v : values) bytes[at++] = static_cast<char>(v);
    return bytes;
  };
  EXPECT_THROW(ImageListFromFileBytes(patched(0, {'X'})), EReadError);                  // magic
  EXPECT_THROW(ImageListFromFileBytes(patched(4, {2, 0})), EReadError);                 // version
  EXPECT_THROW(ImageListFromFileBytes(patched(6, {0, 0})), EReadError);                 // size 0
  EXPECT_THROW(ImageListFromFileBytes(patched(6, {1, 1})), EReadError);                 // size 257
  EXPECT_THROW(ImageListFromFileBytes(patched(6, {20, 0})), EReadError);                // images not that size
  EXPECT_THROW(ImageListFromFileBytes(patched(8, {3, 0, 0, 0})), EReadError);           // one image more than held
  EXPECT_THROW(ImageListFromFileBytes(patched(8, {0xFF, 0xFF, 0xFF, 0xFF})), EReadError);  // count beyond bound
  EXPECT_THROW(ImageListFromFileBytes(patched(14 + 11, {0xFF, 0xFF, 0xFF, 0x7F})), EReadError);  // length
  EXPECT_THROW(ImageListFromFileBytes(patched(14 + 11 + 4 + 1, {'X'})), EReadError);   // not PNG
  EXPECT_THROW(ImageListFromFileBytes(good + '\0'), EReadError);                        // trailing byte
}

TEST(ImageListFiles, TheProgramFolderFilesReplaceTheDrawnListsTheyFit) {
  QTemporaryDir dir;
  TImageList red(16, u"ImageList16");
  for (int i = 0; i < 3; ++i) red.Add(Solid(16, qRgb(255, 0, 0)));
  SaveImageListFile(red, dir.filePath(QStringLiteral("ImageListMain16.res")));
  // Damaged, and a list of the wrong size, for dimensions 1 and 2.
  WriteFile(dir.filePath(QStringLiteral("ImageListMain20.res")), ImageListFileBytes(red).left(40));
  SaveImageListFile(red, dir.filePath(QStringLiteral("ImageListMain24.res")));

  const QImage twenty_before = ImageListOfDimension(1).Image(qi_save);
  const QImage twenty_four_before = ImageListOfDimension(2).Image(qi_save);
  EXPECT_EQ(LoadupAllTheImageLists(dir.path()), (std::vector<TImageDimensions>{0}));
  EXPECT_EQ(ImageListOfDimension(0).Count(), 3);
  EXPECT_EQ(ImageListOfDimension(0).Image(2).pixel(8, 8), qRgb(255, 0, 0));
  EXPECT_TRUE(SameImage(ImageListOfDimension(1).Image(qi_save), twenty_before));
  EXPECT_TRUE(SameImage(ImageListOfDimension(2).Image(qi_save), twenty_four_before));

  // A damaged file later keeps the list read before; without files every list is drawn again.
  WriteFile(dir.filePath(QStringLiteral("ImageListMain16.res")), QByteArray("QIML"));
  EXPECT_TRUE(LoadupAllTheImageLists(dir.path()).empty());
  EXPECT_EQ(ImageListOfDimension(0).Count(), 3);
  QTemporaryDir empty;
  EXPECT_TRUE(LoadupAllTheImageLists(empty.path()).empty());
  EXPECT_EQ(ImageListOfDimension(0).Count(), qi_icon_count);
}

// ---- Icon files ------------------------------------------------------------

struct IconEntry {
  std::uint8_t width;
  std::uint16_t bits;
  QByteArray data;
};

void Append16(QByteArray& bytes, std::uint16_t v) {
  bytes.append(static_cast<char>(v & 0xFF));
  bytes.append(static_cast<char>(v >> 8));
}

void Append32(QByteArray& bytes, std::uint32_t v) {
  Append16(bytes, static_cast<std::uint16_t>(v & 0xFFFF));
  Append16(bytes, static_cast<std::uint16_t>(v >> 16));
}

QByteArray IconFile(const std::vector<IconEntry>& entries) {
  QByteArray bytes;
  Append16(bytes, 0);
  Append16(bytes, 1);
  Append16(bytes, static_cast<std::uint16_t>(entries.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(entries.size());
  for (const IconEntry& e : entries) {
    bytes.append(static_cast<char>(e.width));
    bytes.append(static_cast<char>(e.width));
    bytes.append(2, '\0');  // colour count, reserved
    Append16(bytes, 1);     // planes
    Append16(bytes, e.bits);
    Append32(bytes, static_cast<std::uint32_t>(e.data.size()));
    Append32(bytes, offset);
    offset += static_cast<std::uint32_t>(e.data.size());
  }
  for (const IconEntry& e : entries) bytes.append(e.data);
  return bytes;
}

QByteArray Png(const QImage& image) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return png;
}

// A 32-bit icon bitmap: header, colour rows bottom-up (B, G, R, A), mask rows.
QByteArray IconBitmap(int size, QRgb top_row, QRgb other_rows, bool mask_top_row) {
  QByteArray bytes;
  Append32(bytes, 40);
  Append32(bytes, static_cast<std::uint32_t>(size));
  Append32(bytes, static_cast<std::uint32_t>(2 * size));
  Append16(bytes, 1);
  Append16(bytes, 32);
  bytes.append(24, '\0');  // compression 0 and the rest of the header
  for (int row = size - 1; row >= 0; --row)
    for (int x = 0; x < size; ++x) {
      const QRgb c = row == 0 ? top_row : other_rows;
      bytes.append(static_cast<char>(qBlue(c))).append(static_cast<char>(qGreen(c)));
      bytes.append(static_cast<char>(qRed(c))).append(static_cast<char>(qAlpha(c)));
    }
  const int stride = ((size + 31) / 32) * 4;
  for (int row = size - 1; row >= 0; --row) bytes.append(stride, row == 0 && mask_top_row ? '\xFF' : '\0');
  return bytes;
}

TEST(ImageListFiles, IconFilesGiveTheirImageOfTheSize) {
  QTemporaryDir dir;
  const auto icon = [&](const QString& name, const std::vector<IconEntry>& entries) {
    WriteFile(dir.filePath(name), IconFile(entries));
    return FromQString(dir.filePath(name));
  };
  const UnicodeString png = icon(QStringLiteral("png.ico"), {{16, 32, Png(Solid(16, qRgb(0, 0, 0)))},
                                                             {32, 32, Png(Solid(32, qRgba(0, 200, 0, 100)))}});
  // Alpha in the pixels; then an older one with zero alpha and the mask alone.
  const UnicodeString alpha = icon(QStringLiteral("alpha.ico"),
                                   {{32, 32, IconBitmap(32, qRgba(255, 0, 0, 60), qRgba(0, 0, 255, 255), false)}});
  const UnicodeString masked = icon(QStringLiteral("masked.ico"),
                                    {{32, 32, IconBitmap(32, qRgba(9, 9, 9, 0), qRgba(0, 255, 0, 0), true)}});
  const UnicodeString small = icon(QStringLiteral("small.ico"), {{16, 32, Png(Solid(16, qRgb(1, 2, 3)))}});
  const UnicodeString eight_bit = icon(QStringLiteral("eight.ico"), {{32, 8, Png(Solid(32, qRgb(1, 2, 3)))}});

  EXPECT_EQ(IconFileImage(png, 32).pixel(5, 5), qRgba(0, 200, 0, 100));
  const QImage from_alpha = IconFileImage(alpha, 32);
  EXPECT_EQ(from_alpha.pixel(3, 0), qRgba(255, 0, 0, 60));
  EXPECT_EQ(from_alpha.pixel(3, 31), qRgba(0, 0, 255, 255));
  const QImage from_mask = IconFileImage(masked, 32);
  EXPECT_EQ(qAlpha(from_mask.pixel(3, 0)), 0);
  EXPECT_EQ(from_mask.pixel(3, 1), qRgba(0, 255, 0, 255));
  EXPECT_TRUE(IconFileImage(small, 32).isNull());
  EXPECT_TRUE(IconFileImage(eight_bit, 32).isNull());

  const QString list_path = dir.filePath(QStringLiteral("icons32.res"));
  const std::vector<UnicodeString> files{small, png, u"/no/such.ico", alpha, eight_bit, masked};
  EXPECT_EQ(SaveImageListFromListOfIconFiles(files, 32, FromQString(list_path)),
            (std::vector<std::int32_t>{1, 3, 5}));
  const std::unique_ptr<TImageList> saved = ReadImageListFile(list_path);
  EXPECT_EQ(saved->Name(), u"ImageList32");
  ASSERT_EQ(saved->Count(), 3);
  EXPECT_EQ(saved->Image(1).pixel(3, 31), qRgba(0, 0, 255, 255));

  // No icon of the size: nothing written.
  const QString none_path = dir.filePath(QStringLiteral("icons48.res"));
  EXPECT_TRUE(SaveImageListFromListOfIconFiles(files, 48, FromQString(none_path)).empty());
  EXPECT_FALSE(QFile::exists(none_path));
}

}  // namespace
}  // namespace quill
