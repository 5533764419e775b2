// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The span table as a PDF document: the heading, the options used, one
// table per system (sections down, load cases across, split into parts
// when there are more load cases than a page holds), the legend and the
// meaning of "*", every value used with its source, the assumptions, and
// "Seite n von m" on every page. A4, landscape when a table is too wide
// for portrait. Rendered from the presentation of the run; German numbers
// whatever the locale of the text output.

#include "presentation/spantabletexts.h"

#include <QByteArray>
#include <QString>

namespace varno {

// What the options --firma, --projekt, --position, --beschreibung and
// --bearbeiter gave; empty lines are left out.
struct SpanTableHeading
{
    QString firma, projekt, position, beschreibung, bearbeiter;
};

// The PDF made in memory; empty, with the reason in `error`, when it cannot
// be made. Needs a QGuiApplication (fonts).
QByteArray SpanTablePdfBytes(const SpanTablePresentation &presentation, const SpanTableHeading &heading,
                             QString *error = nullptr);

} // namespace varno
