// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "io/projectfile.h"

#include "model/systemerror.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace varno {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

bool isSeparator(char c)
{
    return isBlank(c) || isLineEnd(c) || c == ',';
}

// Values of one line, each but the last padded to the next zone start. A
// value that reaches or passes a zone start still gets at least one blank.
QString zonedLine(const QStringList &values)
{
    QString out;
    for (qsizetype i = 0; i < values.size(); ++i) {
        out += values[i];
        if (i + 1 < values.size()) {
            const qsizetype next = (out.size() / PrintZoneWidth + 1) * PrintZoneWidth;
            out += QString(next - out.size(), u' ');
        }
    }
    out += QStringLiteral("\r\n");
    return out;
}

int nearestPosition(double value)
{
    // Far outside every list anyway; keep the conversion defined.
    if (!(value > -1e9 && value < 1e9))
        return value > 0 ? INT_MAX : INT_MIN;
    return static_cast<int>(std::lround(value));
}

QString displayPath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QString StandardTextForm(double value)
{
    if (!std::isfinite(value) || value == 0.0)
        return QStringLiteral(" 0");

    // 15 significant digits; to_chars does not depend on the C locale.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, 14);
    const std::string text(buffer, result.ptr);       // d.dddddddddddddde+XX
    const std::size_t e = text.find('e');
    std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
    const int exponent = std::atoi(text.c_str() + e + 1);
    // Just below the largest double, 15 digits round up past it, and
    // 1.79769313486232E+308 would read back as an overflow (0). Round such a
    // value down instead, so that it reads back as a number (the same one
    // at 15 digits).
    if (exponent == 308 && digits > "179769313486231")
        digits = "179769313486231";
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = value < 0 ? "-" : " ";
    if (exponent >= 15 || exponent < -5) {
        out += digits[0];
        if (digits.size() > 1)
            out += '.' + digits.substr(1);
        out += 'E';
        out += exponent < 0 ? '-' : '+';
        const int magnitude = std::abs(exponent);
        if (magnitude < 10)
            out += '0';
        out += std::to_string(magnitude);
    } else if (exponent >= 0) {
        const std::size_t integerDigits = std::size_t(exponent) + 1;
        if (digits.size() <= integerDigits) {
            out += digits + std::string(integerDigits - digits.size(), '0');
        } else {
            out += digits.substr(0, integerDigits) + '.' + digits.substr(integerDigits);
        }
    } else {
        out += '.' + std::string(std::size_t(-exponent - 1), '0') + digits;
    }
    return QString::fromLatin1(out.c_str());
}

QString SavedFieldText(const QString &fieldText)
{
    // IsNumericText admits blanks only around the number, never inside it,
    // and no comma at all: such a text stays one value in the file. Tabs and
    // line feeds around it would not move a value but would break the lines
    // and zones, so such a text is written as its number too.
    if (IsNumericText(fieldText) && !fieldText.contains(u'\n') && !fieldText.contains(u'\t'))
        return fieldText;
    return StandardTextForm(LeadingNumber(fieldText));
}

QByteArray ProjectFileBytes(const ProjectTexts &texts)
{
    QString out;
    QStringList line;
    for (const QString &length : texts.lengths)
        line << SavedFieldText(length);
    out += zonedLine(line);
    for (int k = 0; k < LoadTypeCount; ++k) {
        line.clear();
        for (int r = 0; r < RegionCount; ++r)
            line << SavedFieldText(texts.uniform[r][k]);
        out += zonedLine(line);
    }
    for (int slot = 0; slot < PointLoadSlotCount; ++slot)
        out += zonedLine({SavedFieldText(texts.distance[slot]), SavedFieldText(texts.force[slot])});
    out += zonedLine({StandardTextForm(texts.timberGrade), StandardTextForm(texts.steelGrade)});
    return out.toLatin1();
}

