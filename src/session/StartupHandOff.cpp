// Handing a file from a second start of the editor to the running one.
#include "session/StartupHandOff.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "platform/Files.h"
#include "platform/InstanceLink.h"
#include "settings/Format.h"

namespace vexa {

HandOffResult sendHandOff(platform::InstanceLink& link, const HandOff& handOff) {
    std::string path;
    if (!handOff.file.empty()) {
        auto full = platform::fullPath(handOff.file);
        if (!full) {
            return HandOffResult::NameUnresolved;
        }
        path = *full;
    }
    platform::KeyStore& record = link.record();
    if (!record.writeValue(kHandOffFileKey, path) ||
        !record.writeValue(kHandOffLineKey, std::to_string(handOff.line))) {
        return HandOffResult::RecordFailed;
    }
    return link.postFileOpen() ? HandOffResult::Posted : HandOffResult::NotDelivered;
}

HandOffResult sendHandOffs(platform::InstanceLink& link, std::span<const HandOff> handOffs) {
    if (handOffs.size() == 1) {
        return sendHandOff(link, handOffs.front());
    }
    std::vector<HandOff> resolved;
    for (const HandOff& handOff : handOffs) {
        auto full = platform::fullPath(handOff.file);
        if (!full) {
            return HandOffResult::NameUnresolved;
        }
        resolved.push_back(HandOff{*full, handOff.line});
    }
    auto lists = openFilesLists(resolved);
    if (!lists) {
        return HandOffResult::NameUnresolved;
    }
    for (const std::string& list : *lists) {
        if (!link.postOpenFiles(list)) {
            return HandOffResult::NotDelivered;
        }
    }
    return HandOffResult::Posted;
}

std::optional<std::vector<std::string>> openFilesLists(std::span<const HandOff> handOffs) {
    std::vector<std::string> lists;
    std::string list;
    int listLine = 0;
    for (const HandOff& handOff : handOffs) {
        const std::string lineText = std::to_string(std::max(handOff.line, 0));
        if (lineText.size() + 1 + handOff.file.size() > platform::kMaxLinkFiles) {
            return std::nullopt;
        }
        if (!list.empty() &&
            (listLine != handOff.line || list.size() + 1 + handOff.file.size() > platform::kMaxLinkFiles)) {
            lists.push_back(std::move(list));
            list.clear();
        }
        if (list.empty()) {
            list = lineText;
            listLine = handOff.line;
        }
        list += '\0';
        list += handOff.file;
    }
    if (!list.empty()) {
        lists.push_back(std::move(list));
    }
    return lists;
}

std::optional<std::vector<HandOff>> readOpenFilesList(std::string_view list) {
    constexpr std::size_t kMaxLineDigits = 10;
    const std::size_t digitsEnd = list.find('\0');
    if (digitsEnd == std::string_view::npos || digitsEnd == 0 || digitsEnd > kMaxLineDigits) {
        return std::nullopt;
    }
    int line = 0;
    auto [end, error] = std::from_chars(list.data(), list.data() + digitsEnd, line);
    if (error != std::errc{} || end != list.data() + digitsEnd || line < 0) {
        return std::nullopt;
    }
    std::vector<HandOff> handOffs;
    std::string_view rest = list.substr(digitsEnd);
    while (!rest.empty()) {
        rest.remove_prefix(1); // the NUL before each file
        const std::size_t next = std::min(rest.find('\0'), rest.size());
        const std::string_view file = rest.substr(0, next);
        if (file.empty() || file.front() != '/') {
            return std::nullopt;
        }
        handOffs.push_back(HandOff{std::string(file), line});
        rest.remove_prefix(next);
    }
    if (handOffs.empty()) {
        return std::nullopt;
    }
    return handOffs;
}

std::string handOffReadFailure(int sourceLine) {
    return formatText(kUnexpectedError.data(), kHandOffReceiverModule.data(),
                      std::to_string(sourceLine).c_str());
}

std::optional<HandOff> receiveHandOff(platform::InstanceLink& link) {
    platform::KeyStore& record = link.record();
    auto file = record.readValue(kHandOffFileKey);
    auto line = record.readValue(kHandOffLineKey);
    if (!file || !line) {
        return std::nullopt;
    }
    HandOff handOff{*file, 0};
    // Read as the 20-character buffer it was written into; a bad number positions nowhere.
    const std::string digits = line->substr(0, 20);
    int value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    (void)end;
    if (error == std::errc{} && value > 0) {
        handOff.line = value;
    }
    return handOff;
}

} // namespace vexa
