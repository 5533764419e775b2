// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Timings of the computation alone: the analysis and the design of the two
// benchmark beams, as the results command runs them, and the texts made from
// their numbers.

#include "analysis/analysis.h"
#include "analysis/beamlines.h"
#include "analysis/envelope.h"
#include "bench/beams.h"
#include "design/design.h"
#include "presentation/captions.h"

#include <QCoreApplication>
#include <QLocale>

#include <benchmark/benchmark.h>

using namespace varno;

namespace {

// The output in a German locale, as the program's users see it.
const QLocale German(QLocale::German, QLocale::Germany);

ProjectTexts beam(int which)
{
    return which == 0 ? bench::DefaultBeam() : bench::FullBeam();
}

void setBeamLabel(benchmark::State &state, int which)
{
    state.SetLabel((which == 0 ? bench::DefaultBeamName : bench::FullBeamName).toStdString());
}

ResultSet analysed(const ProjectTexts &texts)
{
    ResultSet results;
    const AnalysisOutcome outcome = RunAnalysis(texts, results);
    if (outcome.refused)
        qFatal("benchmark beam refused: %s", qPrintable(outcome.refusal));
    return results;
}

// The design inputs of the results window with the data files beside the
// program: grades S 10 / MS 10 and St 360 C.
DesignInputs designInputs()
{
    const QString dataDirectory = DefaultDataDirectory();
    DesignInputs inputs;
    inputs.timberValues = ReadTimberValues(MaterialTablePath(dataDirectory), 1);
    inputs.steelValues = ReadSteelValues(MaterialTablePath(dataDirectory), 0);
    inputs.profileTablePath = ProfileTablePath(dataDirectory);
    return inputs;
}

// The analysis as the results command runs it, from the input texts to the
// ResultSet: the reading step, then the numbers.
void BM_RunAnalysis(benchmark::State &state)
{
    const int which = int(state.range(0));
    const ProjectTexts texts = beam(which);
    ResultSet results;
    for (auto _ : state) {
        AnalysisOutcome outcome = RunAnalysis(ReadBeam(texts), results);
        benchmark::DoNotOptimize(outcome);
        benchmark::DoNotOptimize(results);
    }
    setBeamLabel(state, which);
}
BENCHMARK(BM_RunAnalysis)->Arg(0)->Arg(1);

// The reading step alone: every input text to its number.
void BM_ReadBeam(benchmark::State &state)
{
    const int which = int(state.range(0));
    const ProjectTexts texts = beam(which);
    for (auto _ : state) {
        NumericBeam numbers = ReadBeam(texts);
        benchmark::DoNotOptimize(numbers);
    }
    setBeamLabel(state, which);
}
BENCHMARK(BM_ReadBeam)->Arg(0)->Arg(1);

// The analysis of a beam already in numbers, as the envelope and the
// Eurocode check run it for each of their load cases.
void BM_RunAnalysisNumbers(benchmark::State &state)
{
    const int which = int(state.range(0));
    const NumericBeam numbers = ReadBeam(beam(which));
    ResultSet results;
    for (auto _ : state) {
        AnalysisOutcome outcome = RunAnalysis(numbers, results);
        benchmark::DoNotOptimize(outcome);
        benchmark::DoNotOptimize(results);
    }
    setBeamLabel(state, which);
}
BENCHMARK(BM_RunAnalysisNumbers)->Arg(0)->Arg(1);

// One unit load case of the Eurocode check: the imposed load of span 2 of
// the full beam alone, made from the beam and analysed with its exact
// lines. Spans 1 and 3 carry nothing and warn.
void BM_UnitLoadCase(benchmark::State &state)
{
    const NumericBeam full = ReadBeam(bench::FullBeam());
    ResultSet results;
    for (auto _ : state) {
        const NumericBeam unit = LoadsOfAction(full, LoadQ, Span2);
        AnalysisOutcome outcome = RunAnalysis(unit, results, Lines::Wanted);
        benchmark::DoNotOptimize(outcome);
        benchmark::DoNotOptimize(results);
    }
    state.SetLabel(bench::FullBeamName.toStdString());
}
BENCHMARK(BM_UnitLoadCase);

// The exact lines and their extremes of an analysed beam, from the support
// moments and the loads: the goal is under 5 µs for the full beam.
void BM_ExactBeamLines(benchmark::State &state)
{
    const int which = int(state.range(0));
    const ProjectTexts texts = beam(which);
    const ResultSet results = analysed(texts);
    const BeamLoads loads = ActingLoads(ReadBeam(texts));
    const int spans = SpanCount(results.L2, results.L3);
    for (auto _ : state) {
        BeamLines lines = ExactBeamLines(results, spans, loads);
        benchmark::DoNotOptimize(lines);
    }
    setBeamLabel(state, which);
}
BENCHMARK(BM_ExactBeamLines)->Arg(0)->Arg(1);

// RunDesign as the results window starts it: the material values come from
// the material window's lists, the profile table is read by the run itself.
void BM_RunDesign(benchmark::State &state)
{
    const int which = int(state.range(0));
    const ResultSet results = analysed(beam(which));
    DesignInputs inputs = designInputs();
    for (auto _ : state) {
        DesignState designState;
        DesignResult outcome = RunDesign(results, inputs, designState, German);
        benchmark::DoNotOptimize(outcome);
    }
    setBeamLabel(state, which);
}
BENCHMARK(BM_RunDesign)->Arg(0)->Arg(1);

// RunDesign without any file read: the profile table read once before the
// loop, the material values from the lists. The numbers only.
void BM_RunDesignNumbers(benchmark::State &state)
{
    const int which = int(state.range(0));
    const ResultSet results = analysed(beam(which));
    DesignInputs inputs = designInputs();
    const ProfileTable table = ReadProfileTable(inputs.profileTablePath);
    {
        DesignState check;
        const DesignResult outcome = RunDesign(results, inputs, table, check, German);
        if (!outcome.timber.problem.isEmpty() || outcome.steel.choice != ProfileChoice::Found) {
            state.SkipWithError("the benchmark beam has no complete design");
            return;
        }
    }
    for (auto _ : state) {
        DesignState designState;
        DesignResult outcome = RunDesign(results, inputs, table, designState, German);
        benchmark::DoNotOptimize(outcome);
    }
    setBeamLabel(state, which);
}
BENCHMARK(BM_RunDesignNumbers)->Arg(0)->Arg(1);

// The texts alone: the 19 result lines of an analysis, and the six design
// texts of a design, in the German locale.
void BM_ResultLines(benchmark::State &state)
{
    const int which = int(state.range(0));
    const ProjectTexts texts = beam(which);
    ResultSet results;
    const AnalysisOutcome outcome = RunAnalysis(texts, results);
    for (auto _ : state) {
        ResultLineTexts lines = ResultLines(results, outcome.spans, German);
        benchmark::DoNotOptimize(lines);
    }
    setBeamLabel(state, which);
}
BENCHMARK(BM_ResultLines)->Arg(0)->Arg(1);

void BM_DesignCaptions(benchmark::State &state)
{
    const int which = int(state.range(0));
    const ResultSet results = analysed(beam(which));
    DesignInputs inputs = designInputs();
    DesignState designState;
    const DesignResult design = RunDesign(results, inputs, designState, German);
    for (auto _ : state) {
        DesignTexts texts = DesignCaptions(design, German);
        benchmark::DoNotOptimize(texts);
    }
    setBeamLabel(state, which);
}
BENCHMARK(BM_DesignCaptions)->Arg(0)->Arg(1);

// The same with both files read in the loop: the material file for the two
// value lists and the profile table, the whole cost of a design from disk.
void BM_RunDesignWithFiles(benchmark::State &state)
{
    const int which = int(state.range(0));
    const ResultSet results = analysed(beam(which));
    const QString dataDirectory = DefaultDataDirectory();
    const QString materialPath = MaterialTablePath(dataDirectory);
    for (auto _ : state) {
        DesignInputs inputs;
        inputs.timberValues = ReadTimberValues(materialPath, 1);
        inputs.steelValues = ReadSteelValues(materialPath, 0);
        inputs.profileTablePath = ProfileTablePath(dataDirectory);
        DesignState designState;
        DesignResult outcome = RunDesign(results, inputs, designState, German);
        benchmark::DoNotOptimize(outcome);
    }
    setBeamLabel(state, which);
}
BENCHMARK(BM_RunDesignWithFiles)->Arg(0)->Arg(1);

// The profile search through a whole series: with HE-B and the full beam's
// moments scaled up no profile is adequate, so every column is read.
void BM_RunDesignWholeSeries(benchmark::State &state)
{
    ProjectTexts texts = bench::FullBeam();
    for (auto &region : texts.uniform)
        region[LoadG] = QStringLiteral("5000");
    const ResultSet results = analysed(texts);
    DesignInputs inputs = designInputs();
    inputs.series = 2;
    {
        DesignState check;
        const DesignTexts outcome = DesignCaptions(RunDesign(results, inputs, check, German), German);
        const QString profile = outcome.steelProfile.value_or(QString());
        state.SetLabel(profile.toStdString());
        if (!profile.contains(QLatin1String("kein Profil"))) {
            state.SkipWithError("a profile of the series was adequate: not the whole series searched");
            return;
        }
    }
    for (auto _ : state) {
        DesignState designState;
        DesignResult outcome = RunDesign(results, inputs, designState, German);
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(BM_RunDesignWholeSeries);

// The pieces the analysis and its lines repeat most: reading an input text
// (79 times a run) and formatting a result value (19 times a set of lines).
void BM_LeadingNumber(benchmark::State &state)
{
    const QString text = QStringLiteral("12.75");
    for (auto _ : state) {
        double value = LeadingNumber(text);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_LeadingNumber);

void BM_FormatFixed(benchmark::State &state)
{
    double value = -12.3456;
    for (auto _ : state) {
        QString text = FormatFixed(value, 2, German);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_FormatFixed);

// The envelope of the variable loads: up to 16 analyses of pattern beams.
void BM_RunEnvelope(benchmark::State &state)
{
    const int which = int(state.range(0));
    const NumericBeam numbers = ReadBeam(beam(which));
    for (auto _ : state) {
        LoadEnvelope envelope = RunEnvelope(numbers);
        benchmark::DoNotOptimize(envelope);
    }
    setBeamLabel(state, which);
}
BENCHMARK(BM_RunEnvelope)->Arg(0)->Arg(1);

} // namespace

int main(int argc, char **argv)
{
    // The data files are found beside the program, as varno finds them.
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
