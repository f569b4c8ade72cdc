// The folder search: the walk, the per-file search and the threads that share the files.
#include "findfiles/FolderSearch.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <thread>
#include <utility>

#include "findfiles/IgnoreRules.h"
#include "platform/Files.h"

namespace vexa::findfiles {
namespace {

// A NUL byte among the first this many bytes marks a file as binary.
constexpr std::size_t kBinaryProbeBytes = 8192;

// The walk stops to let the found files be searched once it has found this many.
constexpr std::size_t kFilesPerStretch = 256;

struct IgnoreLevel {
    std::string prefix; // the folder of the ignore file, relative to the searched one, with "/"
    IgnoreRules rules;
};

bool isIgnored(const std::vector<IgnoreLevel>& levels, const std::string& relativePath, PathKind kind) {
    // The deepest ignore file that has a say decides; within one file the last rule does.
    for (auto level = levels.rbegin(); level != levels.rend(); ++level) {
        const std::string_view path = std::string_view(relativePath).substr(level->prefix.size());
        const IgnoreVerdict verdict = level->rules.verdict(path, kind);
        if (verdict != IgnoreVerdict::None) {
            return verdict == IgnoreVerdict::Ignore;
        }
    }
    return false;
}

std::string joined(const std::string& folder, const std::string& relative) {
    if (relative.empty()) {
        return folder;
    }
    return folder.ends_with('/') ? folder + relative : folder + "/" + relative;
}

} // namespace

void SearchTotals::add(const FileOutcome& outcome) {
    switch (outcome.kind) {
    case FileOutcomeKind::Searched:
        ++filesSearched;
        matchingLines += outcome.lines.size();
        break;
    case FileOutcomeKind::Binary:
        ++binaryFiles;
        break;
    case FileOutcomeKind::Unreadable:
        unreadable.push_back(outcome.relativePath + ": " + outcome.errorText);
        break;
    }
}

std::vector<std::string> splitFilePatterns(std::string_view list) {
    std::vector<std::string> patterns;
    std::size_t at = 0;
    while (at <= list.size()) {
        std::size_t end = list.find(';', at);
        if (end == std::string_view::npos) {
            end = list.size();
        }
        std::string_view piece = list.substr(at, end - at);
        while (!piece.empty() && (piece.front() == ' ' || piece.front() == '\t')) {
            piece.remove_prefix(1);
        }
        while (!piece.empty() && (piece.back() == ' ' || piece.back() == '\t')) {
            piece.remove_suffix(1);
        }
        if (!piece.empty()) {
            patterns.emplace_back(piece);
        }
        at = end + 1;
    }
    return patterns;
}

FolderSearch::FolderSearch(FolderSearchRequest request) : m_request(std::move(request)) {
    if (std::find(m_request.filePatterns.begin(), m_request.filePatterns.end(), "*") !=
        m_request.filePatterns.end()) {
        m_request.filePatterns.clear();
    }
    m_request.threads = std::clamp(m_request.threads, 1, 16);
    std::sort(m_request.excludedFiles.begin(), m_request.excludedFiles.end());
    const LineFinder finder(m_request.findText, m_request.options);
    if (!finder.usable()) {
        m_error = finder.error().empty() ? "Nothing to find." : "Regex Error: " + finder.error();
    } else if (!platform::isDirectory(m_request.folder)) {
        m_error = "Cannot read the folder '" + m_request.folder + "'.";
    }
}

bool FolderSearch::usable() const {
    return m_error.empty();
}

// Where the walk stands between its stretches. Folders still to read are taken from the back and
// pushed in reverse name order, so that the walk goes depth first in name order; each holds the
// number of ignore levels in force for it.
struct FolderSearch::WalkState {
    struct Pending {
        std::string relative; // "" for the searched folder, else ending in "/"
        std::size_t levels = 0;
    };
    std::vector<Pending> pending{Pending{}};
    std::vector<IgnoreLevel> levels;
    std::vector<platform::DirectoryEntry> entries;
    std::string absoluteFolder;
};

bool FolderSearch::walk(std::stop_token stop, WalkState& state, std::vector<Job>& jobs, SearchTotals& totals,
                        std::size_t enough) {
    using Pending = WalkState::Pending;
    std::vector<IgnoreLevel>& levels = state.levels;
    std::vector<platform::DirectoryEntry>& entries = state.entries;
    std::vector<Pending>& pending = state.pending;
    const std::string& absoluteFolder = state.absoluteFolder;
    while (!pending.empty() && jobs.size() < enough && !stop.stop_requested()) {
        const Pending folder = std::move(pending.back());
        pending.pop_back();
        levels.resize(folder.levels);
        const std::string path = joined(m_request.folder, folder.relative);
        std::string error;
        if (!platform::readDirectory(path, entries, &error)) {
            totals.unreadable.push_back(folder.relative.empty() ? "./: " + error
                                                                : folder.relative + ": " + error);
            continue;
        }
        std::sort(entries.begin(), entries.end(),
                  [](const platform::DirectoryEntry& a, const platform::DirectoryEntry& b) {
                      return a.name < b.name;
                  });
        if (m_request.useIgnoreFiles) {
            const auto ignoreFile =
                std::find_if(entries.begin(), entries.end(), [](const platform::DirectoryEntry& e) {
                    return e.name == ".gitignore" && e.kind == platform::EntryKind::Regular;
                });
            std::string text;
            if (ignoreFile != entries.end() && platform::readWholeFile(path + "/.gitignore", text)) {
                IgnoreRules rules = IgnoreRules::parse(text);
                if (!rules.empty()) {
                    levels.push_back(IgnoreLevel{folder.relative, std::move(rules)});
                }
            }
        }
        std::vector<Pending> subfolders;
        for (const platform::DirectoryEntry& entry : entries) {
            std::string relative = folder.relative + entry.name;
            // Symbolic links are not followed, to files or to folders: a link to a folder could lead
            // the walk round in a loop, and a link to a file shows lines its target shows already
            // (as grep -r does).
            const platform::EntryKind kind = entry.kind;
            if (kind == platform::EntryKind::Directory) {
                if (!m_request.subfolders || (m_request.skipHiddenFolders && entry.name.starts_with('.')) ||
                    isIgnored(levels, relative, PathKind::Folder)) {
                    continue;
                }
                subfolders.push_back(Pending{relative + "/", levels.size()});
                continue;
            }
            if (kind != platform::EntryKind::Regular) {
                continue;
            }
            const bool named =
                m_request.filePatterns.empty() ||
                std::any_of(m_request.filePatterns.begin(), m_request.filePatterns.end(),
                            [&](const std::string& pattern) { return matchesGlob(pattern, entry.name); });
            if (!named || isIgnored(levels, relative, PathKind::File)) {
                continue;
            }
            if (!m_request.excludedFiles.empty() &&
                std::binary_search(m_request.excludedFiles.begin(), m_request.excludedFiles.end(),
                                   joined(absoluteFolder, relative))) {
                continue;
            }
            jobs.push_back(Job{std::move(relative)});
        }
        pending.insert(pending.end(), std::make_move_iterator(subfolders.rbegin()),
                       std::make_move_iterator(subfolders.rend()));
    }
    return !pending.empty();
}

void FolderSearch::searchBytes(LineFinder& finder, std::string_view bytes, FileOutcome& outcome) {
    if (std::memchr(bytes.data(), '\0', std::min(bytes.size(), kBinaryProbeBytes)) != nullptr) {
        outcome.kind = FileOutcomeKind::Binary;
        return;
    }
    outcome.kind = FileOutcomeKind::Searched;
    if (!finder.needsEncodingFirst() && !finder.mayMatch(bytes)) {
        return;
    }
    const TextEncoding encoding = text::detectEncoding(bytes, TextEncoding::Utf8);
    finder.findLines(bytes, encoding, [&](const LineHit& hit) {
        outcome.lines.push_back(ResultLine{hit.line, hit.column, text::toUtf8(hit.text, encoding)});
        return true;
    });
}

SearchTotals FolderSearch::run(std::stop_token stop, const std::function<void(FileOutcome&&)>& deliver) {
    SearchTotals totals;
    if (!usable()) {
        return totals;
    }
    // The walk and the search take turns a stretch at a time, so that the first results of a large
    // tree arrive while the rest of it is still unread.
    WalkState state;
    state.absoluteFolder = platform::fullPath(m_request.folder).value_or(m_request.folder);
    std::vector<Job> jobs;
    bool more = true;
    while (more && !stop.stop_requested()) {
        jobs.clear();
        more = walk(stop, state, jobs, totals, kFilesPerStretch);
        searchFiles(stop, jobs, totals, deliver);
    }
    totals.stopped = stop.stop_requested();
    return totals;
}

void FolderSearch::searchFiles(std::stop_token stop, std::vector<Job>& jobs, SearchTotals& totals,
                               const std::function<void(FileOutcome&&)>& deliver) {
    const std::size_t count = jobs.size();
    std::vector<FileOutcome> outcomes(count);
    const auto done = std::make_unique<std::atomic<bool>[]>(count);
    std::atomic<std::size_t> next{0};
    // Takes the next file and searches it; false when none is left or the search is to stop.
    const auto searchNext = [&](LineFinder& finder, std::string& buffer) {
        if (stop.stop_requested()) {
            return false;
        }
        const std::size_t index = next.fetch_add(1);
        if (index >= count) {
            return false;
        }
        FileOutcome& outcome = outcomes[index];
        outcome.relativePath = std::move(jobs[index].relativePath);
        if (!platform::readWholeFile(joined(m_request.folder, outcome.relativePath), buffer,
                                     &outcome.errorText)) {
            outcome.kind = FileOutcomeKind::Unreadable;
        } else {
            searchBytes(finder, buffer, outcome);
        }
        done[index].store(true, std::memory_order_release);
        return true;
    };
    std::vector<std::jthread> helpers;
    for (int i = 1; i < m_request.threads && static_cast<std::size_t>(i) < count; ++i) {
        helpers.emplace_back([&] {
            LineFinder finder(m_request.findText, m_request.options);
            std::string buffer;
            while (searchNext(finder, buffer)) {
            }
        });
    }
    // The calling thread searches too, and between files hands on every outcome that is ready in
    // walk order.
    std::size_t delivered = 0;
    const auto deliverReady = [&] {
        while (delivered < count && done[delivered].load(std::memory_order_acquire)) {
            totals.add(outcomes[delivered]);
            deliver(std::move(outcomes[delivered]));
            outcomes[delivered] = FileOutcome{};
            ++delivered;
        }
    };
    LineFinder finder(m_request.findText, m_request.options);
    std::string buffer;
    while (searchNext(finder, buffer)) {
        deliverReady();
    }
    for (std::jthread& helper : helpers) {
        helper.join();
    }
    deliverReady();
}

} // namespace vexa::findfiles
