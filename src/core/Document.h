// The text of one open file as lines, its cursor, its marked area, its flags and its undo store.
#pragma once

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "core/ColumnIndex.h"
#include "core/DocLine.h"
#include "core/EditRecord.h"
#include "core/EditSettings.h"
#include "core/LanguageRules.h"
#include "core/LineList.h"
#include "core/MarkState.h"
#include "core/TextArena.h"
#include "core/UndoStore.h"
#include "text/TextEncoding.h"

namespace vexa {

class Messenger;

// The module name internal errors of the document report.
inline constexpr std::string_view kDocumentModule = "QLWDAC01";
inline constexpr const char* kUnexpectedErrorFormat = "Unexpected Error in File: %s at Line: %d";

enum class CaseChange { Lower, Upper, Swap };

// Whether the Enter key's new line follows the insert mode or always opens a line.
enum class NewLineMode { ByInsertMode, Forced };

// Every change to the text, the cursor or the mark is made by executing an EditRecord, which is
// then kept in the undo store: commands call the operations below and never touch a line.
class Document {
public:
    // The cursor stands anywhere in its line's bytes, or past their end by at most this many
    // bytes (the space that typing there fills in), so that one move cannot make typing write
    // gigabytes of filler.
    static constexpr int kMaxPastEnd = 1 << 20;
    static int clampCursorOffset(int offset, int lineLength) {
        const long long last = static_cast<long long>(lineLength) + kMaxPastEnd;
        return offset < 0 ? 0 : static_cast<int>(std::min<long long>(offset, std::min<long long>(last, INT_MAX)));
    }
    static constexpr int kBookmarkCount = 10;
    static constexpr std::string_view kOpenBraces = "{[(<";
    static constexpr std::string_view kCloseBraces = "}])>";

    Document();
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Collaborators and settings.
    void setSettings(const EditSettings& settings) { m_settings = settings; }
    const EditSettings& settings() const { return m_settings; }
    // How the lines' bytes become display cells.
    LineLayout layout() const { return {m_settings.tabSize, m_encoding}; }
    void setLanguageRules(std::shared_ptr<const LanguageRules> rules);
    const LanguageRules& languageRules() const { return *m_rules; }
    void setCuaMarkingRule(std::shared_ptr<const CuaMarkingRule> rule) { m_cuaRule = std::move(rule); }
    // The messenger for the busy cursor of long undo steps; may be null.
    void setMessenger(Messenger* messenger) { m_messenger = messenger; }
    Messenger* messenger() const { return m_messenger; }

    // Turns the document into a new one of a single empty line.
    void makeNew();

    // Lines.
    int lineCount() const { return m_lines.count(); }
    // The line at an index, or an empty line for an index that does not exist.
    const DocLine& line(int index) const;
    const DocLine& currentLine() const { return line(m_cursorLine); }
    std::string_view lineText(int index) const { return line(index).text(); }
    // Calls f on every line in order, without an index look-up per line (a save's walk).
    template <typename F>
    void forEachLine(F&& f) const {
        m_lines.forEach(std::forward<F>(f));
    }
    // The whole text with the lines joined by a separator (tests, scripts, small documents).
    std::string text(std::string_view separator = "\n") const;

    // The cursor. The line may equal the line count: the line there is created by the first
    // change made on it.
    int cursorLine() const { return m_cursorLine; }
    int cursorOffset() const { return m_cursorOffset; }
    int cursorColumn() const;
    bool cursorAtStart() const { return m_cursorOffset == 0; }
    bool cursorAtEnd() const { return m_cursorOffset == currentLine().length(); }
    bool cursorWithin() const { return m_cursorOffset < currentLine().length(); }
    bool cursorBeyond() const { return m_cursorOffset > currentLine().length(); }

    // The column of an offset of a line and the offset of a column, as DocLine maps them; on a
    // long line from checkpoints kept for the few long lines asked about last.
    int columnOfOffset(int index, int offset) const;
    int offsetOfColumn(int index, int column) const;
    // The colour points of a long line (see ColumnIndex): a cache the painter fills and reads,
    // emptied when the line's text before them changes, when the language rules change or when
    // `tag` differs from the tag they were made with.
    std::vector<ColourPoint>& colourPoints(int index, uint64_t tag) const;
    // How many times the checkpoints of a long line were started afresh.
    uint64_t checkpointRebuilds() const { return m_columns.rebuilds(); }

