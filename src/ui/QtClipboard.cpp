// The clipboard port over the desktop clipboard.
#include "ui/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace vexa::ui {

namespace {

QClipboard::Mode qtModeOf(ClipboardMode mode) {
    return mode == ClipboardMode::Selection ? QClipboard::Selection : QClipboard::Clipboard;
}

bool hasNoSelection(ClipboardMode mode, const QClipboard* clipboard) {
    return mode == ClipboardMode::Selection && (clipboard == nullptr || !clipboard->supportsSelection());
}

} // namespace

bool QtClipboard::put(const std::string& text, int32_t markType) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (hasNoSelection(m_mode, clipboard)) {
        return m_ownSelection.put(text, markType);
    }
    if (clipboard == nullptr) {
        return false;
    }
    auto data = std::make_unique<QMimeData>();
    // The editor joins lines with CR LF; the programs of this platform expect LF in plain text.
    // The private mark type keeps the shape, and reading takes either line end.
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            plain += text[i];
        }
    }
    data->setText(QString::fromUtf8(plain.data(), static_cast<qsizetype>(plain.size())));
    const auto value = static_cast<uint32_t>(markType);
    QByteArray type(4, '\0');
    for (int i = 0; i < 4; ++i) {
        type[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    data->setData(QString::fromLatin1(kPrivateMimeType), type);
    clipboard->setMimeData(data.release(), qtModeOf(m_mode)); // the clipboard takes ownership
    return true;
}

std::optional<platform::ClipboardContent> QtClipboard::get() const {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (hasNoSelection(m_mode, clipboard)) {
        return m_ownSelection.get();
    }
    const QMimeData* data = clipboard != nullptr ? clipboard->mimeData(qtModeOf(m_mode)) : nullptr;
    if (data == nullptr || !data->hasText()) {
        return std::nullopt;
    }
    platform::ClipboardContent content;
    const QByteArray utf8 = data->text().toUtf8();
    content.text.assign(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    const QByteArray type = data->data(QString::fromLatin1(kPrivateMimeType));
    if (type.size() == 4) {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value |= static_cast<uint32_t>(static_cast<unsigned char>(type[i])) << (8 * i);
        }
        content.privateMarkType = static_cast<int32_t>(value);
    }
    return content;
}

} // namespace vexa::ui
