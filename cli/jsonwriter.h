// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// varno-calc writes its JSON objects directly into bytes, the way Qt's JSON
// writer writes them in its compact form (a QJsonObject built member by
// member and written out cost about ten times as much). The caller gives the
// members of each object in the order of their names, the order Qt's writer
// keeps; numbers, texts and arrays come out byte for byte as Qt writes them.

#include <QByteArray>
#include <QLatin1StringView>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace varno::cli {

class JsonWriter
{
public:
    JsonWriter() { m_out.reserve(8192); }

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();

    // The member name; the value follows with one of the calls below.
    void key(QLatin1StringView name);

    void number(double value);   // infinite or not a number: null
    void integer(qint64 value);
    void string(const QString &text);
    void strings(const QStringList &texts);   // an array of texts

    QByteArray &bytes() { return m_out; }

private:
    void beforeValue();

    QByteArray m_out;
    bool m_needsComma = false;
};

// Member names of a table of numbers, in the order Qt's writer puts them:
// their positions in `names`, sorted by name.
std::vector<int> NameOrder(const std::vector<const char *> &names);

} // namespace varno::cli
