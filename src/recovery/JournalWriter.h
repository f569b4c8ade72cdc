// The journal writer thread: appends the bytes it is given to journal files and syncs them.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "recovery/JournalFormat.h"

namespace vexa::recovery {

// Every call hands its input over by value and returns at once, except sync, which waits until
// everything handed over before it is on the disk. Written bytes reach the disk (fdatasync)
// within a second of the last ones handed over.
class JournalWriter {
public:
    // How long the thread waits for more before it syncs, and the longest it lets written bytes
    // stay unsynced while more keep coming.
    static constexpr std::chrono::milliseconds kQuiet{150};
    static constexpr std::chrono::milliseconds kLongest{700};
    // While work comes in, the thread looks for more this often instead of being woken for each
    // piece (a wake-up costs the sender a system call).
    static constexpr std::chrono::milliseconds kPoll{50};
    // The thread's priority below the editor's (a nice value).
    static constexpr int kNice = 10;
    // Emptied batch strings kept for reuse.
    static constexpr std::size_t kSpareBatches = 4;

    JournalWriter();
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    // Writes a new journal file (replacing any of that name) that starts with the header, the
    // snapshot (when there is one) and a batch of entries (journal_batch), made into frames on
    // the writer thread.
    // Both give back an empty string for the next batch: one the thread has written out, so that
    // its memory serves again instead of being given back and asked for anew.
    std::string start(const std::string& path, JournalHeader header, std::optional<SnapshotRuns> snapshot,
                      std::string batch);
    std::string append(const std::string& path, std::string batch);
    // Writes a journal anew from a header and a snapshot of a document's text (its lines in runs), replacing
    // the old one whole (through a temporary file, so a crash leaves the old or the new journal).
    void restart(const std::string& path, JournalHeader header, SnapshotRuns runs);
    // Copies a file's bytes to `target` when their content hash (ContentHash) is still `hash` (the
    // text a journal's edits start from, kept for when the file changes afterwards).
    void copyBase(const std::string& source, const std::string& target, uint64_t hash);
    // Removes a journal (after what was handed over before).
    void remove(const std::string& path);
    // Gives a journal (and the copy of its base) another name.
    void rename(const std::string& from, const std::string& to);
    // Waits until everything handed over so far is written and synced.
    void sync();

    // Failures of the thread's writes since the last call (a full disk, a removed directory).
    int takeFailures();

private:
    struct Task {
        enum class Kind : uint8_t { Start, Append, Restart, CopyBase, Remove, Rename, Sync };
        Kind kind = Kind::Append;
        std::string path;
        std::string source; // of CopyBase; the new name of Rename
        JournalHeader header;
        std::optional<SnapshotRuns> snapshot; // of Start and Restart
        std::string batch;
        uint64_t ticket = 0; // of Sync; the hash of CopyBase
    };
    // Queues a task; returns a batch string written out before, if there is one.
    std::string post(Task task);
    void run();
    static std::string encode(const Task& task);
    void perform(Task& task);
    int descriptorFor(const std::string& path);
    void closeFile(const std::string& path);
    void syncAll();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    std::deque<Task> m_tasks;
    std::vector<std::string> m_spare; // emptied batches, their memory kept
    bool m_stop = false;
    bool m_sleeping = false; // waiting without a time limit: a new task must wake it
    uint64_t m_tickets = 0;
    uint64_t m_synced = 0;
    int m_failures = 0;

    // Touched by the thread only.
    struct OpenFile {
        std::string path;
        int descriptor = -1;
        bool dirty = false;
    };
    std::vector<OpenFile> m_files;
    std::thread m_thread;
};

} // namespace vexa::recovery
