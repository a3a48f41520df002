// Feeds arbitrary bytes to the image-list file reader.
//
// Refusal (EReadError) is the reader's documented answer to damaged input. A
// list that reads must be within the format's bounds, must write to a file that
// reads back as the same list (size, count, every pixel, and the name when it
// fits the field whole), and that file must write to the very same bytes again.
// PNG decoding needs no application object, so none is made.
#include <QByteArray>
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "quillctl/image_list_files.h"
#include "quillctl/qt_canvas.h"
#include "quillrt/framework/exceptions.h"

namespace {

using namespace quill;

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  std::unique_ptr<TImageList> list;
  try {
    list = ImageListFromFileBytes(bytes);
  } catch (const EReadError&) {
    return 0;
  }
  Check(list->Size() >= 1 && list->Size() <= kMaxImageListImageSize);
  Check(list->Count() >= 0 && static_cast<std::uint32_t>(list->Count()) <= kMaxImageListFileImages);

  const QByteArray written = ImageListFileBytes(*list);
  const std::unique_ptr<TImageList> again = ImageListFromFileBytes(written);  // must not be refused
  Check(again->Size() == list->Size() && again->Count() == list->Count());
  for (std::int32_t i = 0; i < list->Count(); ++i) {
    Check(list->Image(i).size() == QSize(list->Size(), list->Size()));
    Check(again->Image(i) == list->Image(i));
  }
  // Bytes that are not UTF-8 read as replacement characters, which may make
  // the name too long for the field; it is then cut at a character.
  if (ToQString(list->Name()).toUtf8().size() <= kMaxImageListNameBytes) Check(again->Name() == list->Name());
  Check(ImageListFileBytes(*again) == written);
  return 0;
}
