// The tokenizer state and the e-mail finder of a syntax profile.
#include "syntax/SyntaxProfile.h"

namespace vexa::syntax {

SyntaxProfile::SyntaxProfile(const ColourTable& colours, BuiltInKeywords keywords)
    : ExtensionProfile(keywords), m_colours(&colours), m_email(RegexMatcher::kIgnoreCase) {}

void SyntaxProfile::setScanPosition(std::string_view line, std::size_t offset) {
    m_line = line;
    m_scan = offset;
}

Token SyntaxProfile::nextToken() {
    m_token = scanToken(*this, m_line, m_scan);
    m_scan = m_token.offset + m_token.length;
    return m_token;
}

bool SyntaxProfile::findEmailAddress(std::string_view text, std::size_t& offset, std::size_t& length) {
    // The engine's case flag is shared by every matcher, so it is set before each match.
    m_email.setCaseMode(RegexMatcher::kIgnoreCase);
    if (!m_email.match(text, kEmailPattern)) {
        return false;
    }
    offset = m_email.offset();
    length = m_email.matchedLength();
    return true;
}

bool SyntaxProfile::findEmailAddress(const char* text, std::size_t& offset, std::size_t& length) {
    if (text == nullptr) {
        return false;
    }
    return findEmailAddress(std::string_view(text), offset, length);
}

} // namespace vexa::syntax
