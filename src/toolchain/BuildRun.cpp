// Compile and make: the steps before the start, the polling, and the results in the output windows.
#include "toolchain/BuildRun.h"

#include "toolchain/BatchFile.h"
#include "toolchain/BuildPlace.h"
#include "toolchain/CommandVariables.h"
#include "toolchain/OutputWindows.h"
#include "toolchain/PathParts.h"
#include "commands/CommandProcessor.h"
#include "commands/FileCommands.h"
#include "core/Document.h"
#include "core/DocumentFile.h"
#include "platform/AtomicFile.h"
#include "platform/Environment.h"
#include "platform/Files.h"
#include "settings/Format.h"
#include "settings/Options.h"

namespace vexa::toolchain {
namespace {

constexpr const char* kUnableToUpdate = "Unable to update the '%s' file. This file is probably read only!";
constexpr const char* kUnexpectedError = "Unexpected Vexa error at File: %s Line: %s";
constexpr std::string_view kNoCommandLine =
    "No command line was found for this file extension. Please check the compiler options setup.";
constexpr const char* kErrorCreatingBatch = "Error creating the '%s' batch file.";
constexpr std::string_view kNoProject = "No project is currently loaded!";
constexpr std::string_view kNothingToMake =
    "No project is open, and no makefile or CMake build folder was found at or above the document's folder.";
constexpr const char* kMakingIn = "%s (in %s)";
constexpr const char* kErrorOpeningProject = "Error opening the '%s' project file.";
constexpr std::string_view kMadeWithErrors = "Make completed with errors.";
constexpr std::string_view kMadeWithWarnings = "Make completed with warnings.";
constexpr std::string_view kMadeSuccessfully = "Make completed successfully.";
constexpr std::string_view kOpenProjectTitle = "Open Project";
constexpr const char* kProjectOpened = "Project '%s' opened successfully";
constexpr std::string_view kProjectClosed = "Project closed";
constexpr const char* kCurrentProject = "Current project is '%s'";
constexpr std::string_view kNoProjectOpen = "No project currently open";

platform::ShowMode showModeOf(int display) {
    return display >= 0 && display <= 10 ? static_cast<platform::ShowMode>(display)
                                         : platform::ShowMode::Minimized;
}

// A compile or make runs as a DOS program whose output goes to the error file by the batch
// file's own redirection, not by capture.
ToolRecord batchRecord(std::string program, const std::string& directory, int display) {
    ToolRecord record;
    record.type = ToolType::DosProgram;
    record.program = std::move(program);
    record.workingDirectory = directory;
    record.showMode = showModeOf(display);
    record.captureOutput = false;
    record.captureErrors = false;
    return record;
}

} // namespace

BuildRun::BuildRun(BuildServices services, OutputKind kind, uint32_t pollMs)
    : m_services(services), m_kind(kind), m_spawner(services.launcher, services.spawnerSetup),
      m_pollMs(pollMs) {}

BuildRun::~BuildRun() {
    if (m_timer) {
        m_services.processor.frame().stopTimer(*m_timer);
    }
}

void BuildRun::report(std::string_view text, platform::SoundKind sound) {
    m_services.processor.showStatus(text, sound);
}

bool BuildRun::start(const ToolRecord& record, const std::string& statusText,
                     const std::vector<std::string>& trailing) {
    report(statusText);
    m_stopped = false;
    m_startedAt = std::chrono::steady_clock::now();
    const VariableContext context = variableContextOf(m_services.processor);
    if (m_spawner.prepareAndRun(record, context, trailing) != platform::SpawnResult::Started) {
        report(kSpawnFailed, platform::SoundKind::Exclamation);
        return false;
    }
    m_busy = true;
    if (m_spawner.waitsForRuns()) {
        m_spawner.waitUntilIdle();
    }
    if (m_spawner.isIdle()) {
        // It ended before the start returned: the results are there already.
        m_busy = false;
        showResults(true);
        return true;
    }
    m_timer = m_services.processor.frame().startTimer(m_pollMs, [this] { poll(); });
    return true;
}

void BuildRun::poll() {
    if (!m_spawner.isIdle()) {
        return;
    }
    if (m_timer) {
        m_services.processor.frame().stopTimer(*m_timer);
        m_timer.reset();
    }
    m_busy = false;
    showResults(true);
    if (m_stopped) {
        report(kRunStopped, platform::SoundKind::Exclamation);
    }
}

bool BuildRun::stop() {
    if (!m_busy || !m_spawner.stop()) {
        return false;
    }
    m_stopped = true;
    report(kRunStopping);
    return true;
}

std::string BuildRun::runFile(std::string_view name) {
    return m_spawner.runFolder().file(name);
}

bool BuildRun::loadResults(const std::string& directory, const std::string& defaultFile,
                           const std::string& errorFile, bool fromRun) {
    OutputWindow& window = m_services.outputs.window(m_kind);
    const RegexOptions& patterns = m_services.processor.options().regex();
    window.clear();
    window.setUserPatterns(UserErrorPatterns{patterns.errors, patterns.lines});
    window.setRun(directory, defaultFile);
    const std::optional<int> exitCode = m_spawner.exitCode();
    window.setRunFailed(fromRun && exitCode.has_value() && *exitCode != 0);
    window.addHeader();
    const bool loaded = window.loadFile(runFile(errorFile));
    m_services.outputs.linesChanged(m_kind);
    if (!loaded) {
        m_services.outputs.show(m_kind);
    }
    return loaded;
}

// ---- compiler ----

Compiler::Compiler(BuildServices services, CompilerSettings& settings)
    : BuildRun(services, OutputKind::Compiler), m_settings(settings) {}

int32_t Compiler::compile() {
    CommandProcessor& processor = m_services.processor;
    Document* document = processor.document();
    if (document == nullptr) {
        report(kNoActiveDocument, platform::SoundKind::Information);
        return 0;
    }
    if (isBusy() || !spawner().isIdle()) {
        report(kSpawnBusy, platform::SoundKind::Exclamation);
        return 0;
    }
    if (document->isModified()) {
        DocumentFile file(fileOptionsFrom(processor.options()), processor.frame());
        if (!document->hasName() || !file.save(*document)) {
            report(formatText(kUnableToUpdate, document->fileName().c_str()),
                   platform::SoundKind::Exclamation);
            return 0;
        }
    }
    const PathParts source = splitPath(document->fileName());
    if (source.directory.empty() || source.base.empty()) {
        report(formatText(kUnexpectedError, std::string(kCompileModule).c_str(),
                          std::to_string(__LINE__).c_str()),
               platform::SoundKind::Exclamation);
        return 0;
    }
    const RunSettings& run = m_settings.run;
    m_source = source.fullName();
    m_directory = source.location();
    m_errorFile = errorFileNameOf(source.base);
    const std::string batchPath = runFile(kBatchFileName);
    const std::string errorPath = runFile(m_errorFile);
    (void)platform::removeFile(errorPath);
    if (run.mode == RunMode::Vexa && !run.debug) {
        (void)platform::removeFile(batchPath);
    }

    std::string program;
    std::string statusText;
    std::vector<std::string> trailing;
    if (run.mode == RunMode::Vexa) {
        const std::string extension = source.extension.empty() ? std::string() : source.extension.substr(1);
        std::string typed = m_settings.commandFor(extension);
        if (typed.empty()) {
            typed = builtInCompileCommand(extension, platform::environmentVariable("CC").value_or(""),
                                          platform::environmentVariable("CXX").value_or(""));
        }
        const ArgumentVector command = commandArguments(
            withFileName(expandCommandPieces(typed, kCommandBufferSize,
                                             variableContextOf(processor)),
                         m_source),
            false);
        if (command.words.empty()) {
            report(kNoCommandLine, platform::SoundKind::Exclamation);
            return 0;
        }
        statusText = commandLineOf(command);
        if (!platform::writeFileAtomically(batchPath, batchFileText(command, errorPath, run.debug))) {
            report(formatText(kErrorCreatingBatch, batchPath.c_str()), platform::SoundKind::Exclamation);
            return 0;
        }
        program = batchPath;
    } else {
        program = run.runFile;
        trailing = {m_source, errorPath, source.base};
        statusText = commandLineOf(ArgumentVector{{program, m_source, errorPath, source.base}, {}});
    }
    return start(batchRecord(program, m_directory, run.display), statusText, trailing) ? 1 : 0;
}

void Compiler::showResults(bool fromRun) {
    const bool loaded = loadResults(m_directory, m_source, m_errorFile, fromRun);
    if (!loaded) {
        report(formatText(kUnableToOpenErrorFile, m_errorFile.c_str()), platform::SoundKind::Exclamation);
        return;
    }
    const OutputWindow& window = m_services.outputs.compiler();
    report(window.outcome(), fromRun ? platform::SoundKind::Information : platform::SoundKind::None);
    if (window.errorSeen() || window.warningSeen()) {
        m_services.outputs.show(OutputKind::Compiler);
    }
}

void Compiler::documentClosed(const std::string& path) {
    if (m_source.empty() || path != m_source || isBusy()) {
        return;
    }
    spawner().runFolder().clear();
}

// ---- project ----

Project::Project(BuildServices services, ProjectSettings& settings)
    : BuildRun(services, OutputKind::Project), m_settings(settings) {}

int32_t Project::make() {
    if (m_settings.current.empty()) {
        return makeWithoutProject();
    }
    if (!platform::isRegularFile(m_settings.current)) {
        report(formatText(kErrorOpeningProject, m_settings.current.c_str()),
               platform::SoundKind::Exclamation);
        return 0;
    }
    if (isBusy() || !spawner().isIdle()) {
        report(kSpawnBusy, platform::SoundKind::Exclamation);
        return 0;
    }
    const PathParts project = splitPath(m_settings.current);
    const RunSettings& run = m_settings.run;
    m_defaultFile = m_settings.current;
    m_directory = project.location();
    m_errorFile = errorFileNameOf(project.base);
    const std::string errorPath = runFile(m_errorFile);
    (void)platform::removeFile(errorPath);

    std::string program;
    std::string statusText;
    std::vector<std::string> trailing;
    if (run.mode == RunMode::Vexa) {
        const std::string batchPath = runFile(kBatchFileName);
        const ArgumentVector command = commandArguments(
            withFileName({CommandPiece{m_settings.command, false}}, project.fileName()), false);
        statusText = commandLineOf(command);
        if (!platform::writeFileAtomically(batchPath, batchFileText(command, errorPath, run.debug))) {
            report(formatText(kErrorCreatingBatch, batchPath.c_str()), platform::SoundKind::Exclamation);
            return 0;
        }
        program = batchPath;
    } else {
        program = run.runFile;
        trailing = {project.fileName(), errorPath, project.base};
        statusText = commandLineOf(ArgumentVector{{program, project.fileName(), errorPath, project.base}, {}});
    }
    return startMake(batchRecord(program, m_directory, run.display), statusText, trailing) ? 1 : 0;
}

bool Project::startMake(const ToolRecord& record, const std::string& statusText,
                        const std::vector<std::string>& trailing) {
    OutputWindow& window = m_services.outputs.project();
    window.clear();
    window.addHeader();
    m_services.outputs.linesChanged(OutputKind::Project);
    return start(record, statusText, trailing);
}

int32_t Project::makeWithoutProject() {
    const Document* document = m_services.processor.document();
    const std::string documentFolder =
        document != nullptr && document->hasName() ? splitPath(document->fileName()).location() : std::string();
    const std::optional<BuildPlace> place =
        documentFolder.empty() ? std::nullopt : nearestBuildPlace(documentFolder);
    if (!place) {
        report(documentFolder.empty() ? kNoProject : kNothingToMake, platform::SoundKind::Exclamation);
        return 0;
    }
    if (isBusy() || !spawner().isIdle()) {
        report(kSpawnBusy, platform::SoundKind::Exclamation);
        return 0;
    }
    m_defaultFile.clear();
    m_directory = place->directory;
    m_errorFile = errorFileNameOf(place->makefile);
    const std::string errorPath = runFile(m_errorFile);
    (void)platform::removeFile(errorPath);
    const ArgumentVector command{place->command, {}};
    const std::string batchPath = runFile(kBatchFileName);
    if (!platform::writeFileAtomically(batchPath, batchFileText(command, errorPath, m_settings.run.debug))) {
        report(formatText(kErrorCreatingBatch, batchPath.c_str()), platform::SoundKind::Exclamation);
        return 0;
    }
    const std::string statusText = formatText(kMakingIn, commandLineOf(command).c_str(), m_directory.c_str());
    return startMake(batchRecord(batchPath, m_directory, m_settings.run.display), statusText, {}) ? 1 : 0;
}

void Project::showResults(bool fromRun) {
    const bool loaded = loadResults(m_directory, m_defaultFile, m_errorFile, fromRun);
    if (!loaded) {
        report(formatText(kUnableToOpenErrorFile, m_errorFile.c_str()), platform::SoundKind::Exclamation);
        return;
    }
    const OutputWindow& window = m_services.outputs.project();
    const std::string_view outcome =
        window.errorSeen() ? kMadeWithErrors : (window.warningSeen() ? kMadeWithWarnings : kMadeSuccessfully);
    report(outcome, fromRun ? platform::SoundKind::Information : platform::SoundKind::None);
    if (window.errorSeen() || window.warningSeen()) {
        m_services.outputs.show(OutputKind::Project);
    }
}

int32_t Project::open() {
    CommandProcessor& processor = m_services.processor;
    FileDialogRequest request;
    request.title = std::string(kOpenProjectTitle);
    request.initialDirectory = processor.options().lastDirectoryUsed();
    const std::vector<std::string> paths = processor.frame().chooseFilesToOpen(request);
    if (paths.empty()) {
        return 0;
    }
    m_settings.current = paths.front();
    if (!m_settings.save(processor.options().settingsFile())) {
        processor.frame().messageBox(processor.options().settingsFile().errorText());
    }
    report(formatText(kProjectOpened, m_settings.current.c_str()));
    return 1;
}

int32_t Project::close() {
    if (!isBusy()) {
        spawner().runFolder().clear();
    }
    m_settings.current.clear();
    CommandProcessor& processor = m_services.processor;
    if (!m_settings.save(processor.options().settingsFile())) {
        processor.frame().messageBox(processor.options().settingsFile().errorText());
    }
    report(kProjectClosed);
    return 1;
}

int32_t Project::current() {
    if (m_settings.current.empty()) {
        report(kNoProjectOpen);
    } else {
        report(formatText(kCurrentProject, m_settings.current.c_str()));
    }
    return 1;
}

} // namespace vexa::toolchain
