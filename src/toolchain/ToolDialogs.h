// The dialogs of the tools: "Tool Options" (the list), "Program Arguments" (before a run) and
// "DOS Command Line" (an ad-hoc command with its histories).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolchain/ToolRecord.h"
#include "toolchain/ToolsFile.h"
#include "frame/DialogModel.h"
#include "settings/HistoryFile.h"

namespace vexa {
class Frame;
}

namespace vexa::toolchain {

inline constexpr std::string_view kToolOptionsTitle = "Tool Options";
inline constexpr std::string_view kMaxToolsReached = "The maximum tool menu count has been reached.";
inline constexpr std::string_view kNoSuchDirectory = "The directory specified does not exist.";
inline constexpr const char* kToolExists =
    "The tool '%s' already exists. Do you want to replace\nthe old tool?";
inline constexpr const char* kDeleteTool = "Are you sure you want to delete the '%s' tool?";
inline constexpr std::string_view kFindToolTitle = "Find Tool";
inline constexpr std::string_view kProgramArgumentsTitle = "Program Arguments";
inline constexpr std::string_view kDosCommandLineTitle = "DOS Command Line";
inline constexpr std::string_view kDirectoryHistoryFile = "VexaDir.his";
inline constexpr std::string_view kArgumentHistoryFile = "VexaArg.his";

// The fields of the "Tool Options" dialog over a working copy of the tools list; Update hands
// the copy back to the caller.
class ToolOptionsModel : public DialogModel {
public:
    // The fields start as a new tool in the current directory.
    ToolOptionsModel(Frame& frame, std::vector<ToolRecord> tools, std::string currentDirectory);

    std::string_view title() const override { return kToolOptionsTitle; }

    // The list's texts, and the selection that fills the fields.
    std::vector<std::string> displayTexts() const;
    const std::vector<ToolRecord>& tools() const { return m_tools; }
    std::optional<std::size_t> selected() const { return m_selected; }
    void select(std::size_t index);

    // The fields: type, program, menu text, arguments, directory, show mode and the four boxes.
    ToolRecord& fields() { return m_fields; }
    const ToolRecord& fields() const { return m_fields; }

    // Add: false when refused (full list, missing directory, a same-named tool kept). The
    // field to focus after a refusal.
    bool add();
    enum class Field : uint8_t { None, Directory };
    Field focus() const { return m_focus; }
    // Delete, after the question: false when nothing was removed.
    bool remove();
    // Find: asks for the program file and fills the program and its type.
    bool find();

private:
    Frame& m_frame;
    std::vector<ToolRecord> m_tools;
    ToolRecord m_fields;
    std::optional<std::size_t> m_selected;
    Field m_focus = Field::None;
};

// Before a run with "ask for arguments": the program is shown, the directory and the arguments of
// a copy of the tool can be changed.
class ProgramArgumentsModel : public DialogModel {
public:
    explicit ProgramArgumentsModel(ToolRecord tool) : m_tool(std::move(tool)) {}
    std::string_view title() const override { return kProgramArgumentsTitle; }
    const std::string& program() const { return m_tool.program; }
    ToolRecord& tool() { return m_tool; }

private:
    ToolRecord m_tool;
};

// An ad-hoc command line: directory and arguments as combo boxes with their histories.
class DosCommandLineModel : public DialogModel {
public:
    // Reads the histories from the configuration directory (ending in '/').
    explicit DosCommandLineModel(std::string configDirectory);
    std::string_view title() const override { return kDosCommandLineTitle; }

    const std::vector<std::string>& directoryHistory() const { return m_directories.entries(); }
    const std::vector<std::string>& argumentHistory() const { return m_arguments.entries(); }
    std::string directory;
    std::string arguments;
    // OK: enters both texts in their histories and writes them; false when a write failed.
    bool accept();

private:
    std::string m_configDirectory;
    HistoryFile m_directories;
    HistoryFile m_arguments;
};

} // namespace vexa::toolchain
