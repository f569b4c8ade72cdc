// The environment port: variables, the current directory, the program's own path and the user.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vexa::platform {

// The value of an environment variable; nothing when it is not set (an empty value is set).
[[nodiscard]] std::optional<std::string> environmentVariable(const std::string& name);
[[nodiscard]] bool setEnvironmentVariable(const std::string& name, const std::string& value);
[[nodiscard]] bool unsetEnvironmentVariable(const std::string& name);

// The process's current directory, without a trailing '/' (except for the root itself).
[[nodiscard]] std::optional<std::string> currentDirectory();
[[nodiscard]] bool setCurrentDirectory(const std::string& path);

// The full path of the running program file; nothing when the system cannot tell.
[[nodiscard]] std::optional<std::string> programPath();

// The first executable ordinary file of that name in the directories of PATH, as a full
// path; relative PATH entries are skipped, for they would depend on the current directory.
// Nothing for a name with a '/' or when none is found.
[[nodiscard]] std::optional<std::string> findOnPath(const std::string& name);
// The same along a given search path (directories separated by ':') instead of PATH.
[[nodiscard]] std::optional<std::string> findOnSearchPath(const std::string& name,
                                                          const std::string& searchPath);

// The numeric id of the user running the editor.
[[nodiscard]] uint32_t userId();

} // namespace vexa::platform
