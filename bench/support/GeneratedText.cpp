// The deterministic C-like text the benchmarks work on.
#include "support/GeneratedText.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace vexa::bench {
namespace {

// A small linear congruential generator: the same sequence on every platform.
class Sequence {
public:
    uint32_t next() {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }

private:
    uint32_t m_state = 12345;
};

} // namespace

std::string generateCText(std::size_t lines) {
    static const char* const kShapes[] = {
        "int function_%u(int count, char *name)\r\n",
        "{\r\n",
        "    /* compute the value of item %u for the table */\r\n",
        "    for (i = 0; i < count; i++) total += table[%u];\r\n",
        "    if (name != NULL && strcmp(name, \"entry%u\") == 0)\r\n",
        "        return process_entry(name, %u); // found it\r\n",
        "    value = value * 31 + 0x%x;\r\n",
        "}\r\n",
        "\r\n",
        "#define LIMIT_%u 1024\r\n",
    };
    constexpr std::size_t kShapeCount = sizeof kShapes / sizeof kShapes[0];
    std::string text;
    text.reserve(lines * 48);
    Sequence sequence;
    char line[128];
    for (std::size_t i = 0; i < lines; ++i) {
        const char* shape = kShapes[i % kShapeCount];
        int length = std::snprintf(line, sizeof line, shape, sequence.next() % 100000u);
        text.append(line, static_cast<std::size_t>(length));
    }
    return text;
}

std::string ensureGeneratedFile(const std::string& path, std::size_t lines) {
    if (!std::filesystem::exists(path)) {
        std::string text = generateCText(lines);
        std::ofstream out(path, std::ios::binary);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    return path;
}

std::vector<std::string_view> splitGeneratedLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

} // namespace vexa::bench
