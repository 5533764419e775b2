// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/printing.h"

#include "io/report.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace varno {

std::unique_ptr<QPrinter> DefaultPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

bool BeginPrintJob(QPainter &painter, QPrinter &printer, const QString &documentName)
{
    printer.setDocName(documentName);
    printer.setFullPage(false);
    printer.setPageMargins(ReportPageMargins(), QPageLayout::Millimeter);
    return painter.begin(&printer);
}

bool EndPrintJob(QPainter &painter, QPrinter &printer)
{
    return painter.end() && printer.printerState() != QPrinter::Error;
}

} // namespace varno
