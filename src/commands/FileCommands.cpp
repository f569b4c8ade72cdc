// The file functions.
#include "commands/FileCommands.h"

#include <algorithm>
#include <climits>
#include <array>
#include <string>

#include "commands/CommandProcessor.h"
#include "commands/DocumentWindows.h"
#include "commands/EditPane.h"
#include "core/Document.h"
#include "frame/Frame.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "settings/Format.h"
#include "settings/Options.h"

namespace vexa {

namespace {

constexpr std::array<FunctionId, 24> kIds = {
    functionIdOf("FileNew"),          functionIdOf("FileOpen"),           functionIdOf("FileClose"),
    functionIdOf("FileSave"),         functionIdOf("FileSaveAs"),         functionIdOf("FileSaveAll"),
    functionIdOf("FileSaveAllNamed"), functionIdOf("FileExit"),           functionIdOf("FileName"),
    functionIdOf("FileTouch"),        functionIdOf("FileReloadCurrent"),  functionIdOf("FileInsertAtCursor"),
    functionIdOf("FileBackupWrite"),  functionIdOf("FileReload1"),        functionIdOf("FileReload2"),
    functionIdOf("FileReload3"),      functionIdOf("FileReload4"),        functionIdOf("FileReload5"),
    functionIdOf("FileReload6"),      functionIdOf("FileReload7"),        functionIdOf("FileReload8"),
    functionIdOf("FileReload9"),      functionIdOf("FileEncodingToggle"), functionIdOf("FileLineEndsToggle"),
};

constexpr const char* kEncodingNow = "The document is now read as %s.";
constexpr const char* kLineEndsNow = "The document will be written with %s line ends.";

constexpr std::string_view kNoFileLoaded = "No file currently loaded!";
constexpr const char* kSelectFile = "Select the name of the %s file to be %s";
constexpr std::string_view kOpenTitle = "Open";
constexpr std::string_view kSaveAsTitle = "Save As";

bool isRecentReload(FunctionId id) {
    return id >= functionIdOf("FileReload1") && id <= functionIdOf("FileReload9");
}

} // namespace

std::vector<FileFilter> fileFiltersFrom(std::string_view filterString) {
    std::vector<std::string_view> fields;
    while (!filterString.empty()) {
        const std::size_t bar = filterString.find('|');
        fields.push_back(filterString.substr(0, bar));
        filterString = bar == std::string_view::npos ? std::string_view() : filterString.substr(bar + 1);
    }
    std::vector<FileFilter> filters;
    for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
        if (fields[i].empty() || fields[i + 1].empty()) {
            continue;
        }
        std::string patterns;
        std::string_view rest = fields[i + 1];
        while (!rest.empty()) {
            const std::size_t semicolon = rest.find(';');
            const std::string_view pattern = rest.substr(0, semicolon);
            if (!patterns.empty()) {
                patterns += ';';
            }
            patterns += pattern == "*.*" ? std::string_view("*") : pattern;
            rest = semicolon == std::string_view::npos ? std::string_view() : rest.substr(semicolon + 1);
        }
        filters.push_back({std::string(fields[i]), patterns});
    }
    return filters;
}

bool FileCommands::claims(FunctionId id) {
    return std::find(kIds.begin(), kIds.end(), id) != kIds.end();
}

FileOptions fileOptionsFrom(const Options& options) {
    const EditorOptions& editor = options.editor();
    FileOptions file;
    file.readUnix = editor.fileRead != 0;
    file.writeUnix = editor.fileWrite != 0;
    file.oemRead = editor.oemRead != 0;
    file.oemWrite = editor.oemWrite != 0;
    file.newEncoding = editor.newUtf8 != 0 ? TextEncoding::Utf8 : TextEncoding::Windows1252;
    file.fileTrim = editor.fileTrim != 0;
    file.autoBackup = editor.autoBackup != 0;
    file.backupInterval = editor.backupInterval;
    file.checkOnReload = editor.checkOnReload != 0;
    file.saveKeepsUndo = editor.saveKeepsUndo != 0;
    file.backupDirectory = options.directory(DirectoryKind::Backup);
    return file;
}

