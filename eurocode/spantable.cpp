// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "eurocode/spantable.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace varno::ec {

namespace {

struct NamedOutcome
{
    const char *id;
    const CheckOutcome *outcome;
};

// Passes when every check carried out has η ≤ 1; the governing check is
// the one of the largest η, the first of equals in the order given.
Verdict judge(std::initializer_list<NamedOutcome> outcomes)
{
    Verdict v;
    v.passes = true;
    for (const NamedOutcome &n : outcomes) {
        if (!n.outcome->done)
            continue;
        const double u = n.outcome->utilisation;
        // A utilisation that is not a number passes nothing.
        const bool met = u <= 1;
        if (!met)
            v.passes = false;
        if (v.governing.isEmpty() || !(u <= v.utilisation)) {
            v.governing = QLatin1String(n.id);
            v.utilisation = u;
        }
    }
    return v;
}

class Search
{
public:
    Search(const SpanTableRequest &request, const Data &data, Lookup &lookup, const ActionSet &actions)
        : m_request(request), m_data(data), m_lookup(lookup), m_actions(actions)
    {
    }

    SpanEntry find(const UnitLines &reference, const SpanSection &section) const;

private:
    struct Trial
    {
        Verdict verdict;
        TimberResult timber;
        SteelResult steel;
    };
    Trial trial(const UnitLines &reference, const SpanSection &section, int spanCm) const;

    const SpanTableRequest &m_request;
    const Data &m_data;
    Lookup &m_lookup;
    const ActionSet &m_actions;
};

Search::Trial Search::trial(const UnitLines &reference, const SpanSection &section, int spanCm) const
{
    const PreparedLines prepared(ScaledUnitLines(reference, spanCm / 100.0));
    CheckOptions o = m_request.options;
    Trial t;
    if (m_request.material == SpanMaterial::Timber) {
        o.timber = true;
        o.steel = false;
        o.bCm = section.bCm;
        o.hCm = section.hCm;
        t.timber = CheckTimber(prepared, m_actions, m_data, m_lookup, o);
        t.verdict = JudgeTimber(t.timber);
    } else {
        o.timber = false;
        o.steel = true;
        o.profile = section.profile;
        t.steel = CheckSteel(prepared, m_actions, m_data, m_lookup, o);
        t.verdict = JudgeSteel(t.steel);
    }
    return t;
}

SpanEntry Search::find(const UnitLines &reference, const SpanSection &section) const
{
    SpanEntry entry;
    auto keep = [&](Trial &t) {
        entry.timber = std::move(t.timber);
        entry.steel = std::move(t.steel);
        entry.atSpan = t.verdict;
    };
    Trial shortest = trial(reference, section, ShortestSpanCm);
    ++entry.checks;
    if (!shortest.timber.done && !shortest.steel.done) {
        entry.status = SpanStatus::Refused;
        return entry;
    }
    if (!shortest.verdict.passes) {
        entry.status = SpanStatus::NoSpan;
        entry.spanCm = 0;
        entry.limiting = shortest.verdict.governing;
        keep(shortest);
        return entry;
    }
    // Every utilisation grows at least as the span (shear as L, bending as
    // L², deflection as L³), so none is below η(1 cm) · L / 1 cm: beyond
    // 1 cm / η(1 cm) every span fails. That span is tried first; should it
    // pass after all, the bound is tried instead.
    // From here on lo passes and hi fails.
    int lo = ShortestSpanCm, hi = SpanBoundCm;
    const double beyond = ShortestSpanCm / shortest.verdict.utilisation;
    Trial pass = std::move(shortest), fail;
    if (beyond < SpanBoundCm - 1) {
        const int cm = int(std::ceil(beyond)) + 1;
        Trial t = trial(reference, section, cm);
        ++entry.checks;
        if (!t.verdict.passes) {
            hi = cm;
            fail = std::move(t);
        } else {
            lo = cm;
            pass = std::move(t);
        }
    }
    if (hi == SpanBoundCm) {
        Trial bound = trial(reference, section, SpanBoundCm);
        ++entry.checks;
        if (bound.verdict.passes) {
            entry.status = SpanStatus::AtBound;
            entry.spanCm = SpanBoundCm;
            keep(bound);
            return entry;
        }
        fail = std::move(bound);
    }
    while (hi - lo > 1) {
        const int mid = lo + (hi - lo) / 2;
        Trial t = trial(reference, section, mid);
        ++entry.checks;
        if (t.verdict.passes) {
            lo = mid;
            pass = std::move(t);
        } else {
            hi = mid;
            fail = std::move(t);
        }
    }
    entry.status = SpanStatus::Found;
    entry.spanCm = lo;
    entry.limiting = fail.verdict.governing;
    keep(pass);
    return entry;
}

} // namespace

