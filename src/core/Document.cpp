// The document: its lines, cursor, mark and the operations that change them through records.
#include "core/Document.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "core/EditRecords.h"
#include "core/Messenger.h"
#include "settings/Format.h"

namespace vexa {
namespace {

// Beyond this many lines a change asks for the whole window rather than line by line.
constexpr int kMaxChangedLines = 256;

char convertCase(char ch, CaseChange change) {
    auto byte = static_cast<unsigned char>(ch);
    // Only the plain letters change: bytes above 127 depend on the code page.
    if (byte > 127) {
        return ch;
    }
    switch (change) {
    case CaseChange::Lower:
        return static_cast<char>(std::tolower(byte));
    case CaseChange::Upper:
        return static_cast<char>(std::toupper(byte));
    case CaseChange::Swap:
        if (std::islower(byte)) {
            return static_cast<char>(std::toupper(byte));
        }
        return static_cast<char>(std::tolower(byte));
    }
    return ch;
}

} // namespace

Document::Document() : m_rules(std::make_shared<LanguageRules>()) {
    m_bookmarks.fill(-1);
}

Document::~Document() {
    // Records may hold lines that read the load buffer; they go first.
    m_undo.flush();
}

void Document::setLanguageRules(std::shared_ptr<const LanguageRules> rules) {
    m_rules = rules ? std::move(rules) : std::make_shared<LanguageRules>();
    const CommentMarkers markers = m_rules->commentMarkers();
    m_redrawAll = true;
    m_columns.clearColours();
    // Every edit keeps the comment state right for the markers the document holds; only other
    // markers need the whole text scanned again. Giving an opened document the rules it was
    // loaded with (the window does) costs nothing.
    if (markers.open == m_markers.open && markers.close == m_markers.close) {
        return;
    }
    m_openMarker.assign(markers.open);
    m_closeMarker.assign(markers.close);
    m_markers = {m_openMarker, m_closeMarker};
    rescanComments();
}

void Document::makeNew() {
    clearForLoad(0);
    m_lines.append(DocLine());
}

const DocLine& Document::line(int index) const {
    if (index < 0 || index >= m_lines.count()) {
        return m_sentinel;
    }
    return m_lines.at(index);
}

std::string Document::text(std::string_view separator) const {
    std::string result;
    for (int i = 0; i < lineCount(); ++i) {
        if (i > 0) {
            result.append(separator);
        }
        result.append(line(i).text());
    }
    return result;
}

void Document::setEncoding(TextEncoding encoding) {
    if (encoding == m_encoding) {
        return;
    }
    // The bytes stay as they are; only how they are read changes. The cursor keeps to the start
    // of the character it now stands in.
    m_encoding = encoding;
    ++m_textSerial;
    m_cursorOffset = text::characterStart(currentLine().text(), m_cursorOffset, encoding);
    m_redrawAll = true;
}

void Document::switchEncoding(TextEncoding encoding) {
    if (encoding == m_encoding) {
        return;
    }
    if (m_observer != nullptr) {
        m_observer->beforeRecord();
    }
    setEncoding(encoding);
    if (m_observer != nullptr) {
        m_observer->encodingSwitched();
    }
}

void Document::flushUndo() {
    m_undo.flush();
    if (m_observer != nullptr) {
        m_observer->undoFlushed();
    }
}

void Document::changeLineEnds(LineEnds ends) {
    if (m_observer != nullptr) {
        m_observer->beforeRecord();
    }
    for (int i = 0; i < lineCount(); ++i) {
        if (m_lines.at(i).hasOtherLineEnd()) {
            m_lines.at(i).setOtherLineEnd(false);
            m_lineEndsChanged = true;
        }
    }
    if (ends != m_lineEnds) {
        m_lineEnds = ends;
        m_lineEndsChanged = true;
    }
    m_mixedLineEnds = false;
    if (m_observer != nullptr) {
        m_observer->lineEndsChanged();
    }
}

int Document::nextCharacterOffset(int offset) const {
    return text::nextCharacter(currentLine().text(), offset, m_encoding);
}

int Document::previousCharacterOffset(int offset) const {
    return text::previousCharacter(currentLine().text(), offset, m_encoding);
}

int Document::cursorColumn() const {
    return columnOfOffset(m_cursorLine, m_cursorOffset);
}

int Document::columnOfOffset(int index, int offset) const {
    return m_columns.columnOfOffset(index, line(index), offset, layout());
}

int Document::offsetOfColumn(int index, int column) const {
    return m_columns.offsetOfColumn(index, line(index), column, layout());
}

std::vector<ColourPoint>& Document::colourPoints(int index, uint64_t tag) const {
    return m_columns.colourPoints(index, line(index), layout(), tag);
}

bool Document::run(std::unique_ptr<EditRecord> record) {
    if (m_observer != nullptr) {
        m_observer->beforeRecord();
    }
    if (!record->execute(*this)) {
        return false;
    }
    // The observer sees the record as it ran, without a copy of its fields.
    if (m_observer != nullptr) {
        m_observer->recorded(record->view(*this), m_undo.currentGroup());
    }
    m_undo.record(std::move(record));
    return true;
}

void Document::reportMissingLine(int sourceLine) const {
    if (m_messenger != nullptr) {
        m_messenger->messageBox(formatText(kUnexpectedErrorFormat, kDocumentModule.data(), sourceLine));
    }
}

// ---- cursor ----

void Document::setCursorOffset(int offset) {
    offset = clampCursorOffset(offset, currentLine().length());
    // The cursor never stands inside a UTF-8 sequence.
    offset = text::characterStart(currentLine().text(), offset, m_encoding);
    if (offset == m_cursorOffset && !m_mark.exists()) {
        return;
    }
    run(std::make_unique<MoveColumnRecord>(offset));
}

void Document::setCursorColumn(int column) {
    setCursorOffset(offsetOfColumn(m_cursorLine, std::max(column, 0)));
}

bool Document::goToLine(int target) {
    int count = lineCount();
    target = std::clamp(target, 0, count);
    if (target > m_cursorLine && m_cursorLine == count - 1 && line(m_cursorLine).empty()) {
        return false;
    }
    if (target == m_cursorLine) {
        return true;
    }
    moveToLine(target);
    return true;
}

bool Document::previousLine() {
    if (m_cursorLine == 0) {
        return false;
    }
    return goToLine(m_cursorLine - 1);
}

void Document::goToPosition(int targetLine, int column) {
    goToLine(targetLine);
    setCursorColumn(column);
}

void Document::moveToLine(int target) {
    run(std::make_unique<GoToLineRecord>(std::clamp(target, 0, lineCount())));
}

void Document::ensureCurrentLine() {
    if (m_cursorLine >= lineCount()) {
        // The line one past the end comes into being with the first change made on it.
        run(std::make_unique<InsertLineRecord>(lineCount(), DocLine()));
    }
}

// ---- text on the cursor line ----

void Document::fillToCursor() {
    int length = currentLine().length();
    if (m_cursorOffset <= length) {
        return;
    }
    ensureCurrentLine();
    // The filler goes in as one change, however wide the gap.
    if (!m_settings.useTabs) {
        insertAt(m_cursorLine, length, std::string(static_cast<std::size_t>(m_cursorOffset - length), ' '));
        return;
    }
    const int tabSize = std::max(m_settings.tabSize, 1);
    const int target = cursorColumn();
    int column = columnOfOffset(m_cursorLine, length);
    std::string filler;
    while ((column / tabSize + 1) * tabSize <= target) {
        filler += '\t';
        column = (column / tabSize + 1) * tabSize;
    }
    filler.append(static_cast<std::size_t>(std::max(target - column, 0)), ' ');
    insertAt(m_cursorLine, length, filler);
    setCursorOffset(offsetOfColumn(m_cursorLine, target));
}

// Typed characters go at the cursor and the cursor steps over them. Typing that would make the
// line longer than an offset can count is refused.
bool Document::insertCharacter(std::string_view character, int count) {
    const int size = static_cast<int>(character.size());
    if (!typingFits(size, count)) {
        return false;
    }
    ensureCurrentLine();
    fillToCursor();
    const int at = m_cursorOffset;
    int inserted = 0;
    for (int i = 0; i < count; ++i) {
        const int done = insertAt(m_cursorLine, at + inserted, character);
        inserted += done;
        if (done < size) {
            break;
        }
    }
    setCursorOffset(at + inserted);
    return true;
}

bool Document::overwriteCharacter(std::string_view character, int count) {
    const int size = static_cast<int>(character.size());
    if (!typingFits(size, count)) {
        return false;
    }
    ensureCurrentLine();
    fillToCursor();
    int at = m_cursorOffset;
    for (int i = 0; i < count; ++i) {
        replaceCharacterAt(at, character);
        at += size;
    }
    setCursorOffset(at);
    return true;
}

bool Document::typingFits(int size, int count) const {
    if (size <= 0 || count < 0) {
        return false;
    }
    const long long end = std::max<long long>(m_cursorOffset, currentLine().length());
    return end + static_cast<long long>(size) * count <= INT_MAX - kMaxPastEnd;
}

void Document::replaceCharacterAt(int offset, std::string_view character) {
    const int length = currentLine().length();
    const int old = offset < length ? characterLength(offset) : 0;
    if (character.size() == 1 && old <= 1) {
        run(std::make_unique<OverwriteCharacterRecord>(m_cursorLine, offset, character[0]));
        return;
    }
    // A character of another size: its bytes go in place of the old character's.
    deleteAt(m_cursorLine, offset, old);
    insertAt(m_cursorLine, offset, character);
}

bool Document::typeCharacter(std::string_view character, int count) {
    return m_settings.insertMode ? insertCharacter(character, count) : overwriteCharacter(character, count);
}

// A text inserted in one piece goes at explicit offsets from where the cursor stood; only then
// does the cursor move, so a text reaching past the cursor limit keeps its order while the cursor
// stops at the limit.
void Document::insertText(std::string_view text) {
    if (text.empty()) {
        return;
    }
    ensureCurrentLine();
    fillToCursor();
    const int at = m_cursorOffset;
    const int inserted = insertAt(m_cursorLine, at, text);
    setCursorOffset(at + inserted);
}

int Document::insertAt(int index, int offset, std::string_view text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX - kMaxPastEnd - line(index).length())) {
        return 0;
    }
    return replaceAt(index, offset, 0, text) ? static_cast<int>(text.size()) : 0;
}

