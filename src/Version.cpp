// The editor's version text.
#include "Version.h"

namespace vexa {

const char* versionText() {
    return "Vexa 0.1";
}

} // namespace vexa
