// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Simulates a full disk for the save tests.

#include <sys/resource.h>

#include <csignal>

namespace varno::test {

// Holds the size of files this process may write below `bytes` while it
// lives: a write past it fails as on a full disk (the kernel takes part of
// the write and refuses the rest). The signal such a write raises is
// ignored, so the write reports its error instead.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        m_active = getrlimit(RLIMIT_FSIZE, &m_previous) == 0;
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        m_active = m_active && setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        if (m_active)
            setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;
    bool active() const { return m_active; }

private:
    rlimit m_previous{};
    bool m_active = false;
    void (*m_previousHandler)(int) = nullptr;
};

} // namespace varno::test
