// Painting the cell area: a full frame of 60 rows by 25 columns of labels and formatted numbers,
// and paging down from the first row to the last with a frame painted after every Page Down.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <algorithm>
#include <memory>
#include <string>

#include "app/session.h"
#include "core/style_word.h"
#include "ui/cell_area_view.h"
#include "ui/qt_platform.h"

namespace {

constexpr int kRows = 60;
constexpr int kCols = 25;

QApplication& application() {
    static int argc = 1;
    static char name[] = "ui_paint";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

struct Sheet {
    qx::QtPlatform platform;
    qx::Session session{platform, qx::SessionOptions{}};
    std::unique_ptr<qx::CellAreaView> area;

    Sheet() {
        application();
        qx::ErrStat err;
        session.start(err);
        auto& entry = session.formulas().entry();
        for (int r = 1; r <= kRows; ++r) {
            for (int c = 1; c <= kCols; ++c) {
                const std::string text =
                    c % 3 == 1 ? "Label " + std::to_string(r) : "+" + std::to_string(r * 1.5) + "*" + std::to_string(c);
                entry.storeEntry(text, r, c, 1, qx::EntryOptions{}, err);
            }
        }
        area = std::make_unique<qx::CellAreaView>(session, 1);
        // Exactly 60 rows and 25 columns: the bars plus the default sizes.
        area->resize(kCols * 80 + 60, kRows * 17 + 30);
        area->show();
        QApplication::processEvents();
    }

    void paint(QImage& image) { area->viewport()->render(&image); }
};

void BM_PaintFullCellArea(benchmark::State& state) {
    Sheet sheet;
    QImage image(sheet.area->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    state.counters["visible_rows"] = sheet.area->visibleRows();
    state.counters["visible_cols"] = sheet.area->visibleCols();
    for (auto _ : state) {
        sheet.area->refresh();
        sheet.paint(image);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_PaintFullCellArea)->Unit(benchmark::kMillisecond);

// The same frame with nothing kept from the one before: fonts made and every text laid out anew.
void BM_PaintFullCellAreaCold(benchmark::State& state) {
    Sheet sheet;
    QImage image(sheet.area->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        sheet.area->dropCaches();
        sheet.paint(image);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_PaintFullCellAreaCold)->Unit(benchmark::kMillisecond);

void BM_PageDownToLastRow(benchmark::State& state) {
    Sheet sheet;
    QImage image(sheet.area->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    double worstMs = 0;
    int frames = 0;
    for (auto _ : state) {
        sheet.area->moveTo(1, 1);
        frames = 0;
        QElapsedTimer frame;
        while (sheet.area->cursor().row < qx::kMaxRow) {
            frame.start();
            QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
            QApplication::sendEvent(sheet.area.get(), &press);
            sheet.paint(image);
            worstMs = std::max(worstMs, static_cast<double>(frame.nsecsElapsed()) / 1e6);
            ++frames;
        }
    }
    state.counters["frames"] = frames;
    state.counters["worst_frame_ms"] = worstMs;
}
BENCHMARK(BM_PageDownToLastRow)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
