#pragma once
// Choosing a folder. The library draws no dialog itself: ChosenFolder asks
// through one replaceable hook, so that a graphical front end installs its own
// folder picker (quillctl provides a Qt one, ChooseFolderWithQt) while a
// program without a user interface gets the default, which answers as if the
// user had cancelled.
//
// TMyOpenFolderDialog is the model behind an edit box with a button: pressing
// the button asks for a folder, suggesting the edit's text, and a folder
// chosen becomes both the edit's text and Folder.
#include <functional>

#include "quillfs/quillfs_export.h"
#include "quillrt/files/peruse_dir.h"
#include "quillrt/framework/strings.h"

namespace quill {

// Shows a folder picker with `title` and an OK button labelled `ok_label`,
// starting at `suggested`. Returns the chosen folder, or empty when cancelled.
using TChooseFolderHook = std::function<UnicodeString(const UnicodeString& title, const UnicodeString& ok_label,
                                                      const UnicodeString& suggested)>;

// The chosen folder through the installed hook; empty when the user cancels.
QUILLFS_API UnicodeString ChosenFolder(const UnicodeString& title, const UnicodeString& ok_label,
                                       const UnicodeString& suggested);

// Installs `hook` and returns the one it replaces (never empty). An empty hook
// reinstalls the default.
QUILLFS_API TChooseFolderHook SetChooseFolderHook(TChooseFolderHook hook);

// The default hook: no user to ask, so the answer is "cancelled" (empty).
QUILLFS_API UnicodeString NoFolderChosen(const UnicodeString& title, const UnicodeString& ok_label,
                                         const UnicodeString& suggested);

// The title of the picker the button opens.
inline constexpr char16_t kSelectFolderTitle[] = u"Select Folder";

class QUILLFS_API TMyOpenFolderDialog : public TObject {
 public:
  explicit TMyOpenFolderDialog(TObject* AOwner = nullptr);
  ~TMyOpenFolderDialog() override;
  TMyOpenFolderDialog(const TMyOpenFolderDialog&) = delete;
  TMyOpenFolderDialog& operator=(const TMyOpenFolderDialog&) = delete;

  // The button was pressed: fires OnButtonPressing, then asks for a folder
  // ("Select Folder", OK label "Select", the edit's text suggested). A folder
  // chosen becomes Folder and the edit's text, and OnFolderChosen fires; a
  // cancelled picker changes nothing.
  void ButtonClick();

  const UnicodeString& Folder() const { return ffolder; }
  void SetFolder(const UnicodeString& folder) { ffolder = folder; }
  // The edit's text.
  const UnicodeString& Text() const { return ftext; }
  void SetText(const UnicodeString& text) { ftext = text; }

  TNotifyEvent OnButtonPressing;
  TNotifyEvent OnFolderChosen;

 private:
  UnicodeString ffolder;
  UnicodeString ftext;
};

// The same control where a tool asks for a file's folder; it adds nothing.
class QUILLFS_API TMyOpenFileDialog : public TMyOpenFolderDialog {
 public:
  using TMyOpenFolderDialog::TMyOpenFolderDialog;
  ~TMyOpenFileDialog() override;
};

}  // namespace quill
