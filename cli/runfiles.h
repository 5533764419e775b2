// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What one run of varno-calc reads and writes. No output takes the place of
// a file the run reads (the project files, standard input among them, the
// two data files and the Eurocode tables), whatever name or link leads to
// it, nor the place of another output of the run. Every output is claimed
// here before anything is computed, and written through here, which looks
// at the name again right before the file takes its place.

#include "cli/nativefiles.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace varno::cli {

enum class OutputKind { File, Folder };

class RunFiles
{
public:
    // A file the run reads; "-" is standard input. Only a regular file
    // counts: a device or a FIFO is written into, never replaced.
    void addInput(const QString &path);

    // The one check of every output, under the name of its option
    // ("--pdf"): a German message when the output would replace an input or
    // take the place of an output claimed before. Folders may be shared
    // (--svg and --png into one folder); a file's place is its own.
    std::optional<QString> claimOutput(const QString &option, const QString &path, OutputKind kind);

    // Standard output must not lead into an input either (">> input.lof").
    std::optional<QString> checkStandardOutput() const;

    // Writes a claimed output file (see WriteWholeFile); the inputs are kept.
    bool write(const QString &path, const QByteArray &bytes, QString *reason) const;

private:
    struct Input
    {
        FileIdentity identity;
        QString name;
    };
    struct Output
    {
        QByteArray place;
        QString option;
        QString name;
        OutputKind kind;
    };
    std::optional<QString> inputAt(const QString &path) const;

    std::vector<Input> m_inputs;
    std::vector<FileIdentity> m_kept;
    std::vector<Output> m_outputs;
};

} // namespace varno::cli