int Document::deleteAt(int index, int offset, int count) {
    const int length = line(index).length();
    if (count <= 0 || offset < 0 || offset >= length) {
        return 0;
    }
    const int deleted = std::min(count, length - offset);
    return replaceAt(index, offset, deleted, {}) ? deleted : 0;
}

bool Document::replaceAt(int index, int offset, int count, std::string_view text) {
    return run(std::make_unique<ReplaceBytesRecord>(index, offset, count, std::string(text)));
}

void Document::deleteCharacters(int count) {
    deleteAtCursor(count, DeleteUnit::Characters);
}

void Document::deleteBytes(int count) {
    deleteAtCursor(count, DeleteUnit::Bytes);
}

void Document::deleteAtCursor(int count, DeleteUnit unit) {
    if (m_cursorLine >= lineCount()) {
        return;
    }
    // Joining is refused on the last line, so filling up to the cursor there would only add
    // blanks that nothing follows.
    if (m_cursorLine < lineCount() - 1) {
        fillToCursor();
    }
    for (int i = 0; i < count; ++i) {
        if (m_cursorOffset < currentLine().length()) {
            const int bytes = unit == DeleteUnit::Characters ? characterLength(m_cursorOffset) : 1;
            deleteAt(m_cursorLine, m_cursorOffset, bytes);
        } else if (!joinLine()) {
            break;
        }
    }
}

