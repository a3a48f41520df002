#include "quillctl/stylable_form.h"

#include <QAbstractButton>
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
#include <cmath>
#include <cstdlib>

#include "quillctl/colour_choosers.h"
#include "quillctl/qt_canvas.h"
#include "quillctl/styled_listboxes.h"

namespace quill {

namespace {

bool ReactsToResolution(QWidget& widget) {
  if (dynamic_cast<TOwnerDrawnList*>(&widget) || dynamic_cast<TColourSharingCombo*>(&widget) ||
      dynamic_cast<QTableView*>(&widget) || dynamic_cast<QTabWidget*>(&widget) ||
      dynamic_cast<QProgressBar*>(&widget) || dynamic_cast<QToolBar*>(&widget))
    return true;
  const auto* button = dynamic_cast<QAbstractButton*>(&widget);
  return button && !button->icon().isNull();
}

std::int32_t ListItemHeight() { return static_cast<std::int32_t>(std::lround(0.8 * GlobalImageHeight)); }

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
  } else if (auto* grid = dynamic_cast<QTableView*>(&widget)) {
    grid->verticalHeader()->setDefaultSectionSize(ListItemHeight());
  } else if (auto* tabs = dynamic_cast<QTabWidget*>(&widget)) {
    tabs->setIconSize(image_size);
    for (int tab = 0; tab < tabs->count(); ++tab)
      if (const std::int32_t icon = IconNumberOf(*tabs->widget(tab)); icon >= 0)
        tabs->setTabIcon(tab, list.Icon(ImageIndexOfIcon(icon)));
  } else if (auto* bar = dynamic_cast<QToolBar*>(&widget)) {
    bar->setIconSize(image_size);
    for (QAction* action : bar->actions())
      if (const std::int32_t icon = IconNumberOf(*action); icon >= 0) action->setIcon(list.Icon(ImageIndexOfIcon(icon)));
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

void SetAllOfTheseComponentsToDoThis(QWidget& form, const std::function<bool(QWidget&)>& wanted,
                                     const std::function<void(QWidget&)>& doThis) {
  for (QWidget* child : form.findChildren<QWidget*>())
    if (wanted(*child)) doThis(*child);
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

void TTMSStylableForm::CorrigeFormScreenRes() { AdaptToPixelsPerInch(WidgetPixelsPerInch(*this)); }

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
