// The journal writer thread.
#include "recovery/JournalWriter.h"

#include "core/ContentHash.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>
#include <utility>

namespace vexa::recovery {

namespace {

bool writeAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The piece of a file copied at once.
constexpr std::size_t kCopyPiece = std::size_t{1} << 20;

int openJournal(const std::string& path, int extra) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | extra, 0600);
}

} // namespace

JournalWriter::JournalWriter() : m_thread([this] { run(); }) {}

JournalWriter::~JournalWriter() {
    sync();
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
    for (OpenFile& file : m_files) {
        ::close(file.descriptor);
    }
}

std::string JournalWriter::post(Task task) {
    bool wake = false;
    std::string spare;
    {
        std::lock_guard lock(m_mutex);
        // A sync is waited for: it is not left to the next look.
        wake = m_sleeping || task.kind == Task::Kind::Sync;
        m_tasks.push_back(std::move(task));
        if (!m_spare.empty()) {
            spare = std::move(m_spare.back());
            m_spare.pop_back();
        }
    }
    if (wake) {
        m_wake.notify_one();
    }
    return spare;
}

std::string JournalWriter::start(const std::string& path, JournalHeader header,
                                 std::optional<SnapshotRuns> snapshot, std::string batch) {
    return post({Task::Kind::Start, path, {}, std::move(header), std::move(snapshot), std::move(batch), 0});
}

std::string JournalWriter::append(const std::string& path, std::string batch) {
    return post({Task::Kind::Append, path, {}, {}, std::nullopt, std::move(batch), 0});
}

void JournalWriter::restart(const std::string& path, JournalHeader header, SnapshotRuns runs) {
    (void)post({Task::Kind::Restart, path, {}, std::move(header), std::move(runs), {}, 0});
}

void JournalWriter::copyBase(const std::string& source, const std::string& target, uint64_t hash) {
    (void)post({Task::Kind::CopyBase, target, source, {}, std::nullopt, {}, hash});
}

void JournalWriter::remove(const std::string& path) {
    (void)post({Task::Kind::Remove, path, {}, {}, std::nullopt, {}, 0});
}

void JournalWriter::sync() {
    uint64_t ticket = 0;
    {
        std::lock_guard lock(m_mutex);
        ticket = ++m_tickets;
    }
    (void)post({Task::Kind::Sync, {}, {}, {}, std::nullopt, {}, ticket});
    std::unique_lock lock(m_mutex);
    m_done.wait(lock, [&] { return m_synced >= ticket; });
}

int JournalWriter::takeFailures() {
    std::lock_guard lock(m_mutex);
    return std::exchange(m_failures, 0);
}

int JournalWriter::descriptorFor(const std::string& path) {
    for (OpenFile& file : m_files) {
        if (file.path == path) {
            return file.descriptor;
        }
    }
    const int descriptor = openJournal(path, O_APPEND);
    if (descriptor >= 0) {
        m_files.push_back({path, descriptor, false});
    }
    return descriptor;
}

void JournalWriter::closeFile(const std::string& path) {
    for (auto it = m_files.begin(); it != m_files.end(); ++it) {
        if (it->path == path) {
            ::close(it->descriptor);
            m_files.erase(it);
            return;
        }
    }
}

void JournalWriter::syncAll() {
    for (OpenFile& file : m_files) {
        if (file.dirty) {
            if (::fdatasync(file.descriptor) != 0) {
                std::lock_guard lock(m_mutex);
                ++m_failures;
            }
            file.dirty = false;
        }
    }
}

void JournalWriter::rename(const std::string& from, const std::string& to) {
    (void)post({Task::Kind::Rename, from, to, {}, std::nullopt, {}, 0});
}

std::string JournalWriter::encode(const Task& task) {
    std::string bytes;
    // A batch entry is never more than half its frame.
    bytes.reserve(2 * task.batch.size() + 256);
    if (task.kind != Task::Kind::Append) {
        journal_bytes::appendMagic(bytes);
        journal_bytes::appendHeader(bytes, task.header);
    }
    if (task.snapshot) {
        journal_bytes::appendSnapshot(bytes, *task.snapshot);
    }
    journal_batch::encode(bytes, task.batch);
    return bytes;
}

