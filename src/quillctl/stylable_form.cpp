#include "quillctl/stylable_form.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QApplication>
#include <QHeaderView>
#include <QMetaProperty>
#include <QProgressBar>
#include <QScreen>
#include <QShowEvent>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "quillctl/colour_choosers.h"
#include "quillctl/qt_canvas.h"
#include "quillctl/styled_listboxes.h"

namespace quill {

namespace {

bool ReactsToResolution(QWidget& widget) {
  if (dynamic_cast<TOwnerDrawnList*>(&widget) || dynamic_cast<QComboBox*>(&widget) ||
      dynamic_cast<QTableView*>(&widget) || dynamic_cast<QTabWidget*>(&widget) ||
      dynamic_cast<QProgressBar*>(&widget) || dynamic_cast<QToolBar*>(&widget) ||
      dynamic_cast<QCheckBox*>(&widget) || dynamic_cast<QMenu*>(&widget) || dynamic_cast<QMenuBar*>(&widget))
    return true;
  // A tab bar of its own; the one inside a tab widget goes with the widget.
  if (dynamic_cast<QTabBar*>(&widget)) return !dynamic_cast<QTabWidget*>(widget.parentWidget());
  // Buttons with images, but not those that menu bars, tab bars and tool bars
  // make for themselves: their owners size them.
  const QWidget* owner = widget.parentWidget();
  if (dynamic_cast<const QMenuBar*>(owner) || dynamic_cast<const QTabBar*>(owner) ||
      dynamic_cast<const QToolBar*>(owner))
    return false;
  const auto* button = dynamic_cast<QAbstractButton*>(&widget);
  return button && !button->icon().isNull();
}

std::int32_t ListItemHeight() { return static_cast<std::int32_t>(std::lround(0.8 * GlobalImageHeight)); }

// A check box's indicator keeps the share of the image height it has at the
// standard size (13 of 20 pixels).
std::int32_t CheckIndicatorSize() { return static_cast<std::int32_t>(std::lround(0.65 * GlobalImageHeight)); }

// The height a control had before its first correction, scaled: corrections
// start from it each time, so that they never compound.
void ScaleMinimumHeight(QWidget& widget, double scale) {
  static const char* const kBaseHeight = "quillBaseHeight";
  if (!widget.property(kBaseHeight).isValid()) widget.setProperty(kBaseHeight, widget.sizeHint().height());
  widget.setMinimumHeight(static_cast<int>(std::lround(widget.property(kBaseHeight).toInt() * scale)));
}

void SetNumberedIcons(const QList<QAction*>& actions, const TImageList& list) {
  for (QAction* action : actions)
    if (const std::int32_t icon = IconNumberOf(*action); icon >= 0) action->setIcon(list.Icon(ImageIndexOfIcon(icon)));
}

void ReadjustOne(QWidget& widget, TImageDimensions dimension) {
  const TImageList& list = ImageListOfDimension(dimension);
  const QSize image_size(list.Size(), list.Size());
  if (auto* colours = dynamic_cast<TColourSharingListbox*>(&widget)) {
    colours->CorrectForScreenResolucao(GlobalMonitorFontScale);
  } else if (auto* columns = dynamic_cast<TStyledColumnListbox*>(&widget)) {
    columns->CorrectForScreenResolucao(GlobalMonitorFontScale);
  } else if (auto* list_box = dynamic_cast<TOwnerDrawnList*>(&widget)) {
    list_box->SetItemHeight(ListItemHeight());
  } else if (auto* combo = dynamic_cast<TColourSharingCombo*>(&widget)) {
    combo->SetItemHeight(ListItemHeight());
  } else if (auto* other_combo = dynamic_cast<QComboBox*>(&widget)) {
    other_combo->setIconSize(image_size);
    ScaleMinimumHeight(*other_combo, GlobalMonitorFontScale);
  } else if (auto* grid = dynamic_cast<QTableView*>(&widget)) {
    grid->verticalHeader()->setDefaultSectionSize(ListItemHeight());
  } else if (auto* tabs = dynamic_cast<QTabWidget*>(&widget)) {
    tabs->setIconSize(image_size);
    for (int tab = 0; tab < tabs->count(); ++tab)
      if (const std::int32_t icon = IconNumberOf(*tabs->widget(tab)); icon >= 0)
        tabs->setTabIcon(tab, list.Icon(ImageIndexOfIcon(icon)));
  } else if (auto* tab_bar = dynamic_cast<QTabBar*>(&widget)) {
    tab_bar->setIconSize(image_size);
  } else if (auto* progress = dynamic_cast<QProgressBar*>(&widget)) {
    ScaleMinimumHeight(*progress, GlobalMonitorFontScale);
  } else if (auto* menu = dynamic_cast<QMenu*>(&widget)) {
    SetStyledIconSize(*menu, list.Size());
    SetNumberedIcons(menu->actions(), list);
  } else if (auto* menu_bar = dynamic_cast<QMenuBar*>(&widget)) {
    SetStyledIconSize(*menu_bar, list.Size());
    SetNumberedIcons(menu_bar->actions(), list);
  } else if (auto* bar = dynamic_cast<QToolBar*>(&widget)) {
    bar->setIconSize(image_size);
    SetNumberedIcons(bar->actions(), list);
  } else if (auto* check_box = dynamic_cast<QCheckBox*>(&widget)) {
    SetStyledIndicatorSize(*check_box, CheckIndicatorSize());
    check_box->setIconSize(image_size);
    if (const std::int32_t icon = IconNumberOf(*check_box); icon >= 0)
      check_box->setIcon(list.Icon(ImageIndexOfIcon(icon)));
  } else if (auto* button = dynamic_cast<QAbstractButton*>(&widget)) {
    button->setIconSize(image_size);
    if (const std::int32_t icon = IconNumberOf(*button); icon >= 0) button->setIcon(list.Icon(ImageIndexOfIcon(icon)));
  }
}

}  // namespace

TCallingProgramMessage MessageExtraFromCallingProgram(std::uint32_t first, std::int64_t second) {
  return {static_cast<std::int32_t>(first & 0xFFFF), static_cast<std::int32_t>(first >> 16), second};
}

TCallingProgramMessage MessageFromCallingProgram(std::uint32_t first, std::int64_t second) {
  TCallingProgramMessage message = MessageExtraFromCallingProgram(first, second);
  message.value = std::llabs(message.value);
  return message;
}

QEvent::Type TCallingProgramEvent::EventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

TCallingProgramEvent::TCallingProgramEvent(TCallingProgramMessage message)
    : QEvent(EventType()), message_(message) {}

bool TrySetPropValue(QObject& object, const char* name, const QVariant& value) {
  const QMetaObject& meta = *object.metaObject();
  const int index = meta.indexOfProperty(name);
  if (index < 0) return false;
  return meta.property(index).write(&object, value);
}

bool ObjHasPropertyAndNotValue(const QObject& object, const char* name, std::int64_t value) {
  const QMetaObject& meta = *object.metaObject();
  const int index = meta.indexOfProperty(name);
  if (index < 0) return false;
  const QMetaProperty property = meta.property(index);
  const QVariant current = property.read(&object);
  bool is_number = false;
  const qlonglong number = current.toLongLong(&is_number);
  return (property.isEnumType() || is_number) && number != value;
}

bool TrySetPropObject(QObject& object, const char* name, QObject* value) {
  const QMetaObject& meta = *object.metaObject();
  const int index = meta.indexOfProperty(name);
  if (index < 0) return false;
  const QMetaProperty property = meta.property(index);
  const QMetaType type = property.metaType();
  if (!(type.flags() & QMetaType::PointerToQObject) || !property.isWritable()) return false;
  // Checked here rather than left to the conversion, which would write a null
  // pointer for an object of the wrong class on some Qt versions.
  if (value && !value->metaObject()->inherits(type.metaObject())) return false;
  return property.write(&object, QVariant::fromValue(value));
}

void SetAllOfTheseComponentsToDoThis(QWidget& form, const std::function<bool(QWidget&)>& wanted,
                                     const TDoThisProc& doThis) {
  for (QWidget* child : form.findChildren<QWidget*>())
    if (wanted(*child)) doThis(*child);
}

void SetAllOfTheseComponentsToDoThis(const TMyComponentList& list, const TDoThisProc& doThis) {
  for (const TMyComponentRec& rec : list)
    if (auto* control = qobject_cast<QWidget*>(rec.obj.data())) doThis(*control);
}

namespace {

bool OfOneOf(const QObject& component, const std::vector<TComponentClass>& classes) {
  return std::any_of(classes.begin(), classes.end(), [&](const TComponentClass& is) { return is(component); });
}

// Adds the components `wanted` accepts that the list does not hold yet.
std::int32_t AddComponents(QWidget& form, TMyComponentList& list, const std::function<bool(const QObject&)>& wanted) {
  std::int32_t added = 0;
  for (QObject* component : form.findChildren<QObject*>()) {
    if (!wanted(*component)) continue;
    const bool held = std::any_of(list.begin(), list.end(), [&](const TMyComponentRec& rec) { return rec.obj == component; });
    if (held) continue;
    list.push_back({component->metaObject(), component});
    ++added;
  }
  return added;
}

}  // namespace

std::int32_t FindComponentsWPropertyOfTypes(QWidget& form, TMyComponentList& list, const char* name,
                                            const QVariant& value) {
  return AddComponents(form, list, [&](const QObject& component) {
    const QVariant current = component.property(name);
    if (!current.isValid()) return false;
    return value.isValid() ? current != value : !current.isNull();
  });
}

std::int32_t LoadAllRelevantComponentsOfForm(QWidget& form, const std::vector<TComponentClass>& classes,
                                             TMyComponentList& list) {
  return AddComponents(form, list, [&](const QObject& component) { return OfOneOf(component, classes); });
}

void SetAllOfXTypesComponentsToDoThis(QWidget& form, const std::vector<TComponentClass>& classes,
                                      const TDoThisProc& doThis) {
  SetAllOfTheseComponentsToDoThis(form, [&](QWidget& control) { return OfOneOf(control, classes); }, doThis);
}

void SetAllOfThisComponentsToDoThis(QWidget& form, const TComponentClass& classe, const TDoThisProc& doThis) {
  SetAllOfTheseComponentsToDoThis(form, [&](QWidget& control) { return classe(control); }, doThis);
}

// A form without a font of its own follows its parent's (for a window, the
// application's), as do its controls.
TTMSStylableForm::TTMSStylableForm(QWidget* parent) : QWidget(parent) {}

TTMSStylableForm::~TTMSStylableForm() = default;

void TTMSStylableForm::AddAFormStyler() {
  FormStylerPAI = std::make_unique<TFormStyler>(*this, GlobalTMSStyle);
  FormStylerPAI->OnStyleChange = [this](TTMSStyle) { update(); };
  components_to_resize_.clear();
  SetAllOfTheseComponentsToDoThis(*this, ReactsToResolution,
                                  [this](QWidget& widget) { components_to_resize_.emplace_back(&widget); });
}

TColor TTMSStylableForm::FormColour() const { return FromQColor(palette().color(QPalette::Window)); }

void TTMSStylableForm::MudancaDeEstilo() {
  const TColor wanted = GetTMSBackgroundColour(GlobalTMSStyle);
  if (FormColour() == FromQColor(ToQColor(wanted)) && (!FormStylerPAI || FormStylerPAI->Style() == GlobalTMSStyle))
    return;
  if (FormStylerPAI) FormStylerPAI->SetStyle(GlobalTMSStyle);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, ToQColor(wanted));
  setPalette(colours);
  setAutoFillBackground(true);
  update();
}

