#include "offscreen_gui.h"

#include <cstdio>

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

}  // namespace quill::cli
