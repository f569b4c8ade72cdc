// Reading and writing the compiler and project sections, and choosing a command by extension.
#include "toolchain/CompilerSettings.h"

#include <cctype>

#include "settings/SettingsFile.h"
#include "settings/SettingsText.h"

namespace vexa::toolchain {
namespace {

constexpr std::size_t kRunFileSize = 256;
constexpr std::size_t kFlagSize = 10;

char upper(char ch) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
}

void loadRun(const SettingsFile& settings, std::string_view section, RunSettings& run) {
    run.runFile = settings.getString(section, "RunFile", kBatchFileName, kRunFileSize);
    const std::string debug = settings.getString(section, "Debug", "NO", kFlagSize);
    run.debug = !debug.empty() && upper(debug.front()) == 'Y';
    const std::string wait = settings.getString(section, "Wait", "YES", kFlagSize);
    run.wait = !wait.empty() && upper(wait.front()) == 'Y';
    const std::string mode = settings.getString(section, "Mode", "VEXA", kFlagSize);
    run.mode = !mode.empty() && upper(mode.front()) == 'V' ? RunMode::Vexa : RunMode::Other;
    run.display = settings.getInteger(section, "Display", 7);
}

bool saveRun(SettingsText& text, std::string_view section, const RunSettings& run) {
    return text.putString(section, "RunFile", run.runFile) &&
           text.putString(section, "Debug", run.debug ? "YES" : "NO") &&
           text.putString(section, "Wait", run.wait ? "YES" : "NO") &&
           text.putString(section, "Mode", run.mode == RunMode::Vexa ? "Vexa" : "Other") &&
           text.putInteger(section, "Display", run.display);
}

} // namespace

void CompilerSettings::load(const SettingsFile& settings) {
    loadRun(settings, kSection, run);
    const std::string entry =
        settings.getString(kSection, "Command0", "", kMaxExtension + 1 + kMaxCommand + 1);
    const std::size_t bar = entry.find('|');
    if (bar == std::string::npos) {
        extension.clear();
        command.clear();
        return;
    }
    extension = entry.substr(0, std::min(bar, kMaxExtension));
    command = entry.substr(bar + 1, kMaxCommand);
}

bool CompilerSettings::save(SettingsFile& settings) const {
    return settings.update([&](SettingsText& text) {
        return saveRun(text, kSection, run) &&
               text.putString(kSection, "Command0", extension + "|" + command);
    });
}

std::string CompilerSettings::commandFor(std::string_view fileExtension) const {
    constexpr std::size_t kCompared = 20;
    const std::string_view own = std::string_view(extension).substr(0, std::min(extension.size(), kCompared));
    const std::string_view asked = fileExtension.substr(0, std::min(fileExtension.size(), kCompared));
    bool same = own.size() == asked.size();
    for (std::size_t i = 0; same && i < own.size(); ++i) {
        same = upper(own[i]) == upper(asked[i]);
    }
    if (!command.empty() && same) {
        return command;
    }
    return extension.empty() ? command : std::string();
}

std::string builtInCompileCommand(std::string_view extension, std::string_view cCompiler,
                                  std::string_view cxxCompiler) {
    constexpr std::string_view kFlags = " -Wall -Wextra -fsyntax-only %s";
    if (extension == "c" || extension == "h") {
        return std::string(cCompiler.empty() ? "cc" : cCompiler) + std::string(kFlags);
    }
    for (std::string_view cxx : {"C", "cc", "cpp", "cxx", "c++", "CC", "CPP", "hh", "hpp", "hxx", "H"}) {
        if (extension == cxx) {
            return std::string(cxxCompiler.empty() ? "c++" : cxxCompiler) + std::string(kFlags);
        }
    }
    return {};
}

void ProjectSettings::load(const SettingsFile& settings) {
    loadRun(settings, kSection, run);
    command = settings.getString(kSection, "Command", "make -f %s", kMaxCommand + 1);
    fileName = settings.getString(kSection, "FileName", "SAMPLE.MAK", kRunFileSize);
    current = settings.getString(kSection, "Current", "", kRunFileSize);
}

bool ProjectSettings::save(SettingsFile& settings) const {
    return settings.update([&](SettingsText& text) {
        return saveRun(text, kSection, run) && text.putString(kSection, "Command", command) &&
               text.putString(kSection, "FileName", fileName) && text.putString(kSection, "Current", current);
    });
}

} // namespace vexa::toolchain