void Document::deleteToLineStart() {
    int count = std::min(m_cursorOffset, currentLine().length());
    setCursorOffset(0);
    if (count > 0) {
        deleteBytes(count);
    }
}

void Document::deleteToLineEnd() {
    int length = currentLine().length();
    if (m_cursorOffset < length) {
        deleteBytes(length - m_cursorOffset);
    }
}

void Document::deleteColumnRange(int fromColumn, int toColumn) {
    const DocLine& current = currentLine();
    int from = current.offsetOfColumn(fromColumn, layout());
    int to = std::min(current.offsetOfColumn(toColumn, layout()), current.length());
    setCursorOffset(from);
    if (to > from) {
        deleteBytes(to - from);
    }
}

void Document::changeCase(int startColumn, int count, CaseChange change) {
    if (m_cursorLine >= lineCount()) {
        reportMissingLine(__LINE__);
        return;
    }
    const DocLine& current = currentLine();
    int from = current.offsetOfColumn(startColumn, layout());
    int to = std::min(from + std::max(count, 0), current.length());
    for (int offset = from; offset < to; ++offset) {
        char old = currentLine().at(offset);
        char converted = convertCase(old, change);
        if (converted != old) {
            run(std::make_unique<OverwriteCharacterRecord>(m_cursorLine, offset, converted));
        }
    }
}

