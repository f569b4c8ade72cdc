// Where the programs find the shipped files their home is seeded from: $VEXA_SHARE, the
// installation beside the program, then the build tree this program was configured in.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "settings/HomeSetup.h"

namespace vexa::app {

inline std::vector<std::filesystem::path> shippedFileDirectories() {
    const char* environment = std::getenv(kShareVariable);
    return locateShareDirectories(ShareSearch{environment != nullptr ? environment : "",
                                              currentProgramFile(),
                                              {VEXA_BUILD_SHARE, VEXA_BUILD_DATA}});
}

} // namespace vexa::app