int32_t FileCommands::run(FunctionId id) {
    DocumentWindows* windows = m_processor.windows();
    Document* document = m_processor.document();
    switch (id) {
    case functionIdOf("FileNew"):
        return windows != nullptr && windows->newDocument() != nullptr ? 1 : 0;
    case functionIdOf("FileOpen"):
        return open();
    case functionIdOf("FileClose"):
        return windows != nullptr && windows->closeActive() ? 1 : 0;
    case functionIdOf("FileExit"):
        if (windows == nullptr) {
            return 0;
        }
        windows->exitApplication();
        return 1;
    case functionIdOf("FileSaveAll"):
        return saveAll(false);
    case functionIdOf("FileSaveAllNamed"):
        return saveAll(true);
    case functionIdOf("FileInsertAtCursor"):
        return insertAtCursor();
    default:
        break;
    }
    if (isRecentReload(id)) {
        return reloadRecent(id);
    }
    if (id == functionIdOf("FileName")) {
        if (document == nullptr || !document->hasName()) {
            m_processor.showStatus(kNoFileLoaded);
            return 1;
        }
        m_processor.showStatus(document->fileName());
        return 1;
    }
    if (document == nullptr) {
        if (id == functionIdOf("FileSave")) {
            m_processor.showStatus(kNoActiveDocument); // a message only, without a sound
        }
        return 0;
    }
    DocumentFile file(fileOptionsFrom(m_processor.options()), m_processor.frame());
    // The encoding and the line ends are decided by the whole file: a partly loaded document
    // keeps them (and stays unmodified, so that it can always be closed).
    if ((id == functionIdOf("FileEncodingToggle") || id == functionIdOf("FileLineEndsToggle")) &&
        document->isLoadIncomplete()) {
        (void)m_processor.refuseIfReadOnly();
        return 0;
    }
    switch (id) {
    case functionIdOf("FileSave"):
        return save(*document);
    case functionIdOf("FileSaveAs"):
        return saveAs(*document);
    case functionIdOf("FileTouch"):
        file.touchCommand(*document);
        return 1;
    case functionIdOf("FileEncodingToggle"):
        // The bytes stay as they are: only how they are read changes.
        document->switchEncoding(document->encoding() == TextEncoding::Utf8 ? TextEncoding::Windows1252
                                                                            : TextEncoding::Utf8);
        m_processor.showStatus(
            formatText(kEncodingNow, document->encoding() == TextEncoding::Utf8 ? "UTF-8" : "Windows-1252"));
        return 1;
    case functionIdOf("FileLineEndsToggle"):
        // Every line takes the new end, also the lines of a mixed file that kept their own.
        document->changeLineEnds(document->lineEnds() == LineEnds::Dos ? LineEnds::Unix : LineEnds::Dos);
        m_processor.showStatus(formatText(kLineEndsNow, lineEndsName(document->lineEnds()).data()));
        return 1;
    case functionIdOf("FileReloadCurrent"):
        // A load under way ends first, so that only one load reads into the document.
        (void)m_processor.waitForLines(INT_MAX);
        file.reloadCommand(*document);
        return 1;
    case functionIdOf("FileBackupWrite"):
        return backupNow(*document);
    default:
        return 0;
    }
}

int32_t FileCommands::open() {
    DocumentWindows* windows = m_processor.windows();
    if (windows == nullptr) {
        return 0;
    }
    FileDialogRequest request;
    request.title = kOpenTitle;
    request.initialDirectory = m_processor.options().lastDirectoryUsed();
    request.filters = fileFiltersFrom(m_processor.options().fileFilterString());
    request.selection = FileSelection::Several;
    request.mustExist = m_processor.options().editor().fileMustExist != 0;
    const std::vector<std::string> paths = m_processor.frame().chooseFilesToOpen(request);
    if (paths.empty()) {
        return 0;
    }
    m_processor.options().setLastDirectoryUsed(std::string(platform::directoryPart(paths.front())));
    const bool readOnlyMode = m_processor.options().editor().fileReadOnly != 0;
    for (const std::string& path : paths) {
        EditPane* pane = windows->openDocument(path);
        if (pane != nullptr && readOnlyMode) {
            pane->document().setReadOnly(true);
        }
    }
    return 1;
}

