// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/numericbeam.h"

#include <cmath>

namespace varno {

namespace {

QString regionName(int region)
{
    switch (region) {
    case LeftCantilever:
        return QStringLiteral("im linken Kragarm");
    case RightCantilever:
        return QStringLiteral("im rechten Kragarm");
    default:
        return QStringLiteral("in Feld %1").arg(region);
    }
}

// LeadingNumber gives an infinite value only for a number beyond the double
// range, such as 1e999; the first such input is named.
bool allFinite(const NumericBeam &beam)
{
    // v * 0 is 0 for every finite v and NaN otherwise: one sum tells.
    double zero = 0;
    for (double v : beam.length)
        zero += v * 0;
    for (const auto &region : beam.uniform)
        for (double v : region)
            zero += v * 0;
    for (const SlotLoad &p : beam.point)
        zero += p.F * 0 + p.a * 0;
    return zero == 0;
}

std::optional<QString> tooLargeInput(const NumericBeam &beam)
{
    if (allFinite(beam))
        return std::nullopt;
    static const char *const lengthNames[RegionCount] = {"Die Feldlänge L1", "Die Feldlänge L2", "Die Feldlänge L3",
                                                         "Die Länge des linken Kragarms",
                                                         "Die Länge des rechten Kragarms"};
    static const char *const loadNames[LoadTypeCount] = {"Die Eigenlast g", "Die Nutzlast q", "Die Schneelast s",
                                                         "Die Windlast w"};
    const QString advice = QStringLiteral(" ist für die Berechnung zu groß. Geben Sie einen kleineren Wert ein.");
    for (int i = 0; i < RegionCount; ++i)
        if (!std::isfinite(beam.length[std::size_t(i)]))
            return QString::fromUtf8(lengthNames[i]) + advice;
    for (int r = Span1; r <= RightCantilever; ++r) {
        // A finite sum has only finite parts; a sum that overflows from
        // finite parts is left to the analysis, whose results it makes
        // infinite.
        if (std::isfinite(beam.uniformSum(r)))
            continue;
        for (int k = 0; k < LoadTypeCount; ++k)
            if (!std::isfinite(beam.uniform[std::size_t(r - 1)][std::size_t(k)]))
                return QString::fromUtf8(loadNames[k]) + u' ' + regionName(r) + advice;
    }
    for (int i = 0; i < PointLoadSlotCount; ++i) {
        const int region = RegionOfSlot(i);
        const int number = i - FirstSlot(region) + 1;
        const SlotLoad &p = beam.point[std::size_t(i)];
        if (!std::isfinite(p.F))
            return QStringLiteral("Die Einzellast F Nr. %1 ").arg(number) + regionName(region) + advice;
        if (!std::isfinite(p.a))
            return QStringLiteral("Der Abstand a der Einzellast Nr. %1 ").arg(number) + regionName(region) + advice;
    }
    return std::nullopt;
}

bool ofAction(LoadAction loadAction, LoadAction action, int loadRegion, int region)
{
    return loadAction == action && (region == 0 || loadRegion == region);
}

} // namespace

int SpanCount(double L2, double L3)
{
    if (L3 != 0)
        return 3;
    if (L2 != 0)
        return 2;
    return 1;
}

double NumericBeam::uniformSum(int region) const
{
    double sum = 0.0;
    for (double q : uniform[std::size_t(region - 1)])
        sum += q;
    return sum;
}

std::array<double, RegionCount> ReadLengths(const std::array<QString, RegionCount> &texts)
{
    std::array<double, RegionCount> lengths;
    for (int i = 0; i < RegionCount; ++i)
        lengths[std::size_t(i)] = LeadingNumber(texts[std::size_t(i)]);
    return lengths;
}

NumericBeam ReadBeam(const ProjectTexts &texts)
{
    NumericBeam beam;
    beam.length = ReadLengths(texts.lengths);
    for (int r = 0; r < RegionCount; ++r)
        for (int k = 0; k < LoadTypeCount; ++k)
            beam.uniform[std::size_t(r)][std::size_t(k)] = LeadingNumber(texts.uniform[std::size_t(r)][std::size_t(k)]);
    for (int i = 0; i < PointLoadSlotCount; ++i) {
        SlotLoad &p = beam.point[std::size_t(i)];
        p.F = LeadingNumber(texts.force[std::size_t(i)]);
        p.a = LeadingNumber(texts.distance[std::size_t(i)]);
    }
    beam.timberGrade = texts.timberGrade;
    beam.steelGrade = texts.steelGrade;
    return beam;
}

std::optional<QString> BeamRefusal(const NumericBeam &beam)
{
    if (auto cause = tooLargeInput(beam))
        return cause;
    // Every span length of the system is a divisor of the analysis.
    if (beam.length[LengthL1] == 0)
        return QStringLiteral("Die Feldlänge L1 ist 0. Geben Sie eine Feldlänge größer als 0 ein.");
    // A negative length is no beam: refused like a first span of 0. A length
    // of 0 for L2, L3 or a cantilever means "no such span".
    static const char *const negativeLength[RegionCount] = {
        "Die Feldlänge L1 ist negativ. Geben Sie eine Feldlänge größer als 0 ein.",
        "Die Feldlänge L2 ist negativ. Geben Sie eine Feldlänge größer als 0 ein oder 0 für kein zweites Feld.",
        "Die Feldlänge L3 ist negativ. Geben Sie eine Feldlänge größer als 0 ein oder 0 für kein drittes Feld.",
        "Die Länge des linken Kragarms ist negativ. Geben Sie eine Länge größer als 0 ein oder 0 für keinen "
        "Kragarm.",
        "Die Länge des rechten Kragarms ist negativ. Geben Sie eine Länge größer als 0 ein oder 0 für keinen "
        "Kragarm."};
    for (int i = 0; i < RegionCount; ++i)
        if (beam.length[std::size_t(i)] < 0)
            return QString::fromUtf8(negativeLength[i]);
    if (beam.spans() == 3 && beam.length[LengthL2] == 0)
        return QStringLiteral("Die Feldlänge L2 ist 0, die Feldlänge L3 aber nicht. Geben Sie für L2 "
                              "eine Feldlänge größer als 0 ein oder setzen Sie auch L3 auf 0.");
    // Made by no input window yet; left out, they would go unnoticed.
    if (!beam.extra.empty())
        return QStringLiteral("Diese Lastarten werden noch nicht berechnet: Teilstreckenlasten, Trapezlasten, "
                              "Einzelmomente und weitere Einzellasten.");
    return std::nullopt;
}

NumericBeam LoadsOfAction(const NumericBeam &beam, LoadAction action, int region)
{
    NumericBeam out;
    out.length = beam.length;
    out.timberGrade = beam.timberGrade;
    out.steelGrade = beam.steelGrade;
    for (int r = Span1; r <= RightCantilever; ++r)
        if (region == 0 || r == region)
            out.uniform[std::size_t(r - 1)][action] = beam.uniform[std::size_t(r - 1)][action];
    for (int i = 0; i < PointLoadSlotCount; ++i)
        if (ofAction(beam.point[std::size_t(i)].action, action, RegionOfSlot(i), region))
            out.point[std::size_t(i)] = beam.point[std::size_t(i)];
    for (const ExtraLoad &load : beam.extra)
        if (ofAction(load.action, action, load.region, region))
            out.extra.push_back(load);
    return out;
}

bool HasLoadsOfAction(const NumericBeam &beam, LoadAction action, int region)
{
    for (int r = Span1; r <= RightCantilever; ++r)
        if ((region == 0 || r == region) && beam.uniform[std::size_t(r - 1)][action] != 0)
            return true;
    for (int i = 0; i < PointLoadSlotCount; ++i)
        if (ofAction(beam.point[std::size_t(i)].action, action, RegionOfSlot(i), region)
            && beam.point[std::size_t(i)].F != 0)
            return true;
    for (const ExtraLoad &load : beam.extra)
        if (ofAction(load.action, action, load.region, region) && (load.value != 0 || load.valueAtB != 0))
            return true;
    return false;
}

} // namespace varno
