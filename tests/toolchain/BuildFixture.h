// The building tests' fixture: a processor over a headless frame with the build family, scripted
// process slots, recording output-window host and document windows, and a source tree on disk.
#pragma once

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "toolchain/BuildCommands.h"
#include "toolchain/OutputWindows.h"
#include "commands/ProcessorFixture.h"
#include "support/FakeProcess.h"

namespace vexa::toolchain::test {

using namespace vexa::test;

// What the window system was asked to do with the output windows.
class RecordingOutputHost final : public OutputWindowHost {
public:
    void showOutputWindow(OutputWindow& window) override { shown.push_back(window.kind()); }
    void outputLinesChanged(OutputWindow& window) override { changed.push_back(window.kind()); }
    void outputSelectionChanged(OutputWindow& window) override { selected.push_back(window.kind()); }

    std::vector<OutputKind> shown;
    std::vector<OutputKind> changed;
    std::vector<OutputKind> selected;
};

// Document windows over the files on disk: opening a file shows its lines (or activates the window
// that shows it already) and puts the cursor on the line asked for.
class FileWindows final : public DocumentWindows {
public:
    explicit FileWindows(CommandProcessor& processor) : m_processor(processor) {}

    EditPane* newDocument() override { return nullptr; }
    EditPane* openDocument(const std::string& path) override { return openDocumentAt(path, 0); }
    EditPane* openDocumentAt(const std::string& path, int line) override {
        opened.push_back(path);
        EditPane* pane = find(path);
        if (pane == nullptr) {
            if (!std::filesystem::is_regular_file(path)) {
                return nullptr;
            }
            auto document = std::make_unique<Document>();
            document->clearForLoad(0);
            std::istringstream lines(readFileBytes(path));
            for (std::string text; std::getline(lines, text);) {
                document->appendLoadedLine(text);
            }
            document->setFileName(path);
            owned.push_back(std::make_unique<EditPane>(std::move(document)));
            pane = owned.back().get();
        }
        m_processor.activatePane(pane);
        if (line > 0) {
            pane->document().goToLine(line - 1);
            pane->document().nextGroup();
        }
        return pane;
    }
    bool closeActive() override { return false; }
    std::vector<EditPane*> panes() override {
        std::vector<EditPane*> all;
        for (auto& pane : owned) {
            all.push_back(pane.get());
        }
        return all;
    }
    std::string recentFile(int) override { return {}; }
    void exitApplication() override {}

    // Makes the one pane the test owns known by its document's name (it replaces the one before).
    void adopt(EditPane& pane) { m_adopted = &pane; }

    std::vector<std::unique_ptr<EditPane>> owned;
    std::vector<std::string> opened;

private:
    EditPane* find(const std::string& path) {
        if (m_adopted != nullptr && m_adopted->document().fileName() == path) {
            return m_adopted;
        }
        for (auto& pane : owned) {
            if (pane->document().fileName() == path) {
                return pane.get();
            }
        }
        return nullptr;
    }

    CommandProcessor& m_processor;
    EditPane* m_adopted = nullptr;
};

// Over scripted process slots (BuildTest) or real ones (RealBuildTest).
template <typename Launcher>
class BuildTestWith : public ProcessorTest {
protected:
    BuildTestWith()
        : windows(processor), outputs(processor, host),
          commands(processor, outputs, launcher, VEXA_COMPANION_DIR) {
        processor.link(ProcessorLinks{statusLine, keymap, windows, idleRecorder, noTemplates, {&commands}});
        source = m_home.path() / "src";
        std::filesystem::create_directories(source);
    }

    // Makes the active document the file src/<name> with these bytes on disk.
    void openSource(const std::string& name, const std::string& bytes = "int main(void) { return 0; }\n") {
        writeFileBytes(source / name, bytes);
        std::vector<std::string> lines;
        std::istringstream in(bytes);
        for (std::string text; std::getline(in, text);) {
            lines.push_back(text);
        }
        setLines(lines.empty() ? std::vector<std::string>{""} : lines);
        doc().setFileName((source / name).string());
        windows.adopt(*pane);
    }
    std::string sourceFile(const std::string& name) const { return (source / name).string(); }
    std::string sourceDirectory() const { return source.string() + "/"; }
    // The files under a folder, by their names relative to it, sorted.
    static std::vector<std::string> filesIn(const std::filesystem::path& folder) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            if (entry.is_regular_file()) {
                names.push_back(std::filesystem::relative(entry.path(), folder).string());
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    // A file in the compiler's or the project's run folder (the folder is made when missing).
    std::string compileFile(std::string_view name) { return commands.compiler().spawner().runFolder().file(name); }
    std::string makeFile(std::string_view name) { return commands.project().spawner().runFolder().file(name); }

    FileWindows windows;
    RecordingOutputHost host;
    Launcher launcher;
    OutputWindows outputs;
    BuildCommands commands;
    std::filesystem::path source;
};

using BuildTest = BuildTestWith<FakeProcessLauncher>;

} // namespace vexa::toolchain::test
