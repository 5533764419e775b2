// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes project files for the varno-calc benchmark:
//
//   bench_make_projects DIR N
//
// N files DIR/beam0000.lof ... in the program's own file format, cycling
// through single-, two- and three-span beams with and without cantilevers,
// all load kinds and every point-load slot of the existing regions.

#include "bench/beams.h"
#include "io/projectfile.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

using namespace varno;

namespace {

ProjectTexts variant(int index)
{
    ProjectTexts texts = bench::FullBeam();
    const int spans = 1 + index % 3;
    const bool cantilevers = (index / 3) % 2 == 0;
    if (spans < 3)
        texts.lengths[LengthL3] = QStringLiteral("0.00");
    if (spans < 2)
        texts.lengths[LengthL2] = QStringLiteral("0.00");
    if (!cantilevers) {
        texts.lengths[LengthLeft] = texts.lengths[LengthRight] = QStringLiteral("0.00");
        for (int slot = FirstSlot(LeftCantilever); slot < PointLoadSlotCount; ++slot)
            texts.force[slot] = texts.distance[slot] = QStringLiteral("0");
    }
    for (int region = spans + 1; region <= Span3; ++region)
        for (int slot = FirstSlot(region); slot < EndSlot(region); ++slot)
            texts.force[slot] = texts.distance[slot] = QStringLiteral("0");
    // Loads differ from file to file, so no two results are the same.
    const double scale = 1.0 + (index % 50) * 0.02;
    for (auto &region : texts.uniform)
        for (QString &load : region)
            load = QString::number(load.toDouble() * scale, 'f', 2);
    texts.timberGrade = index % TimberGradeCount;
    texts.steelGrade = index % SteelGradeCount;
    return texts;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    bool ok = false;
    const int count = args.size() == 3 ? args[2].toInt(&ok) : 0;
    if (!ok || count <= 0) {
        std::fprintf(stderr, "usage: bench_make_projects DIR N\n");
        return 2;
    }
    const QDir dir(args[1]);
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "bench_make_projects: cannot create %s\n", qPrintable(args[1]));
        return 2;
    }
    for (int i = 0; i < count; ++i) {
        QString error;
        const QString path = dir.filePath(QStringLiteral("beam%1.lof").arg(i, 4, 10, QLatin1Char('0')));
        if (!WriteProjectFile(path, variant(i), &error)) {
            std::fprintf(stderr, "bench_make_projects: %s\n", qPrintable(error));
            return 1;
        }
    }
    return 0;
}
