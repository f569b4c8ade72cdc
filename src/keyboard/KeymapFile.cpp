// Reading and writing keymap files field by field.
#include "keyboard/KeymapFile.h"

#include <array>

#include "keyboard/DefaultKeymap.h"
#include "settings/BinaryFields.h"
#include "settings/InfoFile.h"

namespace vexa {

namespace {

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::string keymapListName(std::string_view baseName) {
    std::string name;
    name.reserve(baseName.size());
    for (char c : baseName) {
        name += lowerAscii(c);
    }
    if (!name.empty()) {
        name.front() = upperAscii(name.front());
    }
    return name;
}

std::optional<std::string> keymapFileBaseName(std::string_view name) {
    if (name == kDefaultKeymapName) {
        return std::nullopt;
    }
    const std::string_view base = name.substr(0, name.find('.'));
    if (base.empty() || base.find('/') != std::string_view::npos ||
        base.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    return keymapListName(base);
}

std::optional<std::string> keymapFilePath(const std::string& configDirectory, std::string_view name) {
    const std::optional<std::string> base = keymapFileBaseName(name);
    if (!base) {
        return std::nullopt;
    }
    return configDirectory + *base + std::string(kKeymapFileExtension);
}

std::string encodeKeymapBody(const Keymap& keymap) {
    FieldWriter writer;
    writer.u16(keymap.flags().allowShiftMarking);
    writer.u16(keymap.flags().keyPressRemovesMark);
    writer.u16(keymap.flags().cutCopyRemovesMark);
    writer.u16(static_cast<uint16_t>(keymap.tables().size()));
    for (const KeyTable& table : keymap.tables()) {
        writer.u16(table.prefix().keyCode);
        writer.u16(table.prefix().modifiers);
        writer.u16(static_cast<uint16_t>(table.size()));
        for (const KeyBinding& binding : table.bindings()) {
            writer.u16(binding.keyCode);
            writer.u16(binding.modifiers);
            writer.u16(binding.function);
        }
    }
    return writer.take();
}

void decodeKeymapBody(std::span<const char> body, bool hasLaterFlags, Keymap& keymap) {
    FieldReader reader(body);
    KeymapFlags& flags = keymap.flags();
    (void)reader.u16(flags.allowShiftMarking);
    if (hasLaterFlags) {
        (void)reader.u16(flags.keyPressRemovesMark);
        (void)reader.u16(flags.cutCopyRemovesMark);
    }
    uint16_t tableCount = 0;
    if (!reader.u16(tableCount)) {
        return;
    }
    for (uint16_t slot = 0; slot < tableCount && slot < Keymap::kMaxTables; ++slot) {
        KeyChord prefix;
        uint16_t bindingCount = 0;
        if (!reader.u16(prefix.keyCode) || !reader.u16(prefix.modifiers) || !reader.u16(bindingCount)) {
            return;
        }
        KeyTable table(prefix);
        for (uint16_t index = 0; index < bindingCount; ++index) {
            KeyBinding binding;
            if (!reader.u16(binding.keyCode) || !reader.u16(binding.modifiers) ||
                !reader.u16(binding.function)) {
                (void)keymap.appendTable(std::move(table));
                return;
            }
            (void)table.append(binding); // past 500 the binding is skipped
        }
        (void)keymap.appendTable(std::move(table));
    }
}

KeymapFileStatus loadKeymapFile(const std::string& path, Keymap& keymap) {
    keymap = Keymap();
    keymap.setValid(false);
    InfoFile file;
    if (!file.openForReading(path)) {
        return KeymapFileStatus::OpenFailed;
    }
    if (!file.isType(kKeymapInfo.fileType)) {
        (void)file.close();
        return KeymapFileStatus::UnknownFormat;
    }
    if (!file.versionAtMost(kKeymapInfo.version)) {
        (void)file.close();
        return KeymapFileStatus::TooNew;
    }
    keymap.setValid(true);
    // Version 1.00 had only the Shift-marking flag; the other two keep their default.
    const bool hasLaterFlags = !file.versionAtMost("01.00");
    const std::string body = file.readRest();
    (void)file.close();
    decodeKeymapBody(body, hasLaterFlags, keymap);
    return KeymapFileStatus::Ok;
}

KeymapFileStatus saveKeymapFile(const std::string& path, const Keymap& keymap) {
    InfoFile file;
    if (!file.create(path, InfoHeader::forKind(kKeymapInfo))) {
        return KeymapFileStatus::CreateFailed;
    }
    const bool written = file.write(encodeKeymapBody(keymap));
    const bool closed = file.close();
    return written && closed ? KeymapFileStatus::Ok : KeymapFileStatus::CreateFailed;
}

} // namespace vexa
