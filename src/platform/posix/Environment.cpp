// The POSIX environment port: getenv/setenv, getcwd/chdir and /proc/self/exe.
#include "platform/Environment.h"

#include <cerrno>
#include <cstdlib>
#include <unistd.h>
#include <vector>

#include "platform/Files.h"

namespace vexa::platform {

std::optional<std::string> environmentVariable(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

bool setEnvironmentVariable(const std::string& name, const std::string& value) {
    if (name.empty() || name.find('=') != std::string::npos) {
        return false;
    }
    return ::setenv(name.c_str(), value.c_str(), 1) == 0;
}

bool unsetEnvironmentVariable(const std::string& name) {
    if (name.empty() || name.find('=') != std::string::npos) {
        return false;
    }
    return ::unsetenv(name.c_str()) == 0;
}

std::optional<std::string> currentDirectory() {
    std::vector<char> buffer(256);
    while (true) {
        if (::getcwd(buffer.data(), buffer.size()) != nullptr) {
            return std::string(buffer.data());
        }
        if (errno != ERANGE || buffer.size() > (1u << 20)) {
            return std::nullopt;
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool setCurrentDirectory(const std::string& path) {
    return !path.empty() && ::chdir(path.c_str()) == 0;
}

std::optional<std::string> programPath() {
    std::vector<char> buffer(256);
    while (buffer.size() <= (1u << 20)) {
        ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return std::nullopt;
        }
        // A result that fills the buffer may have been cut short.
        if (static_cast<std::size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
    return std::nullopt;
}

std::optional<std::string> findOnPath(const std::string& name) {
    return findOnSearchPath(name, environmentVariable("PATH").value_or("/usr/bin:/bin"));
}

std::optional<std::string> findOnSearchPath(const std::string& name, const std::string& searchPath) {
    if (name.empty() || name.find('/') != std::string::npos) {
        return std::nullopt;
    }
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t colon = searchPath.find(':', start);
        std::size_t end = colon == std::string::npos ? searchPath.size() : colon;
        std::string entry = searchPath.substr(start, end - start);
        start = end + 1;
        if (entry.empty() || entry.front() != '/') {
            continue;
        }
        std::string candidate = entry.back() == '/' ? entry + name : entry + "/" + name;
        if (isRegularFile(candidate) && canAccess(candidate, Access::Execute)) {
            return candidate;
        }
    }
    return std::nullopt;
}

uint32_t userId() {
    return static_cast<uint32_t>(::getuid());
}

} // namespace vexa::platform
