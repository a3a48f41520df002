#include "quillctl/image_list_files.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QSaveFile>
#include <string>

#include "quillctl/qt_canvas.h"
#include "quillrt/framework/exceptions.h"

namespace quill {

namespace {

constexpr qsizetype kFixedHeaderSize = 14;
constexpr qsizetype kMaxIconFileBytes = 64 << 20;
constexpr char kPngSignature[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};

void PutU16(QByteArray& bytes, std::uint16_t value) {
  bytes.append(static_cast<char>(value & 0xFF));
  bytes.append(static_cast<char>(value >> 8));
}

void PutU32(QByteArray& bytes, std::uint32_t value) {
  PutU16(bytes, static_cast<std::uint16_t>(value & 0xFFFF));
  PutU16(bytes, static_cast<std::uint16_t>(value >> 16));
}

std::uint16_t U16At(const QByteArray& bytes, qsizetype at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                    (static_cast<std::uint8_t>(bytes[at + 1]) << 8));
}

std::uint32_t U32At(const QByteArray& bytes, qsizetype at) {
  return static_cast<std::uint32_t>(U16At(bytes, at)) | (static_cast<std::uint32_t>(U16At(bytes, at + 2)) << 16);
}

[[noreturn]] void Refuse(const std::string& why) { throw EReadError(std::string_view("Image list file: " + why)); }

// Reads the fields of an image-list file in order, refusing any that would
// run past the end.
class TFieldReader {
 public:
  explicit TFieldReader(const QByteArray& bytes) : bytes_(bytes) {}
  qsizetype Remaining() const { return bytes_.size() - at_; }
  void Need(qsizetype count, const char* what) const {
    if (count > Remaining()) Refuse(std::string(what) + " runs past the end of the file");
  }
  std::uint16_t U16(const char* what) {
    Need(2, what);
    at_ += 2;
    return U16At(bytes_, at_ - 2);
  }
  std::uint32_t U32(const char* what) {
    Need(4, what);
    at_ += 4;
    return U32At(bytes_, at_ - 4);
  }
  QByteArray Bytes(qsizetype count, const char* what) {
    Need(count, what);
    at_ += count;
    return bytes_.mid(at_ - count, count);
  }

 private:
  const QByteArray& bytes_;
  qsizetype at_ = 0;
};

QByteArray PngOf(const QImage& image) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return png;
}

// The PNG image in `png` when it is `size` x `size` pixels; a null image
// otherwise. The size is read from the PNG's header first, so that a file
// claiming a huge image is refused before anything is allocated for it.
QImage DecodePng(const QByteArray& png, std::int32_t size) {
  if (!png.startsWith(QByteArray::fromRawData(kPngSignature, sizeof kPngSignature))) return {};
  QBuffer buffer;
  buffer.setData(png);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "png");
  if (reader.size() != QSize(size, size)) return {};
  return reader.read();
}

// An uncompressed 32-bit bitmap as an icon stores it: a 40-byte (or longer)
// header whose height counts the colour rows and the mask rows together, the
// colour rows bottom-up as blue, green, red, alpha, then the 1-bit mask rows
// (a set bit is transparent), each row padded to 4 bytes. Older icons leave
// the alpha bytes 0 and rely on the mask alone.
QImage DecodeIconBitmap(const QByteArray& data, std::int32_t size) {
  if (data.size() < 40) return {};
  const std::uint32_t header_size = U32At(data, 0);
  const auto width = static_cast<std::int32_t>(U32At(data, 4));
  const auto height = static_cast<std::int32_t>(U32At(data, 8));
  const std::uint16_t bits = U16At(data, 14);
  const std::uint32_t compression = U32At(data, 16);
  if (header_size < 40 || width != size || height != 2 * size || bits != 32 || compression != 0) return {};
  const qsizetype colour_bytes = qsizetype{size} * size * 4;
  const qsizetype mask_stride = ((size + 31) / 32) * 4;
  const qsizetype needed = qsizetype{header_size} + colour_bytes + mask_stride * size;
  if (needed > data.size()) return {};
  const auto* colours = reinterpret_cast<const std::uint8_t*>(data.constData()) + header_size;
  const auto* mask = colours + colour_bytes;
  bool any_alpha = false;
  for (qsizetype i = 3; i < colour_bytes; i += 4) any_alpha = any_alpha || colours[i] != 0;
  QImage image(size, size, QImage::Format_ARGB32);
  for (std::int32_t row = 0; row < size; ++row) {
    const std::int32_t y = size - 1 - row;  // bottom-up
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (std::int32_t x = 0; x < size; ++x) {
      const std::uint8_t* p = colours + (qsizetype{row} * size + x) * 4;
      const bool masked_out = (mask[row * mask_stride + x / 8] >> (7 - x % 8)) & 1;
      const int alpha = any_alpha ? p[3] : (masked_out ? 0 : 255);
      line[x] = qRgba(p[2], p[1], p[0], alpha);
    }
  }
  return image;
}

// The name as UTF-8, cut to the longest whole characters that fit the field.
QByteArray NameField(const UnicodeString& name) {
  QByteArray utf8 = ToQString(name).toUtf8();
  if (utf8.size() <= kMaxImageListNameBytes) return utf8;
  qsizetype length = kMaxImageListNameBytes;
  while (length > 0 && (static_cast<std::uint8_t>(utf8[length]) & 0xC0) == 0x80) --length;  // inside a character
  return utf8.left(length);
}

}  // namespace

