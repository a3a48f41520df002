#pragma once
// Conversions between Qt's strings and the runtime's UTF-16 strings.
#include <QString>
#include <string>

#include "quillrt/framework/strings.h"

namespace quill::workbench {

inline QString ToQString(const UnicodeString& text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}
inline UnicodeString FromQString(const QString& text) {
  return UnicodeString(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}
inline QString Utf8ToQString(const std::string& text) { return QString::fromStdString(text); }

}  // namespace quill::workbench
