// Moving a document between memory and disk: load, insert file, save, backup, touch, reload.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/TextReader.h"
#include "core/TextWriter.h"
#include "text/TextEncoding.h"

namespace vexa {

class Document;
class Messenger;

// The file settings ("Editor Options"), filled by the command layer from the options.
struct FileOptions {
    // Reading takes LF and CR LF as line ends whatever "FileRead" says, and a document is written
    // with the line ends it was read with: "FileWrite" decides for new documents and files
    // without any line end.
    bool readUnix = false;       // "FileRead"
    bool writeUnix = false;      // "FileWrite"
    bool oemRead = false;        // "OEMRead"
    bool oemWrite = false;       // "OEMWrite"
    bool fileTrim = false;       // "FileTrim": an empty last line is not written
    bool autoBackup = true;      // "AutoBackup"
    int backupInterval = 4;      // "BackupInterval", minutes
    bool checkOnReload = true;   // "CheckOnReload"
    bool saveKeepsUndo = false;  // "SaveKeepsUndo": a save leaves the undo history as it is
    std::string backupDirectory; // the "vbackup" directory of the home
    // "NewUtf8": the encoding of new documents and of files that are plain ASCII.
    TextEncoding newEncoding = TextEncoding::Utf8;

    LineEnds newLineEnds() const { return writeUnix ? LineEnds::Unix : LineEnds::Dos; }
};

namespace file_messages {
inline constexpr const char* kLoading = "Loading.";
inline constexpr const char* kLoadingPercent = "Loading %d %%";
inline constexpr const char* kLoadStopped =
    "The load of '%s' was stopped: the document holds only part of the file and is read only.";
inline constexpr const char* kIncompleteNotSaved =
    "The '%s' file is not completely loaded, so the document can not be saved: it would write part "
    "of the file.";
inline constexpr const char* kNullsReplaced =
    "To load this binary file Vexa replaced the null characters. This file is now read only!";
inline constexpr const char* kReadFailed =
    "The '%s' file could not be read to its end. The document is read only so that the file is not "
    "overwritten with part of its text.";
inline constexpr const char* kReadOnly = "The document can not be changed as it is marked as 'Read Only'";
inline constexpr const char* kWriteProtected =
    "The '%s' file is write protected, so it has been opened as read only. Save As writes it under "
    "another name.";
inline constexpr const char* kWriteSuccessful = "Write successful.";
inline constexpr const char* kUnableToWrite =
    "The program was unable to write to the file '%s'.\nThe file may be write protected or does not exist!";
inline constexpr const char* kOldContentKept =
    "Saving '%s' failed part way and its old content could not be put back: the old content is "
    "kept in '%s'.";
inline constexpr const char* kOpenError = "Unexpected error opening the '%s' file.";
inline constexpr const char* kNewFileCreated = "Error opening the '%s' file. A new file has been created.";
inline constexpr const char* kBackupStarted = "Background file backup started.";
inline constexpr const char* kTouched = "The '%s' file has been touched.";
inline constexpr const char* kTouchReadOnly =
    "The '%s' file  can not be touched as it is marked as read only.";
inline constexpr const char* kChangedByAnother =
    "The file '%s' has been changed by another \napplication. Do you want to reload this file?";
inline constexpr const char* kReloadModified =
    "The file '%s' has changed.\nAre you sure you want to reload this file?";
inline constexpr const char* kReloaded = "The file '%s' has been successfully reloaded.";
} // namespace file_messages

enum class ReturnToStart { No, Yes };

enum class SaveAsResult { Failed, Saved, SavedWithNewExtension };

// Whether a new file name brings another extension (compared without regard to case; no
// extension, as for a document that had no name, counts as one): the extension profile must
// then be chosen again.
bool extensionChanged(std::string_view before, std::string_view after);

enum class TouchResult : int { Done = 0, Cannot = 1, ReadOnly = 2 };

// Whether this user may write a file; the system's access test unless a test stands in.
using WritableCheck = bool (*)(const std::string& path);
bool userMayWrite(const std::string& path);

// The file operations of a document. Messages go to the messenger, texts as the user sees them.
class DocumentFile {
public:
    DocumentFile(const FileOptions& options, Messenger& messenger, WritableCheck mayWrite = userMayWrite)
        : m_options(options), m_messenger(messenger), m_mayWrite(mayWrite) {}

    // Replaces the content with the file the document names, read block by block with the
    // percentage read on the status line (FileLoad). When it cannot be opened the
    // document becomes a new one-line document and the result is false (the caller reports it).
    // A file this user may not write loads read only, with a message, so the user learns it
    // before editing rather than when saving fails.
    bool load(Document& document);
    // Turns the document into a new one-line document with the encoding and line ends of new
    // documents.
    void makeNew(Document& document) const;
    // Reads a file into the document at a line through undoable line insertions.
    bool insertFile(Document& document, const std::string& path, int atLine, ReturnToStart back);
    // Writes the whole document to its file. On failure the document stays as it was (still
    // modified) and the old file is untouched; the opening failure is shown here, the caller
    // shows the write failure (saveCommand does both).
    bool save(Document& document);
    // The save command: saves a modified document and reports "Write successful." or the failure.
    bool saveCommand(Document& document);
    // Renames and saves; the old name comes back on failure.
    SaveAsResult saveAs(Document& document, const std::string& path);
    // Writes the marked area to another file; false when nothing is marked or writing failed
    // (every failure is shown).
    bool writeMarkedArea(Document& document, const std::string& path);
    // Writes a modified, named document into the backup directory; the document stays modified.
    // A failure is shown; the document's own file is never touched.
    bool backup(Document& document, int64_t nowMilliseconds);
    // The idle hook's decision for one document: backs it up when its interval has passed.
    // True when a backup was made.
    bool automaticBackup(Document& document, int64_t nowMilliseconds, bool quitting = false);
    TouchResult touch(Document& document);
    // The touch command: touches and reports.
    TouchResult touchCommand(Document& document);
    // True (and the new time recorded) when the file's modification time differs from the one
    // recorded at the last load or save.
    bool hasChangedOnDisk(Document& document);
    // Loads the file again, keeping the cursor position.
    bool reload(Document& document);
    // The reload command: asks first when "CheckOnReload" is on and the document is modified.
    bool reloadCommand(Document& document);
    // The check when the application becomes active again: asks and reloads on Yes.
    bool checkForOutsideChange(Document& document);

    // The full path of the backup of a document: its own even when documents of other
    // directories share its name.
    std::string backupPath(const Document& document) const;

private:
    struct ReadResult {
        int lines = 0;
    };
    // Each line goes to `add` with the end it had in the file. Inserting a file adds a dot to the
    // status every 1000 lines while the text is shorter than 100 (a load shows its percentage).
    template <typename AddLine>
    ReadResult readLines(TextReader& reader, AddLine&& add);
    // How a document's lines are written: its line ends; OEM text only for Windows-1252.
    WriteOptions writeOptionsFor(const Document& document) const;
    enum class WriteOutcome { Written, OpenFailed, WriteFailed };
    // Shows the opening failure; the caller reports a failed write as it sees fit.
    // The written bytes' hash goes to `written` when one is given.
    WriteOutcome writeDocument(const Document& document, const std::string& path, bool trimLast,
                               ContentHash* written = nullptr);
    void showWriteError(const std::string& path);
    void showOpenError(const std::string& path);

    FileOptions m_options;
    Messenger& m_messenger;
    WritableCheck m_mayWrite;
};

} // namespace vexa
