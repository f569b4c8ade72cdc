// Loading, inserting, saving, backing up, touching and reloading the file of a document.
#include "core/DocumentFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <memory>
#include <optional>
#include <sys/stat.h>

#include "core/BackupIndex.h"
#include "core/Document.h"
#include "core/FileLoad.h"
#include "core/MarkedArea.h"
#include "core/Messenger.h"
#include "platform/Files.h"
#include "settings/Format.h"

namespace vexa {
namespace {

using platform::SoundKind;
namespace msg = file_messages;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string extensionOf(std::string_view path) {
    std::string_view name = platform::namePart(path);
    auto dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return {};
    }
    std::string extension(name.substr(dot + 1));
    for (char& ch : extension) {
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    return extension;
}

bool exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

// Clears the backup guard of a document when the backup ends, however it ends.
class BackupGuard {
public:
    explicit BackupGuard(Document& document) : m_document(document) { m_document.setBackupBusy(true); }
    ~BackupGuard() { m_document.setBackupBusy(false); }
    BackupGuard(const BackupGuard&) = delete;
    BackupGuard& operator=(const BackupGuard&) = delete;

private:
    Document& m_document;
};

} // namespace

bool userMayWrite(const std::string& path) {
    return platform::canAccess(path, platform::Access::Write);
}

template <typename AddLine>
DocumentFile::ReadResult DocumentFile::readLines(TextReader& reader, AddLine&& add) {
    ReadResult result;
    std::string line;
    std::string text = msg::kLoading;
    while (!reader.endReached()) {
        int length = reader.readLine(line);
        if (length < 0) {
            continue;
        }
        add(std::string_view(line), reader.lastLineEnd());
        if (++result.lines % 1000 == 0) {
            if (text.size() < 100) {
                text += '.';
            }
            m_messenger.status(text, SoundKind::None);
            m_messenger.drainEvents();
        }
    }
    return result;
}

void DocumentFile::makeNew(Document& document) const {
    document.makeNew();
    document.setEncoding(m_options.newEncoding);
    document.setLineEnds(m_options.newLineEnds());
    document.setByteOrderMark(false);
}

WriteOptions DocumentFile::writeOptionsFor(const Document& document) const {
    return {document.lineEnds() == LineEnds::Unix,
            m_options.oemWrite && document.encoding() == TextEncoding::Windows1252};
}

bool DocumentFile::load(Document& document) {
    FileLoad load(document, m_options, m_messenger, m_mayWrite);
    if (!load.start()) {
        return false;
    }
    int shown = 0;
    m_messenger.status(formatText(msg::kLoadingPercent, shown), SoundKind::None);
    while (load.step()) {
        if (load.percent() != shown) {
            shown = load.percent();
            m_messenger.status(formatText(msg::kLoadingPercent, shown), SoundKind::None);
        }
        m_messenger.drainEvents();
    }
    return true;
}

bool DocumentFile::insertFile(Document& document, const std::string& path, int atLine, ReturnToStart back) {
    if (document.isReadOnly()) {
        m_messenger.status(msg::kReadOnly, SoundKind::Information);
        return false;
    }
    document.moveToLine(atLine);
    // The inserted text keeps its bytes and takes the document's line ends.
    TextReader reader(
        ReadOptions{true, m_options.oemRead && document.encoding() == TextEncoding::Windows1252});
    if (!reader.open(path)) {
        std::string part(platform::namePart(path));
        m_messenger.messageBox(formatText(msg::kUnableToWrite, part.c_str()));
        return false;
    }
    m_messenger.status(msg::kLoading, SoundKind::None);
    const int start = document.cursorLine();
    const bool afterCursor = document.settings().insertAfterCursor;
    readLines(reader, [&](std::string_view text, ReadLineEnd) {
        if (afterCursor) {
            document.moveToLine(document.cursorLine() + 1);
            document.insertLine(document.makeLoadedLine(text));
        } else {
            document.insertLine(document.makeLoadedLine(text));
            document.moveToLine(document.cursorLine() + 1);
        }
    });
    if (back == ReturnToStart::Yes) {
        document.moveToLine(start);
    }
    m_messenger.status(msg::kWriteSuccessful, SoundKind::None);
    return true;
}

void DocumentFile::showOpenError(const std::string& path) {
    m_messenger.status(formatText(msg::kOpenError, path.c_str()), SoundKind::Error);
}

void DocumentFile::showWriteError(const std::string& path) {
    std::string part(platform::namePart(path));
    m_messenger.messageBox(formatText(msg::kUnableToWrite, part.c_str()));
}

DocumentFile::WriteOutcome DocumentFile::writeDocument(const Document& document, const std::string& path,
                                                       bool trimLast, ContentHash* written) {
    TextWriter writer(writeOptionsFor(document));
    if (path.empty() || !writer.open(path)) {
        showOpenError(path);
        return WriteOutcome::OpenFailed;
    }
    if (document.hasByteOrderMark()) {
        writer.writeBytes(kByteOrderMark);
    }
    // The lines stay unchanged while they are written: unedited lines of a loaded file go out as
    // the spans of the blocks they were read into.
    const int count = document.lineCount();
    int index = 0;
    document.forEachLine([&](const DocLine& line) {
        if (++index < count || !(trimLast && line.empty())) {
            writer.writeKeptLine(line.text(), line.hasOtherLineEnd());
        }
    });
    if (writer.commit()) {
        if (written != nullptr) {
            *written = writer.contentHash();
        }
        return WriteOutcome::Written;
    }
    if (!writer.keptOldCopy().empty()) {
        // The file itself may hold part of the new text: the user must learn where the old is.
        m_messenger.messageBox(formatText(msg::kOldContentKept, path.c_str(), writer.keptOldCopy().c_str()));
    }
    return WriteOutcome::WriteFailed;
}

bool DocumentFile::save(Document& document) {
    if (document.isLoadIncomplete()) {
        m_messenger.messageBox(formatText(msg::kIncompleteNotSaved, document.namePart().c_str()));
        return false;
    }
    ContentHash written;
    if (writeDocument(document, document.fileName(), m_options.fileTrim, &written) != WriteOutcome::Written) {
        return false;
    }
    document.setReadOnly(false);
    document.markUnmodified();
    document.setFileTime(platform::modificationTime(document.fileName()).value_or(0));
    document.setFileContent(written.size(), written.value());
    if (!m_options.saveKeepsUndo) {
        document.undoStore().flush();
    }
    // The saved file is the new starting point of whatever watches the edits.
    if (document.editObserver() != nullptr) {
        document.editObserver()->textReplaced();
    }
    return true;
}

bool DocumentFile::saveCommand(Document& document) {
    if (!document.hasName()) {
        return false;
    }
    if (document.isLoadIncomplete()) {
        return save(document); // refused, with its message
    }
    if (document.isModified() && !save(document)) {
        m_messenger.messageBox(formatText(msg::kUnableToWrite, document.namePart().c_str()));
        return false;
    }
    m_messenger.status(msg::kWriteSuccessful, SoundKind::None);
    return true;
}

SaveAsResult DocumentFile::saveAs(Document& document, const std::string& path) {
    if (document.isLoadIncomplete()) {
        (void)save(document); // refused, with its message naming the file being loaded
        return SaveAsResult::Failed;
    }
    std::string old = document.fileName();
    document.setFileName(path);
    if (!save(document)) {
        document.setFileName(old);
        return SaveAsResult::Failed;
    }
    return extensionChanged(old, path) ? SaveAsResult::SavedWithNewExtension : SaveAsResult::Saved;
}

bool extensionChanged(std::string_view before, std::string_view after) {
    return extensionOf(before) != extensionOf(after);
}

bool DocumentFile::writeMarkedArea(Document& document, const std::string& path) {
    if (!document.hasMark()) {
        return false;
    }
    ReplayingScope replaying(document);
    TextWriter writer(writeOptionsFor(document));
    if (!writer.open(path)) {
        showOpenError(path);
        return false;
    }
    for (const std::string& piece : markedPieces(document)) {
        writer.writeLine(piece);
    }
    if (!writer.commit()) {
        showWriteError(path);
        return false;
    }
    return true;
}

std::string DocumentFile::backupPath(const Document& document) const {
    return BackupIndex(m_options.backupDirectory).backupPathFor(document.fileName());
}

bool DocumentFile::backup(Document& document, int64_t nowMilliseconds) {
    if (document.backupBusy()) {
        return false;
    }
    BackupGuard guard(document);
    bool written = false;
    if (document.hasName() && document.isModified()) {
        if (!m_options.backupDirectory.empty()) {
            (void)platform::makeDirectories(m_options.backupDirectory);
        }
        BackupIndex index(m_options.backupDirectory);
        const std::string target = index.backupPathFor(document.fileName());
        switch (writeDocument(document, target, false)) {
        case WriteOutcome::Written:
            written = true;
            // Without its line in the index the backup would be taken for another file's.
            if (!index.record(document.fileName(), target)) {
                showWriteError(m_options.backupDirectory + "/" + BackupIndex::kFileName);
            }
            break;
        case WriteOutcome::WriteFailed:
            showWriteError(target);
            break;
        case WriteOutcome::OpenFailed:
            break;
        }
    }
    document.setLastBackup(nowMilliseconds);
    return written;
}

bool DocumentFile::automaticBackup(Document& document, int64_t nowMilliseconds, bool quitting) {
    if (!m_options.autoBackup) {
        return false;
    }
    // An unmodified document keeps restarting its clock, so it is never backed up and a
    // modified one waits a whole interval from when it was first seen modified.
    int64_t last = nowMilliseconds;
    if (document.lastBackup() >= 0 && document.isModified()) {
        last = document.lastBackup();
    } else {
        document.setLastBackup(nowMilliseconds);
    }
    auto elapsedSeconds = static_cast<int64_t>(static_cast<double>(nowMilliseconds - last) * 0.001);
    if (last >= nowMilliseconds || elapsedSeconds <= static_cast<int64_t>(m_options.backupInterval) * 60) {
        return false;
    }
    BusyCursor busy(m_messenger);
    m_messenger.status(msg::kBackupStarted, SoundKind::None);
    m_messenger.drainEvents();
    if (quitting) {
        return false;
    }
    return backup(document, nowMilliseconds);
}

TouchResult DocumentFile::touch(Document& document) {
    if (document.isModified()) {
        return save(document) ? TouchResult::Done : TouchResult::Cannot;
    }
    const std::string& name = document.fileName();
    if (!document.hasName() || !exists(name)) {
        return TouchResult::Cannot;
    }
    if (!platform::isRegularFile(name)) {
        return TouchResult::Cannot;
    }
    // Rewriting the first byte in place changes only the time stamp; nothing is truncated.
    std::FILE* file = std::fopen(name.c_str(), "r+b");
    if (file == nullptr) {
        return TouchResult::ReadOnly;
    }
    bool done = false;
    int first = std::fgetc(file);
    if (first != EOF && std::fseek(file, 0, SEEK_SET) == 0 && std::fputc(first, file) != EOF) {
        done = std::fflush(file) == 0;
    }
    if (std::fclose(file) != 0) {
        done = false;
    }
    if (!done) {
        return TouchResult::Cannot;
    }
    // The new time is the document's own doing, not another program's change.
    document.setFileTime(platform::modificationTime(name).value_or(0));
    return TouchResult::Done;
}

TouchResult DocumentFile::touchCommand(Document& document) {
    TouchResult result = touch(document);
    switch (result) {
    case TouchResult::Done:
        m_messenger.status(formatText(msg::kTouched, document.fileName().c_str()), SoundKind::None);
        break;
    case TouchResult::ReadOnly:
        m_messenger.status(formatText(msg::kTouchReadOnly, document.fileName().c_str()),
                           SoundKind::Exclamation);
        break;
    case TouchResult::Cannot:
        m_messenger.messageBox(formatText(msg::kUnableToWrite, document.namePart().c_str()));
        break;
    }
    return result;
}

bool DocumentFile::hasChangedOnDisk(Document& document) {
    if (!document.hasName()) {
        return false;
    }
    auto time = platform::modificationTime(document.fileName());
    if (!time || *time == document.fileTime()) {
        return false;
    }
    document.setFileTime(*time);
    return true;
}

bool DocumentFile::reload(Document& document) {
    const int line = document.cursorLine();
    const int offset = document.cursorOffset();
    // A file that cannot be opened any more leaves the text in the editor as it is, rather
    // than replacing it by an empty new document.
    TextReader probe;
    if (!probe.open(document.fileName())) {
        showOpenError(document.fileName());
        return false;
    }
    probe.close();
    document.undoStore().flush();
    if (!load(document)) {
        showOpenError(document.fileName());
        return false;
    }
    document.moveToLine(line);
    document.setCursorOffset(offset);
    document.flushUndo();
    document.markUnmodified();
    m_messenger.status(formatText(msg::kReloaded, document.fileName().c_str()), SoundKind::None);
    return true;
}

bool DocumentFile::reloadCommand(Document& document) {
    if (m_options.checkOnReload && document.isModified()) {
        std::string question = formatText(msg::kReloadModified, document.fileName().c_str());
        if (m_messenger.ask(question, kErrorTitle, Question::YesNo) != Answer::Yes) {
            return false;
        }
    }
    return reload(document);
}

bool DocumentFile::checkForOutsideChange(Document& document) {
    BusyCursor busy(m_messenger);
    if (!hasChangedOnDisk(document)) {
        return false;
    }
    m_messenger.drainEvents();
    std::string question = formatText(msg::kChangedByAnother, document.fileName().c_str());
    if (m_messenger.ask(question, kErrorTitle, Question::YesNo) != Answer::Yes) {
        return false;
    }
    return reload(document);
}

} // namespace vexa
