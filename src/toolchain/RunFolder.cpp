// The run folder: made on demand, owner-only, and removed with the files it handed out.
#include "toolchain/RunFolder.h"

#include <algorithm>
#include <optional>

#include "platform/Environment.h"
#include "platform/Files.h"

namespace vexa::toolchain {
namespace {

std::string withSlash(std::string directory) {
    if (directory.empty() || directory.back() != '/') {
        directory.push_back('/');
    }
    return directory;
}

} // namespace

std::string runFolderBase(std::string_view homeDirectory) {
    const std::optional<std::string> runtime = platform::environmentVariable("XDG_RUNTIME_DIR");
    if (runtime && !runtime->empty() && runtime->front() == '/' && platform::isDirectory(*runtime)) {
        return withSlash(*runtime) + "vexa/";
    }
    return withSlash(std::string(homeDirectory)) + "runs/";
}

RunFolder::RunFolder(std::string homeDirectory) : m_home(withSlash(std::move(homeDirectory))) {}

RunFolder::RunFolder(RunFolder&& other) noexcept
    : m_home(std::move(other.m_home)), m_path(std::move(other.m_path)), m_private(other.m_private),
      m_names(std::move(other.m_names)) {
    other.m_path.clear();
    other.m_private = false;
    other.m_names.clear();
}

RunFolder::~RunFolder() {
    clear();
}

std::string RunFolder::file(std::string_view name) {
    if (m_path.empty() || !platform::isDirectory(m_path)) {
        const std::optional<std::string> made = platform::makePrivateDirectory(runFolderBase(m_home), "run-");
        m_private = made.has_value();
        m_path = made.value_or(m_home);
        m_names.clear();
    }
    if (std::find(m_names.begin(), m_names.end(), name) == m_names.end()) {
        m_names.emplace_back(name);
    }
    return m_path + std::string(name);
}

void RunFolder::clear() {
    if (m_path.empty()) {
        return;
    }
    for (const std::string& name : m_names) {
        (void)platform::removeFile(m_path + name);
    }
    if (m_private) {
        (void)platform::removeDirectory(m_path);
    }
    m_names.clear();
    m_path.clear();
    m_private = false;
}

} // namespace vexa::toolchain
