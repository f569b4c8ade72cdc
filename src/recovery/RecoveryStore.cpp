// Journals, locks and the journals dead editors left.
#include "recovery/RecoveryStore.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <unistd.h>

#include "core/ContentHash.h"
#include "core/WordChainHash.h"
#include "core/Document.h"
#include "platform/Files.h"
#include "settings/Format.h"

namespace vexa::recovery {

namespace {

constexpr std::string_view kJournalSuffix = ".vj";
constexpr std::string_view kLockSuffix = ".lock";
constexpr std::string_view kAsideSuffix = ".aside";
// No journal is read past this size: a larger file in the directory is not one of ours.
constexpr std::size_t kMaxJournalRead = std::size_t{1} << 31;

std::string hex(uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

std::optional<std::string> readWhole(const std::string& path) {
    const auto info = platform::fileInfo(path);
    if (!info || info->kind != platform::FileKind::Regular || info->size > kMaxJournalRead) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The length and content hash of a plain file, read a block at a time: a file checked against a
// journal may be as large as any the editor opens, so its bytes are never held whole.
struct FileDigest {
    uint64_t size = 0;
    uint64_t hash = 0;
};

template <typename Hash>
std::optional<FileDigest> digestOf(const std::string& path) {
    const auto info = platform::fileInfo(path);
    if (!info || info->kind != platform::FileKind::Regular) {
        return std::nullopt;
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        return std::nullopt;
    }
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    const auto piece = std::make_unique_for_overwrite<char[]>(kPiece);
    Hash hash;
    while (const std::size_t read = std::fread(piece.get(), 1, kPiece, file.get())) {
        hash.add(std::string_view(piece.get(), read));
    }
    if (std::ferror(file.get()) != 0) {
        return std::nullopt;
    }
    return FileDigest{hash.size(), hash.value()};
}

// The digest by the hash a journal holds its file's hash by.
std::optional<FileDigest> digestOf(const std::string& path, FileHashKind kind) {
    return kind == FileHashKind::WordChain ? digestOf<WordChainHash>(path) : digestOf<ContentHash>(path);
}

} // namespace

RecoveryStore::RecoveryStore(RecoverySettings settings) : m_settings(std::move(settings)) {
    if (m_settings.enabled) {
        (void)platform::makeDirectories(m_settings.directory);
        m_writer = std::make_unique<JournalWriter>();
    }
}

RecoveryStore::~RecoveryStore() {
    // The journals stay: documents still open when the store goes were not closed.
    m_entries.clear();
    m_writer.reset();
}

std::string RecoveryStore::stemFor(const std::string& path) const {
    return "f" + hex(WordChainHash::of(path));
}

std::string RecoveryStore::lockPath(const std::string& stem) const {
    return m_settings.directory + "/" + stem + std::string(kLockSuffix);
}

std::string RecoveryStore::journalPath(const std::string& stem) const {
    return m_settings.directory + "/" + stem + std::string(kJournalSuffix);
}

std::optional<int> RecoveryStore::editedElsewhere(const std::string& path) const {
    if (!m_settings.enabled || path.empty()) {
        return std::nullopt;
    }
    // The file's own lock and those of second editors on it ("edit anyway") begin alike.
    const std::string pattern = m_settings.directory + "/" + stemFor(path) + "*" + std::string(kLockSuffix);
    for (const platform::FoundFile& file : platform::findFiles(pattern)) {
        const std::string lock = m_settings.directory + "/" + file.name;
        const bool ours = std::any_of(m_entries.begin(), m_entries.end(),
                                      [&](const auto& entry) { return entry.second.lockPath == lock; });
        if (ours) {
            continue;
        }
        if (std::optional<int> holder = platform::FileLock::holder(lock)) {
            return holder;
        }
    }
    return std::nullopt;
}

void RecoveryStore::attach(Document& document) {
    if (!m_settings.enabled || m_entries.contains(&document)) {
        return;
    }
    // A file has a journal of its own name; a second editor on it (edit anyway), a file whose
    // journal a dead editor left (still to be asked about) and an untitled document take a name
    // of their own.
    const std::string base = document.hasName()
                                 ? stemFor(document.fileName())
                                 : formatText("u%d-%d", static_cast<int>(::getpid()), ++m_untitled);
    Entry entry;
    if (std::optional<std::string> stem = claim(base, entry.lock)) {
        entry.lockPath = lockPath(*stem);
        entry.name = document.fileName();
        entry.journal =
            std::make_unique<DocumentJournal>(document, *m_writer, journalPath(*stem), m_settings.sizeCap);
        m_entries.emplace(&document, std::move(entry));
    }
}

std::optional<std::string> RecoveryStore::claim(const std::string& base, platform::FileLock& lock) const {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string stem =
            attempt == 0 ? base : base + formatText("-%d-%d", static_cast<int>(::getpid()), attempt);
        if (platform::fileInfo(journalPath(stem))) {
            continue;
        }
        if (std::optional<platform::FileLock> taken = platform::FileLock::acquire(lockPath(stem))) {
            lock = std::move(*taken);
            return stem;
        }
    }
    return std::nullopt;
}

void RecoveryStore::followNames() {
    for (auto& [document, entry] : m_entries) {
        if (entry.name == document->fileName()) {
            continue;
        }
        // Saved under another name (an untitled document too): the journal and the lock move to
        // the new name, so that another editor on that file sees them.
        entry.name = document->fileName();
        if (!document->hasName()) {
            continue;
        }
        platform::FileLock lock;
        if (std::optional<std::string> stem = claim(stemFor(document->fileName()), lock)) {
            entry.journal->moveTo(journalPath(*stem));
            entry.lock.release();
            entry.lock = std::move(lock);
            entry.lockPath = lockPath(*stem);
        }
    }
}

void RecoveryStore::detach(Document& document, bool keepJournal) {
    auto it = m_entries.find(&document);
    if (it == m_entries.end()) {
        return;
    }
    if (!keepJournal) {
        it->second.journal->remove();
    }
    it->second.journal.reset();
    m_writer->sync();
    it->second.lock.release();
    m_entries.erase(it);
}

void RecoveryStore::removeJournal(Document& document) {
    auto it = m_entries.find(&document);
    if (it != m_entries.end()) {
        it->second.journal->remove();
    }
}

void RecoveryStore::handOver() {
    followNames();
    for (auto& [document, entry] : m_entries) {
        entry.journal->handOver();
    }
}

void RecoveryStore::sync() {
    handOver();
    if (m_writer) {
        m_writer->sync();
    }
}

std::vector<LeftJournal> RecoveryStore::leftJournals(const std::optional<std::string>& forPath) {
    std::vector<LeftJournal> found;
    if (!m_settings.enabled) {
        return found;
    }
    const std::string pattern = m_settings.directory + "/*" + std::string(kJournalSuffix);
    for (const platform::FoundFile& file : platform::findFiles(pattern)) {
        const std::string path = m_settings.directory + "/" + file.name;
        if (m_asked.contains(path)) {
            continue;
        }
        const std::string stem = file.name.substr(0, file.name.size() - kJournalSuffix.size());
        if (platform::FileLock::holder(lockPath(stem))) {
            continue; // a live editor's
        }
        std::optional<std::string> bytes = readWhole(path);
        if (!bytes) {
            continue;
        }
        LeftJournal journal{path, readJournal(*bytes), bytes->size()};
        if (!journal.content.header) {
            continue; // not a journal, or cut before its header: nothing to offer
        }
        if (forPath && journal.documentPath() != *forPath) {
            continue;
        }
        m_asked.insert(path);
        found.push_back(std::move(journal));
    }
    return found;
}

void RecoveryStore::discard(const LeftJournal& journal) {
    (void)platform::removeFile(journal.journalPath);
    (void)platform::removeFile(basePath(journal));
}

std::string RecoveryStore::basePath(const LeftJournal& journal) {
    return journal.journalPath + std::string(kBaseSuffix);
}

bool RecoveryStore::hasBase(const LeftJournal& journal) {
    if (journal.content.hasSnapshot()) {
        return true;
    }
    const JournalHeader& header = *journal.content.header;
    const std::optional<FileDigest> base = digestOf(basePath(journal), header.hashKind);
    return base && base->hash == header.hash;
}

void RecoveryStore::setAside(const LeftJournal& journal) {
    const std::string target =
        journal.journalPath + "." + std::to_string(std::time(nullptr)) + std::string(kAsideSuffix);
    (void)std::rename(journal.journalPath.c_str(), target.c_str());
}

bool RecoveryStore::fileUnchanged(const LeftJournal& journal) {
    if (journal.untitled()) {
        return false;
    }
    const JournalHeader& header = *journal.content.header;
    // A file of another length has changed without a byte of it being read.
    const auto info = platform::fileInfo(header.path);
    if (!info || info->size != header.size) {
        return false;
    }
    const std::optional<FileDigest> file = digestOf(header.path, header.hashKind);
    return file && file->size == header.size && file->hash == header.hash;
}

ReplayResult RecoveryStore::recover(const LeftJournal& journal, Document& document) {
    const ReplayResult result = replayJournal(document, journal.content);
    sync();
    // Its edits are now the document's own journal's (when journalling is on).
    discard(journal);
    return result;
}

} // namespace vexa::recovery
