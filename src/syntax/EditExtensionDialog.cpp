// The "Edit Extension" / "New Extension" dialog model.
#include "syntax/EditExtensionDialog.h"

#include <algorithm>
#include <fstream>

#include "frame/Frame.h"
#include "settings/Format.h"

namespace vexa::syntax {

namespace {

constexpr std::size_t index(ExtensionField field) {
    return static_cast<std::size_t>(field);
}

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The order of the keyword list box: letter case ignored, and byte order between entries that
// differ only in case so that both keep a fixed place.
bool listOrder(const std::string& a, const std::string& b) {
    const auto folded =
        std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return static_cast<unsigned char>(lower(x)) < static_cast<unsigned char>(lower(y));
        });
    const auto foldedReverse =
        std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), [](char x, char y) {
            return static_cast<unsigned char>(lower(x)) < static_cast<unsigned char>(lower(y));
        });
    if (folded != foldedReverse) {
        return folded;
    }
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
}

std::size_t widthOf(ExtensionField field) {
    switch (field) {
    case ExtensionField::Description:
        return kDescriptionWidth - 1;
    case ExtensionField::Delimiters:
        return kDelimitersWidth - 1;
    case ExtensionField::CommentStart:
    case ExtensionField::CommentEnd:
    case ExtensionField::LineComment:
        return kCommentWidth - 1;
    case ExtensionField::Keyword:
        return kKeywordMaxLength;
    default:
        return 1;
    }
}

std::string charText(char c) {
    return c == '\0' ? std::string() : std::string(1, c);
}

} // namespace

EditExtensionDialog::EditExtensionDialog(ExtensionProfile& profile, ExtensionDialogMode mode, Frame& frame,
                                         std::string configDirectory)
    : m_profile(profile), m_mode(mode), m_frame(frame), m_configDirectory(std::move(configDirectory)),
      m_extension(profile.extension()), m_ignoreCase(profile.ignoreCase()) {
    m_fields[index(ExtensionField::Description)] = profile.description();
    m_fields[index(ExtensionField::Delimiters)] = profile.delimiters();
    m_fields[index(ExtensionField::CommentStart)] = profile.comment(CommentMarker::Start);
    m_fields[index(ExtensionField::CommentEnd)] = profile.comment(CommentMarker::End);
    m_fields[index(ExtensionField::LineComment)] = profile.comment(CommentMarker::Line);
    m_fields[index(ExtensionField::Literal)] = charText(profile.special(SpecialChar::Literal));
    m_fields[index(ExtensionField::KeywordPrefix)] = charText(profile.special(SpecialChar::KeywordPrefix));
    m_fields[index(ExtensionField::KeywordPostfix)] = charText(profile.special(SpecialChar::KeywordPostfix));
    m_fields[index(ExtensionField::Preprocessor)] = charText(profile.special(SpecialChar::Preprocessor));
    m_fields[index(ExtensionField::String)] = charText(profile.special(SpecialChar::String));
    for (const KeywordEntry& entry : profile.keywords()) {
        m_keywords.emplace_back(entry.view());
    }
    std::stable_sort(m_keywords.begin(), m_keywords.end(), listOrder);
}

std::string& EditExtensionDialog::fieldRef(ExtensionField field) {
    return field == ExtensionField::Keyword ? m_keywordField : m_fields.at(index(field));
}

void EditExtensionDialog::setText(ExtensionField field, std::string_view text) {
    if (field == ExtensionField::None || field == ExtensionField::IgnoreCase) {
        return;
    }
    std::string value(text.substr(0, widthOf(field)));
    std::string& target = fieldRef(field);
    if (target == value) {
        return;
    }
    target = std::move(value);
    if (field != ExtensionField::Keyword) {
        m_changed = true;
    }
}

std::string_view EditExtensionDialog::text(ExtensionField field) const {
    if (field == ExtensionField::Keyword) {
        return m_keywordField;
    }
    if (field == ExtensionField::None || field == ExtensionField::IgnoreCase) {
        return {};
    }
    return m_fields.at(index(field));
}

void EditExtensionDialog::setIgnoreCase(bool ignore) {
    if (ignore != m_ignoreCase) {
        m_ignoreCase = ignore;
        m_changed = true;
    }
}

char EditExtensionDialog::specialChar(ExtensionField field) const {
    const std::string& value = m_fields.at(index(field));
    return value.empty() ? '\0' : value[0];
}

void EditExtensionDialog::selectKeyword(std::size_t entry) {
    if (entry < m_keywords.size()) {
        m_selected = entry;
        m_keywordField = m_keywords[entry];
    }
}

void EditExtensionDialog::addEntry(const std::string& text) {
    const auto same = std::find(m_keywords.begin(), m_keywords.end(), text);
    if (same != m_keywords.end()) {
        m_selected = static_cast<std::size_t>(same - m_keywords.begin());
        return;
    }
    if (m_keywords.size() >= kMaxKeywords) {
        m_frame.status(formatText(kKeywordListFullFormat, static_cast<unsigned>(kMaxKeywords)),
                       platform::SoundKind::Exclamation);
        return;
    }
    const auto at = std::upper_bound(m_keywords.begin(), m_keywords.end(), text, listOrder);
    // The insertion may move the list: its position is taken from the iterator it returns.
    const auto inserted = m_keywords.insert(at, text);
    m_selected = static_cast<std::size_t>(inserted - m_keywords.begin());
    m_changed = true;
}

void EditExtensionDialog::addKeyword() {
    if (addEnabled()) {
        addEntry(m_keywordField);
    }
}

void EditExtensionDialog::updateKeyword() {
    if (!updateEnabled()) {
        return;
    }
    m_keywords.erase(m_keywords.begin() + static_cast<std::ptrdiff_t>(*m_selected));
    m_changed = true;
    addEntry(m_keywordField);
}

