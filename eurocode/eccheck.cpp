// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "eurocode/eccheck.h"

#include "analysis/analysis.h"
#include "analysis/beamlines.h"

#include <algorithm>
#include <cmath>

namespace varno::ec {

namespace {

// The loads as numbers, read once.
struct Loads
{
    explicit Loads(const ProjectTexts &texts)
    {
        for (int r = 0; r < RegionCountEc; ++r)
            for (int a = 0; a < ActionCount; ++a)
                uniform[std::size_t(r)][std::size_t(a)] = texts.uniformLoad(r + 1, a);
        for (int slot = 0; slot < PointLoadSlotCount; ++slot) {
            F[std::size_t(slot)] = texts.pointForce(slot);
            a[std::size_t(slot)] = F[std::size_t(slot)] != 0 ? texts.pointDistance(slot) : 0;
        }
    }
    bool hasPointLoads(int region) const
    {
        for (int slot = FirstSlot(region + 1); slot < EndSlot(region + 1); ++slot)
            if (F[std::size_t(slot)] != 0)
                return true;
        return false;
    }
    bool loaded(int action, int region, int pointLoadAction) const
    {
        return uniform[std::size_t(region)][std::size_t(action)] != 0
               || (action == pointLoadAction && hasPointLoads(region));
    }
    // Whether a point load of the region stands at one of its ends (or beyond).
    bool atEnd(int region, double length) const
    {
        for (int slot = FirstSlot(region + 1); slot < EndSlot(region + 1); ++slot)
            if (F[std::size_t(slot)] != 0 && (a[std::size_t(slot)] <= 0 || a[std::size_t(slot)] >= length))
                return true;
        return false;
    }

