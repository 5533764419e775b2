// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "io/commands/filedialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

namespace varno {

namespace {

FileNameHandler &handler()
{
    static FileNameHandler h;
    return h;
}

} // namespace

QString AskFileName(QWidget *parent, const FileRequest &request)
{
    if (handler())
        return handler()(request);

    const bool save = request.mode == FileRequest::Mode::Save;
    QFileDialog dialog(parent, request.title, request.start, request.filter);
    dialog.setObjectName(QStringLiteral("FileDialog"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    // The overwrite question is the dialog's own (QFileDialog asks unless
    // DontConfirmOverwrite is set).
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

QString StartFolderForSaving()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists())
        return documents;
    return QDir::homePath();
}

void SetFileNameHandler(FileNameHandler h)
{
    handler() = std::move(h);
}

} // namespace varno
