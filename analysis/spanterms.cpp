// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "analysis/spanterms.h"

#include <algorithm>
#include <cmath>

namespace varno {

namespace {

// The deflection terms use this 12-digit value of pi, not the full double.
constexpr double Pi = 3.14159265359;
// Weight of the end moments in the midspan term (the exact factor is 1/16).
constexpr double EndMomentFactor = 0.0609425;
// The terms are deflection times stiffness; the design divides by the section's.
constexpr double Stiffness = 1.0;

// The loads in order of distance: as they come when they already are, so
// that the analysis, which orders them once, pays nothing here.
template<int Slots>
const RegionLoads<Slots> &ordered(const RegionLoads<Slots> &loads, RegionLoads<Slots> &scratch)
{
    if (IsInDistanceOrder(loads))
        return loads;
    scratch = InDistanceOrder(loads);
    return scratch;
}

// Lengths are accepted as typed, negative ones too; such a span lies on [l, 0].
double holdInSpan(double x, double l)
{
    if (std::isnan(x) || std::isnan(l))
        return x;
    return std::clamp(x, std::min(0.0, l), std::max(0.0, l));
}

} // namespace

bool FindZeroShear(const SpanLoads &loads, double V0, double &xF)
{
    SpanLoads scratch;
    const SpanLoads &span = ordered(loads, scratch);
    const double l = span.length;
    const double q = span.q;
    const bool hasPointLoads = std::any_of(span.F.begin(), span.F.end(), [](double f) { return f != 0; });

    if (!hasPointLoads) {
        if (q == 0) {
            // Nothing to search: the span keeps the position of the last run.
            xF = holdInSpan(xF, l);
            return false;
        }
        // Also for a net uplift (q < 0): V0/q is where the shear changes sign.
        xF = holdInSpan(V0 / q, l);
        return true;
    }

    // A loaded span whose shear already starts at or below zero has its
    // largest moment at the left support.
    if (!(V0 > 0)) {
        xF = 0;
        return true;
    }

    // Walk the span in slot order while the shear stays positive. The loads
    // come in order of distance (InDistanceOrder); the first empty slot ends
    // the span's list: the rest of the span up to l carries the uniform load
    // only. A shear still positive at the span's end puts the maximum at the
    // right support.
    double V = V0;
    double previousEnd = 0;
    for (int i = 0; i < SpanSlots; ++i) {
        const bool endOfList = span.F[i] == 0;
        const double end = endOfList ? l : span.a[i];
        if (q != 0) {
            V -= q * (end - previousEnd);
            if (V <= 0) {
                xF = holdInSpan(end + V / q, l);
                return true;
            }
        }
        if (endOfList) {
            xF = holdInSpan(l, l);
            return true;
        }
        V -= span.F[i];
        if (V <= 0) {
            xF = holdInSpan(span.a[i], l);
            return true;
        }
        previousEnd = end;
    }

    // All seven slots passed: the last stretch up to l.
    if (q != 0) {
        V -= q * (l - previousEnd);
        if (V <= 0) {
            xF = holdInSpan(l + V / q, l);
            return true;
        }
    }
    xF = holdInSpan(l, l);
    return true;
}

double SpanMoment(const SpanLoads &loads, double V0, double Ml, double x)
{
    SpanLoads scratch;
    const SpanLoads &span = ordered(loads, scratch);
    double m = x * V0 - span.q * x * x / 2 + Ml;
    // Loads in order of distance up to the first one beyond x or the first
    // empty slot. A force right on the left support (a = 0) is part of V0,
    // so it comes off again here, or the span moment would grow by F * x.
    for (int i = 0; i < SpanSlots; ++i) {
        const double a = span.a[i];
        if (a > x || span.F[i] == 0)
            break;
        m -= span.F[i] * (x - a);
    }
    return m;
}

double SpanDeflection(const SpanLoads &loads, double Ml, double Mr)
{
    SpanLoads scratch;
    const SpanLoads &span = ordered(loads, scratch);
    const double l = span.length;
    const double l3 = l * l * l / 48;
    // Sine-shaped approximation: close to the exact value for usual loads.
    double d = l3 * (2 * span.q * l / Pi) + l * l * (Ml + Mr) * EndMomentFactor;
    for (int i = 0; i < SpanSlots && span.F[i] != 0; ++i)
        d += l3 * span.F[i] * std::sin(Pi * span.a[i] / l);
    return d / Stiffness;
}

// Tip term = cantilever bending under its own loads plus the rotation of the
// support cross-section times the cantilever length. The rotation comes from
// the span's loads and both its end moments, each with its sign: a far
// moment that sags (heavy cantilevers) turns the support the other way.
double LeftCantileverDeflection(const SpanLoads &span1Loads, double MA, double MB,
                                const CantileverLoads &cantileverLoads)
{
    SpanLoads spanScratch;
    CantileverLoads cantileverScratch;
    const SpanLoads &span1 = ordered(span1Loads, spanScratch);
    const CantileverLoads &cantilever = ordered(cantileverLoads, cantileverScratch);
    const double L = span1.length;
    const double k = cantilever.length;
    double t = (L * L * span1.q / 3) / 8 + (-MA + MB) / 6 + MA / 2;
    t = t * L + (MA / 3) * k;
    double w = ((k * k * cantilever.q / 3) / 8 * k + t) * (-k);
    for (int i = 0; i < SpanSlots && span1.F[i] != 0; ++i) {
        const double a = span1.a[i];
        w += ((L - a) * a * span1.F[i] / L) * (-k / 6) * ((L - a) / L + 1) * L;
    }
    for (int i = 0; i < CantileverSlots && cantilever.F[i] != 0; ++i) {
        const double a = cantilever.a[i];
        w += ((k - a) * a * cantilever.F[i] / k) * (-k / 6) * (a / k + 1) * k;
    }
    return w / Stiffness;
}

double RightCantileverDeflection(const SpanLoads &lastLoads, double Ml, double Mr,
                                 const CantileverLoads &cantileverLoads)
{
    SpanLoads spanScratch;
    CantileverLoads cantileverScratch;
    const SpanLoads &last = ordered(lastLoads, spanScratch);
    const CantileverLoads &cantilever = ordered(cantileverLoads, cantileverScratch);
    const double l = last.length;
    const double k = cantilever.length;
    double t = (l * l * last.q / 3) / 8 + (-Mr + Ml) / 6 + Mr / 2;
    t = t * l + (Mr / 3) * k;
    double w = ((k * k * cantilever.q / 3) / 8 * k + t) * (-k);
    for (int i = 0; i < SpanSlots && last.F[i] != 0; ++i) {
        const double a = last.a[i];
        w += ((l - a) * a * last.F[i] / l) * (-k / 6) * (a / l + 1) * l;
    }
    for (int i = 0; i < CantileverSlots && cantilever.F[i] != 0; ++i) {
        const double a = cantilever.a[i];
        w += ((k - a) * a * cantilever.F[i] / k) * (-k / 6) * ((k - a) / k + 1) * k;
    }
    return w / Stiffness;
}

} // namespace varno
