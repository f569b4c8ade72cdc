// The clipboard port over the desktop clipboard: plain text plus the private mark-type format.
#pragma once

#include "platform/Clipboard.h"

namespace vexa::ui {

// The MIME type of the private format: the 4-byte mark type, little-endian.
inline constexpr const char* kPrivateMimeType = "application/x-vexa-private";

// Which of the desktop's clipboards a port stands for: the clipboard of Ctrl+C and Ctrl+V, or the
// primary selection that marking sets and a middle click pastes.
enum class ClipboardMode : uint8_t { Clipboard, Selection };

class QtClipboard final : public platform::Clipboard {
public:
    explicit QtClipboard(ClipboardMode mode = ClipboardMode::Clipboard) : m_mode(mode) {}

    [[nodiscard]] bool put(const std::string& text, int32_t markType) override;
    [[nodiscard]] std::optional<platform::ClipboardContent> get() const override;

private:
    ClipboardMode m_mode;
    // A desktop without a primary selection: the editor keeps its own, so that a middle click
    // still pastes what was marked last.
    platform::MemoryClipboard m_ownSelection;
};

} // namespace vexa::ui
