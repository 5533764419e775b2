// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/printing.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QPrinter;

namespace varno {

class MainWindow;
struct ReportTexts;

// The "Drucken" command: asks "Drucker vorbereiten?", computes afresh and
// prints the report on the default printer. Without a printer it offers to
// save the report as a PDF file instead.
class PrintCommand : public QObject
{
    Q_OBJECT
public:
    explicit PrintCommand(MainWindow &main);

    void run();

    // The texts of the report as the windows hold them now, after the
    // analysis has filled the results window (which must exist).
    ReportTexts reportTexts() const;

    // Prints one report on a printer that is set up but not yet started;
    // `error` (optional) says why it failed.
    static bool printReport(QPrinter &printer, const ReportTexts &texts, QString *error = nullptr);

    // Where the report goes: the default printer, or none (null). Tests put
    // a PDF-writing printer or none here.
    void setPrinterSource(PrinterSource source);

private:
    void offerPdf(const ReportTexts &texts);

    MainWindow &m_main;
    PrinterSource m_printerSource;
    QString m_lastPdfFolder;
};

} // namespace varno
