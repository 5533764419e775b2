// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The presentation of a span table: every text of the table made once from
// its numbers. The text output, the PDF, the CSV file and the JSON object
// of varno-calc --span-table all render it, so they agree in every entry,
// mark and source.
//
//   SpanTableRun (request, loads as given, SpanTable)
//     --PresentSpanTable(locale)--> SpanTablePresentation
//       heading, the options used, one table per system (rows: sections,
//       columns: load cases), the legend of the marks, the values used with
//       their sources, the assumptions, and every entry not found.

#include "eurocode/spantable.h"
#include "presentation/ecpresentation.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace varno {

struct SpanTableRun
{
    ec::SpanTableRequest request;      // the loads in kN/m on every span
    // Set: the loads were given per m² and multiplied by this spacing (m);
    // `areaLoads` holds them as given.
    std::optional<double> spacing;
    std::vector<ec::SpanLoadCase> areaLoads;
    ec::SpanTable table;
};

// One entry as every output shows it.
struct SpanCell
{
    ec::SpanStatus status = ec::SpanStatus::Refused;
    double span = 0;           // m; Found and AtBound
    QString governing;         // the check that limits the span ("deflectionInst"); empty at the bound
    QString mark;              // its short mark ("wi")
    QStringList uncited;       // keys of the values without a citable source that entered that check
    QString reason;            // a profile that may not be used: why
    QString text;              // "3,06 wi*", "keine", "≥ 100,00"
};

struct SpanTablePart
{
    int spans = 1;
    QString title;             // "Einfeldträger"
    QStringList columnHeads;   // "b/h [cm]", then one per load case ("0,50/1,50")
    QStringList rowHeads;      // one per section ("6/16", "IPE 200")
    std::vector<std::vector<SpanCell>> cells;   // [section][load case]
};

struct SpanTablePresentation
{
    QString title;
    QStringList problems;      // why nothing was computed (the data files)
    QStringList options;       // the options used, one line each
    QString loadUnit;          // what the column heads give: "g/q in kN/m" …
    std::vector<SpanTablePart> tables;
    QStringList legend;        // "wi: Durchbiegung w_inst", … for the marks that occur
    QString sourceNote;        // what "*" means, with the keys; empty when no entry has it
    std::vector<EcValueRow> values;   // every value used, with its source mark
    QStringList assumptions;
    QStringList errors;        // every entry not found, one German sentence each
    bool met() const { return problems.isEmpty() && errors.isEmpty(); }
};

SpanTablePresentation PresentSpanTable(const SpanTableRun &run, const QLocale &locale);

// The German text block: heading, options, the tables with aligned
// columns, legend, values.
QStringList SpanTableTextLines(const SpanTablePresentation &presentation);

// The CSV file: one header line, then one line per entry, "." as decimal
// point (see docs/json.md for the columns).
QByteArray SpanTableCsv(const SpanTableRun &run, const SpanTablePresentation &presentation);

// The JSON object {"spanTable": …} on one line.
QByteArray SpanTableJson(const SpanTableRun &run, const SpanTablePresentation &presentation);

inline const QString SpanTableTitle = QStringLiteral("Bemessungstabelle: größte Spannweiten nach Eurocode");

} // namespace varno
