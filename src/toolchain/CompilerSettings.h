// The compiler's settings (section "Compiler") and the project's (section "Project").
#pragma once

#include <string>
#include <string_view>

namespace vexa {
class SettingsFile;
}

namespace vexa::toolchain {

inline constexpr std::string_view kBatchFileName = "VexaCC.BAT";

// How a compile or make is run: through the batch file the editor writes, or the user's own.
enum class RunMode : uint8_t { Vexa, Other };

// The settings compiler and project share.
struct RunSettings {
    std::string runFile = std::string(kBatchFileName); // 256 characters
    bool debug = false;                                // keep the batch window visible and pausing
    bool wait = true;                                  // kept and written back only
    RunMode mode = RunMode::Vexa;
    int display = 7; // the show mode of the started process
};

struct CompilerSettings {
    static constexpr std::string_view kSection = "Compiler";
    static constexpr std::size_t kMaxExtension = 21;
    static constexpr std::size_t kMaxCommand = 255;

    RunSettings run;
    // The one command-line entry: an extension without its dot (empty: every extension) and a
    // command in which "%s" stands for the source file.
    std::string extension;
    std::string command;

    void load(const SettingsFile& settings);
    [[nodiscard]] bool save(SettingsFile& settings) const;

    // The entry's command for a file extension (without its dot): the entry when its extension
    // equals it (any case, first 20 characters) or both are empty, or when the entry's extension is
    // empty (the generic entry); otherwise empty.
    std::string commandFor(std::string_view fileExtension) const;
};

// The command for a C or C++ file (by its extension, without the dot) when none is configured: the
// compiler of $CC or $CXX (given here; "cc" and "c++" without), checking the syntax with the usual
// warnings. Empty for other extensions.
std::string builtInCompileCommand(std::string_view extension, std::string_view cCompiler,
                                  std::string_view cxxCompiler);

struct ProjectSettings {
    static constexpr std::string_view kSection = "Project";
    // In characters, as many as the options dialog accepts.
    static constexpr std::size_t kMaxCommand = 255;

    RunSettings run;
    std::string command = "make -f %s";  // "%s" stands for the project file name
    std::string fileName = "SAMPLE.MAK"; // the placeholder as typed in the dialog
    std::string current;                 // the open project file; empty: none

    void load(const SettingsFile& settings);
    [[nodiscard]] bool save(SettingsFile& settings) const;
};

} // namespace vexa::toolchain
