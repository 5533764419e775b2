// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What varno-calc shows of the envelope of the variable loads: its JSON
// object, the text block of --envelope and the uplift warnings.

#include "analysis/envelope.h"

#include <QLocale>
#include <QStringList>

namespace varno::cli {

class JsonWriter;

inline const QString EnvelopeHeading = QStringLiteral("Umhüllende (feldweise veränderliche Lasten)");

// {"patterns": 32, "MA": {"min", "max"}, ..., "MF1": {"max"}, ..., "A": {...},
// "uplift": ["A", ...]}; only supports and spans the system has.
void WriteEnvelopeJson(JsonWriter &json, const LoadEnvelope &envelope);

// The heading, then one line per quantity in the order of the result lines.
QStringList EnvelopeLines(const LoadEnvelope &envelope, const QLocale &locale);

// "Abheben möglich am Auflager A: kleinste Auflagerkraft -5.11 kN" per support.
QStringList UpliftWarnings(const LoadEnvelope &envelope, const QLocale &locale);

} // namespace varno::cli
