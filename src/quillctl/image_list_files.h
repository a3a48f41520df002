#pragma once
// Image lists on disk, and image lists made from icon files.
//
// An image-list file is our own small binary form, little-endian throughout:
//
//   offset  size  field
//        0     4  magic "QIML"
//        4     2  version, 1
//        6     2  image size in pixels (the images are square), 1 to 256
//        8     4  image count, at most kMaxImageListFileImages
//       12     2  name length in bytes, at most kMaxImageListNameBytes
//       14     n  the list's name, UTF-8
//   then per image:
//                4  length of the PNG data, at most kMaxImageListPngBytes
//                m  the image as PNG, exactly size x size pixels
//
// Nothing may follow the last image, and a file is at most
// kMaxImageListFileBytes long. A reader that meets anything else (an
// unknown version, a count or length beyond its bound or beyond the end of the
// file, an image that does not decode to the list's size, trailing bytes)
// refuses the whole file, so no caller ever sees a list filled half-way.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "quillctl/image_lists.h"
#include "quillctl/quillctl_export.h"
#include "quillrt/framework/strings.h"

namespace quill {

inline constexpr char kImageListFileMagic[4] = {'Q', 'I', 'M', 'L'};
inline constexpr std::uint16_t kImageListFileVersion = 1;
inline constexpr std::uint32_t kMaxImageListFileImages = 4096;
inline constexpr std::uint16_t kMaxImageListNameBytes = 255;
inline constexpr std::uint32_t kMaxImageListPngBytes = 4u << 20;
inline constexpr std::int32_t kMaxImageListImageSize = 256;
inline constexpr qint64 kMaxImageListFileBytes = 64 << 20;

// The file's bytes for a list (images at the list's size, written as PNG).
QUILLCTL_API QByteArray ImageListFileBytes(const TImageList& list);
// The list the bytes hold; EReadError, saying what is wrong, for anything that
// is not a whole, well-formed image-list file.
QUILLCTL_API std::unique_ptr<TImageList> ImageListFromFileBytes(const QByteArray& bytes);

// Writes the list to `path` through a file beside it that is renamed into
// place, so that a failed save leaves no half-written file and keeps an older
// one; EFCreateError when that is not possible.
QUILLCTL_API void SaveImageListFile(const TImageList& list, const QString& path);
// Reads the list at `path`: EFOpenError when it cannot be opened, EReadError
// when its content is refused.
QUILLCTL_API std::unique_ptr<TImageList> ReadImageListFile(const QString& path);

// The image of `size` x `size` pixels at 32 bits per pixel that an icon file
// holds (stored as PNG or as an uncompressed bitmap with its mask), with its
// transparency; a null image when the file has none or cannot be read.
QUILLCTL_API QImage IconFileImage(const UnicodeString& name, std::int32_t size);

// Builds a list of `size` x `size` images named "ImageList" + size from the
// icon of that size in each listed icon file that holds one at 32 bits per
// pixel, and saves it to `name` when at least one icon went in (nothing is
// written otherwise). Answers the positions in `icons` of the files used.
// EFCreateError when the list cannot be saved.
QUILLCTL_API std::vector<std::int32_t> SaveImageListFromListOfIconFiles(const std::vector<UnicodeString>& icons,
                                                                       std::int32_t size,
                                                                       const UnicodeString& name);

}  // namespace quill
