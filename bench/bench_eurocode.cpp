// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Timings of the Eurocode check on the three-span full beam: the whole check
// with the sizing of both sections, and its parts (the unit lines, the
// reading of the data files).

#include "bench/beams.h"
#include "design/design.h"
#include "eurocode/eccheck.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

using namespace varno;
using namespace varno::ec;

namespace {

QString dataDirectory()
{
    return DefaultDataDirectory();
}

const Data &data()
{
    static const Data d = [] {
        std::vector<DataProblem> problems;
        Data read = ReadData(dataDirectory(), problems);
        if (!problems.empty())
            qFatal("Eurocode data files beside the benchmark are damaged or missing");
        return read;
    }();
    return d;
}

// Timber C24, b = 10 cm, sized; steel S235, HE-A, sized: the defaults of
// varno-calc --eurocode for the beam's grades.
CheckOptions sizingOptions()
{
    CheckOptions o;
    o.timberClass = QStringLiteral("C24");
    o.bCm = 10;
    o.steelGrade = QStringLiteral("S235");
    o.series = QStringLiteral("HEA");
    return o;
}

// The whole check: unit lines, combinations, both checks and both sizings.
void BM_EurocodeCheck(benchmark::State &state)
{
    const ProjectTexts texts = bench::FullBeam();
    const CheckOptions options = sizingOptions();
    for (auto _ : state) {
        CheckResult r = RunCheck(texts, data(), options);
        benchmark::DoNotOptimize(r);
    }
    state.SetLabel(bench::FullBeamName.toStdString());
}
BENCHMARK(BM_EurocodeCheck)->Unit(benchmark::kMicrosecond);

// The unit lines alone: per loaded region the analysis of a uniform load
// of 1 and of its point loads, superposed per action into common segments.
void BM_EurocodeUnitLines(benchmark::State &state)
{
    const ProjectTexts texts = bench::FullBeam();
    for (auto _ : state) {
        bool refused = false;
        UnitLines lines = FormUnitLines(texts, ActG, refused);
        benchmark::DoNotOptimize(lines);
    }
    state.SetLabel(bench::FullBeamName.toStdString());
}
BENCHMARK(BM_EurocodeUnitLines)->Unit(benchmark::kMicrosecond);

// Reading the nine data files, once per varno-calc run.
void BM_EurocodeReadData(benchmark::State &state)
{
    for (auto _ : state) {
        std::vector<DataProblem> problems;
        Data d = ReadData(dataDirectory(), problems);
        benchmark::DoNotOptimize(d);
    }
}
BENCHMARK(BM_EurocodeReadData)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
