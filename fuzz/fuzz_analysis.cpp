// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// RunAnalysis and the four drawing procedures on input texts decoded from
// the fuzz input. A run that is not refused has only finite results, no text
// shows "inf" or "nan", and every coordinate of every picture is finite.
#include "analysis/analysis.h"
#include "session/session.h"
#include "design/design.h"
#include "graphics/drawing.h"
#include "presentation/captions.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QLocale>
#include <QString>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

using namespace varno;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Texts a user can type that sit at the edges: zero, signs alone, the ends
// of the double range, overflow and underflow, words and commas.
const char *const Specials[] = {
    "0",        "-0",      "",        "-",       ".",       "-.",       "1e308",   "-1e308",   "1e-308",
    "-1e-308",  "1e309",   "1e-320",  "4.9e-324", "1.7976931348623157e308", "1E+15", "1e154", "1e-154",
    "abc",      "6,5",     "1 000",   "5",       "-5",      "0.001",    "1e3",     "2D2",      "3e",
    "-1",       "100",     "1e100",   "-1e100",  "0.5",     "12.5",     "1e-5",    ".5",       "+7",
};
constexpr int SpecialCount = int(sizeof Specials / sizeof *Specials);

// One field: 0 keeps the default, then the specials, a double written in
// full precision, or a short text of any characters.
void decodeField(FuzzedDataProvider &in, QString &field)
{
    const int kind = in.ConsumeIntegralInRange<int>(0, SpecialCount + 2);
    if (kind == 0)
        return;
    if (kind <= SpecialCount) {
        field = QString::fromLatin1(Specials[kind - 1]);
    } else if (kind == SpecialCount + 1) {
        field = QString::number(in.ConsumeFloatingPoint<double>(), 'g', 17);
    } else {
        field = QString::fromStdString(in.ConsumeRandomLengthString(16));
    }
}

bool finiteText(const QString &text)
{
    return !text.contains(QLatin1String("inf"), Qt::CaseInsensitive)
        && !text.contains(QLatin1String("nan"), Qt::CaseInsensitive);
}

void checkResults(const ResultSet &r)
{
    for (double v : {r.L1, r.L2, r.L3, r.Lkl, r.Lkr, r.MA, r.MB, r.MC, r.MD, r.MF1, r.MF2, r.MF3, r.xF1, r.xF2,
                     r.xF3, r.Ali, r.Are, r.Bli, r.Bre, r.Cli, r.Cre, r.Dli, r.Dre, r.EIf1, r.EIf2, r.EIf3,
                     r.EIwKl, r.EIwKr, r.A(), r.B(), r.C(), r.D()})
        check(std::isfinite(v));
}

void checkPicture(const DisplayList &list)
{
    for (const DisplayItem &item : list.items)
        check(std::isfinite(item.a.x()) && std::isfinite(item.a.y()) && std::isfinite(item.b.x())
              && std::isfinite(item.b.y()));
    for (const DisplayLabel &label : list.labels) {
        check(finiteText(label.text));
        check(std::isfinite(label.left) && std::isfinite(label.top) && std::isfinite(label.width)
              && std::isfinite(label.height));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QLocale german(QLocale::German, QLocale::Germany);
    FuzzedDataProvider in(data, size);

    ProjectTexts texts = ProjectTexts::Defaults();
    for (QString &t : texts.lengths)
        decodeField(in, t);
    for (auto &region : texts.uniform)
        for (QString &t : region)
            decodeField(in, t);
    for (int slot = 0; slot < PointLoadSlotCount; ++slot) {
        decodeField(in, texts.force[slot]);
        decodeField(in, texts.distance[slot]);
    }
    const QLocale &locale = in.ConsumeBool() ? german : QLocale::c();

    // The zero-shear positions carry over from an earlier run of any system.
    CalcSession session;
    session.results.xF1 = in.ConsumeFloatingPoint<double>();
    session.results.xF2 = in.ConsumeFloatingPoint<double>();
    session.results.xF3 = in.ConsumeFloatingPoint<double>();

    // Twice, so that the second run starts from the positions of the first.
    for (int run = 0; run < 2; ++run) {
        const ResultSet previous = session.results;
        const AnalysisOutcome out = RunAnalysis(texts, session.results);
        check(out.spans >= 1 && out.spans <= 3);
        if (out.refused) {
            check(!out.refusal.isEmpty() && finiteText(out.refusal));
            check(out.warnings.isEmpty());
            check(std::memcmp(&previous, &session.results, sizeof(ResultSet)) == 0);
        } else {
            checkResults(session.results);
            for (const QString &line : ResultLines(session.results, out.spans, locale).lines)
                check(!line.isEmpty() && finiteText(line) && !line.contains(QLatin1String("n. def.")));
            for (const QString &warning : out.warnings)
                check(warning == NoLoadWarningText);
        }
    }

    // The diagrams scale by the largest moment and shear, as the design sets them.
    const ResultSet &r = session.results;
    session.design.GoverningMoment = PickFirstLargest({r.MA, r.MB, r.MC, r.MD, r.MF1, r.MF2, r.MF3});
    session.design.GoverningShear = PickFirstLargest({r.Ali, r.Are, r.Bli, r.Bre, r.Cli, r.Cre, r.Dli, r.Dre});

    checkPicture(DrawSystemSketch(texts.lengths, session, locale));
    checkPicture(DrawSystemAndLoadPicture(ReadBeam(texts), session, locale));
    checkPicture(DrawMomentDiagram(ReadBeam(texts), session));
    checkPicture(DrawShearDiagram(ReadBeam(texts), session));
    return 0;
}
