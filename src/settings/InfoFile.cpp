// The information file: header transfer on open and create, raw records after it.
#include "settings/InfoFile.h"

#include <cerrno>
#include <cstring>

#include "settings/Format.h"

namespace vexa {

std::string infoOpenErrorMessage(const std::string& name) {
    return formatText(kInfoOpenErrorFormat, name.c_str());
}

std::string infoUnknownFormatMessage(const std::string& name) {
    return formatText(kInfoUnknownFormatFormat, name.c_str());
}

std::string infoCreateErrorMessage(const std::string& name) {
    return formatText(kInfoCreateErrorFormat, name.c_str());
}

std::string infoStatusMessage(InfoStatus status, const std::string& name) {
    switch (status) {
    case InfoStatus::Ok:
        return {};
    case InfoStatus::OpenFailed:
        return infoOpenErrorMessage(name);
    case InfoStatus::UnknownFormat:
    case InfoStatus::TooNew:
        return infoUnknownFormatMessage(name);
    }
    return {};
}

InfoFile::InfoFile() = default;

InfoFile::~InfoFile() {
    // An unclosed created file is abandoned: the writer removes its temporary file.
    reset();
}

void InfoFile::reset() {
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    m_writer.reset();
    m_mode = InfoOpenMode::Closed;
    m_position = 0;
}

bool InfoFile::openForReading(const std::string& name) {
    reset();
    m_name = name;
    m_error.clear();
    m_header = InfoHeader{};
    m_version = 0.0;
    m_headerCount = 0;

    errno = 0;
    m_file = std::fopen(name.c_str(), "rb");
    if (m_file == nullptr) {
        m_error = std::strerror(errno != 0 ? errno : ENOENT);
        return false;
    }
    char bytes[kInfoHeaderSize] = {};
    m_headerCount = std::fread(bytes, 1, sizeof bytes, m_file);
    if (std::ferror(m_file) != 0) {
        m_error = std::strerror(errno != 0 ? errno : EIO);
    }
    if (m_headerCount == 0) {
        if (m_error.empty()) {
            m_error = "The file is empty.";
        }
        reset();
        return false;
    }
    m_header = decodeInfoHeader(std::span<const char>(bytes, m_headerCount));
    m_version = infoVersionNumber(m_header.version);
    m_position = m_headerCount;
    m_mode = InfoOpenMode::Read;
    return true;
}

InfoStatus InfoFile::openChecked(const std::string& name, InfoKind kind) {
    if (!openForReading(name)) {
        return InfoStatus::OpenFailed;
    }
    if (!isType(kind.fileType)) {
        return InfoStatus::UnknownFormat;
    }
    return versionAtMost(kind.version) ? InfoStatus::Ok : InfoStatus::TooNew;
}

bool InfoFile::create(const std::string& name, const InfoHeader& header) {
    reset();
    m_name = name;
    m_error.clear();
    m_headerCount = 0;

    m_writer = std::make_unique<platform::AtomicFileWriter>();
    if (!m_writer->open(name)) {
        m_error = m_writer->errorText();
        m_writer.reset();
        return false;
    }
    m_mode = InfoOpenMode::Create;
    m_header = header;
    m_version = infoVersionNumber(header.version);
    std::string bytes = encodeInfoHeader(header);
    if (!write(bytes)) {
        reset();
        return false;
    }
    m_headerCount = bytes.size();
    return true;
}

bool InfoFile::isType(std::string_view expectedType) const {
    // A short file is refused even when the bytes it has happen to spell a valid type.
    return isOpen() && m_headerCount == kInfoHeaderSize && isInfoType(m_header, expectedType);
}

bool InfoFile::versionAtMost(std::string_view version) const {
    return m_version <= infoVersionNumber(version);
}

size_t InfoFile::read(std::span<char> buffer) {
    if (m_mode != InfoOpenMode::Read || buffer.empty()) {
        return 0;
    }
    size_t count = std::fread(buffer.data(), 1, buffer.size(), m_file);
    if (count < buffer.size() && std::ferror(m_file) != 0) {
        m_error = std::strerror(errno != 0 ? errno : EIO);
    }
    m_position += count;
    return count;
}

std::string InfoFile::readRest() {
    std::string rest;
    char chunk[8192];
    size_t count = 0;
    while ((count = read(chunk)) > 0) {
        rest.append(chunk, count);
    }
    return rest;
}

bool InfoFile::write(std::span<const char> bytes) {
    if (m_mode != InfoOpenMode::Create) {
        return false;
    }
    if (!m_writer->write(bytes)) {
        m_error = m_writer->errorText();
        return false;
    }
    m_position += bytes.size();
    return true;
}

bool InfoFile::close(InfoClose mode) {
    // Created files are written sequentially from an empty file, so the end is always the
    // current position and truncation has nothing left to cut.
    (void)mode;
    bool ok = true;
    if (m_mode == InfoOpenMode::Create) {
        ok = m_writer->commit();
        if (!ok) {
            m_error = m_writer->errorText();
        }
    }
    reset();
    return ok;
}

} // namespace vexa
