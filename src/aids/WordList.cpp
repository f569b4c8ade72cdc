// Turning a plain word list into a dictionary.
#include "aids/WordList.h"

#include <array>
#include <cstdint>
#include <optional>

namespace vexa::aids {
namespace {

// The characters of bytes 0x80 to 0x9F in Windows-1252 (0 where the byte is undefined).
constexpr std::array<uint32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

std::optional<char> to1252(uint32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        return static_cast<char>(code);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] != 0 && kHighControls[i] == code) {
            return static_cast<char>(0x80 + i);
        }
    }
    return std::nullopt;
}

// Decodes UTF-8; nothing when the bytes are not valid UTF-8.
std::optional<std::vector<uint32_t>> decodeUtf8(std::string_view text) {
    std::vector<uint32_t> codes;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        uint32_t code = 0;
        if (lead < 0x80) {
            code = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            code = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            code = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            code = lead & 0x07u;
        } else {
            return std::nullopt;
        }
        if (extra > 0 && i + extra >= text.size()) {
            return std::nullopt;
        }
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0u) != 0x80u) {
                return std::nullopt;
            }
            code = (code << 6) | (next & 0x3Fu);
        }
        const uint32_t minimum = extra == 1 ? 0x80 : extra == 2 ? 0x800 : extra == 3 ? 0x10000 : 0;
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return std::nullopt;
        }
        codes.push_back(code);
        i += 1 + extra;
    }
    return codes;
}

} // namespace

bool wordListLineTo1252(std::string_view line, std::string& out) {
    out.clear();
    const auto codes = decodeUtf8(line);
    if (!codes) {
        out.assign(line);
        return true;
    }
    for (uint32_t code : *codes) {
        const auto byte = to1252(code);
        if (!byte) {
            return false;
        }
        out.push_back(*byte);
    }
    return true;
}

WordListResult addWordList(std::string_view text, SpellDictionary& dictionary) {
    WordListResult result;
    std::size_t lineNumber = 0;
    std::string word;
    std::vector<std::string> batch;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            continue;
        }
        if (!wordListLineTo1252(line, word)) {
            result.skipped.push_back({lineNumber, std::string(line), "a character outside Windows-1252"});
            continue;
        }
        const WordFault fault = checkDictionaryWord(word);
        if (fault != WordFault::Ok) {
            result.skipped.push_back({lineNumber, std::string(line), std::string(wordFaultText(fault))});
            continue;
        }
        batch.push_back(word);
    }
    const std::size_t before = dictionary.wordCount();
    const std::size_t offered = batch.size();
    dictionary.addWords(std::move(batch));
    result.added = dictionary.wordCount() - before;
    result.duplicates = offered - result.added;
    return result;
}

} // namespace vexa::aids