void TTMSStylableForm::FormActivate() {
  if (FormStylerPAI) FormStylerPAI->SetStyle(GlobalTMSStyle);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, ToQColor(GetTMSBackgroundColour(GlobalTMSStyle)));
  setPalette(colours);
  setAutoFillBackground(true);
}

void TTMSStylableForm::CorrigeFormScreenRes() {
  AdaptToPixelsPerInch(pixels_per_inch_ > 0 ? pixels_per_inch_ : WidgetPixelsPerInch(*this));
}

void TTMSStylableForm::SetPixelsPerInch(std::int32_t pixels_per_inch) {
  pixels_per_inch_ = std::max(pixels_per_inch, 0);
  if (isVisible()) CorrigeFormScreenRes();
}

void TTMSStylableForm::AdaptToPixelsPerInch(std::int32_t pixels_per_inch) {
  GlobalMonitorFontScale = MonitorScale(pixels_per_inch);
  GlobalImageHeight = IntegerToNearestImageHeight(static_cast<std::int32_t>(std::lround(pixels_per_inch / 5.0)));
  GlobalImageDimension = IntegerToNearestImageDimension(GlobalImageHeight);
  if (GlobalMonitorFontScale != 1.0 || pixels_per_inch != 96) needs_size_adjust = true;
  if (needs_size_adjust) ReadjustSizeRelevantComponents(GlobalImageDimension);
}

