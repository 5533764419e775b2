// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Timings of the member checks of lateral-torsional buckling: the critical
// moment of one segment by the Fourier series (what depends on the moment
// line once, then per section), of a cantilever with its back span by
// finite elements, the closed form, and the buckling check of a three-span
// beam with cantilevers for every profile of a series, as a sizing would
// need it at worst.

#include "design/design.h"
#include "eurocode/buckling.h"
#include "eurocode/members.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

using namespace varno;
using namespace varno::ec;

namespace {

const Data &data()
{
    static const Data d = [] {
        std::vector<DataProblem> problems;
        Data read = ReadData(DefaultDataDirectory(), problems);
        if (!problems.empty())
            qFatal("Eurocode data files beside the benchmark are damaged or missing");
        return read;
    }();
    return d;
}

const Profile &ipe300()
{
    return *data().profile(QStringLiteral("IPE 300"));
}

// End moments, a uniform load and a point load: a span of a continuous beam.
MomentLine mixedLine()
{
    return MomentLine::PointLoad(6, 2, 30, -40, -10).plus(MomentLine::UniformLoad(6, 8), 1);
}

void BM_ForkSegmentBuild(benchmark::State &state)
{
    const MomentLine line = mixedLine();
    for (auto _ : state) {
        ForkSegmentBuckling f(line, int(state.range(0)));
        benchmark::DoNotOptimize(f);
    }
}
BENCHMARK(BM_ForkSegmentBuild)->Arg(10)->Arg(20)->Unit(benchmark::kMicrosecond);

void BM_ForkSegmentMcr(benchmark::State &state)
{
    const ForkSegmentBuckling f(mixedLine(), int(state.range(0)));
    const LtbSection s = SteelLtbSection(ipe300(), 210000, 81000);
    for (auto _ : state)
        benchmark::DoNotOptimize(f.criticalMoment(s, s.h / 2));
}
BENCHMARK(BM_ForkSegmentMcr)->Arg(10)->Arg(20)->Unit(benchmark::kMicrosecond);

void BM_CantileverBuild(benchmark::State &state)
{
    const MomentLine back = MomentLine::UniformLoad(6, 10, 0, -20), tip = MomentLine::UniformLoad(2, 10, -20, 0);
    for (auto _ : state) {
        ChainBuckling c = CantileverChain(back, tip, int(state.range(0)));
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(BM_CantileverBuild)->Arg(6)->Arg(12)->Unit(benchmark::kMicrosecond);

void BM_CantileverMcr(benchmark::State &state)
{
    const MomentLine back = MomentLine::UniformLoad(6, 10, 0, -20), tip = MomentLine::UniformLoad(2, 10, -20, 0);
    const ChainBuckling chain = CantileverChain(back, tip, int(state.range(0)));
    const LtbSection s = SteelLtbSection(ipe300(), 210000, 81000);
    for (auto _ : state)
        benchmark::DoNotOptimize(chain.criticalFactor(s, s.h / 2));
}
BENCHMARK(BM_CantileverMcr)->Arg(6)->Arg(12)->Unit(benchmark::kMicrosecond);

void BM_ClosedFormMcr(benchmark::State &state)
{
    const MomentLine line = mixedLine();
    const LtbSection s = SteelLtbSection(ipe300(), 210000, 81000);
    for (auto _ : state)
        benchmark::DoNotOptimize(CriticalMomentClosedForm(line.length(), s, MomentFactorC1(line)));
}
BENCHMARK(BM_ClosedFormMcr)->Unit(benchmark::kMicrosecond);

// Cantilever 1.5 m, spans 5, 6, 5 m, cantilever 2 m, supports only: five
// segments, two of them cantilevers with their back spans; every HE-A
// profile checked (a sizing stops at the first that passes).
void BM_BeamLtbAllProfiles(benchmark::State &state)
{
    const MomentLine left = MomentLine::UniformLoad(1.5, 20, 0, -22.5);
    const MomentLine spans[3] = {MomentLine::UniformLoad(5, 20, -22.5, -50),
                                 MomentLine::PointLoad(6, 3, 40, -50, -45).plus(MomentLine::UniformLoad(6, 20), 1),
                                 MomentLine::UniformLoad(5, 20, -45, -40)};
    const MomentLine right = MomentLine::UniformLoad(2, 20, -40, 0);
    LtbParameters parameters;
    parameters.lambda0 = 0.4, parameters.beta = 0.75, parameters.hbLimit = 2;
    parameters.alphaLow = 0.34, parameters.alphaHigh = 0.49;
    for (auto _ : state) {
        std::vector<ForkSegmentBuckling> forks;
        for (const MomentLine &l : spans)
            forks.emplace_back(l);
        const ChainBuckling leftChain = CantileverChain(spans[0].reversed(), left.reversed());
        const ChainBuckling rightChain = CantileverChain(spans[2], right);
        double worst = 0;
        for (const Profile &p : data().profiles) {
            if (p.series != QLatin1String("HEA"))
                continue;
            const LtbSection s = SteelLtbSection(p, 210000, 81000);
            const double zg = s.h / 2;
            for (int i = 0; i < 3; ++i)
                worst = std::max(worst, CheckSteelSegment(spans[i], forks[std::size_t(i)].criticalMoment(s, zg), p, 1,
                                                          235, 1.1, parameters)
                                            .utilization);
            const double fl = leftChain.criticalFactor(s, zg);
            const double fr = rightChain.criticalFactor(s, zg);
            worst = std::max(worst, CheckSteelSegment(left, fl * left.maxAbs(), p, 1, 235, 1.1, parameters).utilization);
            worst = std::max(worst, CheckSteelSegment(right, fr * right.maxAbs(), p, 1, 235, 1.1, parameters).utilization);
        }
        benchmark::DoNotOptimize(worst);
    }
}
BENCHMARK(BM_BeamLtbAllProfiles)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