void Document::overwriteAt(int offset, char ch) {
    ensureCurrentLine();
    for (int end = currentLine().length(); end < offset; ++end) {
        run(std::make_unique<OverwriteCharacterRecord>(m_cursorLine, end, ' '));
    }
    run(std::make_unique<OverwriteCharacterRecord>(m_cursorLine, std::max(offset, 0), ch));
}

// ---- lines ----

void Document::insertLine(DocLine line) {
    run(std::make_unique<InsertLineRecord>(std::min(m_cursorLine, lineCount()), std::move(line)));
}

void Document::insertEmptyLine() {
    insertLine(DocLine());
}

bool Document::splitLine() {
    ensureCurrentLine();
    return run(std::make_unique<SplitLineRecord>(m_cursorLine, m_cursorOffset));
}

bool Document::joinLine() {
    // Joining is refused at the last line as a matter of course; without a line at the cursor
    // there is nothing to join at all.
    if (m_cursorLine >= lineCount()) {
        reportMissingLine(__LINE__);
        return false;
    }
    return run(std::make_unique<JoinLineRecord>(m_cursorLine));
}

bool Document::deleteLine(int index) {
    if (index < 0 || index >= lineCount()) {
        reportMissingLine(__LINE__);
        return false;
    }
    return run(std::make_unique<DeleteLineRecord>(index));
}

void Document::newLine(NewLineMode mode) {
    if (!m_settings.insertMode && mode != NewLineMode::Forced) {
        goToLine(m_cursorLine + 1);
        return;
    }
    ensureCurrentLine();
    // A new line splits the cursor line: both parts end the way it ended.
    DocLine empty;
    empty.setOtherLineEnd(currentLine().hasOtherLineEnd());
    if (m_cursorOffset >= currentLine().length()) {
        moveToLine(m_cursorLine + 1);
        insertLine(std::move(empty));
    } else if (m_cursorOffset == 0) {
        insertLine(std::move(empty));
        moveToLine(m_cursorLine + 1);
    } else {
        splitLine();
        moveToLine(m_cursorLine + 1);
    }
}

// ---- words ----

bool Document::isWordBreak(char ch) const {
    return ch != '\0' && m_rules->wordBreakCharacters().find(ch) != std::string_view::npos;
}

std::pair<int, int> Document::wordAt(int offset) const {
    const DocLine& current = currentLine();
    if (!isWordByte(current.at(offset))) {
        return {offset, offset};
    }
    int start = offset;
    while (start > 0 && isWordByte(current.at(start - 1))) {
        --start;
    }
    int end = offset;
    while (end < current.length() && isWordByte(current.at(end))) {
        ++end;
    }
    return {start, end};
}

