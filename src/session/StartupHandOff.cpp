// Handing a file from a second start of the editor to the running one.
#include "session/StartupHandOff.h"

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
