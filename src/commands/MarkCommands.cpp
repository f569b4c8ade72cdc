// The marking functions and undo/redo.
#include "commands/MarkCommands.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "commands/CommandProcessor.h"
#include "commands/FileCommands.h"
#include "commands/MarkShift.h"
#include "commands/WordRules.h"
#include "core/Document.h"
#include "core/DocumentFile.h"
#include "core/MarkedArea.h"
#include "frame/Frame.h"
#include "platform/Clipboard.h"
#include "settings/Options.h"

namespace vexa {

namespace {

constexpr std::array<FunctionId, 45> kIds = {
    functionIdOf("MarkPaste"),
    functionIdOf("MarkPasteEx"),
    functionIdOf("ClipboardPaste"),
    functionIdOf("ClipboardPasteAndMark"),
    functionIdOf("MarkFillWithSpace"),
    functionIdOf("MarkFillWithSpaceEx"),
    functionIdOf("MarkMoveToCursor"),
    functionIdOf("MarkMoveToCursorEx"),
    functionIdOf("MarkCopyToCursor"),
    functionIdOf("MarkCopyToCursorEx"),
    functionIdOf("MarkLineSet"),
    functionIdOf("MarkLineReset"),
    functionIdOf("MarkLineToggle"),
    functionIdOf("MarkLineSetEx"),
    functionIdOf("MarkBlockSet"),
    functionIdOf("MarkBlockReset"),
    functionIdOf("MarkBlockToggle"),
    functionIdOf("MarkBlockSetEx"),
    functionIdOf("MarkColumnSet"),
    functionIdOf("MarkColumnReset"),
    functionIdOf("MarkColumnToggle"),
    functionIdOf("MarkColumnSetEx"),
    functionIdOf("MarkHide"),
    functionIdOf("MarkSelectAll"),
    functionIdOf("MarkSelectAllEx"),
    functionIdOf("MarkWordStart"),
    functionIdOf("MarkWordEnd"),
    functionIdOf("MarkWordCurrent"),
    functionIdOf("MarkCaseLower"),
    functionIdOf("MarkCaseUpper"),
    functionIdOf("MarkCaseTranspose"),
    functionIdOf("MarkShiftLeft"),
    functionIdOf("MarkShiftRight"),
    functionIdOf("MarkDelete"),
    functionIdOf("MarkDeleteEx"),
    functionIdOf("MarkCopy"),
    functionIdOf("MarkCopyEx"),
    functionIdOf("MarkCut"),
    functionIdOf("MarkCutEx"),
    functionIdOf("MarkWriteToFile"),
    functionIdOf("Undo"),
    functionIdOf("Redo"),
    functionIdOf("UndoFlush"),
    kMarkCuaStart,
    kMarkCuaEnd,
};

constexpr std::string_view kNothingToUndo = "Nothing to undo!";
constexpr std::string_view kNothingToRedo = "Nothing to redo!";
constexpr std::string_view kFlushed = "Undo/Redo buffers have been flushed.";
constexpr std::string_view kWriteSuccessful = "Write successful.";
constexpr std::string_view kInvalidMove = "You have requested an invalid 'move marked area' operation.";
constexpr std::string_view kInvalidCopy = "You have requested an invalid 'copy marked area' operation.";

} // namespace

bool MarkCommands::claims(FunctionId id) {
    return std::find(kIds.begin(), kIds.end(), id) != kIds.end();
}

Document& MarkCommands::document() {
    return *m_processor.document();
}

int32_t MarkCommands::run(FunctionId id) {
    if (m_processor.document() == nullptr) {
        return 0;
    }
    Document& doc = document();
    const int tabSize = doc.settings().tabSize;
    switch (id) {
    case functionIdOf("MarkLineSet"):
        return markKind(MarkType::Line, SetMode::Set);
    case functionIdOf("MarkLineSetEx"):
        return markKind(MarkType::Line, SetMode::SetEx);
    case functionIdOf("MarkLineReset"):
        return markKind(MarkType::Line, SetMode::Reset);
    case functionIdOf("MarkLineToggle"):
        return markKind(MarkType::Line, SetMode::Toggle);
    case functionIdOf("MarkBlockSet"):
        return markKind(MarkType::Stream, SetMode::Set);
    case functionIdOf("MarkBlockSetEx"):
        return markKind(MarkType::Stream, SetMode::SetEx);
    case functionIdOf("MarkBlockReset"):
        return markKind(MarkType::Stream, SetMode::Reset);
    case functionIdOf("MarkBlockToggle"):
        return markKind(MarkType::Stream, SetMode::Toggle);
    case functionIdOf("MarkColumnSet"):
        return markKind(MarkType::Column, SetMode::Set);
    case functionIdOf("MarkColumnSetEx"):
        return markKind(MarkType::Column, SetMode::SetEx);
    case functionIdOf("MarkColumnReset"):
        return markKind(MarkType::Column, SetMode::Reset);
    case functionIdOf("MarkColumnToggle"):
        return markKind(MarkType::Column, SetMode::Toggle);
    case kMarkCuaStart:
        if (doc.mark().type == MarkType::None) {
            doc.beginMark(MarkType::CuaStream);
            doc.markStart();
        } else {
            doc.resumeMarking(doc.mark().type);
        }
        return 1;
    case kMarkCuaEnd:
        if (doc.mark().type != MarkType::None) {
            doc.markEnd();
        }
        return 1;
    case functionIdOf("MarkHide"):
        doc.clearMark();
        return 1;
    case functionIdOf("MarkSelectAll"):
    case functionIdOf("MarkSelectAllEx"):
        m_processor.run(functionIdOf("MoveDocumentStart"));
        m_processor.run(functionIdOf("MarkLineSet"));
        m_processor.run(functionIdOf("MoveDocumentEnd"));
        if (id == functionIdOf("MarkSelectAllEx")) {
            m_processor.run(functionIdOf("MarkLineReset"));
        }
        return 1;
    case functionIdOf("MarkWordStart"):
    case functionIdOf("MarkWordEnd"):
    case functionIdOf("MarkWordCurrent"):
        return markWord(id);
    case functionIdOf("MarkCaseLower"):
    case functionIdOf("MarkCaseUpper"):
    case functionIdOf("MarkCaseTranspose"):
        if (!doc.hasMark()) {
            return 0;
        }
        area().applyToMarkedText(
            MarkedArea::caseChange(id == functionIdOf("MarkCaseLower")   ? CaseChange::Lower
                                   : id == functionIdOf("MarkCaseUpper") ? CaseChange::Upper
                                                                         : CaseChange::Swap));
        return 1;
    case functionIdOf("MarkFillWithSpace"):
    case functionIdOf("MarkFillWithSpaceEx"):
        if (!doc.hasMark()) {
            return 0;
        }
        area().applyToMarkedText(MarkedArea::blank(
            id == functionIdOf("MarkFillWithSpace") ? BlankReach::WithinLines : BlankReach::BeyondLineEnds));
        return 1;
    case functionIdOf("MarkMoveToCursor"):
    case functionIdOf("MarkMoveToCursorEx"):
        if (!area().moveMarkedArea(id == functionIdOf("MarkMoveToCursorEx") ? KeepMarked::Yes
                                                                            : KeepMarked::No)) {
            m_processor.showStatus(kInvalidMove, platform::SoundKind::Information);
            return 0;
        }
        return 1;
    case functionIdOf("MarkCopyToCursor"):
    case functionIdOf("MarkCopyToCursorEx"):
        if (!area().copyMarkedArea(id == functionIdOf("MarkCopyToCursorEx") ? KeepMarked::Yes
                                                                            : KeepMarked::No)) {
            m_processor.showStatus(kInvalidCopy, platform::SoundKind::Information);
            return 0;
        }
        return 1;
    case functionIdOf("MarkPaste"):
        if (!doc.hasMark()) {
            return 0;
        }
        area().pasteOver();
        if (m_processor.cutCopyRemovesMark()) {
            doc.clearMark();
        }
        return 1;
    case functionIdOf("MarkPasteEx"):
        return doc.hasMark() ? m_processor.run(functionIdOf("MarkPaste"))
                             : m_processor.run(functionIdOf("ClipboardPaste"));
    case functionIdOf("ClipboardPaste"):
        area().paste();
        return 1;
    case functionIdOf("ClipboardPasteAndMark"):
        return pasteAndMark();
    case functionIdOf("MarkShiftLeft"):
    case functionIdOf("MarkShiftRight"):
        if (!doc.hasMark()) {
            return 0;
        }
        MarkShift(doc).shiftLines(id == functionIdOf("MarkShiftRight") ? tabSize : -tabSize);
        return 1;
    case functionIdOf("MarkDelete"):
        if (!doc.hasMark()) {
            return 0;
        }
        area().deleteMarkedArea();
        doc.clearMark();
        return 1;
    case functionIdOf("MarkDeleteEx"):
        return doc.hasMark() ? m_processor.run(functionIdOf("MarkDelete"))
                             : m_processor.run(functionIdOf("CharDelete"));
    case functionIdOf("MarkCopy"):
        return copyMarked(false);
    case functionIdOf("MarkCopyEx"):
        return doc.hasMark() ? copyMarked(false) : m_processor.run(functionIdOf("LineCopy"));
    case functionIdOf("MarkCut"):
        return copyMarked(true);
    case functionIdOf("MarkCutEx"):
        return doc.hasMark() ? copyMarked(true) : m_processor.run(functionIdOf("LineCut"));
    case functionIdOf("MarkWriteToFile"):
        return writeMarkedToFile();
    case functionIdOf("Undo"):
        return undoOrRedo(true);
    case functionIdOf("Redo"):
        return undoOrRedo(false);
    case functionIdOf("UndoFlush"):
        doc.flushUndo();
        m_processor.showStatus(kFlushed);
        return 1;
    default:
        return 0;
    }
}

int32_t MarkCommands::markKind(MarkType type, SetMode mode) {
    Document& doc = document();
    const MarkType current = doc.mark().type;
    switch (mode) {
    case SetMode::Reset:
        if (current != MarkType::None) {
            doc.markEnd();
        }
        return 1;
    case SetMode::Toggle:
        if (current == type) {
            doc.clearMark();
            return 1;
        }
        return markKind(type, SetMode::Set);
    case SetMode::SetEx:
        doc.clearMark();
        doc.beginMark(type);
        doc.markStart();
        return 1;
    case SetMode::Set:
        if (current == type) {
            return 1;
        }
        if (current != MarkType::None) {
            doc.beginMark(type);
            doc.markEnd();
            return 1;
        }
        doc.beginMark(type);
        doc.markStart();
        return 1;
    }
    return 0;
}

int32_t MarkCommands::markWord(FunctionId id) {
    Document& doc = document();
    const std::optional<WordBounds> word = WordRules(doc).wordUnderCursor();
    if (!word) {
        m_processor.showStatus(kNotOverWord, platform::SoundKind::Information);
        return 0;
    }
    const int cursorLine = doc.cursorLine();
    const int cursorColumn = doc.cursorColumn();
    const int startColumn = doc.columnOfOffset(cursorLine, word->start);
    const int endColumn = doc.columnOfOffset(cursorLine, word->end);
    MarkPoint from{startColumn, cursorLine};
    MarkPoint to{endColumn, cursorLine};
    if (id == functionIdOf("MarkWordStart")) {
        to.column = cursorColumn;
    } else if (id == functionIdOf("MarkWordEnd")) {
        from.column = cursorColumn;
    }
    doc.clearMark();
    doc.beginMark(MarkType::Stream);
    doc.markStart(from);
    doc.markEnd(to);
    return 1;
}

int32_t MarkCommands::copyMarked(bool thenDelete) {
    Document& doc = document();
    if (!doc.hasMark()) {
        return 0;
    }
    if (thenDelete) {
        // The area is only deleted once its text is safely on the clipboard.
        if (!area().cutToClipboard()) {
            return 0;
        }
        if (m_processor.cutCopyRemovesMark()) {
            doc.clearMark();
        }
        return 1;
    }
    if (!area().copyToClipboard()) {
        return 0;
    }
    if (m_processor.cutCopyRemovesMark()) {
        doc.clearMark();
    }
    return 1;
}

int32_t MarkCommands::pasteAndMark() {
    const std::optional<platform::ClipboardContent> content = m_processor.clipboard().get();
    if (!content) {
        return 1;
    }
    // The pasted text is marked in the shape it is pasted in.
    const MarkType type = pasteShapeOf(*content);
    document().clearMark();
    area().paste(type);
    return 1;
}

MarkedArea MarkCommands::area() {
    return MarkedArea(document(), m_processor.clipboard());
}

int32_t MarkCommands::writeMarkedToFile() {
    Document& doc = document();
    if (!doc.hasMark()) {
        return 0;
    }
    FileDialogRequest request;
    request.title = "Write Marked Area";
    const std::optional<std::string> path = m_processor.frame().chooseFileToSave(request);
    if (!path) {
        return 0;
    }
    Options& options = m_processor.options();
    DocumentFile file(fileOptionsFrom(options), m_processor.frame());
    if (!file.writeMarkedArea(doc, *path)) {
        return 0;
    }
    m_processor.showStatus(kWriteSuccessful);
    return 1;
}

int32_t MarkCommands::undoOrRedo(bool undo) {
    // Replaying a group changes the text as much as any edit, so a read-only document refuses it.
    if (m_processor.refuseIfReadOnly()) {
        return 0;
    }
    Document& doc = document();
    const bool done = undo ? doc.undo() : doc.redo();
    if (!done) {
        m_processor.showStatus(undo ? kNothingToUndo : kNothingToRedo, platform::SoundKind::Information);
        return 0;
    }
    return 1;
}

} // namespace vexa
