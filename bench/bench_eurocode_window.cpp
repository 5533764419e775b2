// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Timings of the window "Nachweis nach Eurocode", offscreen: one keystroke
// in its width field, and one in the g field of the load window (with the
// copy boxes set, so regions 2 to 5 follow), each with the new check, the
// texts, the bars, the envelope diagram and the repaint. The aim is one
// frame, 16 ms.

#include "app/mainwindow.h"
#include "bench/beams.h"
#include "bench/enterbeam.h"
#include "bench/windowbench.h"
#include "dialogs/loaddialog.h"
#include "eurocode/ecrun.h"
#include "results/eurocodewindow.h"
#include "widgets/assets.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

using namespace varno;
using namespace varno::bench;

namespace {

std::unique_ptr<MainWindow> windowWith(int which, bool sameForAll)
{
    auto window = std::make_unique<MainWindow>();
    bench::EnterBeam(*window, which == 0 ? bench::DefaultBeam() : bench::FullBeam(), sameForAll);
    window->show();
    window->showEurocode();
    FlushEvents();
    return window;
}

void finish(benchmark::State &state, int which, int before, const EurocodeWindow &ec)
{
    state.SetLabel((which == 0 ? bench::DefaultBeamName : bench::FullBeamName).toStdString());
    if (ShownMessages != before)
        state.SkipWithError("a message box was shown");
    if (!ec.hasResult())
        state.SkipWithError("the window shows no utilisations");
}

// A digit typed into b and deleted again, in turn.
void BM_EurocodeWidthKeystroke(benchmark::State &state)
{
    const int which = int(state.range(0));
    auto window = windowWith(which, which == 0);
    EurocodeWindow *ec = window->eurocodeWindow();
    auto *field = ec->findChild<QLineEdit *>(QStringLiteral("txtBreite"));
    field->setFocus();
    field->end(false);
    const int before = ShownMessages;
    TypeAndDelete(state, field);
    finish(state, which, before, *ec);
}
BENCHMARK(BM_EurocodeWidthKeystroke)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A keystroke in the load window's g field of region 1: with the copy boxes
// set it changes five fields, and the window follows each change.
void BM_EurocodeLoadKeystroke(benchmark::State &state)
{
    const int which = int(state.range(0));
    auto window = windowWith(which, true);
    EurocodeWindow *ec = window->eurocodeWindow();
    window->showLoads();
    FlushEvents();
    auto *field = window->loadDialog()->findChild<QLineEdit *>(QStringLiteral("Text1(0)"));
    field->setFocus();
    field->end(false);
    const int before = ShownMessages;
    TypeAndDelete(state, field);
    finish(state, which, before, *ec);
}
BENCHMARK(BM_EurocodeLoadKeystroke)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The computation alone: the check, and the check with the envelopes.
void BM_EurocodeRun(benchmark::State &state)
{
    const ProjectTexts texts = state.range(0) == 0 ? bench::DefaultBeam() : bench::FullBeam();
    std::vector<ec::DataProblem> problems;
    const ec::Data data = ec::ReadData(QCoreApplication::applicationDirPath(), problems);
    ec::RunInputs inputs;
    inputs.options.timberClass = QStringLiteral("C24");
    inputs.options.bCm = 10;
    inputs.options.steelGrade = QStringLiteral("S235");
    inputs.options.series = QStringLiteral("HEA");
    for (auto _ : state)
        benchmark::DoNotOptimize(ec::RunEurocode(texts, data, inputs, state.range(1) != 0));
    if (!problems.empty())
        state.SkipWithError("the data files have problems");
}
BENCHMARK(BM_EurocodeRun)->Args({0, 0})->Args({0, 1})->Args({1, 0})->Args({1, 1})->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return bench::RunWindowBenchmarks(argc, argv);
}
