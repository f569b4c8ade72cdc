// The stamp functions.
#include "commands/StampCommands.h"

#include <algorithm>
#include <array>

#include "commands/CommandProcessor.h"
#include "core/Document.h"
#include "core/DocumentText.h"
#include "frame/Frame.h"
#include "platform/Files.h"
#include "settings/Format.h"

namespace vexa {

namespace {

constexpr std::array<FunctionId, 8> kIds = {
    functionIdOf("StampDay"),      functionIdOf("StampMonth"),        functionIdOf("StampYear"),
    functionIdOf("StampDateTime"), functionIdOf("StampTime"),         functionIdOf("StampFileName"),
    functionIdOf("StampFileSize"), functionIdOf("StampFileDateTime"),
};

constexpr std::array<const char*, 7> kDays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

} // namespace

bool StampCommands::claims(FunctionId id) {
    return std::find(kIds.begin(), kIds.end(), id) != kIds.end();
}

std::string StampCommands::dateTimeText(const platform::LocalTime& time) {
    const char* day = kDays[static_cast<std::size_t>(std::clamp(time.dayOfWeek, 0, 6))];
    const char* month = kMonths[static_cast<std::size_t>(std::clamp(time.month, 1, 12) - 1)];
    return formatText("%.3s %.3s%3d %.2d:%.2d:%.2d %d", day, month, time.day, time.hour, time.minute,
                      time.second, time.year);
}

int32_t StampCommands::run(FunctionId id) {
    Document* document = m_processor.document();
    if (document == nullptr) {
        return 1;
    }
    const platform::LocalTime now = m_processor.clock().localTime();
    std::string text;
    switch (id) {
    case functionIdOf("StampDay"):
        text = formatText("%d", now.day);
        break;
    case functionIdOf("StampMonth"):
        text = formatText("%d", now.month);
        break;
    case functionIdOf("StampYear"):
        text = formatText("%d", now.year);
        break;
    case functionIdOf("StampTime"):
        text = formatText("%2d:%02d:%02d.%02d", now.hour, now.minute, now.second, now.millisecond / 10);
        break;
    case functionIdOf("StampDateTime"):
        text = dateTimeText(now);
        break;
    case functionIdOf("StampFileName"):
        text = document->fileName();
        break;
    case functionIdOf("StampFileSize"):
        if (const auto size = platform::fileSize(document->fileName())) {
            text = formatText("%llu", static_cast<unsigned long long>(*size));
        }
        break;
    case functionIdOf("StampFileDateTime"):
        if (const auto modified = platform::modificationTime(document->fileName())) {
            text = dateTimeText(platform::localTimeAt(*modified));
        }
        break;
    default:
        return 0;
    }
    // File names are UTF-8 on this platform; a stamp goes in as the document's encoding writes it
    // (refused with a message where it cannot).
    if (const auto bytes = documentBytes(*document, text::externalToUtf8(text), &m_processor.frame())) {
        document->insertText(*bytes);
    }
    return 1;
}

} // namespace vexa
