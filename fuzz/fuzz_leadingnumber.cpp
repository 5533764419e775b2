// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// LeadingNumber, the numeric test and the fixed formats on arbitrary texts.
#include "model/projectmodel.h"

#include <QLocale>
#include <QString>

#include <cmath>
#include <cstdlib>

using namespace varno;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const double value = LeadingNumber(text);
    if (std::isnan(value))
        std::abort();

    // A text that reads whole as a number gives exactly the C library's value.
    if (IsNumericText(text)) {
        QByteArray clean = text.trimmed().toLatin1();
        clean.replace('D', 'e').replace('d', 'e');
        const double expected = std::strtod(clean.constData(), nullptr);
        if (!(expected == value))
            std::abort();
    }

    static const QLocale german(QLocale::German, QLocale::Germany);
    for (const QLocale &locale : {QLocale::c(), german}) {
        const QString shown = FormatFixed(value, 2, locale);
        if (shown.contains(QLatin1String("inf"), Qt::CaseInsensitive)
            || shown.contains(QLatin1String("nan"), Qt::CaseInsensitive))
            std::abort();
    }
    return 0;
}
