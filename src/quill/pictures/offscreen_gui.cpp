#include "pictures/offscreen_gui.h"

#include <QImage>
#include <QSaveFile>

#include <cstdio>

#include "commands.h"
#include "corpus_input.h"
#include "quillctl/qt_canvas.h"

namespace quill::cli {
namespace {

void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "quill: %s\n", qPrintable(message));
}

}  // namespace

OffscreenGui::OffscreenGui() {
  if (QCoreApplication::instance() == nullptr) {
    previous_ = qInstallMessageHandler(QuietQtMessages);
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
  }
}

OffscreenGui::~OffscreenGui() {
  if (app_) {
    app_.reset();
    qInstallMessageHandler(previous_);
  }
}

void WritePngPicture(const std::string& path, int width, int min_width, int max_width, int height,
                     const char16_t* font, const std::function<void(TQtCanvas& canvas)>& paint) {
  if (width < min_width || width > max_width)
    Fail("--png-width must be between " + std::to_string(min_width) + " and " + std::to_string(max_width), kExitUsage);
  OffscreenGui gui;
  QImage image;
  {
    TBitmapCanvas bitmap(width, height);
    bitmap.Canvas().SetFontName(font);
    paint(bitmap.Canvas());
    bitmap.Finish();
    image = bitmap.Image();
  }
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
    Fail("cannot write the picture " + path + ": " + file.errorString().toStdString(), kExitFailure);
}

}  // namespace quill::cli
