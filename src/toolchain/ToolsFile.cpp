// Reading and writing the tools file, and the rules of tool records.
#include "toolchain/ToolsFile.h"

#include <algorithm>
#include <fstream>

#include "platform/Files.h"
#include "settings/BinaryFields.h"
#include "settings/InfoFile.h"
#include "settings/InfoHeader.h"

namespace vexa::toolchain {
namespace {

constexpr std::size_t kNewHeaderOffsetAt = 0x3c;
constexpr std::size_t kRelocationOffsetAt = 0x18;
constexpr uint16_t kNewHeaderThreshold = 64;

platform::ShowMode showModeOf(uint16_t value) {
    return value <= static_cast<uint16_t>(platform::ShowMode::Default)
               ? static_cast<platform::ShowMode>(value)
               : platform::ShowMode::Normal;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

ToolsRead decodeToolsFile(std::string_view bytes) {
    ToolsRead read;
    const std::span<const char> all(bytes.data(), bytes.size());
    if (bytes.size() < kInfoHeaderSize) {
        read.status = ToolsRead::Status::UnknownFormat;
        return read;
    }
    const InfoHeader header = decodeInfoHeader(all.first(kInfoHeaderSize));
    if (!isInfoType(header, kToolInfo.fileType)) {
        read.status = ToolsRead::Status::UnknownFormat;
        return read;
    }
    // The three versions by their numbers; anything newer cannot be read.
    const double version = infoVersionNumber(header.version);
    const bool hasErrors = version >= 1.005;
    const bool hasSave = version >= 1.015;
    if (version >= 1.025) {
        read.status = ToolsRead::Status::UnknownFormat;
        return read;
    }
    FieldReader reader(all.subspan(kInfoHeaderSize));
    uint8_t countByte = 0;
    if (!reader.u8(countByte)) {
        read.status = ToolsRead::Status::UnknownFormat;
        return read;
    }
    const int count = std::min<int>(static_cast<int8_t>(countByte), static_cast<int>(kMaxTools));
    for (int i = 0; i < count; ++i) {
        uint16_t type = 0;
        uint16_t show = 0;
        uint16_t save = 0;
        uint16_t errors = 0;
        uint16_t output = 0;
        uint16_t ask = 0;
        ToolRecord tool;
        reader.u16(type);
        reader.u16(show);
        if (hasSave) {
            reader.u16(save);
        }
        if (hasErrors) {
            reader.u16(errors);
        }
        reader.u16(output);
        reader.u16(ask);
        reader.fixedString(kToolPathWidth, tool.program);
        reader.fixedString(kToolPathWidth, tool.arguments);
        reader.fixedString(kToolPathWidth, tool.workingDirectory);
        reader.fixedString(kToolMenuTextWidth, tool.menuText);
        if (reader.failed()) {
            read.status = ToolsRead::Status::UnknownFormat;
            read.tools.clear();
            return read;
        }
        tool.type = type <= 2 ? static_cast<ToolType>(type) : ToolType::DosProgram;
        tool.showMode = showModeOf(show);
        tool.saveDocument = save != 0;
        tool.captureErrors = errors != 0;
        tool.captureOutput = output != 0;
        tool.askArguments = ask != 0;
        read.tools.push_back(std::move(tool));
    }
    return read;
}

std::string encodeToolsFile(const std::vector<ToolRecord>& tools) {
    FieldWriter writer;
    const std::string header = encodeInfoHeader(InfoHeader::forKind(kToolInfo));
    writer.bytes(std::span<const char>(header.data(), header.size()));
    const std::size_t count = std::min(tools.size(), kMaxTools);
    writer.u8(static_cast<uint8_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const ToolRecord& tool = tools[i];
        writer.u16(static_cast<uint16_t>(tool.type));
        writer.u16(static_cast<uint16_t>(tool.showMode));
        writer.u16(tool.saveDocument ? 1 : 0);
        writer.u16(tool.captureErrors ? 1 : 0);
        writer.u16(tool.captureOutput ? 1 : 0);
        writer.u16(tool.askArguments ? 1 : 0);
        writer.fixedString(tool.program, kToolPathWidth);
        writer.fixedString(tool.arguments, kToolPathWidth);
        writer.fixedString(tool.workingDirectory, kToolPathWidth);
        writer.fixedString(tool.menuText, kToolMenuTextWidth);
    }
    return writer.take();
}

ToolsRead loadToolsFile(const std::string& path) {
    if (!platform::canAccess(path, platform::Access::Exists)) {
        return ToolsRead{ToolsRead::Status::Missing, {}};
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return ToolsRead{ToolsRead::Status::OpenFailed, {}};
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return ToolsRead{ToolsRead::Status::OpenFailed, {}};
    }
    return decodeToolsFile(bytes);
}

bool saveToolsFile(const std::string& path, const std::vector<ToolRecord>& tools) {
    platform::AtomicFileWriter writer;
    if (!writer.open(path)) {
        return false;
    }
    return writer.write(encodeToolsFile(tools)) && writer.commit();
}

std::string toolsReadMessage(ToolsRead::Status status, const std::string& name) {
    switch (status) {
    case ToolsRead::Status::OpenFailed:
        return infoOpenErrorMessage(name);
    case ToolsRead::Status::UnknownFormat:
        return infoUnknownFormatMessage(name);
    default:
        return {};
    }
}

std::vector<ToolRecord> defaultTools() {
    const auto captured = [](std::string command, std::string menuText) {
        ToolRecord tool;
        tool.type = ToolType::DosCommandLine;
        tool.showMode = platform::ShowMode::Hidden;
        tool.captureOutput = true;
        tool.captureErrors = true;
        tool.arguments = std::move(command);
        tool.menuText = std::move(menuText);
        return tool;
    };
    ToolRecord grep = captured("grep -n $Word $FileDir*.c $FileDir*.h", "&Grep word in *.c *.h");
    grep.askArguments = true;
    ToolRecord make = captured("make -C $FileDir", "&Make");
    make.saveDocument = true;
    return {grep, captured("git -C $FileDir diff -- $File", "Git &diff of this file"), make};
}

ToolRecord newToolRecord(std::string workingDirectory) {
    ToolRecord tool;
    tool.type = ToolType::DosProgram;
    tool.showMode = platform::ShowMode::Hidden;
    tool.captureOutput = true;
    tool.workingDirectory = std::move(workingDirectory);
    return tool;
}

std::string toolDisplayText(const ToolRecord& tool) {
    const std::size_t slash = tool.program.find_last_of("\\/");
    const std::string name = slash == std::string::npos ? tool.program : tool.program.substr(slash + 1);
    return name + " " + tool.arguments;
}

ProgramKind programKindOf(std::string_view header, std::string_view fileName, bool executable) {
    if (header.size() >= 2 && header.substr(0, 2) == "MZ") {
        const std::span<const char> bytes(header.data(), header.size());
        if (header.size() < kRelocationOffsetAt + 2) {
            return ProgramKind::Dos;
        }
        if (loadU16(bytes, kRelocationOffsetAt) < kNewHeaderThreshold) {
            return ProgramKind::Dos;
        }
        if (header.size() < kNewHeaderOffsetAt + 4) {
            return ProgramKind::Unknown;
        }
        const uint32_t at = loadU32(bytes, kNewHeaderOffsetAt);
        if (at <= header.size() - 2 && header.substr(at, 2) == "NE") {
            return ProgramKind::Windows;
        }
        return ProgramKind::Unknown;
    }
    const std::size_t dot = fileName.rfind('.');
    const std::string_view extension =
        dot == std::string_view::npos ? std::string_view() : fileName.substr(dot + 1);
    if (equalsIgnoringCase(extension, "BAT") || equalsIgnoringCase(extension, "COM")) {
        return ProgramKind::Dos;
    }
    const bool elf = header.size() >= 4 && header.substr(0, 4) == "\x7f"
                                                                  "ELF";
    const bool script = header.size() >= 2 && header.substr(0, 2) == "#!";
    if (executable && (elf || script)) {
        return ProgramKind::Windows;
    }
    return ProgramKind::Unknown;
}

ProgramKind programKindOfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return ProgramKind::Unknown;
    }
    // Enough for the new-header offsets of ordinary programs.
    std::string header(4096, '\0');
    in.read(header.data(), static_cast<std::streamsize>(header.size()));
    header.resize(static_cast<std::size_t>(in.gcount()));
    return programKindOf(header, path, platform::canAccess(path, platform::Access::Execute));
}

} // namespace vexa::toolchain
