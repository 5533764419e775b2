// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Preloaded into varno-calc by tst_core_cli_edges: zlib's deflateInit_,
// which qCompress calls, fails as it does when memory runs out (Z_MEM_ERROR).

extern "C" int deflateInit_(void *, int, const char *, int)
{
    return -4;
}
