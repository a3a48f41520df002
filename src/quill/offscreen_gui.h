#pragma once
// The Qt application a picture needs for its fonts, on the offscreen platform
// so that no display is needed. Qt's notes about its runtime folders and the
// like are kept off standard error while it lives; real errors still come
// through.
#include <QGuiApplication>
#include <QtGlobal>

#include <memory>

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

}  // namespace quill::cli
