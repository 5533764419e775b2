// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// "Nachweis drucken…" of the Eurocode window: the report of the check on the
// default printer, or, where none is set up, as a PDF file, as the print
// command of the main window offers it.

#include "app/printing.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QPrinter;

namespace varno {

class EurocodeWindow;
class MainWindow;
struct EcReportInput;

class EcPrintCommand : public QObject
{
    Q_OBJECT
public:
    EcPrintCommand(EurocodeWindow &window, MainWindow &main);

    void run();
    // The report as the windows hold it now, with the project heading.
    EcReportInput reportInput() const;

    void setPrinterSource(PrinterSource source);

private:
    void offerPdf(const EcReportInput &input);

    EurocodeWindow &m_window;
    MainWindow &m_main;
    PrinterSource m_printerSource;
    QString m_lastPdfFolder;
};

} // namespace varno
