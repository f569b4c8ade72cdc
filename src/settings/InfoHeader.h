// The 140-byte header that opens every binary configuration file, and the kinds of those files.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace vexa {

// Field offsets and widths on disk. The version is stored before the file type, although the
// header names them the other way round everywhere else.
inline constexpr size_t kInfoSignatureOffset = 0;
inline constexpr size_t kInfoSignatureWidth = 15;
inline constexpr size_t kInfoProductOffset = 15;
inline constexpr size_t kInfoProductWidth = 25;
inline constexpr size_t kInfoCompanyOffset = 40;
inline constexpr size_t kInfoCompanyWidth = 25;
inline constexpr size_t kInfoNoticeOffset = 65;
inline constexpr size_t kInfoNoticeWidth = 50;
inline constexpr size_t kInfoVersionOffset = 115;
inline constexpr size_t kInfoVersionWidth = 10;
inline constexpr size_t kInfoFileTypeOffset = 125;
inline constexpr size_t kInfoFileTypeWidth = 15;
inline constexpr size_t kInfoHeaderSize = 140;

inline constexpr std::string_view kInfoSignature = "QLWTRDNMMEM";
inline constexpr std::string_view kInfoProduct = "Vexa for Windows";
inline constexpr std::string_view kInfoCompany = "Morvaine Pty Ltd";
inline constexpr std::string_view kInfoNotice = "Info file of the editor; fields fixed width";

// One kind of information file: its file type and the version this editor writes and accepts.
struct InfoKind {
    std::string_view fileType;
    std::string_view version;
};

inline constexpr InfoKind kSpellingInfo{"FILE_SPELLING", "01.00"};
inline constexpr InfoKind kTemplateInfo{"FILE_ELECINFO", "01.01"};
inline constexpr InfoKind kToolInfo{"FILE_TOOLINFO", "01.02"};
inline constexpr InfoKind kMacroMenuInfo{"FILE_MACROINFO", "01.00"};
inline constexpr InfoKind kKeyMacroInfo{"FILE_KEYMACRO", "01.00"};
inline constexpr InfoKind kExtensionInfo{"FILE_EXTENSION", "01.01"};
inline constexpr InfoKind kKeymapInfo{"FILE_KEYMAP", "01.01"};

// The header's six fields in their in-memory order.
struct InfoHeader {
    std::string signature;
    std::string product;
    std::string company;
    std::string notice;
    std::string fileType;
    std::string version;

    // The header this editor writes for a kind of file.
    static InfoHeader forKind(InfoKind kind);

    bool operator==(const InfoHeader&) const = default;
};

// The 140 bytes of a header, every text NUL-padded to its width.
std::string encodeInfoHeader(const InfoHeader& header);

// The fields of the header bytes; bytes missing from a short buffer count as NULs.
InfoHeader decodeInfoHeader(std::span<const char> bytes);

// True when the header carries the editor's signature and exactly the given file type.
bool isInfoType(const InfoHeader& header, std::string_view fileType);

// The version text as a number, read as the C library's decimal conversion reads it: leading
// blanks skipped, the longest valid prefix taken, 0 when there is none.
double infoVersionNumber(std::string_view version);

} // namespace vexa
