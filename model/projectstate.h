// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Everything a user sets for one beam, as the windows hold it: the input
// texts of the calculation, the "für alle Felder gleich?" boxes, the name of
// the last system command, the project information, the inputs of the
// results window and of the window "Nachweis nach Eurocode". A Varno project
// file (io/projectdocument.h) stores exactly this.

#include "model/projectmodel.h"

#include <QString>

#include <array>
#include <optional>

namespace varno {

constexpr int ProjectInfoCount = 5;        // Firma, Projekt, Position, Beschreibung, Bearbeiter
constexpr int EurocodeLimitCount = 8;      // the deflection limits l/n of the Eurocode window
constexpr int EurocodeDiagramCount = 4;    // M, V, w timber, w steel

// The design inputs of the results window, as its fields hold them.
struct ResultsInputs
{
    QString width = QStringLiteral("8.0");            // b, cm
    QString spanLimit = QStringLiteral("300");        // FeldL / n
    QString cantileverLimit = QStringLiteral("150");  // KragL / n
    int series = 1;                                   // IPE, HE-A, HE-B

    bool operator==(const ResultsInputs &) const = default;
};

// The inputs of the window "Nachweis nach Eurocode". Names (class, grade,
// profile) are those of the Eurocode data files; an empty name is the
// window's first entry ("nach Holzsorte", "nach Stahlsorte", "bemessen").
struct EurocodeInputs
{
    QString timberClass;
    int serviceClass = 1;                             // 1 to 3
    QString width = QStringLiteral("8.0");            // b, cm, as typed
    QString height;                                   // h, cm, as typed; empty: sized
    QString steelGrade;
    int series = 1;                                   // IPE, HE-A, HE-B
    QString profile;
    QChar imposedCategory = u'A';                     // A to H
    bool snowHigh = false;                            // above 1000 m
    int pointLoadAction = 0;                          // g, q, s, w
    // The texts of the limit fields; unset: the value of the data file,
    // which the window shows until one is typed.
    std::array<std::optional<QString>, EurocodeLimitCount> limits;
    int diagram = 0;                                  // M, V, w timber, w steel

    bool operator==(const EurocodeInputs &) const = default;
};

struct ProjectState
{
    ProjectTexts texts = ProjectTexts::Defaults();
    std::array<bool, LoadTypeCount> sameForAll{true, true, true, true};
    QString systemTypeName;
    std::array<QString, ProjectInfoCount> info;
    ResultsInputs results;
    EurocodeInputs eurocode;

    // The state of a program just started.
    static ProjectState Defaults();
};

bool operator==(const ProjectTexts &a, const ProjectTexts &b);
bool operator==(const ProjectState &a, const ProjectState &b);

namespace texts {
inline const QString SystemTypeNames[3] = {QStringLiteral("Einfelträger"), QStringLiteral("Zweifelträger"),
                                           QStringLiteral("Dreifelträger")};
inline const QString DefaultProjectInfo[ProjectInfoCount] = {
    QStringLiteral("Geben Sie hier Ihren Firmennamen ein"), QStringLiteral("Neubau EFH"),
    QStringLiteral("Decke über EG"), QString(), QString()};
} // namespace texts

} // namespace varno
