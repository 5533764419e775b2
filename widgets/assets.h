// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace varno {

// Registers the pictures compiled into the program (":/assets/..."). The
// resources live in a static library, so every program that shows them
// calls this once; repeated calls do no harm.
void LoadAssets();

} // namespace varno
