// A temporary Vexa home for one test: VEXA_HOME points at a fresh directory, removed afterwards.
#pragma once

#include <filesystem>
#include <string>

namespace vexa::test {

class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // A path inside the home, as a string.
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
    std::string m_previous;
    bool m_hadPrevious = false;
};

// Reads a whole file as bytes; empty when it does not exist.
std::string readFileBytes(const std::filesystem::path& path);
// Writes bytes to a file, replacing it.
void writeFileBytes(const std::filesystem::path& path, const std::string& bytes);

} // namespace vexa::test
