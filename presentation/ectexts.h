// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The small texts of the Eurocode check that its presentation and the
// window's fields share: the names of regions, actions, units and
// load-duration classes, the governing combination in words, and a problem
// with a data file.

#include "eurocode/eccheck.h"

#include <QLocale>
#include <QString>

namespace varno {

// "Feld 1" … "Kragarm re" for the line regions 0..4.
QString EcRegionName(int region);
// "F1", "F2", "F3", "Kl", "Kr"; empty for no region.
QString EcRegionKey(int region);
// "Eigengewicht g" … "Wind w" by action.
QString EcActionName(int action);
// "N/mm²", "mm", "kNm", "kN".
QString EcUnitText(ec::CheckUnit unit);
// "ständig" … "sehr kurz".
QString EcDurationText(ec::Duration duration);

// "Grundkombination, Nutzlast q führend: 1,35·G (Feld 1) + 1,50·Q (Feld 1)":
// the kind, the leading action and every acting action with its factor and
// the regions it acts on.
QString EcCombinationText(const ec::Combination &combination, const QLocale &locale);

// One problem with a data file: file, line, column or key and the text.
QString EcProblemText(const ec::DataProblem &problem);

// The symbol of a value the check used, as an engineer writes it, by the
// name the check gives it: "gamma_G,sup" → "γG,sup", "kmod(medium)" →
// "kmod (mittel)", "c/t flange class 1" → "c/t Gurt Klasse 1". A name the
// table does not know is its own symbol.
QString EcValueSymbol(const QString &name);

} // namespace varno