    // Cursor moves.
    void setCursorOffset(int offset);
    void setCursorColumn(int column);
    // False when refused: moving down from an empty last line.
    bool goToLine(int line);
    // False when the cursor did not move: refused, or already one past the last line.
    bool nextLine() { return m_cursorLine < lineCount() && goToLine(m_cursorLine + 1); }
    bool previousLine();
    bool firstLine() { return goToLine(0); }
    bool lastLine() { return goToLine(lineCount()); }
    // Goes to a line (clamped to the line count) without refusing to leave an empty last line.
    void moveToLine(int line);
    void goToPosition(int line, int column);

    // Text on the cursor line.
    // Typing: false (and nothing changed) when the line would grow longer than an offset can
    // count. A character is given as its bytes in the document's encoding (one
    // byte, or a whole UTF-8 sequence); overwriting replaces the whole character at the cursor.
    bool insertCharacter(std::string_view character, int count = 1);
    bool overwriteCharacter(std::string_view character, int count = 1);
    bool insertCharacter(char ch, int count = 1) { return insertCharacter(std::string_view(&ch, 1), count); }
    bool overwriteCharacter(char ch, int count = 1) {
        return overwriteCharacter(std::string_view(&ch, 1), count);
    }
    // Inserts or overwrites by "InsertMode".
    bool typeCharacter(std::string_view character, int count = 1);
    bool typeCharacter(char ch, int count = 1) { return typeCharacter(std::string_view(&ch, 1), count); }
    void insertText(std::string_view text);
    // Edits at an explicit line and byte offset, leaving the cursor alone. Each is one record,
    // whatever the number of bytes, and gives the number of bytes it inserted or deleted (fewer
    // when the line ends first).
    int insertAt(int line, int offset, std::string_view text);
    // Puts `text` in place of `count` bytes at an offset of a line as one record (a line rebuilt
    // by many replacements changes once); false when the line or range is not there.
    bool replaceAt(int line, int offset, int count, std::string_view text);
    int deleteAt(int line, int offset, int count);
    // Deletes characters at the cursor (a UTF-8 sequence whole); at or beyond the end of the line
    // each one joins the next line.
    void deleteCharacters(int count = 1);
    // Deletes bytes at the cursor: a span whose ends the caller took from character boundaries.
    void deleteBytes(int count);
    void deleteToLineStart();
    void deleteToLineEnd();
    void deleteColumnRange(int fromColumn, int toColumn);
    // Fills the gap between the end of the line and a cursor beyond it.
    void fillToCursor();
    void changeCase(int startColumn, int count, CaseChange change);
    // Overwrites one byte at an offset of the cursor line (extending the line at its end).
    void overwriteAt(int offset, char ch);
    // Whether `count` characters of `size` bytes typed at the cursor keep the line countable.
    bool typingFits(int size, int count) const;
    // Replaces the character at an offset of the cursor line by bytes (appending at the end).
    void replaceCharacterAt(int offset, std::string_view character);

    // Lines.
    void insertLine(DocLine line);
    void insertEmptyLine();
    bool splitLine();
    bool joinLine();
    bool deleteLine(int index);
    void newLine(NewLineMode mode = NewLineMode::ByInsertMode);

    // Words: runs of bytes that are neither blanks nor the language's break characters.
    bool isBlank(char ch) const { return ch == ' ' || ch == '\t'; }
    bool isWordBreak(char ch) const;
    bool isWordByte(char ch) const { return ch != '\0' && !isBlank(ch) && !isWordBreak(ch); }
    // The offsets [start, end) of the word at an offset of the cursor line; empty when none.
    std::pair<int, int> wordAt(int offset) const;
    // The offset past the current run and the blanks after it, and the reverse.
    int nextWordOffset(int offset) const;
    int previousWordOffset(int offset) const;