Verdict JudgeTimber(const TimberResult &t)
{
    if (!t.done)
        return {};
    return judge({{"bending", &t.bending},
                  {"shear", &t.shear},
                  {"deflectionInst", &t.deflectionInst},
                  {"deflectionFin", &t.deflectionFin},
                  {"deflectionNetFin", &t.deflectionNetFin}});
}

Verdict JudgeSteel(const SteelResult &s)
{
    if (!s.done)
        return {};
    Verdict v = judge({{"bending", &s.bending},
                       {"shear", &s.shear},
                       {"bendingShear", &s.bendingShear},
                       {"deflection", &s.deflection}});
    // Class 4, or a web that needs a shear-buckling check: not usable at any span.
    if (s.sectionClass.section > 3 || !(s.webSlenderness <= s.webLimit)) {
        v.passes = false;
        v.governing = QStringLiteral("unusable");
    }
    return v;
}

bool SpanTable::allFound() const
{
    return problems.empty()
           && std::all_of(entries.begin(), entries.end(), [](const SpanEntry &e) { return e.status == SpanStatus::Found; });
}

std::vector<SpanSection> DefaultTimberSections()
{
    static const int heights[][8] = {{6, 12, 14, 16, 18, 20, 22, 24}, {8, 14, 16, 18, 20, 22, 24, 0},
                                     {10, 16, 18, 20, 22, 24, 0, 0}, {12, 20, 24, 0, 0, 0, 0, 0}};
    std::vector<SpanSection> out;
    for (const auto &row : heights)
        for (int i = 1; i < 8 && row[i] != 0; ++i)
            out.push_back({double(row[0]), double(row[i]), QString()});
    return out;
}

ProjectTexts EqualSpans(int spans, double length, const SpanLoadCase &loads)
{
    ProjectTexts t = ProjectTexts::Defaults();
    const QString zero = QStringLiteral("0");
    for (int r = 0; r < RegionCount; ++r) {
        const bool span = r < spans;
        t.lengths[std::size_t(r)] = span ? QString::number(length, 'g', 17) : zero;
        t.uniform[std::size_t(r)].fill(zero);
        if (span) {
            t.uniform[std::size_t(r)][LoadG] = QString::number(loads.g, 'g', 17);
            t.uniform[std::size_t(r)][LoadQ] = QString::number(loads.q, 'g', 17);
        }
    }
    return t;
}

UnitLines ScaledUnitLines(const UnitLines &lines, double factor)
{
    UnitLines out = lines;
    // t^k of M(t) = L² M1(t / L) carries L^(2 − k); of EI·w, L^(4 − k).
    double power[5] = {1, factor, factor * factor, 0, 0};
    power[3] = power[2] * factor;
    power[4] = power[2] * power[2];
    for (UnitRegion &region : out.region) {
        region.length *= factor;
        for (UnitSegment &seg : region.segments) {
            seg.x0 *= factor;
            seg.x1 *= factor;
            for (Poly<3> &m : seg.m)
                for (std::size_t k = 0; k < 3; ++k)
                    m[k] *= power[2 - k];
            for (Poly<5> &w : seg.w)
                for (std::size_t k = 0; k < 5; ++k)
                    w[k] *= power[4 - k];
        }
    }
    return out;
}

SpanTable ComputeSpanTable(const SpanTableRequest &request, const Data &data)
{
    SpanTable table;
    table.material = request.material;
    table.systems = request.systems;
    table.loadCases = int(request.loadCases.size());
    table.sections = int(request.sections.size());
    Lookup lookup(data, table.problems);
    const ActionSet actions = ResolveActions(lookup, request.options.imposedCategory, request.options.snowHigh,
                                             table.actionValues);
    if (lookup.failed())
        return table;
    const Search search(request, data, lookup, actions);
    table.entries.reserve(request.systems.size() * request.loadCases.size() * request.sections.size());
    for (int spans : request.systems)
        for (const SpanLoadCase &loads : request.loadCases) {
            bool refused = false;
            const UnitLines reference = FormUnitLines(EqualSpans(spans, 1, loads), ActG, refused);
            for (const SpanSection &section : request.sections) {
                table.entries.push_back(refused ? SpanEntry{} : search.find(reference, section));
                // A value missing from the data fails every entry alike.
                if (lookup.failed()) {
                    table.entries.clear();
                    return table;
                }
            }
        }
    return table;
}

} // namespace varno::ec
