// A limit on the size of files this process writes, standing for a full disk in tests.
#pragma once

#include <csignal>
#include <sys/resource.h>

namespace vexa::test {

// Stands for a full disk: writes past a size limit fail while it is in force.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    struct rlimit m_old {};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace vexa::test
