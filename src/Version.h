// The editor's version, shown by the version function and the About box.
#pragma once

namespace vexa {

const char* versionText();

} // namespace vexa
