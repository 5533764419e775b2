// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the two print commands (the report of the main window and the
// Eurocode report) share: the printer they print on and how a print job
// starts and ends.

#include <QString>

#include <functional>
#include <memory>

class QPainter;
class QPrinter;

namespace varno {

inline const QString PrintTitle = QStringLiteral("Drucken");

// The printer a command prints on; tests give one of their own.
using PrinterSource = std::function<std::unique_ptr<QPrinter>()>;

// The system's default printer, or none where no printer is set up.
std::unique_ptr<QPrinter> DefaultPrinter();

// Names the job and sets the report's page margins (a printer whose
// hardware margins are wider keeps its own), then begins painting on it;
// false when the printer is not ready.
bool BeginPrintJob(QPainter &painter, QPrinter &printer, const QString &documentName);

// Ends the job; false when the printer did not take it.
bool EndPrintJob(QPainter &painter, QPrinter &printer);

} // namespace varno