    // Comments.
    CommentMarkers commentMarkers() const { return m_markers; }
    // The first comment close is looked for from an offset where no close can end before it.
    CommentStart commentStart(int index, int searchFrom = 0) const {
        return line(index).commentStart(m_markers, searchFrom);
    }
    bool hasCommentMarkers() const { return !m_markers.open.empty() || !m_markers.close.empty(); }
    // Recomputes the comment state of every line (after the language's markers changed).
    void rescanComments();
    // Ends a load. Loaded lines get their comment state as they are appended, with the markers
    // of the rules the document has then: an opener that gives the document its language
    // before loading has the text scanned once, in the reading pass.
    void finishLoad();

    // The marked area.
    const MarkState& mark() const { return m_mark; }
    bool hasMark() const { return m_mark.exists(); }
    bool isInside(int line, int column) const { return m_mark.isInside(line, column); }
    void beginMark(MarkType type);
    void markStart();
    void markStart(MarkPoint point);
    void markEnd();
    void markEnd(MarkPoint point);
    void resumeMarking(MarkType type);
    void clearMark();
    // Switches whether the mark's moving point follows the cursor, keeping the area.
    void setMarkingActive(bool active);
    void shiftMark(int lineDelta, int columnDelta);
    // Marks a column area from one point to another, replacing any mark (a found match).
    void markRange(MarkPoint start, MarkPoint end);

    // The observer of every edit, undo and redo (the recovery journal); may be null.
    void setEditObserver(EditObserver* observer) { m_observer = observer; }
    // Empties the undo and redo stacks and tells the edit observer.
    void flushUndo();
    EditObserver* editObserver() const { return m_observer; }

    // Undo and redo: the replaying flag is set while they run.
    UndoStore& undoStore() { return m_undo; }
    bool undo();
    bool redo();
    void nextGroup() { m_undo.nextGroup(); }

    // Flags and plain state.
    // A change of the line ends counts as a modification until the next save.
    bool isModified() const { return m_modifications != 0 || m_lineEndsChanged || m_restored; }
    int modificationCount() const { return m_modifications; }
    // A count that grows with every change of the text, by an edit, an undo or a load, and with a
    // change of the encoding it is read in; a save leaves it. Equal counts mean the same text.
    uint64_t textSerial() const { return m_textSerial; }
    // Load and save make the document unmodified.
    void markUnmodified() {
        m_modifications = 0;
        m_lineEndsChanged = false;
        m_restored = false;
    }
    // A text brought back from elsewhere than its file (a recovered snapshot) differs from the
    // file: it counts as modified until the next save.
    void markRestored() { m_restored = true; }
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool isLoaded() const { return m_loaded; }
    void setLoaded(bool loaded) { m_loaded = loaded; }
    bool nullsReplaced() const { return m_nullsReplaced; }
    void setNullsReplaced(bool replaced) { m_nullsReplaced = replaced; }
    // The document holds only part of its file: a load is under way or was stopped. It is read
    // only and is never written.
    bool isLoadIncomplete() const { return m_loadIncomplete; }
    void setLoadIncomplete(bool incomplete) { m_loadIncomplete = incomplete; }
    // Guards the backup against running again while it writes.
    bool backupBusy() const { return m_backupBusy; }
    void setBackupBusy(bool busy) { m_backupBusy = busy; }
    bool isReplaying() const { return m_replaying; }
    void setReplaying(bool replaying) { m_replaying = replaying; }
    // The painter clears a line's redraw flag once it has drawn it.
    void clearLineChanged(int index);
    // Whether the whole window must be repainted; reading it clears it.
    bool takeRedrawAll();
    bool redrawAll() const { return m_redrawAll; }
    int widestLine() const { return m_widestLine; }
    void setWidestLine(int width) { m_widestLine = std::max(width, 80); }

