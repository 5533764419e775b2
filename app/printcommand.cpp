// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/printcommand.h"

#include "app/mainwindow.h"
#include "widgets/messages.h"
#include "results/resultswindow.h"
#include "dialogs/dimensionsdialog.h"
#include "dialogs/projectinfodialog.h"
#include "io/report.h"
#include "app/filedialogs.h"
#include "app/printing.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

namespace varno {

PrintCommand::PrintCommand(MainWindow &main) : QObject(&main), m_main(main), m_printerSource(DefaultPrinter)
{
    setObjectName(QStringLiteral("PrintCommand"));
    if (auto *action = main.findChild<QAction *>(QStringLiteral("mnudrucken")))
        connect(action, &QAction::triggered, this, &PrintCommand::run);
}

void PrintCommand::setPrinterSource(PrinterSource source)
{
    m_printerSource = source ? std::move(source) : PrinterSource(DefaultPrinter);
}

void PrintCommand::run()
{
    if (ShowMessage(&m_main, PrintTitle, QStringLiteral("Drucker vorbereiten?"), MsgIcon::Question,
                    MsgButtons::OkCancel)
        != MsgResult::Ok)
        return;
    // The report shows what the results window holds after a fresh run; a
    // refused run has said why and leaves nothing to print.
    if (!m_main.runAnalysis())
        return;
    const ReportTexts texts = reportTexts();

    const std::unique_ptr<QPrinter> printer = m_printerSource();
    if (!printer) {
        offerPdf(texts);
        return;
    }
    QString error;
    if (!printReport(*printer, texts, &error))
        ShowMessage(&m_main, PrintTitle, error, MsgIcon::Warning);
}

ReportTexts PrintCommand::reportTexts() const
{
    ReportTexts texts;
    const ProjectInfoDialog *info = m_main.projectInfoDialog();
    texts.firma = info->infoText(0);
    texts.projekt = info->infoText(1);
    texts.position = info->infoText(2);
    texts.systemTypeName = m_main.systemTypeName();
    texts.lengths = m_main.dimensionsDialog()->lengthTexts();
    if (const ResultsWindow *results = m_main.resultsWindow()) {
        for (int item = 0; item < ReportResultCount; ++item)
            texts.results[item] = results->resultText(item);
        for (int item = 0; item < ReportDesignCount; ++item)
            texts.design[item] = results->designText(item);
        texts.width = results->widthText();
    }
    texts.locale = QLocale();
    return texts;
}

bool PrintCommand::printReport(QPrinter &printer, const ReportTexts &texts, QString *error)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("Der Bericht kann nicht gedruckt werden (%1).").arg(why);
        return false;
    };
    // The layout fills whatever area the printer's margins leave.
    QPainter painter;
    if (!BeginPrintJob(painter, printer, QStringLiteral("Durchlaufträger"))) {
        const QString name = printer.printerName();
        return fail(name.isEmpty() ? QStringLiteral("der Drucker ist nicht bereit")
                                   : QStringLiteral("der Drucker \u201E%1\u201C ist nicht bereit").arg(name));
    }
    PaintReport(painter, LayoutReport(texts, printer));
    if (!EndPrintJob(painter, printer))
        return fail(QStringLiteral("der Druckauftrag wurde nicht angenommen"));
    return true;
}

void PrintCommand::offerPdf(const ReportTexts &texts)
{
    const PdfSaveOffer offer{PrintTitle,
                         QStringLiteral("Es ist kein Drucker eingerichtet. Soll der Bericht als PDF-Datei "
                                        "gespeichert werden?"),
                         QStringLiteral("Bericht speichern"), QStringLiteral("Bericht.pdf")};
    OfferPdfFile(&m_main, offer, m_lastPdfFolder,
                 [&](const QString &path, QString *error) { return WriteReportPdf(path, texts, error); });
}

} // namespace varno
