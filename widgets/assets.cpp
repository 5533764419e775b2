// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/assets.h"

#include <QtGlobal>

// Q_INIT_RESOURCE has to stand outside any namespace.
static void initAssetResources()
{
    Q_INIT_RESOURCE(assets);
}

namespace varno {

void LoadAssets()
{
    static const bool loaded = (initAssetResources(), true);
    Q_UNUSED(loaded);
}

} // namespace varno
