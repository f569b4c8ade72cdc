// An owner-only lock file that tells a live process from a dead one.
#pragma once

#include <optional>
#include <string>

namespace vexa::platform {

// Held from acquire until destroyed: the file is made readable and writable by its owner only
// and names the holding process. A process that dies loses the lock with it, so a lock file
// left behind by a crash is free to take.
class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Nothing when another open file (of this or another process) holds it or the file cannot
    // be made.
    [[nodiscard]] static std::optional<FileLock> acquire(const std::string& path);
    // The process that holds the lock, when one does (0 when it cannot be told).
    [[nodiscard]] static std::optional<int> holder(const std::string& path);

    bool held() const { return m_descriptor >= 0; }
    // Gives the lock up and removes its file.
    void release();

private:
    FileLock(std::string path, int descriptor) : m_path(std::move(path)), m_descriptor(descriptor) {}

    std::string m_path;
    int m_descriptor = -1;
};

} // namespace vexa::platform
