// The "Compiler Options" and "Project Options" dialog models: the command with its SAMPLE file,
// the checks of the program named, the run file and how the run is shown.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolchain/CompilerSettings.h"
#include "frame/DialogModel.h"

namespace vexa {
class Frame;
}

namespace vexa::toolchain {

inline constexpr std::string_view kNoSampleInCommand =
    "The command entered is invalid. Make sure you supply the 'SAMPLE' file in the command line.";
inline constexpr std::string_view kExtensionLimit =
    "You have reached the limit in the number of command file extensions supported.";
inline constexpr const char* kExtensionDefined =
    "The command line could not be added because the extension '%s' is already defined.";
inline constexpr const char* kProgramNotFound =
    "Vexa could not locate the '%s' file. If the file name is correct, make\nsure the file is located in "
    "PATH statement of the 'AUTOEXEC.BAT' or\nmake sure this file it is located in the same directory as "
    "the source file\nbeing compiled or built.\n\nHas the file been entered correctly?";
inline constexpr std::string_view kStdErrNotOnPath =
    "The file 'vStdErr.exe' is not located in the system PATH and\nas such the compile will not run. Please "
    "add the Vexa install\ndirectory to the system PATH statement.";

// A command as typed with its SAMPLE file: the extension after SAMPLE's dot, the placeholder word
// and the command with that word replaced by "%s".
struct SampleCommand {
    std::string extension;
    std::string placeholder;
    std::string command;
};
// Nothing when the text holds no SAMPLE (in any case).
std::optional<SampleCommand> parseSampleCommand(std::string_view text);
// The command as the dialog shows it: "%s" back to SAMPLE, a dot and the upper-case extension.
std::string sampleForm(std::string_view command, std::string_view extension);

// Checks the program a command starts (and vStdErr in front of it) as the dialogs do: a missing
// vStdErr refuses the command with an error box; a missing program is asked about, and Yes
// accepts it. companionDirectory is where the editor's companions are.
bool acceptProgramOf(std::string_view command, Frame& frame, std::string_view companionDirectory);

// The settings both dialogs edit besides their command.
class RunOptionsModel : public DialogModel {
public:
    RunOptionsModel(Frame& frame, RunSettings run, std::string companionDirectory);

    // The command field and the "Capture standard &error" box, which adds or removes the
    // "vStdErr " prefix in front of the field's command.
    const std::string& commandField() const { return m_commandField; }
    void setCommandField(std::string text) { m_commandField = std::move(text); }
    bool captureErrors() const;
    void setCaptureErrors(bool on);

    // "Use &Vexa file" / "Use &other file": with the editor's file the run-file field shows
    // "VexaCC.BAT" and is disabled.
    RunMode mode() const { return m_run.mode; }
    void setMode(RunMode mode) { m_run.mode = mode; }
    bool runFileEnabled() const { return m_run.mode == RunMode::Other; }
    std::string runFileShown() const;
    void setRunFile(std::string runFile) { m_run.runFile = std::move(runFile); }
    bool debug() const { return m_run.debug; }
    void setDebug(bool on) { m_run.debug = on; }
    int display() const { return m_run.display; }
    void setDisplay(int display) { m_run.display = display; }

protected:
    Frame& m_frame;
    RunSettings m_run;
    std::string m_companionDirectory;
    std::string m_commandField;
};

class CompilerOptionsDialog final : public RunOptionsModel {
public:
    // Edits a copy; the settings change (and are written) only on OK.
    CompilerOptionsDialog(CompilerSettings& settings, SettingsFile& file, Frame& frame,
                          std::string companionDirectory);

    std::string_view title() const override { return "Compiler Options"; }

    // The list of command lines in their SAMPLE form (at most one).
    std::vector<std::string> entries() const;
    // Adds the command field to the list; false (with the message shown) when refused.
    bool add();
    // Removes the list's entry.
    void remove();
    // OK: the settings take the dialog's values and are written. False when writing failed.
    bool accept();

private:
    CompilerSettings& m_settings;
    SettingsFile& m_file;
    std::string m_extension;
    std::string m_command;
};

class ProjectOptionsDialog final : public RunOptionsModel {
public:
    ProjectOptionsDialog(ProjectSettings& settings, SettingsFile& file, Frame& frame,
                         std::string companionDirectory);

    std::string_view title() const override { return "Project Options"; }

    // OK: the command field must hold SAMPLE and name a program that is found (or confirmed);
    // then the settings take the values and are written. False when refused or not written.
    bool accept();

private:
    ProjectSettings& m_settings;
    SettingsFile& m_file;
};

} // namespace vexa::toolchain
