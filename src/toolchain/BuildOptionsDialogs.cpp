// The compiler and project option dialogs: SAMPLE commands, program checks, run settings.
#include "toolchain/BuildOptionsDialogs.h"

#include <cctype>

#include "toolchain/Spawner.h"
#include "frame/Frame.h"
#include "platform/Environment.h"
#include "platform/Files.h"
#include "settings/Format.h"
#include "settings/SettingsFile.h"

namespace vexa::toolchain {
namespace {

constexpr std::string_view kSample = "SAMPLE";
constexpr std::size_t kPlaceholderExtension = 3;

std::string upperCase(std::string_view text) {
    std::string result(text);
    for (char& ch : result) {
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    }
    return result;
}

std::size_t findIgnoringCase(std::string_view text, std::string_view word) {
    const std::string upper = upperCase(text);
    return upper.find(word);
}

// The first word of a command and the rest after it.
std::pair<std::string, std::string_view> splitFirstWord(std::string_view command) {
    while (!command.empty() && command.front() == ' ') {
        command.remove_prefix(1);
    }
    const std::size_t end = command.find(' ');
    if (end == std::string_view::npos) {
        return {std::string(command), {}};
    }
    return {std::string(command.substr(0, end)), command.substr(end + 1)};
}

bool programExists(const std::string& program, std::string_view companionDirectory) {
    if (program.find_first_of("/\\") != std::string::npos) {
        return platform::isRegularFile(program);
    }
    return isOnChildPath(program, companionDirectory) || isOnChildPath(program + ".EXE", companionDirectory);
}

} // namespace

std::optional<SampleCommand> parseSampleCommand(std::string_view text) {
    const std::size_t at = findIgnoringCase(text, kSample);
    if (at == std::string::npos) {
        return std::nullopt;
    }
    std::size_t end = text.find(' ', at);
    if (end == std::string_view::npos) {
        end = text.size();
    }
    SampleCommand result;
    result.placeholder = std::string(text.substr(at, end - at));
    const std::size_t dot = result.placeholder.find('.', kSample.size());
    if (dot != std::string::npos) {
        result.extension = result.placeholder.substr(dot + 1, CompilerSettings::kMaxExtension);
    }
    result.command = std::string(text.substr(0, at)) + "%s" + std::string(text.substr(end));
    return result;
}

std::string sampleForm(std::string_view command, std::string_view extension) {
    std::string result(command);
    const std::size_t at = result.find("%s");
    if (at != std::string::npos) {
        result.replace(at, 2, std::string(kSample) + "." + upperCase(extension));
    }
    return result;
}

bool acceptProgramOf(std::string_view command, Frame& frame, std::string_view companionDirectory) {
    auto [program, rest] = splitFirstWord(command);
    if (program == kStdErrProgram) {
        if (!isOnChildPath(kStdErrProgram, companionDirectory)) {
            frame.messageBox(kStdErrNotOnPath);
            return false;
        }
        program = splitFirstWord(rest).first;
    }
    if (program.empty() || programExists(program, companionDirectory)) {
        return true;
    }
    frame.beep(platform::SoundKind::Exclamation);
    return frame.ask(formatText(kProgramNotFound, program.c_str()), "Vexa") == Answer::Yes;
}

RunOptionsModel::RunOptionsModel(Frame& frame, RunSettings run, std::string companionDirectory)
    : m_frame(frame), m_run(std::move(run)), m_companionDirectory(std::move(companionDirectory)) {}

bool RunOptionsModel::captureErrors() const {
    return std::string_view(m_commandField).substr(0, kStdErrPrefix.size()) == kStdErrPrefix;
}

void RunOptionsModel::setCaptureErrors(bool on) {
    if (on && !captureErrors()) {
        m_commandField.insert(0, kStdErrPrefix);
    } else if (!on && captureErrors()) {
        m_commandField.erase(0, kStdErrPrefix.size());
    }
}

std::string RunOptionsModel::runFileShown() const {
    return m_run.mode == RunMode::Vexa ? std::string(kBatchFileName) : m_run.runFile;
}

// ---- compiler ----

CompilerOptionsDialog::CompilerOptionsDialog(CompilerSettings& settings, SettingsFile& file, Frame& frame,
                                             std::string companionDirectory)
    : RunOptionsModel(frame, settings.run, std::move(companionDirectory)), m_settings(settings), m_file(file),
      m_extension(settings.extension), m_command(settings.command) {}

std::vector<std::string> CompilerOptionsDialog::entries() const {
    if (m_command.empty()) {
        return {};
    }
    return {sampleForm(m_command, m_extension)};
}

bool CompilerOptionsDialog::add() {
    const auto parsed = parseSampleCommand(m_commandField);
    if (!parsed) {
        m_frame.messageBox(kNoSampleInCommand);
        return false;
    }
    if (!m_command.empty()) {
        if (upperCase(m_extension) == upperCase(parsed->extension)) {
            const std::string shown =
                parsed->extension.empty() ? std::string("   ") : upperCase(parsed->extension);
            m_frame.messageBox(formatText(kExtensionDefined, shown.c_str()));
        } else {
            m_frame.messageBox(kExtensionLimit);
        }
        return false;
    }
    if (!acceptProgramOf(parsed->command, m_frame, m_companionDirectory)) {
        return false;
    }
    m_extension = parsed->extension;
    m_command = parsed->command;
    return true;
}

void CompilerOptionsDialog::remove() {
    m_extension.clear();
    m_command.clear();
}

bool CompilerOptionsDialog::accept() {
    CompilerSettings changed = m_settings;
    changed.run = m_run;
    changed.run.wait = true; // the dialog always sets it
    changed.extension = m_extension;
    changed.command = m_command;
    if (!changed.save(m_file)) {
        m_frame.messageBox(m_file.errorText());
        return false;
    }
    m_settings = changed;
    return true;
}

// ---- project ----

ProjectOptionsDialog::ProjectOptionsDialog(ProjectSettings& settings, SettingsFile& file, Frame& frame,
                                           std::string companionDirectory)
    : RunOptionsModel(frame, settings.run, std::move(companionDirectory)), m_settings(settings),
      m_file(file) {
    std::string shown = settings.command;
    const std::size_t at = shown.find("%s");
    if (at != std::string::npos) {
        shown.replace(at, 2, settings.fileName);
    }
    m_commandField = shown;
}

bool ProjectOptionsDialog::accept() {
    const auto parsed = parseSampleCommand(m_commandField);
    if (!parsed) {
        m_frame.messageBox(kNoSampleInCommand);
        return false;
    }
    if (!acceptProgramOf(parsed->command, m_frame, m_companionDirectory)) {
        return false;
    }
    ProjectSettings changed = m_settings;
    changed.run = m_run;
    changed.run.wait = true;
    changed.command = parsed->command;
    // The placeholder is kept as typed, up to its dot and three characters after it.
    std::string placeholder = parsed->placeholder;
    const std::size_t dot = placeholder.find('.', kSample.size());
    if (dot != std::string::npos && placeholder.size() > dot + 1 + kPlaceholderExtension) {
        placeholder.resize(dot + 1 + kPlaceholderExtension);
    }
    changed.fileName = placeholder;
    if (!changed.save(m_file)) {
        m_frame.messageBox(m_file.errorText());
        return false;
    }
    m_settings = changed;
    return true;
}

} // namespace vexa::toolchain
