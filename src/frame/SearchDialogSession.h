// The Find or Replace dialog as the frame shows it: its controls and buttons over the search state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vexa {

enum class SearchDialogKind : uint8_t { Find, Replace };

// The values of the dialog's controls, the two texts as UTF-8; the replacement fields belong to the
// Replace dialog only.
struct SearchDialogControls {
    std::string findText;
    std::string replaceText;
    bool wholeWord = false;
    bool caseSensitive = false;
    bool regularExpression = false;
    bool searchDown = true;
    bool replaceAll = false;

    friend bool operator==(const SearchDialogControls&, const SearchDialogControls&) = default;
};

// The commands layer implements it; the frame shows it modelessly and presses its buttons. Every
// button works on whatever pane is active when it is pressed.
class SearchDialogSession {
public:
    virtual ~SearchDialogSession() = default;

    [[nodiscard]] virtual SearchDialogKind kind() const = 0;

    [[nodiscard]] virtual SearchDialogControls controls() const = 0;
    virtual void setControls(const SearchDialogControls& controls) = 0;
    [[nodiscard]] virtual std::vector<std::string> findHistory() const = 0;
    [[nodiscard]] virtual std::vector<std::string> replaceHistory() const = 0;

    [[nodiscard]] virtual bool findNextEnabled() const = 0;
    // "&Find Next": true when a match was found.
    virtual bool findNext() = 0;
    // "&Replace" (the Replace dialog only): the number replaced.
    virtual int replace() = 0;
    // "&Cancel": the frame closes the dialog afterwards.
    virtual void cancel() = 0;
    // Closing writes the histories; false when one could not be written.
    [[nodiscard]] virtual bool close() = 0;
};

} // namespace vexa
