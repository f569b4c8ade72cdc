// The temporary home and small file helpers shared by the tests.
#include "support/TempHome.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vexa::test {

TempHome::TempHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vexa-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary home");
    }
    m_path = pattern;
    if (const char* previous = std::getenv("VEXA_HOME")) {
        m_previous = previous;
        m_hadPrevious = true;
    }
    setenv("VEXA_HOME", m_path.c_str(), 1);
}

TempHome::~TempHome() {
    if (m_hadPrevious) {
        setenv("VEXA_HOME", m_previous.c_str(), 1);
    } else {
        unsetenv("VEXA_HOME");
    }
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string readFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFileBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace vexa::test
