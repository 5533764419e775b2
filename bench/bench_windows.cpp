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

namespace {

// Every box is answered with OK and counted; the beams are chosen so that
// none appears, and a benchmark that saw one says so.
int shownMessages = 0;

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

void flushEvents()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

std::unique_ptr<MainWindow> mainWindowWith(const ProjectTexts &texts, bool sameForAll)
{
    auto window = std::make_unique<MainWindow>();
    bench::EnterBeam(*window, texts, sameForAll);
    // The title page is on the screen when the user picks the command.
    window->show();
    flushEvents();
    return window;
}

void reportChecks(benchmark::State &state, int messagesBefore, double paints)
{
    state.counters["boxes"] = shownMessages - messagesBefore;
    state.counters["paints"] = benchmark::Counter(paints, benchmark::Counter::kAvgIterations);
    if (shownMessages != messagesBefore)
        state.SkipWithError("a message box was shown");
}

// The results command on a new main window: the results window is created,
// filled, shown and painted.
void BM_ShowResultsFirst(benchmark::State &state)
{
    const int which = int(state.range(0));
    const ProjectTexts texts = beam(which);
    const int before = shownMessages;
    double paints = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = mainWindowWith(texts, which == 0);
        state.ResumeTiming();

        window->showResults();
        // The paint of the picture happens here, when the window is exposed.
        PaintCounter counter;
        window->resultsWindow()->picture()->installEventFilter(&counter);
        flushEvents();

        state.PauseTiming();
        paints += counter.paints;
        window->resultsWindow()->picture()->removeEventFilter(&counter);
        window.reset();
        flushEvents();
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
    flushEvents();
    PaintCounter counter;
    window->resultsWindow()->picture()->installEventFilter(&counter);
    const int before = shownMessages;
    for (auto _ : state) {
        window->showResults();
        flushEvents();
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
    flushEvents();
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

    const int before = shownMessages;
    bool typed = false;
    for (auto _ : state) {
        QTest::keyClick(field, typed ? Qt::Key_Backspace : Qt::Key_5);
        typed = !typed;
        flushEvents();
    }
    field->removeEventFilter(&counter);
    reportChecks(state, before, counter.paints);
    // The copies must have reached the last region, or nothing was measured.
    if (loads->uniformText(RightCantilever, LoadG) != field->text())
        state.SkipWithError("region 5 does not follow region 1");
    setBeamLabel(state, which);
}
BENCHMARK(BM_LoadKeystroke)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The offscreen platform says for every window it shows that it cannot
// raise it or pass on size hints; those lines would bury the figures.
void quietOffscreenNotes(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(quietOffscreenNotes);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    LoadAssets();
    SetMessageHandler([](const ShownMessage &) {
        ++shownMessages;
        return MsgResult::Ok;
    });

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SetMessageHandler({});
    return 0;
}
