// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "analysis/beamlines.h"
#include "analysis/resultset.h"
#include "model/numericbeam.h"
#include "model/projectmodel.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace varno {

// A span or cantilever with an upward load (a negative uniform load or
// point load): its moment line may reach its extremes anywhere.
struct UpwardLoadRegion
{
    int region = 0;                  // LineRegion
    LineExtremes extremes;           // of its exact line
    double spanMoment = 0;           // spans: the span moment MF as computed
    bool spanMomentBelowMax = false; // spans: MF is less than the line's largest moment
};

// A point load that does not act: in the row of a region the system does
// not have (a span beyond the span count, a cantilever of length 0), or with
// its distance outside its region (a < 0 or a > length; a = 0 and a = length
// stand at the ends of the region and act). Such loads are left out of every
// computation, and the user is told about each.
enum class InactiveCause { NoRegion, OutsideRegion };

struct InactivePointLoad
{
    int region = 0;        // LoadRegion 1..5
    int slot = 0;          // 0..26
    double F = 0;          // kN
    double a = 0;          // m from the start node of its region
    double length = 0;     // of its region, m
    InactiveCause cause = InactiveCause::NoRegion;

    int row() const { return slot - FirstSlot(region) + 1; }   // 1..7 in its region
};

// The point loads of the beam that do not act, in slot order: the one filter
// of such loads, for the analysis and the pictures alike.
std::vector<InactivePointLoad> InactivePointLoads(const NumericBeam &beam);

struct AnalysisOutcome
{
    // A refused run (a zero span length used as divisor, a result that would
    // be infinite or not a number) leaves the ResultSet untouched, xF
    // included.
    bool refused = false;
    QString refusal;        // German message naming the cause

    // "Geben Sie eine Belastung ein" once per unloaded span, in the order the
    // zero-shear search meets them; the window layer shows each as a warning.
    QStringList warnings;

    int spans = 0;

    // The point loads left out because they do not act (see
    // InactivePointLoad), in slot order; the window layer warns about each.
    std::vector<InactivePointLoad> inactive;

    // The exact lines of the computed beam (see Lines); not valid when
    // refused, not wanted, or not finite.
    BeamLines lines;
    // The regions with upward loads, in the order spans 1..3, left, right
    // cantilever; the window layer warns about each.
    std::vector<UpwardLoadRegion> upward;
};

// The loads of every region as the analysis computes with them: the total
// uniform load and the point loads that act, in order of distance
// (InDistanceOrder).
BeamLoads ActingLoads(const NumericBeam &beam);

// Whether the outcome carries the exact lines of the beam. A beam with an
// upward load always gets them (its design needs them); otherwise only when
// wanted, since they cost more than the rest of the analysis.
enum class Lines { WhenNeeded, Wanted };

// The whole analysis of the beam: the numbers only, the result lines are
// made where they are shown (ResultLines). Writes `results` only when the
// run is not refused: by BeamRefusal, or because a result would not be
// finite. A beam with an upward load whose exact lines would not be finite
// is refused; otherwise lines that would not be finite are left out (not
// valid).
AnalysisOutcome RunAnalysis(const NumericBeam &beam, ResultSet &results, Lines lines = Lines::WhenNeeded);

// The same over a snapshot of the input texts, read by ReadBeam.
AnalysisOutcome RunAnalysis(const ProjectTexts &texts, ResultSet &results, Lines lines = Lines::WhenNeeded);

inline const QString NoLoadWarningTitle = QStringLiteral("Warnung");
inline const QString NoLoadWarningText = QStringLiteral("Geben Sie eine Belastung ein");

} // namespace varno