    // How the bytes stand for characters, and the line ends the file is written with. Loading sets
    // both from the file; a new document takes them from the options.
    TextEncoding encoding() const { return m_encoding; }
    void setEncoding(TextEncoding encoding);
    // The user's switch of the encoding: as setEncoding, and the edit observer is told.
    void switchEncoding(TextEncoding encoding);
    LineEnds lineEnds() const { return m_lineEnds; }
    void setLineEnds(LineEnds ends) { m_lineEnds = ends; }
    // The user's switch: every line is written with these ends from now on (a file that mixed
    // both is made uniform); the document counts as modified.
    void changeLineEnds(LineEnds ends);
    // Whether the file was read with both line ends and each line keeps its own (until the user
    // switches them).
    bool hasMixedLineEnds() const { return m_mixedLineEnds; }
    // A file that began with a UTF-8 byte-order mark gets it back when it is written.
    bool hasByteOrderMark() const { return m_byteOrderMark; }
    void setByteOrderMark(bool mark) { m_byteOrderMark = mark; }

    // Character steps on the cursor line in the document's encoding: a UTF-8 sequence is one
    // character; past the end of the line each step is one byte of virtual space.
    int nextCharacterOffset(int offset) const;
    int previousCharacterOffset(int offset) const;
    // The bytes of the character at an offset of the cursor line (1 past the end).
    int characterLength(int offset) const { return nextCharacterOffset(offset) - offset; }

    // The file (see DocumentFile for loading and saving).
    const std::string& fileName() const { return m_fileName; }
    // The name part: after the last separator, "bad.txt" for a new document.
    std::string namePart() const;
    bool hasName() const { return !m_fileName.empty(); }
    void setFileName(std::string path) { m_fileName = std::move(path); }
    int64_t fileTime() const { return m_fileTime; }
    // The size and hash of the bytes the text was last read from (or written to) its file.
    uint64_t fileSize() const { return m_fileSize; }
    uint64_t fileHash() const { return m_fileHash; }
    void setFileContent(uint64_t size, uint64_t hash) {
        m_fileSize = size;
        m_fileHash = hash;
    }
    void setFileTime(int64_t time) { m_fileTime = time; }
    // Milliseconds of the program clock at the last backup; negative when never recorded.
    int64_t lastBackup() const { return m_lastBackup; }
    void setLastBackup(int64_t milliseconds) { m_lastBackup = milliseconds; }

    std::array<int, kBookmarkCount>& bookmarks() { return m_bookmarks; }
    const std::array<int, kBookmarkCount>& bookmarks() const { return m_bookmarks; }

    // Loading: empties the document (lines, load buffer, undo store, mark, cursor) and appends
    // lines whose bytes are kept in the load buffer.
    void clearForLoad(std::size_t expectedBytes);
    // otherLineEnd: the line came with the other line end than the document's.
    void appendLoadedLine(std::string_view bytes, bool otherLineEnd = false);
    // Keeps a block a file was read into.
    void keepLoadBlock(TextArena::Block block) { m_arena.keep(std::move(block)); }
    // A line a load cut from a kept block. markerFree: the load found no byte in the line that
    // starts a comment marker, so the line is not scanned (it carries the depth from above).
    struct BorrowedLine {
        const char* data;
        uint32_t length;
        bool otherLineEnd;
        bool markerFree;
    };
    // Appends lines reading bytes that lie in a block kept (or about to be kept) without copying
    // them, in order.
    void appendBorrowedLines(std::span<const BorrowedLine> lines);
    // A load's estimate of the lines still to come.
    void expectMoreLines(std::size_t lines) { m_lines.reserve(m_lines.count() + lines); }
    // A line reading a copy of the bytes in the load buffer (for insert file).
    DocLine makeLoadedLine(std::string_view bytes);

