// The dialogs of the navigation functions: going to a line, going to a bookmark, choosing one of
// the files that share the document's base name, and the list of loaded documents.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/DialogModel.h"

namespace vexa::navigation {

// The text box's leading digits as a number; a text without them counts as 0.
int leadingNumber(std::string_view text);

// "Goto Line" and "Goto Bookmark": one text box and a Goto button enabled while the box is not
// empty. Pressing Goto hands the text to the action, which reports whether the dialog may close.
class NumberDialogModel : public DialogModel {
public:
    using Action = std::function<bool(const std::string& text)>;
    NumberDialogModel(std::string title, std::string label, std::string text, Action action)
        : m_title(std::move(title)), m_label(std::move(label)), m_text(std::move(text)),
          m_action(std::move(action)) {}

    std::string_view title() const override { return m_title; }
    std::string_view label() const { return m_label; }
    const std::string& text() const { return m_text; }
    void setText(std::string text) { m_text = std::move(text); }
    bool gotoEnabled() const { return !m_text.empty(); }
    // The Goto button: true when the dialog closes as accepted.
    bool pressGoto() { return gotoEnabled() && m_action(m_text); }

private:
    std::string m_title;
    std::string m_label;
    std::string m_text;
    Action m_action;
};

inline constexpr std::string_view kGotoLineTitle = "Goto Line";
inline constexpr std::string_view kGotoLineLabel = "&Line Number:";
inline constexpr std::string_view kGotoBookmarkTitle = "Goto Bookmark";
inline constexpr std::string_view kGotoBookmarkLabel = "&Bookmark Number:";

// A list of entries of which the user picks one (the association popup, the document list).
class ChoiceListModel : public DialogModel {
public:
    ChoiceListModel(std::string title, std::vector<std::string> entries, std::string hint = {})
        : m_title(std::move(title)), m_entries(std::move(entries)), m_hint(std::move(hint)) {}

    std::string_view title() const override { return m_title; }
    const std::vector<std::string>& entries() const { return m_entries; }
    // The status hint of each item.
    std::string_view hint() const { return m_hint; }
    std::optional<std::size_t> chosen() const { return m_chosen; }
    // False for an index outside the list.
    bool choose(std::size_t index);

private:
    std::string m_title;
    std::vector<std::string> m_entries;
    std::string m_hint;
    std::optional<std::size_t> m_chosen;
};

inline constexpr std::string_view kAssociationTitle = "Association List";
inline constexpr std::string_view kAssociationHint = "Open this document";
inline constexpr std::string_view kDocumentListTitle = "Document List";

} // namespace vexa::navigation
