// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/filedialogs.h"

#include "widgets/messages.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
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

void OfferPdfFile(QWidget *parent, const PdfSaveOffer &offer, QString &lastFolder,
                  const std::function<bool(const QString &path, QString *error)> &write)
{
    if (ShowMessage(parent, offer.title, offer.question, MsgIcon::Question, MsgButtons::OkCancel) != MsgResult::Ok)
        return;
    const QString folder = lastFolder.isEmpty() ? StartFolderForSaving() : lastFolder;
    const QString path = AskFileName(parent, {FileRequest::Mode::Save, offer.dialogTitle,
                                              QStringLiteral("PDF-Dateien (*.pdf)"), QStringLiteral("pdf"),
                                              QDir(folder).filePath(offer.fileName)});
    if (path.isEmpty())
        return;
    QString error;
    if (!write(path, &error)) {
        ShowMessage(parent, offer.title, error, MsgIcon::Warning);
        return;
    }
    lastFolder = QFileInfo(path).absolutePath();
}

} // namespace varno
