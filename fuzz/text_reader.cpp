// Fuzzing the line reader and the load of a document with arbitrary file bytes, stretched into
// very long lines on request, and the round trip of load and save.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "core/Document.h"
#include "core/DocumentFile.h"
#include "core/Messenger.h"
#include "core/TextReader.h"

namespace {

class QuietMessenger final : public vexa::Messenger {
public:
    void status(std::string_view, vexa::platform::SoundKind, vexa::Hold) override {}
    void messageBox(std::string_view, std::string_view) override {}
    vexa::Answer ask(std::string_view, std::string_view, vexa::Question) override { return vexa::Answer::No; }
    void beginBusy() override {}
    void endBusy() override {}
};

void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// Reads every line from memory; the lines, counted together with their terminators, never
// exceed the input.
void readAll(const uint8_t* data, size_t size, vexa::ReadOptions options) {
    std::FILE* stream = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (stream == nullptr) {
        return;
    }
    vexa::TextReader reader(options);
    reader.adopt(stream);
    std::string line;
    size_t total = 0;
    while (!reader.endReached()) {
        int length = reader.readLine(line);
        if (length < 0) {
            continue;
        }
        check(static_cast<size_t>(length) == line.size());
        check(line.find('\0') == std::string::npos);
        if (options.unixText) {
            check(line.find('\n') == std::string::npos);
        }
        total += line.size();
        check(total <= size);
    }
}

std::string scratchFile() {
    char pattern[] = "/tmp/vexa-fuzz-XXXXXX";
    int descriptor = mkstemp(pattern);
    if (descriptor >= 0) {
        close(descriptor);
    }
    return pattern;
}

} // namespace

std::string fileBytes(const std::string& path) {
    std::string bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return bytes;
    }
    char piece[65536];
    while (const size_t read = std::fread(piece, 1, sizeof piece, file)) {
        bytes.append(piece, read);
    }
    std::fclose(file);
    return bytes;
}

// The input itself, or (when the first byte asks for it) its bytes after the two option bytes
// repeated up to 256 KB, which makes lines far longer than any chunk or buffer.
std::string inputBytes(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (size > 3 && (data[0] & 4) != 0) {
        const std::string piece = bytes.substr(2);
        const size_t target = (size_t{data[2]} + 1) * 1024;
        while (bytes.size() < target) {
            bytes += piece;
        }
    }
    return bytes;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const bool oem = size > 0 && (data[0] & 1) != 0;
    std::string bytes = inputBytes(data, size);
    const auto* input = reinterpret_cast<const uint8_t*>(bytes.data());
    readAll(input, bytes.size(), {false, oem});
    readAll(input, bytes.size(), {true, oem});

    static const std::string path = scratchFile();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);

    QuietMessenger messenger;
    vexa::FileOptions options;
    options.readUnix = size > 1 && (data[1] & 1) != 0;
    options.oemRead = oem;
    options.newEncoding =
        size > 1 && (data[1] & 2) != 0 ? vexa::TextEncoding::Utf8 : vexa::TextEncoding::Windows1252;
    vexa::DocumentFile documentFile(options, messenger);
    vexa::Document document;
    document.setFileName(path);
    check(documentFile.load(document));
    size_t total = 0;
    for (int i = 0; i < document.lineCount(); ++i) {
        total += static_cast<size_t>(document.line(i).length());
    }
    check(total <= bytes.size());
    check(!document.isModified());

    // The round trip: a file without NUL, Ctrl-Z or OEM conversion saves as the same bytes, with
    // at most the document's line end added after a last line that had none.
    const bool plain = !oem && bytes.find('\0') == std::string::npos && bytes.find('\x1A') == std::string::npos;
    if (plain && !document.isReadOnly()) {
        check(documentFile.save(document));
        const std::string saved = fileBytes(path);
        if (bytes.empty() || bytes.back() == '\n') {
            check(saved == bytes);
        } else {
            const std::string end = document.lineEnds() == vexa::LineEnds::Unix ? "\n" : "\r\n";
            check(saved == bytes + end);
        }
    }
    return 0;
}