QByteArray ImageListFileBytes(const TImageList& list) {
  const QByteArray name = NameField(list.Name());
  QByteArray bytes;
  bytes.append(kImageListFileMagic, sizeof kImageListFileMagic);
  PutU16(bytes, kImageListFileVersion);
  PutU16(bytes, static_cast<std::uint16_t>(list.Size()));
  PutU32(bytes, static_cast<std::uint32_t>(list.Count()));
  PutU16(bytes, static_cast<std::uint16_t>(name.size()));
  bytes.append(name);
  for (std::int32_t i = 0; i < list.Count(); ++i) {
    const QByteArray png = PngOf(list.Image(i));
    PutU32(bytes, static_cast<std::uint32_t>(png.size()));
    bytes.append(png);
  }
  return bytes;
}

std::unique_ptr<TImageList> ImageListFromFileBytes(const QByteArray& bytes) {
  if (bytes.size() < kFixedHeaderSize || !bytes.startsWith(QByteArray::fromRawData(kImageListFileMagic, 4)))
    Refuse("not an image list file");
  TFieldReader reader(bytes);
  (void)reader.Bytes(4, "the magic");
  if (const std::uint16_t version = reader.U16("the version"); version != kImageListFileVersion)
    Refuse("version " + std::to_string(version) + " is not known");
  const std::int32_t size = reader.U16("the image size");
  if (size < 1 || size > kMaxImageListImageSize) Refuse("image size " + std::to_string(size) + " out of range");
  const std::uint32_t count = reader.U32("the image count");
  if (count > kMaxImageListFileImages) Refuse("image count " + std::to_string(count) + " out of range");
  const std::uint16_t name_length = reader.U16("the name length");
  if (name_length > kMaxImageListNameBytes) Refuse("name too long");
  const QString name = QString::fromUtf8(reader.Bytes(name_length, "the name"));

  auto list = std::make_unique<TImageList>(size, FromQString(name));
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint32_t length = reader.U32("an image length");
    if (length > kMaxImageListPngBytes) Refuse("image " + std::to_string(i) + " too long");
    const QImage image = DecodePng(reader.Bytes(length, "an image"), size);
    if (image.isNull() || image.size() != QSize(size, size))
      Refuse("image " + std::to_string(i) + " is not a PNG image of the list's size");
    list->Add(image.convertToFormat(QImage::Format_ARGB32));
  }
  if (reader.Remaining() != 0) Refuse("bytes after the last image");
  return list;
}

void SaveImageListFile(const TImageList& list, const QString& path) {
  QSaveFile file(path);
  const QByteArray bytes = ImageListFileBytes(list);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
    throw EFCreateError(FromQString(QStringLiteral("Cannot write the image list file %1").arg(path)));
}

std::unique_ptr<TImageList> ReadImageListFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw EFOpenError(FromQString(QStringLiteral("Cannot open the image list file %1").arg(path)));
  if (file.size() > kMaxImageListFileBytes) Refuse("larger than " + std::to_string(kMaxImageListFileBytes) + " bytes");
  return ImageListFromFileBytes(file.readAll());
}

QImage IconFileImage(const UnicodeString& name, std::int32_t size) {
  constexpr qsizetype kHeaderSize = 6;
  constexpr qsizetype kEntrySize = 16;
  if (size < 1 || size > 256) return {};
  QFile file(ToQString(name));
  if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxIconFileBytes) return {};
  const QByteArray bytes = file.readAll();
  if (bytes.size() < kHeaderSize || U16At(bytes, 2) != 1) return {};
  const std::uint16_t count = U16At(bytes, 4);
  // The width byte holds 0 for 256 pixels.
  const std::int32_t width_byte = size == 256 ? 0 : size;
  for (qsizetype entry = 0; entry < count; ++entry) {
    const qsizetype at = kHeaderSize + entry * kEntrySize;
    if (at + kEntrySize > bytes.size()) break;
    const std::int32_t width = static_cast<std::uint8_t>(bytes[at]);
    const std::uint16_t bits = U16At(bytes, at + 6);
    const std::uint32_t data_size = U32At(bytes, at + 8);
    const std::uint32_t offset = U32At(bytes, at + 12);
    if (width != width_byte || bits != 32 || data_size == 0) continue;
    if (qint64{offset} + data_size > bytes.size()) continue;
    const QByteArray data = bytes.mid(offset, data_size);
    QImage image = DecodePng(data, size);
    if (image.isNull()) image = DecodeIconBitmap(data, size);
    if (!image.isNull() && image.size() == QSize(size, size)) return image.convertToFormat(QImage::Format_ARGB32);
  }
  return {};
}

std::vector<std::int32_t> SaveImageListFromListOfIconFiles(const std::vector<UnicodeString>& icons,
                                                           std::int32_t size, const UnicodeString& name) {
  TImageList list(size, FromQString(QStringLiteral("ImageList%1").arg(size)));
  std::vector<std::int32_t> used;
  for (std::size_t i = 0; i < icons.size(); ++i) {
    if (IconsizesInAnIconfile(icons[i], 32, {size}).empty()) continue;
    QImage image = IconFileImage(icons[i], size);
    if (image.isNull()) continue;
    list.Add(std::move(image));
    used.push_back(static_cast<std::int32_t>(i));
  }
  if (!used.empty()) SaveImageListFile(list, ToQString(name));
  return used;
}

}  // namespace quill
