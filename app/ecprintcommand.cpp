// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ecprintcommand.h"

#include "app/mainwindow.h"
#include "dialogs/projectinfodialog.h"
#include "app/filedialogs.h"
#include "app/printing.h"
#include "io/ecreport.h"
#include "io/report.h"
#include "results/eurocodewindow.h"
#include "widgets/messages.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>

namespace varno {

EcPrintCommand::EcPrintCommand(EurocodeWindow &window, MainWindow &main)
    : QObject(&window), m_window(window), m_main(main), m_printerSource(DefaultPrinter)
{
    setObjectName(QStringLiteral("EcPrintCommand"));
    connect(window.printButton(), &QPushButton::clicked, this, &EcPrintCommand::run);
}

void EcPrintCommand::setPrinterSource(PrinterSource source)
{
    m_printerSource = source ? std::move(source) : PrinterSource(DefaultPrinter);
}

EcReportInput EcPrintCommand::reportInput() const
{
    EcReportInput input = m_window.reportInput();
    const ProjectInfoDialog *info = m_main.projectInfoDialog();
    for (int i = 0; i < int(input.projectInfo.size()); ++i)
        input.projectInfo[i] = info->infoText(i);
    input.systemTypeName = m_main.systemTypeName();
    return input;
}

void EcPrintCommand::run()
{
    if (ShowMessage(&m_window, PrintTitle, QStringLiteral("Drucker vorbereiten?"), MsgIcon::Question,
                    MsgButtons::OkCancel)
        != MsgResult::Ok)
        return;
    const EcReportInput input = reportInput();
    const std::unique_ptr<QPrinter> printer = m_printerSource();
    if (!printer) {
        offerPdf(input);
        return;
    }
    QPainter painter;
    if (!BeginPrintJob(painter, *printer, QStringLiteral("Nachweis nach Eurocode"))) {
        ShowMessage(&m_window, PrintTitle,
                    QStringLiteral("Der Nachweis kann nicht gedruckt werden (der Drucker ist nicht bereit)."),
                    MsgIcon::Warning);
        return;
    }
    PaintEcReport(painter, *printer, input);
    if (!EndPrintJob(painter, *printer))
        ShowMessage(&m_window, PrintTitle,
                    QStringLiteral("Der Nachweis kann nicht gedruckt werden (der Druckauftrag wurde nicht "
                                   "angenommen)."),
                    MsgIcon::Warning);
}

void EcPrintCommand::offerPdf(const EcReportInput &input)
{
    const PdfSaveOffer offer{PrintTitle,
                         QStringLiteral("Es ist kein Drucker eingerichtet. Soll der Nachweis als PDF-Datei "
                                        "gespeichert werden?"),
                         QStringLiteral("Nachweis speichern"), QStringLiteral("Nachweis.pdf")};
    OfferPdfFile(&m_window, offer, m_lastPdfFolder,
                 [&](const QString &path, QString *error) { return WriteEcReportPdf(path, input, error); });
}

} // namespace varno
