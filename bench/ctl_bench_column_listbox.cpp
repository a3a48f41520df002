// Painting the styled column list box over a million tab-separated lines: the
// time to paint one visible page at places spread through the list, and the
// time to scroll by one line and repaint. Runs on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QWidget>
#include <memory>

#include "quillctl/styled_listboxes.h"
#include "quillrt/framework/format.h"

namespace {

constexpr int kLines = 1'000'000;

// A form with a header and a list box of a million word-list lines.
struct TListForm {
  TListForm() {
    form.resize(800, 624);
    header = new quill::THeaderControl(&form);  // children of the form
    list = new quill::TStyledColumnListbox(&form);
    header->setGeometry(0, 0, 800, 24);
    list->setGeometry(0, 24, 800, 600);
    list->SetHeaderControl(header);
    list->SetColumns(4);
    quill::TStringList& items = list->Items();
    items.BeginUpdate();
    items.SetCapacity(kLines);
    for (int i = 0; i < kLines; ++i)
      items.Add(quill::Format(u"%d\tword%d\t%d\t%.2f%%", {i + 1, i % 50'000, kLines - i, 100.0 / (i + 1)}));
    items.EndUpdate();
    form.show();
  }
  QWidget form;
  quill::THeaderControl* header = nullptr;
  quill::TStyledColumnListbox* list = nullptr;
};

// Made on first use and let go before the application object: a widget must
// not outlive it (a function-local static would, and crash at exit).
std::unique_ptr<TListForm> the_form;

TListForm& Form() {
  if (!the_form) the_form = std::make_unique<TListForm>();
  return *the_form;
}

void PaintPage(QWidget& viewport, QImage& target) {
  QPainter painter(&target);
  viewport.render(&painter);
}

void BM_PaintVisiblePage(benchmark::State& state) {
  TListForm& f = Form();
  QWidget& viewport = *f.list->viewport();
  QImage target(viewport.size(), QImage::Format_ARGB32_Premultiplied);
  QScrollBar& bar = *f.list->verticalScrollBar();
  int step = 0;
  for (auto _ : state) {
    // Jump round the list so that each page is a different stretch of lines.
    bar.setValue(static_cast<int>((static_cast<long long>(step++) * 7'919 * f.list->ItemHeight()) % bar.maximum()));
    PaintPage(viewport, target);
    benchmark::ClobberMemory();
  }
  state.counters["lines_per_page"] = viewport.height() / f.list->ItemHeight();
}
BENCHMARK(BM_PaintVisiblePage)->Unit(benchmark::kMicrosecond);

void BM_ScrollOneLineAndPaint(benchmark::State& state) {
  TListForm& f = Form();
  QWidget& viewport = *f.list->viewport();
  QImage target(viewport.size(), QImage::Format_ARGB32_Premultiplied);
  QScrollBar& bar = *f.list->verticalScrollBar();
  bar.setValue(bar.maximum() / 2);
  for (auto _ : state) {
    bar.setValue(bar.value() + f.list->ItemHeight());
    PaintPage(viewport, target);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ScrollOneLineAndPaint)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  the_form.reset();
  return 0;
}
