// Encoding, decoding and checking of the information-file header.
#include "settings/InfoHeader.h"

#include <algorithm>
#include <charconv>

#include "settings/BinaryFields.h"

namespace vexa {

InfoHeader InfoHeader::forKind(InfoKind kind) {
    return InfoHeader{std::string(kInfoSignature), std::string(kInfoProduct),  std::string(kInfoCompany),
                      std::string(kInfoNotice),    std::string(kind.fileType), std::string(kind.version)};
}

std::string encodeInfoHeader(const InfoHeader& header) {
    FieldWriter writer;
    writer.fixedString(header.signature, kInfoSignatureWidth);
    writer.fixedString(header.product, kInfoProductWidth);
    writer.fixedString(header.company, kInfoCompanyWidth);
    writer.fixedString(header.notice, kInfoNoticeWidth);
    writer.fixedString(header.version, kInfoVersionWidth);
    writer.fixedString(header.fileType, kInfoFileTypeWidth);
    return writer.take();
}

InfoHeader decodeInfoHeader(std::span<const char> bytes) {
    char padded[kInfoHeaderSize] = {};
    std::copy_n(bytes.begin(), std::min(bytes.size(), kInfoHeaderSize), padded);
    FieldReader reader(padded);
    InfoHeader header;
    reader.fixedString(kInfoSignatureWidth, header.signature);
    reader.fixedString(kInfoProductWidth, header.product);
    reader.fixedString(kInfoCompanyWidth, header.company);
    reader.fixedString(kInfoNoticeWidth, header.notice);
    reader.fixedString(kInfoVersionWidth, header.version);
    reader.fixedString(kInfoFileTypeWidth, header.fileType);
    return header;
}

bool isInfoType(const InfoHeader& header, std::string_view fileType) {
    return header.signature == kInfoSignature && header.fileType == fileType;
}

double infoVersionNumber(std::string_view version) {
    size_t start = version.find_first_not_of(" \t\n\v\f\r");
    if (start == std::string_view::npos) {
        return 0.0;
    }
    version.remove_prefix(start);
    if (!version.empty() && version.front() == '+') {
        version.remove_prefix(1);
    }
    double value = 0.0;
    // from_chars is independent of the locale, as a file format must be.
    auto result =
        std::from_chars(version.data(), version.data() + version.size(), value, std::chars_format::fixed);
    return result.ec == std::errc() ? value : 0.0;
}

} // namespace vexa