void TTMSStylableForm::ReadjustSizeRelevantComponents(TImageDimensions dimension) {
  for (const QPointer<QWidget>& widget : components_to_resize_)
    if (widget) ReadjustOne(*widget, dimension);
}

void TTMSStylableForm::BroadcastToForms(TCallingProgramMessage message) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (!dynamic_cast<TTMSStylableForm*>(widget)) continue;
    TCallingProgramEvent event(message);
    QApplication::sendEvent(widget, &event);
  }
}

bool TTMSStylableForm::event(QEvent* event) {
  if (event->type() == TCallingProgramEvent::EventType()) {
    if (static_cast<TCallingProgramEvent*>(event)->Message().code == kStyleChangeCode) MudancaDeEstilo();
    return true;
  }
  return QWidget::event(event);
}

void TTMSStylableForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (FormStylerPAI) FormStylerPAI->ApplyStyle();
  CorrigeFormScreenRes();
  WatchScreen();
}

void TTMSStylableForm::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TTMSStylableForm::WatchScreen() {
  QWindow* window = windowHandle();
  if (watching_screen_ || !window) return;
  watching_screen_ = true;
  // Moving to another screen, or the screen changing its resolution, re-sizes.
  const auto follow_screen = [this](QScreen* screen) {
    disconnect(screen_connection_);
    if (!screen) return;
    screen_connection_ =
        connect(screen, &QScreen::logicalDotsPerInchChanged, this, [this] { CorrigeFormScreenRes(); });
  };
  connect(window, &QWindow::screenChanged, this, [this, follow_screen](QScreen* screen) {
    follow_screen(screen);
    CorrigeFormScreenRes();
  });
  follow_screen(window->screen());
}

}  // namespace quill