bool WriteProjectFile(const QString &path, const ProjectTexts &texts, QString *error)
{
    QSaveFile file(path);
    const QByteArray bytes = ProjectFileBytes(texts);
    // The flush is checked on its own: a write that the disk takes only in
    // part (disk full) fails while commit() flushes, and QSaveFile would then
    // still put the half file in place of the old one.
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()
        || !file.commit()) {
        if (error)
            *error = QStringLiteral("Die Datei \u201E%1\u201C kann nicht geschrieben werden (%2).")
                         .arg(displayPath(path), SystemErrorText(file));
        return false;
    }
    return true;
}

ProjectTexts ProjectFileValues::toProjectTexts() const
{
    ProjectTexts texts = ProjectTexts::Defaults();
    texts.lengths = lengths;
    texts.uniform = uniform;
    texts.distance = distance;
    texts.force = force;
    texts.timberGrade = timberGrade;
    texts.steelGrade = steelGrade;
    return texts;
}

NumericBeam ProjectFileValues::toBeam() const
{
    return ReadBeam(toProjectTexts());
}

ProjectFileValues ParseProjectFile(const QByteArray &contents)
{
    std::array<double, ProjectFileValueCount> numbers{};
    int count = 0;
    const char *p = contents.constData();
    const char *const end = p + contents.size();
    // Editors on other systems put a UTF-8 byte order mark in front; it is
    // no part of the first value.
    if (contents.startsWith("\xEF\xBB\xBF"))
        p += 3;
    while (count < ProjectFileValueCount) {
        while (p < end && (isBlank(*p) || isLineEnd(*p)))
            ++p;
        if (p == end)
            break;
        if (*p == ',') {
            // Nothing before this comma: an empty value.
            numbers[count++] = 0.0;
            ++p;
            continue;
        }
        const char *start = p;
        while (p < end && !isSeparator(*p))
            ++p;
        const double value = LeadingNumber(QString::fromLatin1(start, p - start));
        numbers[count++] = std::isfinite(value) ? value : 0.0;
        // Blanks and one comma after a value end it.
        while (p < end && isBlank(*p))
            ++p;
        if (p < end && *p == ',')
            ++p;
    }

    ProjectFileValues values;
    if (count < ProjectFileValueCount) {
        values.error = QStringLiteral("Die Datei enth\u00E4lt nur %1 von %2 Werten.")
                           .arg(count)
                           .arg(ProjectFileValueCount);
        return values;
    }
    int i = 0;
    for (QString &length : values.lengths)
        length = StandardTextForm(numbers[i++]);
    for (int k = 0; k < LoadTypeCount; ++k)
        for (int r = 0; r < RegionCount; ++r)
            values.uniform[r][k] = StandardTextForm(numbers[i++]);
    for (int slot = 0; slot < PointLoadSlotCount; ++slot) {
        values.distance[slot] = StandardTextForm(numbers[i++]);
        values.force[slot] = StandardTextForm(numbers[i++]);
    }
    values.timberGrade = nearestPosition(numbers[i++]);
    values.steelGrade = nearestPosition(numbers[i++]);
    values.ok = true;
    return values;
}

ProjectFileValues ReadProjectFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ProjectFileValues values;
        values.error = QStringLiteral("Die Datei \u201E%1\u201C kann nicht gelesen werden (%2).")
                           .arg(displayPath(path), SystemErrorText(file));
        return values;
    }
    const QByteArray contents = file.read(ProjectFileReadLimit);
    if (file.error() != QFileDevice::NoError) {
        ProjectFileValues values;
        values.error = QStringLiteral("Die Datei \u201E%1\u201C kann nicht gelesen werden (%2).")
                           .arg(displayPath(path), SystemErrorText(file));
        return values;
    }
    ProjectFileValues values = ParseProjectFile(contents);
    if (!values.ok)
        values.error = QStringLiteral("\u201E%1\u201C: %2").arg(displayPath(path), values.error);
    return values;
}

} // namespace varno