int Document::nextWordOffset(int offset) const {
    const DocLine& current = currentLine();
    int length = current.length();
    int i = std::max(offset, 0);
    if (i >= length) {
        return i;
    }
    if (isWordByte(current.at(i))) {
        while (i < length && isWordByte(current.at(i))) {
            ++i;
        }
    } else if (!isBlank(current.at(i))) {
        while (i < length && isWordBreak(current.at(i))) {
            ++i;
        }
    }
    while (i < length && isBlank(current.at(i))) {
        ++i;
    }
    return i;
}

int Document::previousWordOffset(int offset) const {
    const DocLine& current = currentLine();
    int i = std::min(std::max(offset, 0), current.length());
    while (i > 0 && isBlank(current.at(i - 1))) {
        --i;
    }
    if (i == 0) {
        return 0;
    }
    if (isWordByte(current.at(i - 1))) {
        while (i > 0 && isWordByte(current.at(i - 1))) {
            --i;
        }
    } else {
        while (i > 0 && isWordBreak(current.at(i - 1))) {
            --i;
        }
    }
    return i;
}

// ---- comments ----

void Document::rescanComments() {
    int depth = 0;
    m_lines.forEach([&](DocLine& line) { depth = line.scanComments(depth, m_markers); });
    m_redrawAll = true;
}

void Document::finishLoad() {
    // Each line got its comment state as it was appended.
    m_redrawAll = true;
    ++m_textSerial;
}

// Recomputes the comment state from a line down until a line's carried-in depth no longer
// changes: a line with a close marker ends at a depth its start cannot influence, so the walk
// stops after it, as it does at the last line.
void Document::updateComments(int from, int depth, bool forceFirst) {
    if (!hasCommentMarkers()) {
        return;
    }
    int count = lineCount();
    if (from < 0 || from >= count) {
        return;
    }
    for (int i = from; i < count; ++i) {
        DocLine& current = m_lines.at(i);
        if (!(i == from && forceFirst) && current.startDepth() == depth) {
            break;
        }
        depth = current.scanComments(depth, m_markers);
        current.setChanged(true);
    }
}

int Document::depthAbove(int index) const {
    if (index <= 0 || !hasCommentMarkers()) {
        return 0;
    }
    // Every line's start depth is the end depth of the line above it: the line below holds it.
    if (index < lineCount()) {
        return m_lines.at(index).startDepth();
    }
    const DocLine& above = m_lines.at(index - 1);
    return above.endDepth(above.startDepth(), m_markers);
}

// ---- the marked area ----

void Document::setMark(const MarkState& mark) {
    if (!(mark == m_mark)) {
        run(std::make_unique<MarkRecord>(mark));
    }
}

void Document::beginMark(MarkType type) {
    MarkState mark = m_mark;
    mark.type = type;
    setMark(mark);
}

void Document::markStart() {
    markStart(cursorPoint());
}

void Document::markStart(MarkPoint point) {
    MarkState mark = m_mark;
    mark.anchor = point;
    mark.moving = point;
    mark.active = true;
    setMark(mark);
}

void Document::markEnd() {
    markEnd(cursorPoint());
}

void Document::markEnd(MarkPoint point) {
    MarkState mark = m_mark;
    mark.moving = point;
    mark.active = false;
    if (!mark.exists()) {
        mark.type = MarkType::None;
    }
    setMark(mark);
}

void Document::resumeMarking(MarkType type) {
    MarkState mark = m_mark;
    mark.type = type;
    mark.active = true;
    setMark(mark);
}

void Document::clearMark() {
    setMark(MarkState());
}

void Document::setMarkingActive(bool active) {
    MarkState mark = m_mark;
    mark.active = active;
    setMark(mark);
}