    // Raw changes, open to edit records only.
    DocLine& lineForEdit(EditKey, int index) { return m_lines.at(index); }
    // Line insertion and removal; the delta is counted as for lineTextChanged (0 when the record
    // counts its change through the text of a neighbouring line).
    void placeLine(EditKey, int index, DocLine line, int modificationDelta);
    DocLine removeLine(EditKey, int index, int modificationDelta);
    void setCursor(EditKey, int line, int offset);
    void setMarkState(EditKey, const MarkState& mark);
    // A text record changed a line from an offset on: counts the modification (+1 execute, -1
    // undo), marks the line for redraw and keeps the comment state and the column checkpoints.
    void lineTextChanged(EditKey, int index, int modificationDelta, int fromOffset = 0);
    // The same for a change the record can describe (bytes `removed` gave way to `inserted` at
    // an offset): a change that cannot touch a comment marker leaves the comment state alone, so
    // its cost follows the bytes changed rather than the length of the line.
    struct LineChange {
        int offset = 0;
        std::string_view removed;
        std::string_view inserted;
    };
    void lineTextChanged(EditKey, int index, int modificationDelta, const LineChange& change);
    // The cursor moved: the mark follows it or a plain move removes it.
    void cursorMoved(EditKey);

private:
    // Executes a record and keeps it; false when it was refused.
    bool run(std::unique_ptr<EditRecord> record);
    // A line operation found no line to work on: reported to the user as an internal error
    // with the module and source line, after which the editor carries on.
    // (The line is passed explicitly: the fuzzing compiler's library has no std::source_location.)
    void reportMissingLine(int sourceLine) const;
    void ensureCurrentLine();
    enum class DeleteUnit { Characters, Bytes };
    void deleteAtCursor(int count, DeleteUnit unit);
    void setMark(const MarkState& mark);
    // Recomputes the comment state from a line down, the line starting at a depth.
    void updateComments(int from, int depth, bool forceFirst);
    // The depth carried into a line from the lines above it.
    int depthAbove(int index) const;
    // What every change of a line's text does: counts it, marks the line for redraw, follows its
    // width and drops the column checkpoints after it.
    DocLine& noteLineChange(int index, int modificationDelta, int fromOffset);
    void markLinesChanged(int from, int to);
    MarkPoint cursorPoint() const { return {cursorColumn(), m_cursorLine}; }

    // The load buffer is declared first so that it outlives the lines and records reading it.
    TextArena m_arena;
    LineList m_lines;
    mutable ColumnIndex m_columns;
    UndoStore m_undo;
    DocLine m_sentinel;

    EditSettings m_settings;
    std::shared_ptr<const LanguageRules> m_rules;
    std::shared_ptr<const CuaMarkingRule> m_cuaRule;
    // The markers are copied: a profile may change while the document keeps its state.
    std::string m_openMarker;
    std::string m_closeMarker;
    CommentMarkers m_markers;
    Messenger* m_messenger = nullptr;

    int m_cursorLine = 0;
    int m_cursorOffset = 0;
    MarkState m_mark;

    int m_modifications = 0;
    uint64_t m_textSerial = 0;
    bool m_readOnly = false;
    bool m_loaded = false;
    bool m_nullsReplaced = false;
    bool m_loadIncomplete = false;
    bool m_redrawAll = false;
    bool m_replaying = false;
    bool m_backupBusy = false;
    int m_widestLine = 80;
    // The open-comment depth at the end of the last line appended by a load.
    int m_loadDepth = 0;

    TextEncoding m_encoding = TextEncoding::Windows1252;
    LineEnds m_lineEnds = LineEnds::Dos;
    bool m_byteOrderMark = false;
    bool m_lineEndsChanged = false;
    bool m_restored = false;
    bool m_mixedLineEnds = false;

    std::string m_fileName;
    int64_t m_fileTime = 0;
    uint64_t m_fileSize = 0;
    uint64_t m_fileHash = 0;
    EditObserver* m_observer = nullptr;
    int64_t m_lastBackup = -1;
    std::array<int, kBookmarkCount> m_bookmarks;
};

// Sets the replaying flag of a document for its lifetime, restoring the previous value.
class ReplayingScope {
public:
    explicit ReplayingScope(Document& document) : m_document(document), m_previous(document.isReplaying()) {
        m_document.setReplaying(true);
    }
    ~ReplayingScope() { m_document.setReplaying(m_previous); }
    ReplayingScope(const ReplayingScope&) = delete;
    ReplayingScope& operator=(const ReplayingScope&) = delete;

private:
    Document& m_document;
    bool m_previous;
};

} // namespace vexa
