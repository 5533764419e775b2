// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// A fuzz target's body run over its seed corpus, in a build without
// libFuzzer: every seed must still pass the target's checks (a failed
// check aborts). Usage: seeds_TARGET FOLDER...

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv)
{
    int seeds = 0;
    for (int i = 1; i < argc; ++i) {
        const QDir folder(QFile::decodeName(argv[i]));
        for (const QFileInfo &file : folder.entryInfoList(QDir::Files, QDir::Name)) {
            QFile seed(file.filePath());
            if (!seed.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(file.filePath()));
                return 1;
            }
            const QByteArray bytes = seed.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
            ++seeds;
        }
    }
    std::printf("%d seeds passed\n", seeds);
    return seeds > 0 ? 0 : 1;
}
