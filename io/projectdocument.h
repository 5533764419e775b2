// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The Varno project file (*.varno): a JSON document that holds a
// ProjectState whole, every input text exactly as its field holds it.
// docs/projektdatei.md describes it member by member.
//
// Reading is strict: a member of the wrong type, a position outside its
// list, an unknown name, an overlong text or one with a control character,
// a missing or unknown member, a newer format and a file beyond the size
// limit are refused with a German message naming the member, and nothing
// is read. A file of a newer minor version (same major) is read without
// the members this program does not know; they are named so that the
// caller can say that they will not be kept.

#include "model/projectstate.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace varno {

namespace ec {
struct Data;
}

inline const QString ProjectDocumentSuffix = QStringLiteral("varno");
inline const QString ProjectDocumentFormat = QStringLiteral("varno-projekt");
constexpr int ProjectDocumentMajorVersion = 1;
constexpr int ProjectDocumentMinorVersion = 0;

// The longest text a member may hold: the most a text field takes.
constexpr int ProjectTextLimit = 32767;
// The largest file read: room for every text at its limit.
constexpr qint64 ProjectDocumentSizeLimit = 16 * 1024 * 1024;

struct ProjectDocument
{
    bool ok = false;
    QString error;             // German, naming the member, when !ok
    QString member;            // the member the error names ("lengths.L2"); empty for the whole file
    ProjectState state;
    QStringList ignored;       // members of a newer minor version that were left out
};

// The document's bytes (UTF-8, indented, members in the order of their
// names). A state that the reader would refuse (an overlong text, a control
// character, a position outside its list) gives empty bytes and `error`.
QByteArray ProjectDocumentBytes(const ProjectState &state, QString *error = nullptr);

// Written through a save file: when anything fails, an existing file is
// left as it was and `error` says why.
bool WriteProjectDocument(const QString &path, const ProjectState &state, QString *error = nullptr);

ProjectDocument ParseProjectDocument(const QByteArray &contents);
// Reads the file; the error then names the file too.
ProjectDocument ReadProjectDocument(const QString &path);

// Whether a file is to be read as a Varno project file rather than a .lof:
// its name ends in ".varno"; or it does not end in ".lof" and its first
// character other than a blank or a byte order mark is "{" (no .lof starts
// so). `start` is the beginning of the file.
bool IsProjectDocument(const QString &path, const QByteArray &start);

// The names of the Eurocode inputs that the data files do not know (a
// class, a steel grade, a profile that is not one of its series): a German
// message naming the member, or an empty text.
QString UnknownEurocodeName(const EurocodeInputs &inputs, const ec::Data &data);

// The JSON names of the choices, as the document and varno-calc write them.
QString SeriesName(int series);                    // "IPE", "HE-A", "HE-B"
QString EurocodeLimitName(int index);              // "timber.span.w_inst", ...

} // namespace varno
