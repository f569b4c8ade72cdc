// The system's manual pages: looking a name up and getting the page as plain text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vexa::platform {

struct ManualPage {
    std::string section; // "3"
    std::string text;    // plain text, overstrike and colour codes removed
};

// The manual pages port.
class ManualPages {
public:
    virtual ~ManualPages() = default;
    // The page of a name in the first of the given sections (blank-separated, e.g. "3 2") that
    // has one; nothing when no section has it or the name is not a plain manual page name.
    [[nodiscard]] virtual std::optional<ManualPage> find(std::string_view name,
                                                         std::string_view sections) = 0;
};

// Whether a name can be handed to the manual program as a page name: letters, digits and
// "_.:+-", not beginning with '-', at most 100 characters.
[[nodiscard]] bool isManualPageName(std::string_view name);

// Plain text from a formatter's terminal output: "c\bc" (bold) and "_\bc" (underline) become "c",
// terminal escape sequences are dropped, other control characters but tab and line feed too.
[[nodiscard]] std::string plainManualText(std::string_view formatted);

// Runs the system's "man" program (no shell) with a pager that only copies, 80 columns wide,
// and takes at most a few megabytes of its output.
class SystemManualPages final : public ManualPages {
public:
    [[nodiscard]] std::optional<ManualPage> find(std::string_view name, std::string_view sections) override;
};

} // namespace vexa::platform
