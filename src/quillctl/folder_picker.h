#pragma once
// The Qt folder picker the workbench asks for folders with. Its shape is that
// of the file tools' folder hook (title, OK-button label, suggested folder ->
// chosen folder or empty), in plain strings, so that this library needs
// nothing of the file tools and the workbench installs it with one line:
//
//   SetChooseFolderHook(&quill::ChooseFolderWithQt);
#include "quillctl/quillctl_export.h"
#include "quillrt/framework/strings.h"

namespace quill {

// Shows a modal folder picker titled `title`, its OK button labelled
// `ok_label` (Qt's own label when empty), opened at `suggested`. Returns the
// chosen folder, or empty when the user cancels. Without a running
// QApplication there is nobody to ask and the answer is empty.
QUILLCTL_API UnicodeString ChooseFolderWithQt(const UnicodeString& title, const UnicodeString& ok_label,
                                              const UnicodeString& suggested);

}  // namespace quill
