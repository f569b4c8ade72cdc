// The command tests' fixture: a processor over a headless frame, a temporary home and one pane.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "commands/CommandProcessor.h"
#include "commands/DocumentWindows.h"
#include "commands/EditPane.h"
#include "commands/KeymapState.h"
#include "commands/MacroRecorderHook.h"
#include "commands/TemplateHook.h"
#include "core/Document.h"
#include "frame/HeadlessFrame.h"
#include "frame/StatusLine.h"
#include "platform/Clipboard.h"
#include "platform/Sound.h"
#include "support/InertProcessorHooks.h"
#include "settings/Options.h"
#include "support/FakeClock.h"
#include "support/TempHome.h"

namespace vexa::test {

// A language whose break characters are the usual C punctuation.
class CLanguage final : public LanguageRules {
public:
    std::string_view wordBreakCharacters() const override { return ".,;:()[]{}<>=+-*/&|!\"'"; }
};

// A keymap without CUA marking: plain cursor moves keep line, stream and column marks.
class NoCuaMarking final : public CuaMarkingRule {
public:
    bool cuaMarkingAllowed() const override { return false; }
};

class FakeKeymap final : public KeymapState {
public:
    bool isPrefixArmed() const override { return armed; }
    void resetPrefix() override {
        armed = false;
        ++resets;
    }
    bool keyPressRemovesMark() const override { return keyRemovesMark; }
    bool cutCopyRemovesMark() const override { return cutCopyRemoves; }

    bool armed = false;
    int resets = 0;
    bool keyRemovesMark = false;
    bool cutCopyRemoves = false;
};

class FakeRecorder final : public MacroRecorderHook {
public:
    bool isRecording() const override { return recording; }
    bool isPlayingBack() const override { return playing; }
    void recordFunction(uint16_t id) override { functions.push_back(id); }
    void recordCharacter(char32_t character, uint16_t /*modifierFlags*/) override {
        text::appendUtf8(characters, character);
    }

    bool recording = true;
    bool playing = false;
    std::vector<uint16_t> functions;
    std::string characters; // as UTF-8
};

// Expands the abbreviation "if" before the cursor into "if ()".
class FakeTemplates final : public TemplateHook {
public:
    bool expandBeforeSpace(Document& document) override {
        ++calls;
        const std::string_view text = document.currentLine().text();
        if (document.cursorOffset() >= 2 && text.substr(document.cursorOffset() - 2, 2) == "if") {
            document.insertText(" ()");
            return true;
        }
        return false;
    }
    int calls = 0;
};

// Document windows over panes the test owns.
class FakeWindows final : public DocumentWindows {
public:
    explicit FakeWindows(CommandProcessor& processor) : m_processor(processor) {}

    EditPane* newDocument() override {
        auto document = std::make_unique<Document>();
        document->makeNew();
        return add(std::move(document));
    }
    EditPane* openDocument(const std::string& path) override {
        opened.push_back(path);
        auto document = std::make_unique<Document>();
        document->setFileName(path);
        document->makeNew();
        return add(std::move(document));
    }
    EditPane* openDocumentAt(const std::string& path, int line) override {
        EditPane* pane = openDocument(path);
        if (line > 0) {
            pane->document().goToLine(line - 1);
            pane->document().nextGroup();
        }
        return pane;
    }
    bool closeActive() override {
        ++closes;
        return true;
    }
    std::vector<EditPane*> panes() override {
        std::vector<EditPane*> all;
        for (auto& pane : owned) {
            all.push_back(pane.get());
        }
        return all;
    }
    std::string recentFile(int functionId) override {
        return functionId == 1014 ? std::string("/recent/one.c") : std::string();
    }
    void exitApplication() override { ++exits; }
    void documentRenamed(Document& document, bool extensionChanged) override {
        renamed.push_back(document.fileName() + (extensionChanged ? " new extension" : ""));
    }

    EditPane* add(std::unique_ptr<Document> document) {
        owned.push_back(std::make_unique<EditPane>(std::move(document)));
        m_processor.activatePane(owned.back().get());
        return owned.back().get();
    }

    std::vector<std::unique_ptr<EditPane>> owned;
    std::vector<std::string> opened;
    int closes = 0;
    int exits = 0;
    std::vector<std::string> renamed;

private:
    CommandProcessor& m_processor;
};

class ProcessorTest : public ::testing::Test {
protected:
    ProcessorTest()
        : m_directories(m_home.path().string()), options(m_directories),
          processor(ProcessorServices{frame, options, clock, clipboard}),
          statusLine(clock, sound, [](int) { return false; }), windows(processor) {
        // The file fixtures are DOS text and are expected back as DOS text.
        options.editor().fileRead = 0;
        options.editor().fileWrite = 0;
        linkProcessor(processor);
        setLines({""});
    }

    // Links a processor to the fixture's status line, keymap and document windows, with an idle
    // recorder and no templates.
    void linkProcessor(CommandProcessor& another) {
        another.link(ProcessorLinks{statusLine, keymap, windows, idleRecorder, noTemplates, {}});
    }
    // Links the processor again, with these hooks of the keyboard macros and the templates.
    void linkHooks(MacroRecorderHook& recorder, TemplateHook& templates) {
        processor.link(ProcessorLinks{statusLine, keymap, windows, recorder, templates, {}});
    }

    // Replaces the pane by one over a document of these lines, cursor at 0:0.
    void setLines(const std::vector<std::string>& lines, TextEncoding encoding = TextEncoding::Windows1252) {
        auto document = std::make_unique<Document>();
        document->setEncoding(encoding);
        document->clearForLoad(0);
        for (const auto& line : lines) {
            document->appendLoadedLine(line);
        }
        setDocument(std::move(document));
    }

    // Replaces the pane by one over a document, cursor at 0:0.
    void setDocument(std::unique_ptr<Document> document) {
        document->setLanguageRules(std::make_shared<CLanguage>());
        document->setCuaMarkingRule(std::make_shared<NoCuaMarking>());
        pane = std::make_unique<EditPane>(std::move(document));
        processor.activatePane(pane.get());
    }

    Document& doc() { return pane->document(); }

    // Places the cursor without a command (no count, no undo group of its own).
    void place(int line, int offset) {
        doc().moveToLine(line);
        doc().setCursorOffset(offset);
        doc().undoStore().flush();
    }

    int32_t exec(FunctionId id) { return processor.execute(id, kKeyboardCommandSource); }
    // Types UTF-8 text as the keyboard would, character by character.
    void type(std::string_view utf8) { processor.typeText(utf8); }

    std::vector<std::string> lines() const {
        std::vector<std::string> all;
        for (int i = 0; i < pane->document().lineCount(); ++i) {
            all.emplace_back(pane->document().lineText(i));
        }
        return all;
    }

    std::vector<FrameEvent> statuses() const { return frame.eventsOf(FrameEventKind::Status); }

    TempHome m_home;
    Directories m_directories;

public:
    HeadlessFrame frame;
    Options options;
    FakeClock clock;
    platform::MemoryClipboard clipboard;
    FakeKeymap keymap;
    IdleRecorder idleRecorder;
    NoTemplates noTemplates;
    CommandProcessor processor;
    platform::SilentSoundPlayer sound;
    StatusLine statusLine;
    FakeWindows windows;
    std::unique_ptr<EditPane> pane;
};

} // namespace vexa::test
