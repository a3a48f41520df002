#include "quillfs/folder_dialog.h"

#include <utility>

#include "quillrt/catalogue/message_catalogue.h"

namespace quill {

namespace {

TChooseFolderHook& InstalledHook() {
  static TChooseFolderHook hook = NoFolderChosen;
  return hook;
}

}  // namespace

UnicodeString NoFolderChosen(const UnicodeString& /*title*/, const UnicodeString& /*ok_label*/,
                             const UnicodeString& /*suggested*/) {
  return {};
}

UnicodeString ChosenFolder(const UnicodeString& title, const UnicodeString& ok_label, const UnicodeString& suggested) {
  // A copy: the hook may install another while it runs.
  const TChooseFolderHook hook = InstalledHook();
  return hook(title, ok_label, suggested);
}

TChooseFolderHook SetChooseFolderHook(TChooseFolderHook hook) {
  if (!hook) hook = NoFolderChosen;
  return std::exchange(InstalledHook(), std::move(hook));
}

TMyOpenFolderDialog::TMyOpenFolderDialog(TObject* /*AOwner*/) {}

TMyOpenFolderDialog::~TMyOpenFolderDialog() = default;

void TMyOpenFolderDialog::ButtonClick() {
  if (OnButtonPressing) OnButtonPressing(this);
  const UnicodeString folder = ChosenFolder(kSelectFolderTitle, CatalogueText("_QYSelect"), ftext);
  if (folder.empty()) return;
  ffolder = folder;
  ftext = folder;
  if (OnFolderChosen) OnFolderChosen(this);
}

TMyOpenFileDialog::~TMyOpenFileDialog() = default;

}  // namespace quill
