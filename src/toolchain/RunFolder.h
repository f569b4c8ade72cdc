// The private folder one run owner (the compiler, the project, the captured tool runs) keeps the
// files of its runs in: the batch file, the error file and the pipe file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vexa::toolchain {

// Where the run folders are made: "vexa/" in the user's runtime directory ($XDG_RUNTIME_DIR), else
// "runs/" in the Vexa home. Ends in '/'.
std::string runFolderBase(std::string_view homeDirectory);

// A folder only the editor's user may enter, made at first use under runFolderBase, so that a
// compile or make leaves nothing beside the source or the makefile. When it cannot be made the
// files go into the Vexa home itself. The files it handed out go when it is cleared or destroyed,
// and so does the folder.
class RunFolder {
public:
    explicit RunFolder(std::string homeDirectory);
    ~RunFolder();
    RunFolder(RunFolder&& other) noexcept;
    RunFolder& operator=(RunFolder&&) = delete;
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    // The full name of a file in the folder (made now when it is not there yet).
    std::string file(std::string_view name);
    // Where the files are, ending in '/'; empty before the first file was asked for.
    const std::string& path() const { return m_path; }
    // Removes the files handed out and the folder; the next file makes a new one.
    void clear();

private:
    std::string m_home;
    std::string m_path;
    bool m_private = false;
    std::vector<std::string> m_names;
};

} // namespace vexa::toolchain
