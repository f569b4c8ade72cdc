// The help viewer port: shows the topic of a help file that a keyword leads to.
#pragma once

#include <string>

namespace vexa::platform {

class HelpViewer {
public:
    virtual ~HelpViewer() = default;

    // Opens the help file at the first topic whose keyword begins with the given text (the
    // viewer's own index decides). False when the viewer could not be started.
    [[nodiscard]] virtual bool showKeyword(const std::string& helpFile, const std::string& keyword) = 0;
};

} // namespace vexa::platform
