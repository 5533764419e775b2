// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Span tables: for a timber class or a steel grade, a list of sections,
// load cases (uniform g and q on every span) and systems of one, two or
// three equal spans, the largest span of every section, in whole
// centimetres, that passes every check of the Eurocode check.
//
// Under uniform loads on equal spans the lines of span L are those of span
// 1 m scaled: x by L, M by L², V by L, EI·w by L⁴ (ScaledUnitLines). The
// unit lines are made once per system and load case at 1 m; for every span
// tried they are scaled and the check runs whole on them. Every utilisation
// grows with the span: the design values grow as L, L² or L⁴ at the same
// places and in the same combinations, the resistances do not depend on L,
// and a deflection limit l/n grows as L, so a deflection utilisation grows
// as L³. So the spans that pass form one interval from 0 up, and bisection
// over whole centimetres finds its end.

#include "eurocode/eccheck.h"

#include <QString>

#include <vector>

namespace varno::ec {

// g and q in kN/m on every span.
struct SpanLoadCase
{
    double g = 0, q = 0;
};

// A timber rectangle b × h (cm) or a steel profile by its designation.
struct SpanSection
{
    double bCm = 0, hCm = 0;
    QString profile;
};

enum class SpanMaterial { Timber, Steel };

struct SpanTableRequest
{
    SpanMaterial material = SpanMaterial::Timber;
    // The class or grade, the service class, the imposed category; the
    // section of each entry is set here per section.
    CheckOptions options;
    std::vector<SpanSection> sections;
    std::vector<SpanLoadCase> loadCases;
    std::vector<int> systems;   // numbers of equal spans, 1 to 3
};

// The search runs over whole centimetres from the shortest span up to the
// bound (100 m).
constexpr int ShortestSpanCm = 1;
constexpr int SpanBoundCm = 10000;

enum class SpanStatus {
    Found,     // spanCm passes, spanCm + 1 cm does not
    NoSpan,    // even the shortest span fails
    AtBound,   // the bound passes: the largest span lies beyond it
    Refused,   // the beam or the section could not be checked
};

// Whether a check result passes, and its check of the largest utilisation
// ("bending", "shear", …, as the presentation names the checks;
// "unusable" for a steel profile that may not be used at all).
struct Verdict
{
    bool passes = false;
    QString governing;
    double utilisation = 0;
};
Verdict JudgeTimber(const TimberResult &result);
Verdict JudgeSteel(const SteelResult &result);

struct SpanEntry
{
    SpanStatus status = SpanStatus::Refused;
    int spanCm = 0;          // Found: the largest span; AtBound: the bound
    int checks = 0;          // full checks the search ran
    // The check at spanCm (Found, AtBound) or at the shortest span (NoSpan):
    // the member result and its verdict.
    TimberResult timber;
    SteelResult steel;
    Verdict atSpan;
    // Found: the check that fails first 1 cm further, the one that limits
    // the span; NoSpan: the one that fails at the shortest span.
    QString limiting;
};

struct SpanTable
{
    SpanMaterial material = SpanMaterial::Timber;
    std::vector<DataProblem> problems;   // the data files: nothing was computed
    std::vector<NamedValue> actionValues;
    std::vector<int> systems;
    int loadCases = 0, sections = 0;
    // System by system, in each load case by load case, in each section by
    // section.
    std::vector<SpanEntry> entries;

    const SpanEntry &at(int system, int loadCase, int section) const
    {
        return entries[(std::size_t(system) * std::size_t(loadCases) + std::size_t(loadCase)) * std::size_t(sections)
                       + std::size_t(section)];
    }
    // Every entry found (none refused, none at the bound or without a span).
    bool allFound() const;
};

// The sections of a timber table when none are given: 20 rectangles of
// widths 6, 8, 10 and 12 cm with heights from 12 to 24 cm, as sawn timber
// comes.
std::vector<SpanSection> DefaultTimberSections();

SpanTable ComputeSpanTable(const SpanTableRequest &request, const Data &data);

// The texts of `spans` equal spans of the given length, no cantilevers, g
// and q on every span.
ProjectTexts EqualSpans(int spans, double length, const SpanLoadCase &loads);

// The unit lines of a beam with every length `factor` times that of
// `lines`, under the same uniform loads (no point loads): x and the lengths
// times factor, M times factor², EI·w times factor⁴.
UnitLines ScaledUnitLines(const UnitLines &lines, double factor);

} // namespace varno::ec
