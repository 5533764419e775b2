// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The 27 result quantities of one analysis, named once: the result lines,
// varno-calc's JSON and text output, the envelope and the analysis's own
// check for non-finite results all read this table.

#include "analysis/resultset.h"

#include <QLatin1String>

#include <array>
#include <string_view>

namespace varno {

enum class QuantityKind {
    SupportMoment,       // MA..MD
    SpanMoment,          // MF1..MF3
    ZeroShearPosition,   // xF1..xF3
    Shear,               // Ali..Dre, either side of a support
    Reaction,            // A..D = jump of the shear force at the support
    Deflection,          // EIf1..EIf3 at midspan, EIwKl, EIwKr at the tips
};

enum class QuantityUnit { kNm, kN, m, kNm3 };

struct ResultQuantity
{
    std::string_view name;   // as the result lines, the JSON and the messages write it
    QuantityKind kind;
    QuantityUnit unit;
    // Support 0..3 (A..D) for support moments, shears and reactions;
    // LoadRegion 1..5 for span and cantilever quantities.
    int place;
    double ResultSet::*member;
    // Reactions only: the shear right of the support; `member` is the one left of it.
    double ResultSet::*rightShear = nullptr;

    double value(const ResultSet &r) const { return rightShear ? r.*rightShear - r.*member : r.*member; }
    QLatin1String key() const { return QLatin1String(name.data(), qsizetype(name.size())); }

    // Whether the quantity belongs to a system of `spans` spans (1..3); a
    // cantilever's quantity belongs to every system.
    bool inSystem(int spans) const
    {
        switch (kind) {
        case QuantityKind::SupportMoment:
        case QuantityKind::Shear:
        case QuantityKind::Reaction:
            return place <= spans;
        default:
            return place > 3 || place <= spans;
        }
    }
};

constexpr int ResultQuantityCount = 27;

// In the order the analysis checks them: support values, then the span
// values, then the deflection terms.
inline constexpr std::array<ResultQuantity, ResultQuantityCount> ResultQuantities = [] {
    using enum QuantityKind;
    using enum QuantityUnit;
    return std::array<ResultQuantity, ResultQuantityCount>{{
        {"MA", SupportMoment, kNm, 0, &ResultSet::MA},
        {"MB", SupportMoment, kNm, 1, &ResultSet::MB},
        {"MC", SupportMoment, kNm, 2, &ResultSet::MC},
        {"MD", SupportMoment, kNm, 3, &ResultSet::MD},
        {"Ali", Shear, kN, 0, &ResultSet::Ali},
        {"Are", Shear, kN, 0, &ResultSet::Are},
        {"Bli", Shear, kN, 1, &ResultSet::Bli},
        {"Bre", Shear, kN, 1, &ResultSet::Bre},
        {"Cli", Shear, kN, 2, &ResultSet::Cli},
        {"Cre", Shear, kN, 2, &ResultSet::Cre},
        {"Dli", Shear, kN, 3, &ResultSet::Dli},
        {"Dre", Shear, kN, 3, &ResultSet::Dre},
        {"A", Reaction, kN, 0, &ResultSet::Ali, &ResultSet::Are},
        {"B", Reaction, kN, 1, &ResultSet::Bli, &ResultSet::Bre},
        {"C", Reaction, kN, 2, &ResultSet::Cli, &ResultSet::Cre},
        {"D", Reaction, kN, 3, &ResultSet::Dli, &ResultSet::Dre},
        {"xF1", ZeroShearPosition, m, 1, &ResultSet::xF1},
        {"xF2", ZeroShearPosition, m, 2, &ResultSet::xF2},
        {"xF3", ZeroShearPosition, m, 3, &ResultSet::xF3},
        {"MF1", SpanMoment, kNm, 1, &ResultSet::MF1},
        {"MF2", SpanMoment, kNm, 2, &ResultSet::MF2},
        {"MF3", SpanMoment, kNm, 3, &ResultSet::MF3},
        {"EIf1", Deflection, kNm3, 1, &ResultSet::EIf1},
        {"EIf2", Deflection, kNm3, 2, &ResultSet::EIf2},
        {"EIf3", Deflection, kNm3, 3, &ResultSet::EIf3},
        {"EIwKl", Deflection, kNm3, 4, &ResultSet::EIwKl},
        {"EIwKr", Deflection, kNm3, 5, &ResultSet::EIwKr},
    }};
}();

// The quantity of that name; the name must be one of the table's.
constexpr const ResultQuantity &Quantity(std::string_view name)
{
    for (const ResultQuantity &q : ResultQuantities)
        if (q.name == name)
            return q;
    throw "no such result quantity";   // a constant expression fails to compile here
}

// The quantities of one kind, in table order, e.g. the four support moments.
template<QuantityKind Kind>
constexpr auto QuantitiesOf()
{
    constexpr std::size_t count = [] {
        std::size_t n = 0;
        for (const ResultQuantity &q : ResultQuantities)
            n += q.kind == Kind;
        return n;
    }();
    std::array<const ResultQuantity *, count> out{};
    std::size_t i = 0;
    for (const ResultQuantity &q : ResultQuantities)
        if (q.kind == Kind)
            out[i++] = &q;
    return out;
}

// Their names, each ending in a zero byte as the table's literals do.
template<QuantityKind Kind>
constexpr auto NamesOf()
{
    constexpr auto quantities = QuantitiesOf<Kind>();
    std::array<const char *, quantities.size()> out{};
    for (std::size_t i = 0; i < quantities.size(); ++i)
        out[i] = quantities[i]->name.data();
    return out;
}

} // namespace varno
