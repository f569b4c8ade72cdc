// The model of the "Edit Extension" and "New Extension" dialogs: fields, validation, keyword list.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "syntax/ExtensionProfile.h"

namespace vexa {
class Frame;
}

namespace vexa::syntax {

enum class ExtensionDialogMode : uint8_t { Edit, New };

// The dialog's input fields, for focus and for change tracking.
enum class ExtensionField : uint8_t {
    None,
    Description,
    Delimiters,
    CommentStart,
    CommentEnd,
    LineComment,
    Literal,
    KeywordPrefix,
    KeywordPostfix,
    Preprocessor,
    String,
    IgnoreCase,
    Keyword,
};

inline constexpr const char* kCharacterInUseFormat =
    "The '%s' character is already use in one of the other field.";
inline constexpr const char* kDelimiterInUseFormat =
    "The delimiter character has already been used as a '%s' character.";
inline constexpr const char* kImportOpenErrorFormat =
    "Error opening the '%s' file. A new file has been created.";
inline constexpr std::string_view kImportTitle = "Keyword Definition File";
inline constexpr const char* kKeywordListFullFormat =
    "The keyword list can hold no more than %u keywords. The other words were not added.";

class EditExtensionDialog {
public:
    // Shows profile's fields; nothing reaches the profile before a confirmed OK. configDirectory
    // is where the import's open dialog starts.
    EditExtensionDialog(ExtensionProfile& profile, ExtensionDialogMode mode, Frame& frame,
                        std::string configDirectory);

    ExtensionDialogMode mode() const { return m_mode; }
    std::string_view title() const {
        return m_mode == ExtensionDialogMode::New ? "New Extension" : "Edit Extension";
    }
    std::string_view extension() const { return m_extension; }
    bool hasImport() const { return m_mode == ExtensionDialogMode::New; }

    // Field edits, each cut to the width the field accepts (one character for the special
    // characters, where an empty field means "not set").
    void setText(ExtensionField field, std::string_view text);
    std::string_view text(ExtensionField field) const;
    void setIgnoreCase(bool ignore);
    bool ignoreCase() const { return m_ignoreCase; }

    // The keyword list box, kept sorted, and its selection.
    const std::vector<std::string>& keywordEntries() const { return m_keywords; }
    std::optional<std::size_t> selectedKeyword() const { return m_selected; }
    void selectKeyword(std::size_t index);
    void addKeyword();
    void updateKeyword();
    void deleteKeyword();
    bool addEnabled() const { return !m_keywordField.empty(); }
    bool updateEnabled() const { return m_selected.has_value() && !m_keywordField.empty(); }
    bool deleteEnabled() const { return m_selected.has_value(); }

    // Replaces the list with the lines of a file chosen in an open dialog (New only). False when
    // cancelled or the file could not be opened (then reported, the list unchanged).
    bool importKeywords();

    // OK is disabled in the edit dialog until the first change.
    bool okEnabled() const { return m_mode == ExtensionDialogMode::New || m_changed; }
    // Validates; on success copies everything into the profile and closes. On failure the
    // offending field gets the focus (with the offending character selected in the delimiters),
    // the message goes to the status line with a beep, and the dialog stays open.
    bool confirm();
    bool isClosed() const { return m_closed; }
    ExtensionField focus() const { return m_focus; }
    // The selected character of the delimiters field after a refused confirm.
    std::optional<std::size_t> delimiterSelection() const { return m_delimiterSelection; }

private:
    std::string& fieldRef(ExtensionField field);
    char specialChar(ExtensionField field) const;
    bool refuse(ExtensionField focus, const std::string& message, std::optional<std::size_t> selection = {});
    // Adds text to the sorted list unless a byte-equal entry exists; selects it either way.
    void addEntry(const std::string& text);

    ExtensionProfile& m_profile;
    ExtensionDialogMode m_mode;
    Frame& m_frame;
    std::string m_configDirectory;
    std::string m_extension;
    std::array<std::string, 11> m_fields; // indexed by ExtensionField, Description to String
    std::string m_keywordField;
    bool m_ignoreCase = false;
    std::vector<std::string> m_keywords;
    std::optional<std::size_t> m_selected;
    bool m_changed = false;
    bool m_closed = false;
    ExtensionField m_focus = ExtensionField::None;
    std::optional<std::size_t> m_delimiterSelection;
};

} // namespace vexa::syntax