void Document::shiftMark(int lineDelta, int columnDelta) {
    MarkState mark = m_mark;
    for (MarkPoint* point : {&mark.anchor, &mark.moving}) {
        point->line = std::max(point->line + lineDelta, 0);
        point->column = std::max(point->column + columnDelta, 0);
    }
    setMark(mark);
}

void Document::markRange(MarkPoint start, MarkPoint end) {
    clearMark();
    beginMark(MarkType::Column);
    markStart(start);
    markEnd(end);
}

void Document::markLinesChanged(int from, int to) {
    if (from > to) {
        std::swap(from, to);
    }
    from = std::max(from, 0);
    to = std::min(to, lineCount() - 1);
    if (to - from > kMaxChangedLines) {
        m_redrawAll = true;
        return;
    }
    for (int i = from; i <= to; ++i) {
        m_lines.at(i).setChanged(true);
    }
}

// ---- undo ----

bool Document::undo() {
    ReplayingScope replaying(*this);
    const bool done = m_undo.undo(*this, m_messenger);
    if (done && m_observer != nullptr) {
        m_observer->undone();
    }
    return done;
}

bool Document::redo() {
    ReplayingScope replaying(*this);
    const bool done = m_undo.redo(*this, m_messenger);
    if (done && m_observer != nullptr) {
        m_observer->redone();
    }
    return done;
}

// ---- plain state ----

void Document::clearLineChanged(int index) {
    if (index >= 0 && index < lineCount()) {
        m_lines.at(index).setChanged(false);
    }
}

bool Document::takeRedrawAll() {
    bool redraw = m_redrawAll;
    m_redrawAll = false;
    return redraw;
}

std::string Document::namePart() const {
    if (m_fileName.empty()) {
        return "bad.txt";
    }
    auto slash = m_fileName.rfind('/');
    return slash == std::string::npos ? m_fileName : m_fileName.substr(slash + 1);
}

// ---- loading ----

void Document::clearForLoad(std::size_t expectedBytes) {
    m_undo.flush();
    if (m_observer != nullptr) {
        m_observer->textReplaced();
    }
    m_lines.clear();
    m_columns.clear();
    m_arena.clear();
    m_arena.expect(expectedBytes);
    m_cursorLine = 0;
    m_cursorOffset = 0;
    m_mark = MarkState();
    m_modifications = 0;
    ++m_textSerial;
    m_nullsReplaced = false;
    m_widestLine = 80;
    m_redrawAll = true;
    m_loadDepth = 0;
    m_mixedLineEnds = false;
}

void Document::appendLoadedLine(std::string_view bytes, bool otherLineEnd) {
    const std::string_view stored = m_arena.store(bytes);
    const BorrowedLine line{stored.data(), static_cast<uint32_t>(stored.size()), otherLineEnd, false};
    appendBorrowedLines(std::span(&line, 1));
}

void Document::appendBorrowedLines(std::span<const BorrowedLine> lines) {
    // The comment state is computed while the bytes are fresh in the cache, so a loaded
    // document is scanned once, in the same pass that reads it.
    const bool markers = hasCommentMarkers();
    int depth = m_loadDepth;
    bool mixed = m_mixedLineEnds;
    for (const BorrowedLine& loaded : lines) {
        DocLine& line =
            m_lines.emplaceBack(DocLine::Borrow{}, std::string_view(loaded.data, loaded.length), loaded.otherLineEnd);
        mixed = mixed || loaded.otherLineEnd;
        if (loaded.markerFree || !markers) {
            // A line without markers only takes the depth from above (no markers: nothing to scan).
            if (depth != 0) {
                line.scanComments(depth, CommentMarkers{});
            }
        } else {
            depth = line.scanComments(depth, m_markers);
        }
    }
    m_loadDepth = depth;
    m_mixedLineEnds = mixed;
}

DocLine Document::makeLoadedLine(std::string_view bytes) {
    return DocLine::borrowing(m_arena.store(bytes));
}

// ---- raw changes for the records ----

