// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace varno {

// The file dialogs of the Open, Save and print commands go through here, so
// tests can see what was asked and answer with a path instead of a click.
struct FileRequest
{
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString title;
    QString filter;          // Qt form, e.g. "Dateien (*.lof)"
    QString defaultSuffix;   // appended when the name typed has none
    QString start;           // folder, or a file path to suggest
};

// A modal file dialog; an empty text when it was cancelled. A save dialog
// asks before it lets an existing file be chosen.
QString AskFileName(QWidget *parent, const FileRequest &request);

// Where a save dialog starts when nothing was saved yet in this run: the
// user's documents folder, or the home folder where there is none (a folder
// that does not exist would be taken for a file name).
QString StartFolderForSaving();

// When no printer is set up: asks (title, question) whether to save the
// document as a PDF file, then for its name, suggesting `fileName` in
// `lastFolder` (or the folder StartFolderForSaving gives), and writes it with
// `write`, which says why it failed. A failure is shown; a success moves
// `lastFolder` to the file's folder.
struct PdfSaveOffer
{
    QString title;          // of the message boxes
    QString question;
    QString dialogTitle;
    QString fileName;
};
void OfferPdfFile(QWidget *parent, const PdfSaveOffer &offer, QString &lastFolder,
                  const std::function<bool(const QString &path, QString *error)> &write);

// Test hook: while set, the handler answers instead of a real dialog.
using FileNameHandler = std::function<QString(const FileRequest &)>;
void SetFileNameHandler(FileNameHandler handler);

} // namespace varno