int32_t FileCommands::save(Document& document) {
    if (!document.hasName()) {
        return saveAs(document);
    }
    return DocumentFile(fileOptionsFrom(m_processor.options()), m_processor.frame()).saveCommand(document)
               ? 1
               : 0;
}

int32_t FileCommands::saveAs(Document& document) {
    if (document.isLoadIncomplete()) {
        // Refused with its message before a name is asked for.
        (void)DocumentFile(fileOptionsFrom(m_processor.options()), m_processor.frame()).save(document);
        return 0;
    }
    FileDialogRequest request;
    request.title = kSaveAsTitle;
    request.initialName = document.hasName() ? document.fileName() : std::string();
    request.filters = fileFiltersFrom(m_processor.options().fileFilterString());
    const std::optional<std::string> path = m_processor.frame().chooseFileToSave(request);
    if (!path) {
        return 0;
    }
    Frame& frame = m_processor.frame();
    const SaveAsResult saved =
        DocumentFile(fileOptionsFrom(m_processor.options()), frame).saveAs(document, *path);
    if (saved == SaveAsResult::Failed) {
        frame.messageBox(
            formatText(file_messages::kUnableToWrite, std::string(platform::namePart(*path)).c_str()));
        return 0;
    }
    if (DocumentWindows* windows = m_processor.windows()) {
        windows->documentRenamed(document, saved == SaveAsResult::SavedWithNewExtension);
    }
    m_processor.showStatus(file_messages::kWriteSuccessful);
    return 1;
}

int32_t FileCommands::saveAll(bool namedOnly) {
    DocumentWindows* windows = m_processor.windows();
    if (windows == nullptr) {
        return 0;
    }
    for (EditPane* pane : windows->panes()) {
        if (pane == nullptr) {
            continue;
        }
        Document& document = pane->document();
        if (namedOnly && !document.hasName()) {
            continue;
        }
        // An untitled window nobody typed into has nothing to save: asking for a name for it
        // would only get in the way.
        if (document.isModified()) {
            save(document);
        }
    }
    return 1;
}

int32_t FileCommands::insertAtCursor() {
    Document* document = m_processor.document();
    if (document == nullptr) {
        m_processor.showStatus(kNoActiveDocument, platform::SoundKind::Information);
        return 0;
    }
    if (m_processor.refuseIfReadOnly()) {
        return 0;
    }
    m_processor.showStatus(formatText(kSelectFile, "text", "inserted."));
    FileDialogRequest request;
    request.title = kOpenTitle;
    request.initialDirectory = m_processor.options().lastDirectoryUsed();
    request.filters = fileFiltersFrom(m_processor.options().fileFilterString());
    const std::vector<std::string> paths = m_processor.frame().chooseFilesToOpen(request);
    if (paths.empty()) {
        return 0;
    }
    DocumentFile file(fileOptionsFrom(m_processor.options()), m_processor.frame());
    const std::string& path = paths.front();
    if (!file.insertFile(*document, path, document->cursorLine(), ReturnToStart::Yes)) {
        return 0;
    }
    return 1;
}

int32_t FileCommands::reloadRecent(FunctionId id) {
    m_processor.clearReshow();
    DocumentWindows* windows = m_processor.windows();
    if (windows == nullptr) {
        return 0;
    }
    const std::string path = windows->recentFile(id);
    if (path.empty()) {
        return 0;
    }
    return windows->openDocument(path) != nullptr ? 1 : 0;
}

int32_t FileCommands::backupNow(Document& document) {
    m_processor.showStatus(file_messages::kBackupStarted);
    const auto now = static_cast<int64_t>(m_processor.clock().tickCount());
    DocumentFile(fileOptionsFrom(m_processor.options()), m_processor.frame()).backup(document, now);
    return 1;
}

} // namespace vexa
