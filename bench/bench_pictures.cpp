// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Timings of the picture files: the three SVG files and the three PNG files
// of one beam, as varno-calc --svg and --png write them (drawing, encoding
// and writing through a save file), and the display lists they come from.

#include "analysis/analysis.h"
#include "bench/beams.h"
#include "design/design.h"
#include "io/picturefiles.h"

#include <QGuiApplication>
#include <QLocale>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace varno;

namespace {

ProjectTexts beam(int which)
{
    return which == 0 ? bench::DefaultBeam() : bench::FullBeam();
}

void setBeamLabel(benchmark::State &state, int which)
{
    state.SetLabel((which == 0 ? bench::DefaultBeamName : bench::FullBeamName).toStdString());
}

struct Computed
{
    ResultSet results;
    DesignState design;
};

// Analysis and design as varno-calc runs them before it draws.
Computed computed(const ProjectTexts &texts)
{
    Computed c;
    const AnalysisOutcome outcome = RunAnalysis(texts, c.results);
    if (outcome.refused)
        qFatal("benchmark beam refused: %s", qPrintable(outcome.refusal));
    const QString dataDirectory = DefaultDataDirectory();
    DesignInputs inputs;
    inputs.timberValues = ReadTimberValues(MaterialTablePath(dataDirectory), texts.timberGrade);
    inputs.steelValues = ReadSteelValues(MaterialTablePath(dataDirectory), texts.steelGrade);
    inputs.profileTablePath = ProfileTablePath(dataDirectory);
    RunDesign(c.results, inputs, c.design, QLocale::c());
    return c;
}

// The three pictures' display lists: system, moment and shear over it.
void BM_MakeResultPictures(benchmark::State &state)
{
    const int which = int(state.range(0));
    const ProjectTexts texts = beam(which);
    const Computed c = computed(texts);
    for (auto _ : state) {
        ResultPictures pictures = MakeResultPictures(ReadBeam(texts), c.results, c.design, QLocale::c());
        benchmark::DoNotOptimize(pictures);
    }
    setBeamLabel(state, which);
}
BENCHMARK(BM_MakeResultPictures)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The three files of one format at the default size, display lists
// included, into a folder that exists.
void writeFiles(benchmark::State &state, PictureFormat format)
{
    const int which = int(state.range(0));
    const ProjectTexts texts = beam(which);
    const Computed c = computed(texts);
    QTemporaryDir dir;
    if (!dir.isValid())
        qFatal("no temporary folder");
    for (auto _ : state) {
        const ResultPictures pictures = MakeResultPictures(ReadBeam(texts), c.results, c.design, QLocale::c());
        const PictureWriteResult written = WriteResultPictures(pictures, dir.path(), QStringLiteral("beam"),
                                                               QStringLiteral("beam.lof"), format, DefaultPictureSize);
        if (!written.ok)
            state.SkipWithError(qPrintable(written.error));
    }
    setBeamLabel(state, which);
}

// The same files' bytes made in memory: drawing and encoding without the
// disk, whose flush to the device (the save file syncs before it renames)
// depends on the machine.
void makeBytes(benchmark::State &state, PictureFormat format)
{
    const int which = int(state.range(0));
    const ProjectTexts texts = beam(which);
    const Computed c = computed(texts);
    for (auto _ : state) {
        const ResultPictures pictures = MakeResultPictures(ReadBeam(texts), c.results, c.design, QLocale::c());
        for (int k = 0; k < PictureKindCount; ++k) {
            QByteArray bytes = PictureFileBytes(pictures.get(PictureKind(k)), format, DefaultPictureSize,
                                                QStringLiteral("beam.lof"));
            benchmark::DoNotOptimize(bytes);
        }
    }
    setBeamLabel(state, which);
}

void BM_SvgBytes(benchmark::State &state)
{
    makeBytes(state, PictureFormat::Svg);
}
BENCHMARK(BM_SvgBytes)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_PngBytes(benchmark::State &state)
{
    makeBytes(state, PictureFormat::Png);
}
BENCHMARK(BM_PngBytes)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_WriteSvgFiles(benchmark::State &state)
{
    writeFiles(state, PictureFormat::Svg);
}
BENCHMARK(BM_WriteSvgFiles)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_WritePngFiles(benchmark::State &state)
{
    writeFiles(state, PictureFormat::Png);
}
BENCHMARK(BM_WritePngFiles)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // Fonts need a GUI application; like varno-calc it runs without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
