// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QTemporaryDir>

#include <memory>

namespace varno::cli {

// The GUI application that writes the report looks into the user's runtime
// directory (XDG_RUNTIME_DIR) while it starts, and when that is not set or
// not a private folder of this user it warns on standard error. Run as root
// from a plain shell, or from cron, it is unset.
//
// Returns nothing when XDG_RUNTIME_DIR names a folder that the user owns
// with mode 0700. Otherwise sets XDG_RUNTIME_DIR to a new private folder
// for this run and returns it; it must outlive the application, and removes
// the folder when destroyed.
std::unique_ptr<QTemporaryDir> ProvideRuntimeDirectory();

// Whether the path is a folder of the effective user with mode 0700.
bool IsPrivateRuntimeDirectory(const QByteArray &path);

} // namespace varno::cli