void EditExtensionDialog::deleteKeyword() {
    if (!deleteEnabled()) {
        return;
    }
    m_keywords.erase(m_keywords.begin() + static_cast<std::ptrdiff_t>(*m_selected));
    m_changed = true;
    if (m_keywords.empty()) {
        m_selected.reset();
    } else {
        m_selected = std::min(*m_selected, m_keywords.size() - 1);
    }
}

bool EditExtensionDialog::importKeywords() {
    if (!hasImport()) {
        return false;
    }
    FileDialogRequest request;
    request.title = kImportTitle;
    request.initialDirectory = m_configDirectory;
    // The shown texts are the dialog's own; "All Files" really takes every file here.
    request.filters = {{"Text Files (*.txt)", "*.txt"}, {"All Files (*.*)", "*"}};
    const std::vector<std::string> chosen = m_frame.chooseFilesToOpen(request);
    if (chosen.empty()) {
        return false;
    }
    std::ifstream in(chosen.front(), std::ios::binary);
    if (!in) {
        m_frame.messageBox(formatText(kImportOpenErrorFormat, chosen.front().c_str()));
        return false;
    }
    std::vector<std::string> words;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        // A line longer than a keyword goes on as the next entry.
        for (std::size_t at = 0; at < line.size(); at += kKeywordMaxLength) {
            words.push_back(line.substr(at, kKeywordMaxLength));
        }
    }
    // One sort and one pass for duplicates: adding a whole dictionary word by word into the
    // sorted list would move the list once per word.
    std::stable_sort(words.begin(), words.end(), listOrder);
    words.erase(std::unique(words.begin(), words.end()), words.end());
    if (words.size() > kMaxKeywords) {
        words.resize(kMaxKeywords);
        m_frame.status(formatText(kKeywordListFullFormat, static_cast<unsigned>(kMaxKeywords)),
                       platform::SoundKind::Exclamation);
    }
    m_keywords = std::move(words);
    m_selected.reset();
    m_changed = true;
    return true;
}

bool EditExtensionDialog::refuse(ExtensionField focus, const std::string& message,
                                 std::optional<std::size_t> selection) {
    m_focus = focus;
    m_delimiterSelection = selection;
    m_frame.status(message, platform::SoundKind::Exclamation);
    return false;
}

bool EditExtensionDialog::confirm() {
    m_focus = ExtensionField::None;
    m_delimiterSelection.reset();
    const char literal = specialChar(ExtensionField::Literal);
    const char prefix = specialChar(ExtensionField::KeywordPrefix);
    const char postfix = specialChar(ExtensionField::KeywordPostfix);
    const char preprocessor = specialChar(ExtensionField::Preprocessor);
    const char quote = specialChar(ExtensionField::String);

    if (literal != '\0' && (literal == prefix || literal == postfix || literal == preprocessor)) {
        return refuse(ExtensionField::Literal, formatText(kCharacterInUseFormat, "literal"));
    }
    if (preprocessor != '\0' && (preprocessor == prefix || preprocessor == postfix)) {
        return refuse(ExtensionField::Preprocessor, formatText(kCharacterInUseFormat, "pre-process"));
    }
    if (postfix != '\0' && postfix == prefix) {
        return refuse(ExtensionField::KeywordPostfix, formatText(kCharacterInUseFormat, "postfix"));
    }
    const std::string& delimiters = m_fields[index(ExtensionField::Delimiters)];
    const struct {
        char c;
        const char* name;
    } specials[] = {{literal, "literal"},
                    {preprocessor, "pre-process"},
                    {prefix, "prefix"},
                    {postfix, "postfix"},
                    {quote, "string"}};
    for (const auto& special : specials) {
        if (special.c == '\0') {
            continue;
        }
        if (const std::size_t at = delimiters.find(special.c); at != std::string::npos) {
            return refuse(ExtensionField::Delimiters, formatText(kDelimiterInUseFormat, special.name), at);
        }
    }
    const struct {
        ExtensionField field;
        const char* name;
    } comments[] = {{ExtensionField::CommentEnd, "comment end"},
                    {ExtensionField::LineComment, "comment line"},
                    {ExtensionField::CommentStart, "comment start"}};
    for (const auto& comment : comments) {
        const std::string& marker = m_fields[index(comment.field)];
        if (marker.size() != 1) {
            continue;
        }
        if (const std::size_t at = delimiters.find(marker[0]); at != std::string::npos) {
            return refuse(ExtensionField::Delimiters, formatText(kDelimiterInUseFormat, comment.name), at);
        }
    }

    m_profile.setDescription(m_fields[index(ExtensionField::Description)]);
    m_profile.setDelimiters(delimiters);
    m_profile.setComment(CommentMarker::Start, m_fields[index(ExtensionField::CommentStart)]);
    m_profile.setComment(CommentMarker::End, m_fields[index(ExtensionField::CommentEnd)]);
    m_profile.setComment(CommentMarker::Line, m_fields[index(ExtensionField::LineComment)]);
    m_profile.setSpecial(SpecialChar::Literal, literal);
    m_profile.setSpecial(SpecialChar::KeywordPrefix, prefix);
    m_profile.setSpecial(SpecialChar::KeywordPostfix, postfix);
    m_profile.setSpecial(SpecialChar::Preprocessor, preprocessor);
    m_profile.setSpecial(SpecialChar::String, quote);
    m_profile.setIgnoreCase(m_ignoreCase);
    KeywordList list;
    list.reserve(m_keywords.size());
    for (const std::string& word : m_keywords) {
        list.push_back(KeywordEntry::make(word));
    }
    m_profile.setKeywords(std::move(list));
    m_closed = true;
    return true;
}

} // namespace vexa::syntax
