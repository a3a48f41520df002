#pragma once
// The Qt application a picture needs for its fonts, on the offscreen platform
// so that no display is needed. Qt's notes about its runtime folders and the
// like are kept off standard error while it lives; real errors still come
// through.
#include <QGuiApplication>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <string>

namespace quill {
class TQtCanvas;
}

namespace quill::cli {

class OffscreenGui {
 public:
  OffscreenGui();
  ~OffscreenGui();
  OffscreenGui(const OffscreenGui&) = delete;
  OffscreenGui& operator=(const OffscreenGui&) = delete;

 private:
  char name_[6] = "quill";
  char platform_option_[10] = "-platform";
  char platform_[10] = "offscreen";
  char* argv_[4] = {name_, platform_option_, platform_, nullptr};
  int argc_ = 3;
  QtMessageHandler previous_ = nullptr;
  std::unique_ptr<QGuiApplication> app_;
};

// Paints a picture of `width` x `height` pixels on an offscreen canvas whose
// font is `font`, and writes it to `path` as PNG, aside and renamed into
// place so that a failure leaves no partial picture (the command ends with
// exit code 1). A width outside [min_width, max_width] is a usage error of
// --png-width, caught before anything is allocated.
void WritePngPicture(const std::string& path, int width, int min_width, int max_width, int height,
                     const char16_t* font, const std::function<void(TQtCanvas& canvas)>& paint);

}  // namespace quill::cli
