// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The span table of the size the tables are made for: 20 sections × 10 load
// cases × 3 systems, every entry found by bisection with the whole check;
// and one entry's check at one span, the step the search repeats.

#include "design/design.h"
#include "eurocode/spantable.h"

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

// C24, service class 1, category A: the default 20 sections, g of 0.5 and
// 1.0 kN/m with q of 1.0 to 3.0 kN/m, one, two and three spans.
SpanTableRequest timberRequest()
{
    SpanTableRequest r;
    r.options.timberClass = QStringLiteral("C24");
    r.sections = DefaultTimberSections();
    for (double g : {0.5, 1.0})
        for (double q : {1.0, 1.5, 2.0, 2.5, 3.0})
            r.loadCases.push_back({g, q});
    r.systems = {1, 2, 3};
    return r;
}

// S235, every IPE profile, the same load cases times ten.
SpanTableRequest steelRequest()
{
    SpanTableRequest r = timberRequest();
    r.material = SpanMaterial::Steel;
    r.options.steelGrade = QStringLiteral("S235");
    r.sections.clear();
    for (const Profile &p : data().profiles)
        if (p.series == QLatin1String("IPE"))
            r.sections.push_back({0, 0, p.designation});
    for (SpanLoadCase &c : r.loadCases) {
        c.g *= 10;
        c.q *= 10;
    }
    return r;
}

void BM_SpanTableTimber(benchmark::State &state)
{
    const SpanTableRequest request = timberRequest();
    int checks = 0;
    for (auto _ : state) {
        SpanTable t = ComputeSpanTable(request, data());
        checks = 0;
        for (const SpanEntry &e : t.entries)
            checks += e.checks;
        benchmark::DoNotOptimize(t);
    }
    state.counters["entries"] = double(request.sections.size() * request.loadCases.size() * request.systems.size());
    state.counters["checks"] = checks;
}
BENCHMARK(BM_SpanTableTimber)->Unit(benchmark::kMillisecond);

void BM_SpanTableSteel(benchmark::State &state)
{
    const SpanTableRequest request = steelRequest();
    int checks = 0;
    for (auto _ : state) {
        SpanTable t = ComputeSpanTable(request, data());
        checks = 0;
        for (const SpanEntry &e : t.entries)
            checks += e.checks;
        benchmark::DoNotOptimize(t);
    }
    state.counters["entries"] = double(request.sections.size() * request.loadCases.size() * request.systems.size());
    state.counters["checks"] = checks;
}
BENCHMARK(BM_SpanTableSteel)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
