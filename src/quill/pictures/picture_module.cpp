#include "pictures/picture_module.h"

namespace {

constexpr quill::cli::PictureWriters kWriters{QUILL_VERSION, &quill::cli::SaveConcordPicture,
                                              &quill::cli::SaveDispersionPicture};

}  // namespace

extern "C" __attribute__((visibility("default"))) const quill::cli::PictureWriters* quill_picture_writers() {
  return &kWriters;
}