    std::array<std::array<double, ActionCount>, RegionCountEc> uniform{};
    std::array<double, PointLoadSlotCount> F{}, a{};
};

// The texts of one region's loads alone: a uniform load of 1 kN/m, or its
// point loads.
ProjectTexts partTexts(const ProjectTexts &texts, int region, bool points)
{
    static const QString zero = QStringLiteral("0"), one = QStringLiteral("1");
    ProjectTexts out = texts;
    for (auto &row : out.uniform)
        for (QString &t : row)
            t = zero;
    for (QString &t : out.force)
        t = zero;
    if (points)
        for (int slot = FirstSlot(region + 1); slot < EndSlot(region + 1); ++slot)
            out.force[std::size_t(slot)] = texts.force[std::size_t(slot)];
    else
        out.uniform[std::size_t(region)][LoadG] = one;
    return out;
}

// The shear just inside both ends of every region of one computed case:
// the support shears of the analysis, which count a point load standing at
// the support as inside its region; 0 at a free end.
std::array<std::array<double, 2>, RegionCountEc> insideShears(const ResultSet &r, int spans)
{
    std::array<std::array<double, 2>, RegionCountEc> out{};
    const double right[3] = {r.Are, r.Bre, r.Cre}, left[3] = {r.Bli, r.Cli, r.Dli};
    spans = std::clamp(spans, 1, 3);
    for (int j = 0; j < spans; ++j)
        out[std::size_t(j)] = {right[j], left[j]};
    out[LineLeftCantilever] = {0, r.Ali};
    const double last[3] = {r.Bre, r.Cre, r.Dre};
    out[LineRightCantilever] = {last[spans - 1], 0};
    return out;
}

double kmodKey(Lookup &lookup, const QString &material, int serviceClass, Duration d,
               std::vector<NamedValue> &used)
{
    const Value v = lookup.value(QStringLiteral("kmod.%1.sc%2.%3").arg(material).arg(serviceClass).arg(DurationName(d)));
    const QString name = QStringLiteral("kmod(%1)").arg(DurationName(d));
    if (std::none_of(used.begin(), used.end(), [&](const NamedValue &n) { return n.name == name; }))
        used.push_back({name, v});
    return v.value;
}

CheckOutcome outcome(const Extreme &e, double utilisation, double design, double resistance, CheckUnit unit)
{
    CheckOutcome o;
    o.done = e.found;
    o.utilisation = utilisation;
    o.design = design;
    o.resistance = resistance;
    o.unit = unit;
    o.region = e.region;
    o.x = e.x;
    o.combination = e.combination;
    o.parts = e.parts;
    return o;
}

PlaceOutcome atPlace(const CheckOutcome &o)
{
    return {o.done, o.utilisation, o.design, o.resistance, o.region, o.x, o.combination};
}

// A check's outcome from its worst design value, and with `into` also the
// outcome at every place; `worst` takes the utilisation.
template<typename Of>
void takeOutcome(const Extreme &e, const PlaceExtremes &places, const Of &of, double &worst, CheckOutcome *into)
{
    if (!e.found)
        return;
    const CheckOutcome o = of(e);
    worst = std::max(worst, o.utilisation);
    if (!into)
        return;
    *into = o;
    into->places.resize(PlaceCount);
    for (int p = 0; p < PlaceCount; ++p)
        if (places[std::size_t(p)].found)
            into->places[std::size_t(p)] = atPlace(of(places[std::size_t(p)]));
}

std::array<double, RegionCountEc> deflectionScale(const UnitLines &lines, double spanRatio, double cantileverRatio)
{
    std::array<double, RegionCountEc> scale{};
    for (int r = 0; r < RegionCountEc; ++r) {
        const double length = lines.region[r].length;
        scale[r] = length > 0 ? (r < 3 ? spanRatio : cantileverRatio) / length : 0;
    }
    return scale;
}

const std::array<double, RegionCountEc> Unscaled = {1, 1, 1, 1, 1};

} // namespace

UnitLines FormUnitLines(const ProjectTexts &texts, int pointLoadAction, bool &refused)
{
    UnitLines out;
    refused = false;
    // Every line is linear in its loads: the line of action a on region r is
    // u(a, r) times that of a uniform load of 1 on r, plus, for the action of
    // the point loads, the line of r's point loads. Two analyses per region
    // instead of one per action.
    struct Part
    {
        bool done = false;
        BeamLines lines;
        std::array<std::array<double, 2>, RegionCountEc> inside{};
    };
    std::array<Part, RegionCountEc> uniformPart, pointPart;
    const Loads loads(texts);
    std::array<double, UnitLineCount> load{};   // u(a, r), kN/m
    const Part *shape = nullptr;
    for (int r = 0; r < RegionCountEc; ++r)
        for (int a = 0; a < ActionCount; ++a) {
            if (!loads.loaded(a, r, pointLoadAction))
                continue;
            load[std::size_t(UnitLine(a, r))] = loads.uniform[std::size_t(r)][std::size_t(a)];
            for (bool points : {false, true}) {
                Part &part = (points ? pointPart : uniformPart)[std::size_t(r)];
                const bool needed = points ? a == pointLoadAction && loads.hasPointLoads(r)
                                           : load[std::size_t(UnitLine(a, r))] != 0;
                if (!needed || part.done)
                    continue;
                ResultSet results;
                const AnalysisOutcome run = RunAnalysis(partTexts(texts, r, points), results, Lines::Wanted);
                if (run.refused || !run.lines.valid) {
                    refused = true;
                    return out;
                }
                part.done = true;
                part.lines = run.lines;
                part.inside = insideShears(results, run.spans);
            }
            // A load on a region the beam does not have acts nowhere.
            const Part &any = uniformPart[std::size_t(r)].done ? uniformPart[std::size_t(r)] : pointPart[std::size_t(r)];
            if (!any.lines.region[std::size_t(r)].exists || any.lines.region[std::size_t(r)].length <= 0)
                continue;
            out.present[std::size_t(UnitLine(a, r))] = true;
            if (!shape)
                shape = &any;
        }
    if (!shape)
        return out;
    // Lines of the same shape (a uniform load alone on the same region) have
    // the same zeros.
    for (int i = 0; i < UnitLineCount; ++i) {
        const int a = i / RegionCountEc, r = i % RegionCountEc;
        out.shape[std::size_t(i)] = a != pointLoadAction ? r : RegionCountEc + i;
    }

    std::vector<double> breaks;
    for (int e = 0; e < RegionCountEc; ++e) {
        UnitRegion &region = out.region[std::size_t(e)];
        const RegionLine &reference = shape->lines.region[std::size_t(e)];
        region.exists = reference.exists && reference.length > 0;
        region.length = reference.length;
        if (!region.exists)
            continue;
        // Segments between the piece boundaries of every line.
        breaks.assign({0.0, region.length});
        for (const auto *parts : {&uniformPart, &pointPart})
            for (const Part &part : *parts) {
                if (!part.done)
                    continue;
                const RegionLine &line = part.lines.region[std::size_t(e)];
                for (int p = 1; p < line.pieceCount; ++p)
                    breaks.push_back(std::clamp(line.pieces[std::size_t(p)].x0, 0.0, region.length));
            }
        std::sort(breaks.begin(), breaks.end());
        breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
        region.segments.reserve(breaks.size() + 1);
        auto coefficients = [&](const Part &part, double x0, double x1, Poly<3> &m, Poly<5> &w) {
            const LinePiece &piece = part.lines.region[std::size_t(e)].pieceAt((x0 + x1) / 2);
            const double d = x0 - piece.x0;
            m = d == 0 ? piece.m : Shifted(piece.m, d);
            w = d == 0 ? piece.w : Shifted(piece.w, d);
        };
        for (std::size_t k = 0; k + 1 < breaks.size(); ++k) {
            UnitSegment seg;
            seg.x0 = breaks[k];
            seg.x1 = breaks[k + 1];
            std::array<Poly<3>, RegionCountEc> um{}, pm{};
            std::array<Poly<5>, RegionCountEc> uw{}, pw{};
            for (int r = 0; r < RegionCountEc; ++r) {
                if (uniformPart[std::size_t(r)].done)
                    coefficients(uniformPart[std::size_t(r)], seg.x0, seg.x1, um[std::size_t(r)], uw[std::size_t(r)]);
                if (pointPart[std::size_t(r)].done)
                    coefficients(pointPart[std::size_t(r)], seg.x0, seg.x1, pm[std::size_t(r)], pw[std::size_t(r)]);
            }
            for (int i = 0; i < UnitLineCount; ++i) {
                if (!out.present[std::size_t(i)])
                    continue;
                const int a = i / RegionCountEc, r = i % RegionCountEc;
                const double u = load[std::size_t(i)];
                const bool points = a == pointLoadAction && pointPart[std::size_t(r)].done;
                for (std::size_t c = 0; c < 3; ++c)
                    seg.m[std::size_t(i)][c] = (u != 0 ? u * um[std::size_t(r)][c] : 0) + (points ? pm[std::size_t(r)][c] : 0);
                for (std::size_t c = 0; c < 5; ++c)
                    seg.w[std::size_t(i)][c] = (u != 0 ? u * uw[std::size_t(r)][c] : 0) + (points ? pw[std::size_t(r)][c] : 0);
            }
            region.segments.push_back(seg);
        }
        // A point load at an end stands inside the region: the sections just
        // inside both ends with the shear that counts it.
        if (pointPart[std::size_t(e)].done && loads.atEnd(e, region.length) && !region.segments.empty()) {
            UnitSegment start = region.segments.front();
            UnitSegment end = region.segments.back();
            const double h = end.x1 - end.x0;
            start.x1 = start.x0;
            end.x0 = end.x1;
            start.end = end.end = true;
            for (int i = 0; i < UnitLineCount; ++i) {
                if (!out.present[std::size_t(i)])
                    continue;
                const int a = i / RegionCountEc, r = i % RegionCountEc;
                const double u = load[std::size_t(i)];
                const bool points = a == pointLoadAction && pointPart[std::size_t(r)].done;
                end.m[std::size_t(i)] = Shifted(end.m[std::size_t(i)], h);
                end.w[std::size_t(i)] = Shifted(end.w[std::size_t(i)], h);
                for (int side : {0, 1}) {
                    double v = 0;
                    if (u != 0)
                        v += u * uniformPart[std::size_t(r)].inside[std::size_t(e)][std::size_t(side)];
                    if (points)
                        v += pointPart[std::size_t(r)].inside[std::size_t(e)][std::size_t(side)];
                    (side == 0 ? start : end).m[std::size_t(i)][1] = v;
                }
            }
            region.segments.insert(region.segments.begin(), start);
            region.segments.push_back(end);
        }
    }
    // Loads so large that a line is not finite: no check. (0 times a
    // coefficient that is not finite is not a number, and stays so.)
    double zero = 0;
    for (const UnitRegion &region : out.region)
        for (const UnitSegment &seg : region.segments)
            for (int i = 0; i < UnitLineCount; ++i) {
                for (double c : seg.m[std::size_t(i)])
                    zero += 0 * c;
                for (double c : seg.w[std::size_t(i)])
                    zero += 0 * c;
            }
    if (zero != 0) {
        refused = true;
        return UnitLines{};
    }
    return out;
}

ActionSet ResolveActions(Lookup &lookup, QChar category, bool snowHigh, std::vector<NamedValue> &used)
{
    ActionSet a;
    a.gammaGsup = lookup.value(QStringLiteral("gamma.G.sup"));
    a.gammaGinf = lookup.value(QStringLiteral("gamma.G.inf"));
    a.gammaQ = lookup.value(QStringLiteral("gamma.Q"));
    used.push_back({QStringLiteral("gamma_G,sup"), a.gammaGsup});
    used.push_back({QStringLiteral("gamma_G,inf"), a.gammaGinf});
    used.push_back({QStringLiteral("gamma_Q"), a.gammaQ});
    const QString names[ActionCount] = {QString(), QStringLiteral("imposed.%1").arg(category),
                                        snowHigh ? QStringLiteral("snow.high") : QStringLiteral("snow.low"),
                                        QStringLiteral("wind")};
    const char *symbols[ActionCount] = {"G", "Q", "S", "W"};
    for (int i = ActQ; i < ActionCount; ++i) {
        a.psi0[i] = lookup.value(QStringLiteral("psi0.") + names[i]);
        a.psi2[i] = lookup.value(QStringLiteral("psi2.") + names[i]);
        used.push_back({QStringLiteral("psi0,%1").arg(QLatin1String(symbols[i])), a.psi0[i]});
        used.push_back({QStringLiteral("psi2,%1").arg(QLatin1String(symbols[i])), a.psi2[i]});
    }
    for (int i = 0; i < ActionCount; ++i) {
        const QString key = i == ActG ? QStringLiteral("kled.self_weight") : QStringLiteral("kled.") + names[i];
        Value v;
        if (const std::optional<Duration> d = lookup.duration(key, &v)) {
            a.duration[i] = *d;
            a.durationValue[i] = v;
            used.push_back({QStringLiteral("KLED,%1").arg(QLatin1String(symbols[i])), v});
        }
    }
    return a;
}

PreparedLines::PreparedLines(UnitLines unitLines)
    : lines(std::move(unitLines)), M(Prepare(lines, LineQuantity::M)), V(Prepare(lines, LineQuantity::V)),
      W(Prepare(lines, LineQuantity::W))
{
}

TimberResult CheckTimber(const PreparedLines &prepared, const ActionSet &actions, const Data &data, Lookup &lookup,
                         const CheckOptions &options)
{
    const UnitLines &lines = prepared.lines;
    TimberResult t;
    const TimberClass *cls = data.timberClass(options.timberClass);
    if (!cls)
        return t;
    t.className = cls->name;
    t.glulam = cls->glulam;
    t.serviceClass = options.serviceClass;
    t.b = options.bCm;
    const QString material = cls->glulam ? QStringLiteral("glulam") : QStringLiteral("solid");
    auto &used = t.values;
    used.push_back({QStringLiteral("fm,k"), cls->fmk});
    used.push_back({QStringLiteral("fv,k"), cls->fvk});
    used.push_back({QStringLiteral("E0,mean"), cls->E0mean});
    const Value gammaM = lookup.value(QStringLiteral("gamma_M.de.") + material);
    const Value kcrNumerator = lookup.value(QStringLiteral("kcr.de.%1.numerator").arg(material));
    const Value hRef = lookup.value(QStringLiteral("kh.%1.h_ref").arg(material));
    const Value hExp = lookup.value(QStringLiteral("kh.%1.exponent").arg(material));
    const Value hCap = lookup.value(QStringLiteral("kh.%1.cap").arg(material));
    const Value kdef = lookup.value(QStringLiteral("kdef.%1.sc%2").arg(material).arg(options.serviceClass));
    const Value lim[6] = {lookup.value(QStringLiteral("limit.timber.span.w_inst")),
                          lookup.value(QStringLiteral("limit.timber.cantilever.w_inst")),
                          lookup.value(QStringLiteral("limit.timber.span.w_fin")),
                          lookup.value(QStringLiteral("limit.timber.cantilever.w_fin")),
                          lookup.value(QStringLiteral("limit.timber.span.w_net_fin")),
                          lookup.value(QStringLiteral("limit.timber.cantilever.w_net_fin"))};
    used.push_back({QStringLiteral("gamma_M"), gammaM});
    used.push_back({QStringLiteral("kcr numerator"), kcrNumerator});
    used.push_back({QStringLiteral("kh h_ref"), hRef});
    used.push_back({QStringLiteral("kh exponent"), hExp});
    used.push_back({QStringLiteral("kh cap"), hCap});
    used.push_back({QStringLiteral("kdef"), kdef});
    const char *limitNames[6] = {"l/n w_inst span", "l/n w_inst cantilever", "l/n w_fin span",
                                 "l/n w_fin cantilever", "l/n w_net,fin span", "l/n w_net,fin cantilever"};
    for (int i = 0; i < 6; ++i)
        used.push_back({QString::fromLatin1(limitNames[i]), lim[i]});
    if (lookup.failed())
        return t;

    const unsigned present = lines.presentActions();
    const auto fundamental = Combinations(CombinationKind::Fundamental, actions, present);
    std::array<double, DurationCount> kmod{};
    std::array<bool, DurationCount> kmodRead{};
    for (const Combination &c : fundamental)
        if (!kmodRead[c.duration]) {
            kmod[c.duration] = kmodKey(lookup, material, options.serviceClass, c.duration, used);
            kmodRead[c.duration] = true;
        }
    if (lookup.failed())
        return t;
    auto byKmod = [&](const Combination &c) { return kmod[c.duration]; };
    auto one = [](const Combination &) { return 1.0; };
    PlaceExtremes bendingAt{}, shearAt{}, instAt{}, finAt{}, netFinAt{};
    const Extreme bending = Worst(prepared.M, fundamental, byKmod, Unscaled, &bendingAt);
    const Extreme shear = Worst(prepared.V, fundamental, byKmod, Unscaled, &shearAt);
    const Extreme inst = Worst(prepared.W, Combinations(CombinationKind::Characteristic, actions, present, 0, false),
                               one, deflectionScale(lines, lim[0].value, lim[1].value), &instAt);
    const Extreme fin = Worst(prepared.W,
                              Combinations(CombinationKind::Final, actions, present, kdef.value, false), one,
                              deflectionScale(lines, lim[2].value, lim[3].value), &finAt);
    const Extreme netFin = Worst(prepared.W,
                                 Combinations(CombinationKind::NetFinal, actions, present, kdef.value), one,
                                 deflectionScale(lines, lim[4].value, lim[5].value), &netFinAt);

    t.gammaM = gammaM.value;
    t.kdef = kdef.value;
    t.kcr = CrackFactor(kcrNumerator.value, cls->fvk.value);
    const double E = cls->E0mean.value;
    // The utilisations of a height (mm), largest first in `worst`.
    auto evaluate = [&](double hMm, TimberResult *into) {
        const TimberSection s{options.bCm * 10, hMm};
        const double kh = DepthFactor(hMm, hRef.value, hExp.value, hCap.value);
        double worst = 0;
        auto deflectionOf = [&](int limitIndex) {
            return [&, limitIndex](const Extreme &e) {
                const double w = std::abs(Deflection(e.value, E, s.I()));
                const double limit = lines.region[e.region].length * 1000
                                     / lim[limitIndex + (e.region >= 3 ? 1 : 0)].value;
                CheckOutcome o = outcome(e, w / limit, w, limit, CheckUnit::Deflection);
                o.upward = e.value < 0;
                for (double &part : o.parts)
                    part = Deflection(part, E, s.I());
                return o;
            };
        };
        auto bendingOf = [&](const Extreme &e) {
            const double km = kmod[e.combination.duration];
            const double sigma = BendingStress(e.value, s);
            const double f = DesignStrength(km, cls->fmk.value, gammaM.value, kh);
            CheckOutcome o = outcome(e, sigma / f, sigma, f, CheckUnit::Stress);
            o.kmod = km;
            return o;
        };
        auto shearOf = [&](const Extreme &e) {
            const double km = kmod[e.combination.duration];
            const double tau = ShearStress(e.value, s, t.kcr);
            const double f = DesignStrength(km, cls->fvk.value, gammaM.value);
            CheckOutcome o = outcome(e, tau / f, tau, f, CheckUnit::Stress);
            o.kmod = km;
            return o;
        };
        takeOutcome(bending, bendingAt, bendingOf, worst, into ? &into->bending : nullptr);
        takeOutcome(shear, shearAt, shearOf, worst, into ? &into->shear : nullptr);
        takeOutcome(inst, instAt, deflectionOf(0), worst, into ? &into->deflectionInst : nullptr);
        takeOutcome(fin, finAt, deflectionOf(2), worst, into ? &into->deflectionFin : nullptr);
        takeOutcome(netFin, netFinAt, deflectionOf(4), worst, into ? &into->deflectionNetFin : nullptr);
        if (into)
            into->kh = kh;
        return worst;
    };
    // Every utilisation falls as h grows (kh·h² grows): bisection on whole mm.
    if (evaluate(MaxTimberHeightMm, nullptr) <= 1) {
        int lo = 0, hi = MaxTimberHeightMm;   // evaluate(hi) <= 1, lo fails or is 0
        while (hi - lo > 1) {
            const int mid = (lo + hi) / 2;
            (evaluate(mid, nullptr) <= 1 ? hi : lo) = mid;
        }
        t.hRequired = hi / 10.0;
    }
    t.sized = !options.hCm;
    t.h = options.hCm ? *options.hCm : (t.hRequired > 0 ? t.hRequired : MaxTimberHeightMm / 10.0);
    evaluate(t.h * 10, &t);
    t.done = true;
    return t;
}

SteelResult CheckSteel(const PreparedLines &prepared, const ActionSet &actions, const Data &data, Lookup &lookup,
                       const CheckOptions &options)
{
    const UnitLines &lines = prepared.lines;
    SteelResult st;
    const SteelGrade *grade = data.steelGrade(options.steelGrade);
    if (!grade)
        return st;
    st.grade = grade->name;
    auto &used = st.values;
    used.push_back({QStringLiteral("fy"), grade->fy});
    used.push_back({QStringLiteral("E"), grade->E});
    used.push_back({QStringLiteral("gamma_M0"), grade->gammaM0});
    double flange[3], web[3];
    for (int i = 0; i < 3; ++i) {
        const Value f = lookup.value(QStringLiteral("c_t.flange.class%1").arg(i + 1));
        const Value w = lookup.value(QStringLiteral("c_t.web.class%1").arg(i + 1));
        flange[i] = f.value;
        web[i] = w.value;
        used.push_back({QStringLiteral("c/t flange class %1").arg(i + 1), f});
        used.push_back({QStringLiteral("c/t web class %1").arg(i + 1), w});
    }
    const Value hwtw = lookup.value(QStringLiteral("shear_buckling.hw_tw"));
    const Value eta = lookup.value(QStringLiteral("shear_buckling.eta"));
    const Value spanLimit = lookup.value(QStringLiteral("limit.steel.span.w"));
    const Value cantileverLimit = lookup.value(QStringLiteral("limit.steel.cantilever.w"));
    used.push_back({QStringLiteral("hw/tw factor"), hwtw});
    used.push_back({QStringLiteral("eta"), eta});
    used.push_back({QStringLiteral("l/n span"), spanLimit});
    used.push_back({QStringLiteral("l/n cantilever"), cantileverLimit});
    if (lookup.failed())
        return st;

    const unsigned present = lines.presentActions();
    // No kmod: the combinations with every present action suffice.
    const auto fundamental = Combinations(CombinationKind::Fundamental, actions, present, 0, false);
    auto one = [](const Combination &) { return 1.0; };
    PlaceExtremes bendingAt{}, shearAt{}, deflectionAt{};
    const Extreme bending = Worst(prepared.M, fundamental, one, Unscaled, &bendingAt);
    const Extreme shear = Worst(prepared.V, fundamental, one, Unscaled, &shearAt);
    const Extreme deflection = Worst(prepared.W,
                                     Combinations(CombinationKind::Characteristic, actions, present, 0, false), one,
                                     deflectionScale(lines, spanLimit.value, cantileverLimit.value), &deflectionAt);
    // The stretches of the M–V interaction, made when a section first needs
    // them: while |V| stays at or below Vpl,Rd / 2 everywhere, M–V is bending.
    std::vector<ForceStretch> stretches;
    bool stretchesMade = false;
    const double fy = grade->fy.value, gM0 = grade->gammaM0.value, E = grade->E.value;

    // Utilisations of one profile; false when it is not usable at all
    // (class 4, or a web that needs a shear-buckling check). Without `into`
    // (sizing) only whether every utilisation is at most 1 matters.
    auto evaluate = [&](const Profile &p, SteelResult *into, double &worst) {
        const SectionClass cls = ClassifySection(p, fy, flange, web);
        const double webLimit = hwtw.value * cls.epsilon / eta.value;
        const double slenderness = WebSlenderness(p);
        worst = 0;
        const bool usable = cls.section <= 3 && slenderness <= webLimit;
        if (!into && !usable)
            return false;
        const BendingShearResistance resistance = BendingShear(p, std::min(cls.section, 3), fy, gM0);
        const double Mc = resistance.Mc, Vpl = resistance.Vpl;
        auto bendingOf = [&](const Extreme &e) {
            return outcome(e, std::abs(e.value) / Mc, std::abs(e.value), Mc, CheckUnit::Moment);
        };
        auto shearOf = [&](const Extreme &e) {
            return outcome(e, std::abs(e.value) / Vpl, std::abs(e.value), Vpl, CheckUnit::Force);
        };
        auto deflectionOf = [&](const Extreme &e) {
            const double w = std::abs(Deflection(e.value, E, p.Iy * 1e4));
            const double n = e.region < 3 ? spanLimit.value : cantileverLimit.value;
            const double limit = lines.region[std::size_t(e.region)].length * 1000 / n;
            CheckOutcome o = outcome(e, w / limit, w, limit, CheckUnit::Deflection);
            o.upward = e.value < 0;
            for (double &part : o.parts)
                part = Deflection(part, E, p.Iy * 1e4);
            return o;
        };
        takeOutcome(bending, bendingAt, bendingOf, worst, into ? &into->bending : nullptr);
        takeOutcome(shear, shearAt, shearOf, worst, into ? &into->shear : nullptr);
        takeOutcome(deflection, deflectionAt, deflectionOf, worst, into ? &into->deflection : nullptr);
        if (!into && worst > 1)
            return usable;
        if (!stretchesMade && shear.found && std::abs(shear.value) > 0.5 * Vpl) {
            stretches = InteractionStretches(prepared.M, prepared.V, fundamental);
            stretchesMade = true;
        }
        auto interactionOf = [&](const InteractionResult &mv) {
            Extreme e;
            e.found = true;
            e.region = mv.region;
            e.x = mv.x;
            e.combination = mv.combination;
            // Beyond Vpl,Rd the section fails in shear: V_Ed against Vpl,Rd.
            CheckOutcome o = mv.shearExceeded
                                 ? outcome(e, mv.utilisation, std::abs(mv.V), Vpl, CheckUnit::Force)
                                 : outcome(e, mv.utilisation, std::abs(mv.M), mv.resistance, CheckUnit::Moment);
            o.shear = std::abs(mv.V);
            o.shearExceeded = mv.shearExceeded;
            return o;
        };
        PlaceInteractions mvAt{};
        const InteractionResult mv = WorstInteraction(stretches, bending, resistance, into ? INFINITY : 1.0,
                                                      into ? &mvAt : nullptr, &bendingAt);
        if (mv.found) {
            worst = std::max(worst, mv.utilisation);
            if (into) {
                into->bendingShear = interactionOf(mv);
                into->bendingShear.places.resize(PlaceCount);
                for (int i = 0; i < PlaceCount; ++i)
                    if (mvAt[std::size_t(i)].found)
                        into->bendingShear.places[std::size_t(i)] = atPlace(interactionOf(mvAt[std::size_t(i)]));
            }
        }
        if (into) {
            into->sectionClass = cls;
            into->webSlenderness = slenderness;
            into->webLimit = webLimit;
            into->section = p;
            into->resistance = resistance;
        }
        return usable;
    };

    const Profile *chosen = nullptr;
    if (!options.profile.isEmpty()) {
        chosen = data.profile(options.profile);
    } else {
        std::vector<const Profile *> series;
        for (const Profile &p : data.profiles)
            if (p.series == options.series)
                series.push_back(&p);
        std::stable_sort(series.begin(), series.end(),
                         [](const Profile *a, const Profile *b) { return a->mass < b->mass; });
        for (const Profile *p : series) {
            double worst = 0;
            if (evaluate(*p, nullptr, worst) && worst <= 1) {
                chosen = p;
                break;
            }
        }
        st.sized = true;
        if (!chosen) {
            st.noneAdequate = true;
            if (!series.empty())
                chosen = series.back();
        }
    }
    if (!chosen)
        return st;
    st.profile = chosen->designation;
    used.push_back({QStringLiteral("Wpl,y [cm³]"), {chosen->Wpl, chosen->key, chosen->cited}});
    used.push_back({QStringLiteral("Avz [cm²]"), {chosen->Av, chosen->key, chosen->cited}});
    used.push_back({QStringLiteral("Iy [cm⁴]"), {chosen->Iy, chosen->key, chosen->cited}});
    double worst = 0;
    evaluate(*chosen, &st, worst);
    st.done = true;
    return st;
}

CheckResult RunCheck(const ProjectTexts &texts, const Data &data, const CheckOptions &options, CheckBasis *basis)
{
    CheckResult result;
    Lookup lookup(data, result.problems);
    CheckBasis local;
    CheckBasis &work = basis ? *basis : local;
    work.actions = ResolveActions(lookup, options.imposedCategory, options.snowHigh, result.actionValues);
    const ActionSet &actions = work.actions;
    if (lookup.failed())
        return result;
    UnitLines lines = FormUnitLines(texts, options.pointLoadAction, result.refused);
    if (result.refused)
        return result;
    work.lines = PreparedLines(std::move(lines));
    const PreparedLines &prepared = work.lines;
    if (options.timber)
        result.timber = CheckTimber(prepared, actions, data, lookup, options);
    if (options.steel)
        result.steel = CheckSteel(prepared, actions, data, lookup, options);
    return result;
}

} // namespace varno::ec
