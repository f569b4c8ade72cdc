// The information file: a binary configuration file that opens with the common header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/AtomicFile.h"
#include "settings/InfoHeader.h"

namespace vexa {

// The messages the users of information files show, each with the file name for %s.
inline constexpr const char* kInfoOpenErrorFormat = "Unexpected error opening the '%s' information file.";
inline constexpr const char* kInfoUnknownFormatFormat =
    "The '%s' information file is of an unknown format or has been corrupted.";
inline constexpr const char* kInfoCreateErrorFormat = "Unexpected error creating the '%s' information file.";

std::string infoOpenErrorMessage(const std::string& name);
std::string infoUnknownFormatMessage(const std::string& name);
std::string infoCreateErrorMessage(const std::string& name);

// The outcome of opening an information file for one kind, as every reader checks it.
enum class InfoStatus : uint8_t { Ok, OpenFailed, UnknownFormat, TooNew };

// The message a reader shows for a refused file: a newer version is reported as an unknown
// format, since the program cannot read it. Empty for Ok.
std::string infoStatusMessage(InfoStatus status, const std::string& name);

enum class InfoOpenMode : uint8_t { Closed, Read, Create };

// Whether close() cuts the file at the current position. A created file is always collected
// afresh and replaces its target whole, so it never keeps a stale tail either way.
enum class InfoClose : uint8_t { Keep, Truncate };

// Reads or writes one information file. Reading goes straight to the file; a created file is
// collected beside its target and replaces it atomically on close(), so a failed or abandoned
// write leaves the old file as it was.
class InfoFile {
public:
    InfoFile();
    ~InfoFile();
    InfoFile(const InfoFile&) = delete;
    InfoFile& operator=(const InfoFile&) = delete;

    // Opens the file and reads its header. Succeeds when the file opened and held at least one
    // byte; whether the header is the one expected is for isType() to say.
    [[nodiscard]] bool openForReading(const std::string& name);

    // Opens the file and checks it is of the kind and not newer than this program writes. The
    // file stays open whatever the answer, so a reader can still look at the header.
    [[nodiscard]] InfoStatus openChecked(const std::string& name, InfoKind kind);

    // Starts a new file with the given header in front.
    [[nodiscard]] bool create(const std::string& name, const InfoHeader& header);

    // True when the file is open, its header is complete, its signature is the editor's and its
    // type is exactly the expected one.
    bool isType(std::string_view expectedType) const;

    // True when the version read from the file is at most the given version, both as numbers.
    bool versionAtMost(std::string_view version) const;

    // The type check and the refusal of newer versions together, as every reader does them.
    bool accepts(InfoKind kind) const { return isType(kind.fileType) && versionAtMost(kind.version); }

    // Raw transfer of the records after the header. read() gives the number of bytes read;
    // write() fails when the file was not created or an earlier write failed.
    size_t read(std::span<char> buffer);
    // Every byte from the current position to the end of the file (reading mode only).
    std::string readRest();
    [[nodiscard]] bool write(std::span<const char> bytes);

    // Closes the file. For a created file this is the moment it replaces its target: false when
    // any write, the flush or the replacement failed (the old file then stays).
    [[nodiscard]] bool close(InfoClose mode = InfoClose::Keep);

    bool isOpen() const { return m_mode != InfoOpenMode::Closed; }
    InfoOpenMode mode() const { return m_mode; }
    const std::string& name() const { return m_name; }
    const InfoHeader& header() const { return m_header; }
    double version() const { return m_version; }
    // How many bytes the last header transfer moved (140 for a complete header).
    size_t headerCount() const { return m_headerCount; }
    // The system's text for the last failure.
    const std::string& errorText() const { return m_error; }

private:
    void reset();

    std::string m_name;
    std::FILE* m_file = nullptr;
    std::unique_ptr<platform::AtomicFileWriter> m_writer;
    InfoOpenMode m_mode = InfoOpenMode::Closed;
    InfoHeader m_header;
    double m_version = 0.0;
    size_t m_headerCount = 0;
    size_t m_position = 0;
    std::string m_error;
};

} // namespace vexa
