// Painting the cell area: a full frame of 60 rows by 25 columns of labels and formatted numbers,
// and paging down from the first row to the last with a frame painted after every Page Down, over
// the small sheet and over one with cells in every row. Frame times are the thread's CPU time, so
// other work on a shared machine does not count as a stall. Also how soon Esc stops a script that
// loops without end, from the key press to the end of the script's run.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/session.h"
#include "core/style_word.h"
#include "ui/cell_area_view.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"

namespace {

constexpr int kRows = 60;
constexpr int kCols = 25;
constexpr int kBigSheetCols = 3;

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

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

    // Every row holds a label, a number and a formula using it when `everyRow` is set.
    explicit Sheet(bool everyRow = false) {
        application();
        qx::ErrStat err;
        session.start(err);
        auto& entry = session.formulas().entry();
        for (int r = kRows + 1; everyRow && r <= qx::kMaxRow; ++r) {
            entry.storeEntry("'Station " + std::to_string(r), r, 1, 1, qx::EntryOptions{}, err);
            entry.storeEntry("+" + std::to_string(r) + ".25", r, 2, 1, qx::EntryOptions{}, err);
            entry.storeEntry("+[" + std::to_string(r) + ",2]*2", r, kBigSheetCols, 1, qx::EntryOptions{}, err);
        }
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

void pageDownToLastRow(benchmark::State& state, bool everyRow) {
    Sheet sheet(everyRow);
    QImage image(sheet.area->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    std::vector<double> frameMs;
    for (auto _ : state) {
        sheet.area->moveTo(1, 1);
        frameMs.clear();
        while (sheet.area->cursor().row < qx::kMaxRow) {
            const double start = threadCpuMs();
            QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
            QApplication::sendEvent(sheet.area.get(), &press);
            sheet.paint(image);
            frameMs.push_back(threadCpuMs() - start);
        }
    }
    // Which frame was slowest tells a cold start from a stall on the way down.
    const auto worst = std::max_element(frameMs.begin(), frameMs.end());
    state.counters["worst_frame_index"] = static_cast<double>(worst - frameMs.begin());
    std::sort(frameMs.begin(), frameMs.end());
    state.counters["frames"] = static_cast<double>(frameMs.size());
    state.counters["median_frame_cpu_ms"] = frameMs.empty() ? 0 : frameMs[frameMs.size() / 2];
    state.counters["worst_frame_cpu_ms"] = frameMs.empty() ? 0 : frameMs.back();
}

void BM_PageDownToLastRow(benchmark::State& state) {
    pageDownToLastRow(state, false);
}
BENCHMARK(BM_PageDownToLastRow)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_PageDownBigSheet(benchmark::State& state) {
    pageDownToLastRow(state, true);
}
BENCHMARK(BM_PageDownBigSheet)->Unit(benchmark::kMillisecond)->Iterations(1);

// The frame runs the script as a script button does; Esc is pressed 100 ms into the run.
void BM_EscStopsAnEndlessScript(benchmark::State& state) {
    application();
    const QString dir =
        QDir::temp().filePath(QStringLiteral("quorix-bench-esc-%1").arg(QCoreApplication::applicationPid()));
    QDir().mkpath(dir);
    QFile source(dir + QStringLiteral("/spin.s"));
    if (!source.open(QIODevice::WriteOnly) || source.write("spin()\n{\n  while(1){[1,1]+=1;}\n}\n") < 0) {
        state.SkipWithError("cannot write the script source");
        return;
    }
    source.close();
    qx::QtPlatform platform;
    platform.setQuiet(true);  // the interrupted script's report goes to standard error
    qx::Session session{platform, qx::SessionOptions{}};
    qx::ErrStat err;
    session.start(err);
    if (session.compileSource(qx::pathToEngine(dir + QStringLiteral("/spin.s")), false).errors != 0 ||
        session.attachLibrary(qx::pathToEngine(dir + QStringLiteral("/spin.slb")), err) == qx::kAttachFailed) {
        state.SkipWithError("cannot compile and attach the script");
        return;
    }
    qx::MainWindow window(session, platform);
    window.show();
    QApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    for (auto _ : state) {
        // Posted from another thread, as the window system's key arrives: between two looks at the input.
        std::atomic<qint64> pressedAt{-1};
        auto* esc = new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);  // made where Qt lives
        std::thread presser([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            pressedAt = clock.nsecsElapsed();
            QCoreApplication::postEvent(window.activeCellArea(), esc);
        });
        window.runScript(QStringLiteral("spin"));
        const qint64 stoppedAt = clock.nsecsElapsed();
        presser.join();
        if (pressedAt < 0 || stoppedAt < pressedAt) {
            state.SkipWithError("the script ended before Esc");
            break;
        }
        state.SetIterationTime(static_cast<double>(stoppedAt - pressedAt) / 1e9);
    }
    QDir(dir).removeRecursively();
}
BENCHMARK(BM_EscStopsAnEndlessScript)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7);

}  // namespace
