// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Timings of the windows, offscreen: the whole "&Ergebnisse" command
// (analysis, design, results window, drawing and painting) and one keystroke
// in the load window.

#include "widgets/assets.h"
#include "app/mainwindow.h"
#include "widgets/messages.h"
#include "bench/beams.h"
#include "bench/enterbeam.h"
#include "bench/windowbench.h"
#include "results/resultswindow.h"
#include "dialogs/loaddialog.h"
#include "widgets/picturearea.h"

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

using namespace varno;
using namespace varno::bench;

namespace {

// Every box is answered with OK and counted; the beams are chosen so that
// none appears, and a benchmark that saw one says so.
// Counts the paints of one widget, to prove that a timed command was drawn
// on the screen and not only queued.
class PaintCounter : public QObject
{
public:
    using QObject::QObject;
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

ProjectTexts beam(int which)
{
    return which == 0 ? bench::DefaultBeam() : bench::FullBeam();
}

void setBeamLabel(benchmark::State &state, int which)
{
    state.SetLabel((which == 0 ? bench::DefaultBeamName : bench::FullBeamName).toStdString());
}

std::unique_ptr<MainWindow> mainWindowWith(const ProjectTexts &texts, bool sameForAll)
{
    auto window = std::make_unique<MainWindow>();
    bench::EnterBeam(*window, texts, sameForAll);
    // The title page is on the screen when the user picks the command.
    window->show();
    FlushEvents();
    return window;
}

void reportChecks(benchmark::State &state, int messagesBefore, double paints)
{
    state.counters["boxes"] = ShownMessages - messagesBefore;
    state.counters["paints"] = benchmark::Counter(paints, benchmark::Counter::kAvgIterations);
    if (ShownMessages != messagesBefore)
        state.SkipWithError("a message box was shown");
}

// The results command on a new main window: the results window is created,
// filled, shown and painted.
void BM_ShowResultsFirst(benchmark::State &state)
{
    const int which = int(state.range(0));
    const ProjectTexts texts = beam(which);
    const int before = ShownMessages;
    double paints = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = mainWindowWith(texts, which == 0);
        state.ResumeTiming();

        window->showResults();
        // The paint of the picture happens here, when the window is exposed.
        PaintCounter counter;
        window->resultsWindow()->picture()->installEventFilter(&counter);
        FlushEvents();

        state.PauseTiming();
        paints += counter.paints;
        window->resultsWindow()->picture()->removeEventFilter(&counter);
        window.reset();
        FlushEvents();
        state.ResumeTiming();
    }
    reportChecks(state, before, paints);
    setBeamLabel(state, which);
}
BENCHMARK(BM_ShowResultsFirst)->Arg(0)->Arg(1)->Iterations(40)->Unit(benchmark::kMillisecond);

// The results command again while its window is open.
void BM_ShowResultsRepeated(benchmark::State &state)
{
    const int which = int(state.range(0));
    auto window = mainWindowWith(beam(which), which == 0);
    window->showResults();
    FlushEvents();
    PaintCounter counter;
    window->resultsWindow()->picture()->installEventFilter(&counter);
    const int before = ShownMessages;
    for (auto _ : state) {
        window->showResults();
        FlushEvents();
    }
    window->resultsWindow()->picture()->removeEventFilter(&counter);
    reportChecks(state, before, counter.paints);
    setBeamLabel(state, which);
}
BENCHMARK(BM_ShowResultsRepeated)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One keystroke in the g field of region 1 with all four copy boxes set:
// the numeric check, the copies into regions 2 to 5 of every load type and
// the repaint of the window. Keystrokes alternate between typing a digit
// and deleting it, so the text stays short.
void BM_LoadKeystroke(benchmark::State &state)
{
    const int which = int(state.range(0));
    auto window = mainWindowWith(beam(which), true);
    window->showLoads();
    FlushEvents();
    LoadDialog *loads = window->loadDialog();
    auto *field = loads->findChild<QLineEdit *>(QStringLiteral("Text1(0)"));
    if (!field || !field->isVisible()) {
        state.SkipWithError("region-1 g field not found or not shown");
        return;
    }
    field->setFocus();
    field->end(false);
    PaintCounter counter;
    field->installEventFilter(&counter);

    const int before = ShownMessages;
    TypeAndDelete(state, field);
    field->removeEventFilter(&counter);
    reportChecks(state, before, counter.paints);
    // The copies must have reached the last region, or nothing was measured.
    if (loads->uniformText(RightCantilever, LoadG) != field->text())
        state.SkipWithError("region 5 does not follow region 1");
    setBeamLabel(state, which);
}
BENCHMARK(BM_LoadKeystroke)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return bench::RunWindowBenchmarks(argc, argv);
}
