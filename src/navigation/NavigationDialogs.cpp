// The navigation dialogs' own rules.
#include "navigation/NavigationDialogs.h"

#include <cctype>

namespace vexa::navigation {

int leadingNumber(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    long long value = 0;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) != 0) {
        value = value * 10 + (text[at] - '0');
        if (value > 0x7fffffff) {
            value = 0x7fffffff; // a huge number stays huge instead of wrapping around
        }
        ++at;
    }
    return static_cast<int>(negative ? -value : value);
}

bool ChoiceListModel::choose(std::size_t index) {
    if (index >= m_entries.size()) {
        return false;
    }
    m_chosen = index;
    return true;
}

} // namespace vexa::navigation
