// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The project file reader on arbitrary bytes, and the writer on arbitrary
// field texts. Whatever is read must write and read back to the same values,
// and whatever is written must read back as the numbers the fields show.
#include "io/projectfile.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cmath>
#include <cstdlib>

using namespace varno;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool sameValues(const ProjectFileValues &a, const ProjectFileValues &b)
{
    return a.ok == b.ok && a.lengths == b.lengths && a.uniform == b.uniform && a.distance == b.distance
        && a.force == b.force && a.timberGrade == b.timberGrade && a.steelGrade == b.steelGrade;
}

bool finiteText(const QString &text)
{
    return !text.contains(QLatin1String("inf"), Qt::CaseInsensitive)
        && !text.contains(QLatin1String("nan"), Qt::CaseInsensitive);
}

// 33 lines, each ended by CR LF and by nothing else.
void checkShape(const QByteArray &bytes)
{
    check(bytes.endsWith("\r\n"));
    check(bytes.count("\r\n") == ProjectFileLineCount);
    check(bytes.count('\n') == ProjectFileLineCount && bytes.count('\r') == ProjectFileLineCount);
}

// The value a field text stands for, in the form the reader gives it.
QString expectedValue(const QString &fieldText)
{
    return StandardTextForm(LeadingNumber(fieldText));
}

// Reader first: bytes -> values -> texts -> bytes -> the same values.
void roundTrip(const QByteArray &input)
{
    const ProjectFileValues first = ParseProjectFile(input);
    if (!first.ok) {
        check(!first.error.isEmpty());
        return;
    }
    const auto all = [](const ProjectFileValues &v) {
        QList<QString> texts(v.lengths.begin(), v.lengths.end());
        for (const auto &region : v.uniform)
            texts.append(QList<QString>(region.begin(), region.end()));
        texts.append(QList<QString>(v.distance.begin(), v.distance.end()));
        texts.append(QList<QString>(v.force.begin(), v.force.end()));
        return texts;
    };
    for (const QString &text : all(first)) {
        check(finiteText(text));
        check(IsNumericText(text));
    }
    const QByteArray written = ProjectFileBytes(first.toProjectTexts());
    checkShape(written);
    const ProjectFileValues second = ParseProjectFile(written);
    check(sameValues(first, second));
    // Writing what was read back gives the same bytes again.
    check(ProjectFileBytes(second.toProjectTexts()) == written);
}

// Writer first: the input split into field texts at 0x1F.
void writeFields(const QByteArray &input)
{
    const QList<QByteArray> parts = input.split('\x1f');
    ProjectTexts texts = ProjectTexts::Defaults();
    QList<QString *> fields;
    for (QString &t : texts.lengths)
        fields << &t;
    for (auto &region : texts.uniform)
        for (QString &t : region)
            fields << &t;
    for (int slot = 0; slot < PointLoadSlotCount; ++slot)
        fields << &texts.distance[slot] << &texts.force[slot];
    for (qsizetype i = 0; i < parts.size() && i < fields.size(); ++i)
        *fields[i] = QString::fromUtf8(parts[i]);
    if (parts.size() > fields.size()) {
        const QByteArray grades = parts[fields.size()];
        texts.timberGrade = grades.isEmpty() ? 0 : qint8(grades[0]);
        texts.steelGrade = grades.size() < 2 ? 0 : qint8(grades[1]);
    }

    const QByteArray written = ProjectFileBytes(texts);
    checkShape(written);
    const ProjectFileValues read = ParseProjectFile(written);
    check(read.ok);
    for (int i = 0; i < RegionCount; ++i)
        check(read.lengths[i] == expectedValue(texts.lengths[i]));
    for (int r = 0; r < RegionCount; ++r)
        for (int k = 0; k < LoadTypeCount; ++k)
            check(read.uniform[r][k] == expectedValue(texts.uniform[r][k]));
    for (int slot = 0; slot < PointLoadSlotCount; ++slot) {
        check(read.distance[slot] == expectedValue(texts.distance[slot]));
        check(read.force[slot] == expectedValue(texts.force[slot]));
    }
    check(read.timberGrade == texts.timberGrade && read.steelGrade == texts.steelGrade);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    roundTrip(input);
    writeFields(input);
    return 0;
}
