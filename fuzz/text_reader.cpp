// Fuzzing the line reader and the load of a document with arbitrary file bytes.
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

// Reads every line from memory; the pieces never exceed the line limit and, counted together
// with their terminators, never exceed the input.
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
        check(length <= vexa::TextReader::kMaxLineBytes);
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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const bool oem = size > 0 && (data[0] & 1) != 0;
    readAll(data, size, {false, oem});
    readAll(data, size, {true, oem});

    static const std::string path = scratchFile();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
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
        // A loaded line is shorter than the read limit: longer ones are wrapped.
        check(document.line(i).length() < vexa::TextReader::kMaxLineBytes);
        total += static_cast<size_t>(document.line(i).length());
        // A UTF-8 document's lines are whole UTF-8: wraps cut between characters.
        if (document.encoding() == vexa::TextEncoding::Utf8) {
            check(vexa::text::checkUtf8(document.lineText(i)).valid);
        }
    }
    check(total <= size);
    check(!document.isModified());
    return 0;
}
