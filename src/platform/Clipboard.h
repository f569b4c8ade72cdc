// The clipboard port: plain text, OEM text and the editor's private format in one transaction.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vexa::platform {

// What the editor puts on the clipboard, and what it reads back. The text is UTF-8 (the document
// side converts from and to its own encoding). The private format carries the 4-byte mark type of
// the copied text ("VexaPrivate"); plain and OEM text hold the same text.
struct ClipboardContent {
    std::string text;
    std::optional<int32_t> privateMarkType;
};

class Clipboard {
public:
    virtual ~Clipboard() = default;

    // Replaces the whole clipboard with the text in all three formats. False when the
    // clipboard could not be opened.
    [[nodiscard]] virtual bool put(const std::string& text, int32_t markType) = 0;

    // The text on the clipboard (standard text format) and the private mark type when present;
    // nothing when the clipboard holds no text.
    [[nodiscard]] virtual std::optional<ClipboardContent> get() const = 0;
};

// The clipboard of a program without a window: it lives as long as the object.
class MemoryClipboard final : public Clipboard {
public:
    [[nodiscard]] bool put(const std::string& text, int32_t markType) override {
        m_content = ClipboardContent{text, markType};
        return true;
    }
    [[nodiscard]] std::optional<ClipboardContent> get() const override { return m_content; }

    // Puts text as another program would: without the private format.
    void putForeignText(const std::string& text) { m_content = ClipboardContent{text, std::nullopt}; }
    void clear() { m_content.reset(); }

private:
    std::optional<ClipboardContent> m_content;
};

} // namespace vexa::platform
