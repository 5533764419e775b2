// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The Varno project file reader on arbitrary bytes. A document it refuses
// says why; a document it takes writes and reads back to the same state,
// and writing that again gives the same bytes.
#include "io/projectdocument.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

using namespace varno;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    IsProjectDocument(QStringLiteral("fuzz"), input);
    const ProjectDocument first = ParseProjectDocument(input);
    if (!first.ok) {
        check(!first.error.isEmpty());
        return 0;
    }
    QString error;
    const QByteArray written = ProjectDocumentBytes(first.state, &error);
    check(!written.isEmpty() && error.isEmpty());
    check(IsProjectDocument(QStringLiteral("fuzz"), written));
    const ProjectDocument second = ParseProjectDocument(written);
    check(second.ok && second.ignored.isEmpty());
    check(second.state == first.state);
    check(ProjectDocumentBytes(second.state) == written);
    return 0;
}
