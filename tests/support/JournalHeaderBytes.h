// A recovery journal's header frame written byte by byte, as editors wrote it before journals
// recorded which hash their file's hash was taken by: tests build the journals older editors left
// without going through today's writer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/WordChainHash.h"
#include "recovery/JournalFormat.h"

namespace vexa::test {

// The header frame: its payload's length and checksum, then the type 'H', the header's version
// (1: the file hashed by the word chain) and its fields, little-endian.
inline std::string journalHeaderFrame(const recovery::JournalHeader& header, uint8_t version) {
    const auto put = [](std::string& out, uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
        }
    };
    std::string payload = "H";
    payload.push_back(static_cast<char>(version));
    payload.push_back(header.encoding == TextEncoding::Windows1252 ? '\0' : '\1');
    payload.push_back(header.lineEnds == LineEnds::Dos ? '\0' : '\1');
    payload.push_back(header.byteOrderMark ? '\1' : '\0');
    put(payload, header.size, 8);
    put(payload, static_cast<uint64_t>(header.modified), 8);
    put(payload, header.hash, 8);
    put(payload, header.path.size(), 4);
    payload += header.path;
    std::string frame;
    put(frame, payload.size(), 4);
    put(frame, WordChainHash::of(payload) & 0xffffffffU, 4);
    return frame + payload;
}

// A journal's bytes with its header frame replaced by `frame`, its entries kept.
inline std::string withHeaderFrame(std::string_view journal, const std::string& frame) {
    const std::size_t magic = recovery::journal_bytes::kMagic.size();
    uint32_t length = 0;
    for (int i = 0; i < 4; ++i) {
        length |= static_cast<uint32_t>(static_cast<unsigned char>(journal[magic + i])) << (8 * i);
    }
    const std::size_t entries = magic + 8 + length;
    return std::string(journal.substr(0, magic)) + frame + std::string(journal.substr(entries));
}

} // namespace vexa::test
