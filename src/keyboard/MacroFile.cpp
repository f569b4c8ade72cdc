// The keyboard-macro file and the macro menu list.
#include "keyboard/MacroFile.h"

#include "settings/BinaryFields.h"
#include "settings/Format.h"

namespace vexa {

MacroEvents decodeMacroEvents(std::span<const char> bytes) {
    MacroEvents events;
    events.reserve(bytes.size() / kMacroEventSize);
    FieldReader reader(bytes);
    while (reader.remaining() >= kMacroEventSize) {
        MacroEvent event;
        reader.u16(event.character);
        reader.u16(event.modifiers);
        reader.u16(event.function);
        reader.u16(event.type);
        events.push_back(event);
    }
    return events;
}

std::string encodeMacroEvents(const MacroEvents& events) {
    FieldWriter writer;
    for (const MacroEvent& event : events) {
        writer.u16(event.character);
        writer.u16(event.modifiers);
        writer.u16(event.function);
        writer.u16(event.type);
    }
    return writer.take();
}

MacroFileRead readMacroFile(const std::string& path) {
    InfoFile file;
    MacroFileRead result;
    result.status = file.openChecked(path, kKeyMacroInfo);
    if (result.status == InfoStatus::Ok) {
        const std::string rest = file.readRest();
        result.events = decodeMacroEvents(rest);
    }
    (void)file.close();
    return result;
}

bool writeMacroFile(const std::string& path, const MacroEvents& events) {
    InfoFile file;
    if (!file.create(path, InfoHeader::forKind(kKeyMacroInfo))) {
        return false;
    }
    const std::string bytes = encodeMacroEvents(events);
    const bool written = file.write(bytes);
    return file.close() && written;
}

std::vector<MacroMenuEntry> decodeMacroMenu(std::span<const char> records, bool newerVersion) {
    std::vector<MacroMenuEntry> entries;
    FieldReader reader(records);
    for (size_t record = 0; record < kMacroMenuMaxEntries && reader.remaining() >= kMacroMenuRecordSize;
         ++record) {
        MacroMenuEntry entry;
        reader.fixedString(kMacroMenuNameWidth, entry.name);
        reader.fixedString(kMacroMenuPathWidth, entry.path);
        if (newerVersion || (entry.name.empty() && entry.path.empty())) {
            continue;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

namespace {

std::string menuPath(const std::string& configDirectory) {
    std::string path = configDirectory;
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    return path + std::string(kMacroMenuFileName);
}

} // namespace

std::vector<MacroMenuEntry> readMacroMenu(const std::string& configDirectory) {
    InfoFile file;
    if (!file.openForReading(menuPath(configDirectory)) || !file.isType(kMacroMenuInfo.fileType)) {
        (void)file.close();
        return {};
    }
    const bool newer = !file.versionAtMost(kMacroMenuInfo.version);
    std::string records(kMacroMenuRecordSize * kMacroMenuMaxEntries, '\0');
    records.resize(file.read(records));
    (void)file.close();
    return decodeMacroMenu(records, newer);
}

bool writeMacroMenu(const std::string& configDirectory, const std::vector<MacroMenuEntry>& entries) {
    FieldWriter writer;
    for (size_t index = 0; index < entries.size() && index < kMacroMenuMaxEntries; ++index) {
        writer.fixedString(entries[index].name, kMacroMenuNameWidth);
        writer.fixedString(entries[index].path, kMacroMenuPathWidth);
    }
    InfoFile file;
    if (!file.create(menuPath(configDirectory), InfoHeader::forKind(kMacroMenuInfo))) {
        return false;
    }
    const bool written = file.write(writer.data());
    return file.close() && written;
}

int macroMenuKeyNumber(size_t index) {
    return index < 4 ? static_cast<int>(index) + 1 : static_cast<int>(index) + 3;
}

std::string macroMenuItemText(size_t index, const std::string& name) {
    return formatText("%s\tShift+F%d", name.c_str(), macroMenuKeyNumber(index));
}

} // namespace vexa