void JournalWriter::perform(Task& task) {
    bool ok = true;
    switch (task.kind) {
    case Task::Kind::Start:
        closeFile(task.path);
        {
            const int descriptor = openJournal(task.path, O_TRUNC | O_APPEND);
            if (descriptor < 0) {
                ok = false;
                break;
            }
            m_files.push_back({task.path, descriptor, true});
            ok = writeAll(descriptor, encode(task));
        }
        break;
    case Task::Kind::Append: {
        const int descriptor = descriptorFor(task.path);
        ok = descriptor >= 0 && writeAll(descriptor, encode(task));
        for (OpenFile& file : m_files) {
            file.dirty = file.dirty || file.path == task.path;
        }
        break;
    }
    case Task::Kind::Restart: {
        const std::string bytes = encode(task);
        task.snapshot.reset();
        const std::string temporary = task.path + ".new";
        const int descriptor = openJournal(temporary, O_TRUNC);
        ok = descriptor >= 0 && writeAll(descriptor, bytes) && ::fdatasync(descriptor) == 0;
        if (descriptor >= 0) {
            ::close(descriptor);
        }
        if (ok) {
            closeFile(task.path);
            ok = std::rename(temporary.c_str(), task.path.c_str()) == 0;
        }
        break;
    }
    case Task::Kind::CopyBase: {
        std::FILE* in = std::fopen(task.source.c_str(), "rb");
        if (in == nullptr) {
            break;
        }
        // The file is copied a piece at a time (it may be as large as any file the editor opens)
        // into a temporary that replaces the copy only when the bytes still hash to the value:
        // a file changed since it was read is no starting point for the edits.
        const std::string temporary = task.path + ".new";
        const int descriptor = openJournal(temporary, O_TRUNC);
        ok = descriptor >= 0;
        ContentHash hash;
        auto chunk = std::make_unique_for_overwrite<char[]>(kCopyPiece);
        std::size_t got = 0;
        while (ok && (got = std::fread(chunk.get(), 1, kCopyPiece, in)) > 0) {
            const std::string_view piece(chunk.get(), got);
            hash.add(piece);
            ok = writeAll(descriptor, piece);
        }
        const bool readWhole = std::ferror(in) == 0;
        std::fclose(in);
        const bool same = ok && readWhole && hash.value() == task.ticket;
        ok = ok && (!same || ::fdatasync(descriptor) == 0);
        if (descriptor >= 0) {
            ::close(descriptor);
        }
        if (ok && same) {
            ok = std::rename(temporary.c_str(), task.path.c_str()) == 0;
        } else {
            (void)::unlink(temporary.c_str());
        }
        break;
    }
    case Task::Kind::Remove:
        closeFile(task.path);
        if (::unlink(task.path.c_str()) != 0 && errno != ENOENT) {
            ok = false;
        }
        (void)::unlink((task.path + std::string(kBaseSuffix)).c_str());
        break;
    case Task::Kind::Rename:
        closeFile(task.path);
        ok = std::rename(task.path.c_str(), task.source.c_str()) == 0 || errno == ENOENT;
        (void)std::rename((task.path + std::string(kBaseSuffix)).c_str(),
                          (task.source + std::string(kBaseSuffix)).c_str());
        break;
    case Task::Kind::Sync:
        syncAll();
        {
            std::lock_guard lock(m_mutex);
            m_synced = std::max(m_synced, task.ticket);
        }
        m_done.notify_all();
        break;
    }
    if (!ok) {
        std::lock_guard lock(m_mutex);
        ++m_failures;
    }
}

void JournalWriter::run() {
    using Clock = std::chrono::steady_clock;
#ifdef __linux__
    // The journal is background work: where the editor's thread and this one share a core, the
    // editor's goes first (on Linux a thread has a priority of its own).
    (void)::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), kNice);
#endif
    bool unsynced = false;
    Clock::time_point firstUnsynced;
    Clock::time_point lastWrite;
    for (;;) {
        std::deque<Task> tasks;
        {
            std::unique_lock lock(m_mutex);
            if (unsynced) {
                const auto deadline =
                    std::min({firstUnsynced + kLongest, lastWrite + kQuiet, Clock::now() + kPoll});
                m_wake.wait_until(lock, deadline, [&] { return m_stop || !m_tasks.empty(); });
            } else if (m_tasks.empty() && !m_stop) {
                m_sleeping = true;
                m_wake.wait(lock, [&] { return m_stop || !m_tasks.empty(); });
                m_sleeping = false;
            }
            if (m_stop && m_tasks.empty()) {
                break;
            }
            tasks.swap(m_tasks);
        }
        for (Task& task : tasks) {
            perform(task);
            if (task.kind == Task::Kind::Start || task.kind == Task::Kind::Append) {
                task.batch.clear();
                std::lock_guard lock(m_mutex);
                if (m_spare.size() < kSpareBatches) {
                    m_spare.push_back(std::move(task.batch));
                }
            }
            if (task.kind == Task::Kind::Sync || task.kind == Task::Kind::Remove ||
                task.kind == Task::Kind::Rename) {
                continue;
            }
            lastWrite = Clock::now();
            if (!unsynced) {
                unsynced = true;
                firstUnsynced = lastWrite;
            }
        }
        const auto now = Clock::now();
        if (unsynced && (now >= firstUnsynced + kLongest || now >= lastWrite + kQuiet)) {
            syncAll();
            unsynced = false;
        }
    }
    syncAll();
}

} // namespace vexa::recovery
