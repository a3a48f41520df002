#pragma once
// The window every tool's form derives from: it keeps itself and its controls
// in the process-wide visual style, follows a style change broadcast by the
// controller, and re-sizes its list boxes, combos, grids and button images
// when the screen's resolution is not 96 pixels per inch or changes.
//
// Also the component walking both need: setting properties by name and
// decoding the messages a calling program sends.
#include <QEvent>
#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <concepts>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "quillctl/quillctl_export.h"
#include "quillctl/style_pack.h"
#include "quillctl/image_lists.h"

namespace quill {

// A message from a calling program: its first parameter carries a code (low
// word) and an extra number (high word), its second a value.
struct TCallingProgramMessage {
  std::int32_t code = 0;
  std::int32_t extra = 0;
  std::int64_t value = 0;
  friend bool operator==(const TCallingProgramMessage&, const TCallingProgramMessage&) = default;
};

// Decodes the two parameters; the value is taken without its sign.
QUILLCTL_API TCallingProgramMessage MessageFromCallingProgram(std::uint32_t first, std::int64_t second);
// The same with the value as sent.
QUILLCTL_API TCallingProgramMessage MessageExtraFromCallingProgram(std::uint32_t first, std::int64_t second);

// The event a calling program (or the controller) sends to the tools' forms.
class QUILLCTL_API TCallingProgramEvent : public QEvent {
 public:
  static QEvent::Type EventType();
  explicit TCallingProgramEvent(TCallingProgramMessage message);
  const TCallingProgramMessage& Message() const { return message_; }

 private:
  TCallingProgramMessage message_;
};

// The code with which the controller announces that the style has changed.
inline constexpr std::int32_t kStyleChangeCode = 703;

// Sets a declared property by name; false (nothing changed) when the object
// has no such property or it does not take the value.
QUILLCTL_API bool TrySetPropValue(QObject& object, const char* name, const QVariant& value);
// The same for a property that holds an object: false unless the property is
// declared to hold objects of a class that `value` belongs to (none clears it).
QUILLCTL_API bool TrySetPropObject(QObject& object, const char* name, QObject* value);
// TrySetPropValue with an object. A template, so that a literal 0 meant for a
// number still goes to the value form above.
template <class T>
  requires std::derived_from<T, QObject>
bool TrySetPropValue(QObject& object, const char* name, T* value) {
  return TrySetPropObject(object, name, value);
}
// Whether the object declares an enumeration or integer property of that name
// whose value differs from `value`.
QUILLCTL_API bool ObjHasPropertyAndNotValue(const QObject& object, const char* name, std::int64_t value);

// ---- Walking a form's components ---------------------------------------------
//
// A walk visits every object inside a form at any depth (widgets, and also
// actions and other non-visual children), in the order of Qt's child lists.

// A component found: its most derived class known to Qt's meta-objects, and
// the component (cleared should it be destroyed meanwhile).
struct TMyComponentRec {
  const QMetaObject* classe = nullptr;
  QPointer<QObject> obj;
};
// Components found, each at most once, in the order found.
using TMyComponentList = std::vector<TMyComponentRec>;
// What to do to each control a walk selects.
using TDoThisProc = std::function<void(QWidget& control)>;
// A class a walk looks for; it accepts objects of derived classes too. Our own
// controls declare no meta-object of their own, so classes are tested in C++.
using TComponentClass = std::function<bool(const QObject& component)>;
template <class T>
TComponentClass ClassOf() {
  return [](const QObject& component) { return dynamic_cast<const T*>(&component) != nullptr; };
}

// Adds to `list` every component of `form` with a property (declared or
// dynamic) called `name` whose value differs from `value`; with no value
// (an invalid QVariant) every component whose property is set (valid and not
// a null pointer). Answers the number added.
QUILLCTL_API std::int32_t FindComponentsWPropertyOfTypes(QWidget& form, TMyComponentList& list, const char* name,
                                                         const QVariant& value = {});
// Adds to `list` every component of `form` of one of `classes`; the number added.
QUILLCTL_API std::int32_t LoadAllRelevantComponentsOfForm(QWidget& form, const std::vector<TComponentClass>& classes,
                                                          TMyComponentList& list);
// Applies `doThis` to every control inside `form` of one of `classes`.
QUILLCTL_API void SetAllOfXTypesComponentsToDoThis(QWidget& form, const std::vector<TComponentClass>& classes,
                                                   const TDoThisProc& doThis);
// Applies `doThis` to every control inside `form` of the class.
QUILLCTL_API void SetAllOfThisComponentsToDoThis(QWidget& form, const TComponentClass& classe,
                                                 const TDoThisProc& doThis);
// Applies `doThis` to every control inside `form` that `wanted` accepts.
QUILLCTL_API void SetAllOfTheseComponentsToDoThis(QWidget& form, const std::function<bool(QWidget&)>& wanted,
                                                  const TDoThisProc& doThis);
// Applies `doThis` to the controls of the list that still exist (components
// that are not controls are passed over).
QUILLCTL_API void SetAllOfTheseComponentsToDoThis(const TMyComponentList& list, const TDoThisProc& doThis);

class TFormStyler;

class QUILLCTL_API TTMSStylableForm : public QWidget {
 public:
  explicit TTMSStylableForm(QWidget* parent = nullptr);
  ~TTMSStylableForm() override;

  // Puts a styler on the form in GlobalTMSStyle and collects the controls that
  // react to the resolution (list boxes, combos, grids, tab widgets and tab
  // bars, progress bars, tool bars, check boxes, menus and menu bars, buttons
  // with images).
  void AddAFormStyler();
  TFormStyler* GetFormStyler() const { return FormStylerPAI.get(); }
  const std::vector<QPointer<QWidget>>& ComponentsToResize() const { return components_to_resize_; }

  // Takes GlobalTMSStyle when the form's colour is not yet its background.
  void MudancaDeEstilo();
  // Adapts to the resolution the form is shown at (or the one set below).
  void CorrigeFormScreenRes();
  // Makes the form take this resolution instead of its screen's from now on
  // (when shown, and at once if it is visible); 0 follows the screen again.
  // Tests and the offscreen platform, whose screen is always 96 pixels per
  // inch, use it to show a form as on another screen.
  void SetPixelsPerInch(std::int32_t pixels_per_inch);
  std::int32_t PixelsPerInch() const { return pixels_per_inch_; }
  // Adapts to a given resolution: sets the font scale and the image height
  // (the nearest to a fifth of the pixels per inch) and, away from 96 pixels
  // per inch (and at 96 again once it has been away), re-sizes the collected
  // controls.
  void AdaptToPixelsPerInch(std::int32_t pixels_per_inch);
  // Corrects each collected control for the image size of `dimension` and
  // GlobalMonitorFontScale: item heights of lists, combos and grids, icon
  // sizes of tab widgets, tool bars, menus and buttons, the indicator of check
  // boxes, the height of progress bars and plain combos.
  void ReadjustSizeRelevantComponents(TImageDimensions dimension);
  bool NeedsSizeAdjust() const { return needs_size_adjust; }

  // Sends a calling-program message to every tool form of the application.
  static void BroadcastToForms(TCallingProgramMessage message);

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void FormActivate();
  void WatchScreen();
  TColor FormColour() const;

  std::vector<QPointer<QWidget>> components_to_resize_;
  std::unique_ptr<TFormStyler> FormStylerPAI;
  bool needs_size_adjust = false;
  std::int32_t pixels_per_inch_ = 0;
  bool watching_screen_ = false;
  QMetaObject::Connection screen_connection_;
};

}  // namespace quill
