// The clipboard port over the desktop clipboard: plain text plus the private mark-type format.
#pragma once

#include "platform/Clipboard.h"

namespace vexa::ui {

// The MIME type of the private format: the 4-byte mark type, little-endian.
inline constexpr const char* kPrivateMimeType = "application/x-vexa-private";

class QtClipboard final : public platform::Clipboard {
public:
    [[nodiscard]] bool put(const std::string& text, int32_t markType) override;
    [[nodiscard]] std::optional<platform::ClipboardContent> get() const override;
};

} // namespace vexa::ui
