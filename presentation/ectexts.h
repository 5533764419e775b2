// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The texts of the Eurocode window and its report, made from the numbers of
// the check: the name, formula, numbers and utilisation of each check, the
// governing combination in words, the values with their sources, the
// problems with the data files and the assumptions.

#include "eurocode/ecrun.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <vector>

namespace varno {

struct EcCheckRow
{
    QString name;          // "Biegung"
    QString formula;       // "σm,d = Md / W ≤ fm,d = kh · kmod · fm,k / γM"
    QString numbers;       // "σm,d = 8,53 N/mm² ≤ fm,d = 14,77 N/mm²"
    bool done = false;
    double utilisation = 0;
    QString where;         // "Feld 1, x = 3,00 m"
    QString combination;   // in words
};

// "Feld 1" … "Kragarm re" for the line regions 0..4.
QString EcRegionName(int region);
// "η = 0,87"; "–" when `done` is false.
QString EcUtilisationText(bool done, double utilisation, const QLocale &locale);
// The combination in words, with the regions each variable action loads.
QString EcCombinationText(const ec::Combination &combination, const QLocale &locale);

std::vector<EcCheckRow> EcTimberRows(const ec::TimberResult &timber, const QLocale &locale);
std::vector<EcCheckRow> EcSteelRows(const ec::SteelResult &steel, const QLocale &locale);

// "h = 22,0 cm (bemessen)" / "IPE 200 (bemessen)"; why not when nothing is.
QString EcTimberSection(const ec::TimberResult &timber, const QLocale &locale);
QString EcSteelSection(const ec::SteelResult &steel, const QLocale &locale);

// One problem with a data file: file, line, column or key and the text.
QString EcProblemText(const ec::DataProblem &problem);

// A value of the check with its symbol, number and source key; a value
// without a citable source says so.
QString EcValueText(const ec::NamedValue &value, const QLocale &locale);

// The assumptions of the check, one sentence each.
QStringList EcAssumptions();

// "Eigengewicht g" … "Wind w" by action.
QString EcActionName(int action);

} // namespace varno