void Document::placeLine(EditKey, int index, DocLine line, int modificationDelta) {
    const int depth = depthAbove(index);
    line.setChanged(true);
    m_lines.insert(index, std::move(line));
    m_columns.lineInserted(index);
    m_modifications += modificationDelta;
    ++m_textSerial;
    m_redrawAll = true;
    updateComments(index, depth, true);
}

DocLine Document::removeLine(EditKey, int index, int modificationDelta) {
    const int depth = depthAbove(index);
    DocLine line = m_lines.take(index);
    m_columns.lineRemoved(index);
    m_modifications += modificationDelta;
    ++m_textSerial;
    m_redrawAll = true;
    updateComments(index, depth, false);
    return line;
}

void Document::setCursor(EditKey, int lineIndex, int offset) {
    m_cursorLine = lineIndex;
    m_cursorOffset = offset;
}

void Document::setMarkState(EditKey, const MarkState& mark) {
    if (m_mark.type != MarkType::None) {
        markLinesChanged(m_mark.firstLine(), m_mark.lastLine());
    }
    m_mark = mark;
    if (m_mark.type != MarkType::None) {
        markLinesChanged(m_mark.firstLine(), m_mark.lastLine());
    }
}

void Document::lineTextChanged(EditKey, int index, int modificationDelta, int fromOffset) {
    DocLine& changed = noteLineChange(index, modificationDelta, fromOffset);
    // The line's carried-in depth is still that of the line above, which did not change.
    updateComments(index, changed.startDepth(), true);
}

void Document::lineTextChanged(EditKey, int index, int modificationDelta, const LineChange& change) {
    DocLine& changed = noteLineChange(index, modificationDelta, change.offset);
    // A marker spanning an edge of the change would need the byte beside that edge.
    const std::string_view text = changed.text();
    const auto at = static_cast<std::size_t>(std::clamp(change.offset, 0, changed.length()));
    const std::size_t end = std::min(at + change.inserted.size(), text.size());
    const std::string_view before = text.substr(at > 0 ? at - 1 : 0, at > 0 ? 1 : 0);
    const std::string_view after = text.substr(end, 1);
    // A change as large as the line costs no less to test than to scan again.
    if (change.removed.size() + change.inserted.size() >= text.size()) {
        updateComments(index, changed.startDepth(), true);
        return;
    }
    for (std::string_view bytes : {change.removed, change.inserted, before, after}) {
        if (!m_markers.absentFrom(bytes)) {
            updateComments(index, changed.startDepth(), true);
            return;
        }
    }
}

DocLine& Document::noteLineChange(int index, int modificationDelta, int fromOffset) {
    m_modifications += modificationDelta;
    ++m_textSerial;
    DocLine& changed = m_lines.at(index);
    changed.setChanged(true);
    // The scroll range follows a line that grows past the widest, without looking at the others.
    m_widestLine = std::max(m_widestLine, changed.length());
    m_columns.textChanged(index, changed, fromOffset);
    return changed;
}

void Document::cursorMoved(EditKey) {
    if (m_mark.active) {
        MarkPoint point = cursorPoint();
        if (!(point == m_mark.moving)) {
            if (m_mark.type == MarkType::Column && point.column != m_mark.moving.column) {
                // A column block changes its width on every line it covers, before and after.
                const int first = std::min({m_mark.anchor.line, m_mark.moving.line, point.line});
                const int last = std::max({m_mark.anchor.line, m_mark.moving.line, point.line});
                markLinesChanged(first, last);
            } else {
                markLinesChanged(m_mark.moving.line, point.line);
            }
            m_mark.moving = point;
        }
        return;
    }
    if (m_replaying) {
        return;
    }
    bool cuaAllowed = !m_cuaRule || m_cuaRule->cuaMarkingAllowed();
    if (m_mark.type == MarkType::CuaStream || (m_mark.exists() && cuaAllowed)) {
        clearMark();
    }
}

} // namespace vexa
