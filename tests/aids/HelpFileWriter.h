// Builds small help files byte by byte for the reader's tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vexa::aids::testing {

struct HelpFileLayout {
    uint32_t magic = 0x00035F3F;
    std::string title = "Library Reference";
    // Minor version 15 keeps the title right after the system header; others use records.
    uint16_t systemMinor = 21;
    uint16_t systemMagic = 0x036C;
    std::string systemName = "|SYSTEM";
    std::string keywordName = "|KWBTREE";
    bool withKeywords = true;
    // One list of keywords per leaf page.
    std::vector<std::vector<std::string>> keywordPages = {{"malloc", "printf"}};
    uint16_t keywordPageSize = 2048;
    // Puts an index page first, so the leaves start at page 1.
    bool indexPageFirst = false;
    // Directory entries per directory page (the directory spreads over several pages).
    std::size_t directoryEntriesPerPage = 8;
    // Extra directory entries before the real ones.
    std::vector<std::string> otherFiles = {"|TOPIC", "|FONT"};
};

class HelpFileWriter {
public:
    static std::vector<uint8_t> build(const HelpFileLayout& layout) {
        std::vector<uint8_t> out;
        put32(out, layout.magic);
        put32(out, 16); // directory offset
        put32(out, 0);
        put32(out, 0);

        std::vector<std::string> names = layout.otherFiles;
        names.push_back(layout.systemName);
        if (layout.withKeywords) {
            names.push_back(layout.keywordName);
        }
        std::size_t perPage = layout.directoryEntriesPerPage;
        std::size_t directoryPages = (names.size() + perPage - 1) / perPage;
        std::size_t directorySize = 9 + 38 + directoryPages * 1024;
        std::size_t systemOffset = 16 + directorySize;
        std::vector<uint8_t> system = systemFile(layout);
        std::size_t keywordOffset = systemOffset + system.size();

        std::vector<uint32_t> offsets(layout.otherFiles.size(), uint32_t(systemOffset));
        offsets.push_back(uint32_t(systemOffset));
        offsets.push_back(uint32_t(keywordOffset));

        internalHeader(out, uint32_t(38 + directoryPages * 1024));
        treeHeader(out, 1024, uint16_t(directoryPages), uint32_t(names.size()));
        for (std::size_t page = 0; page < directoryPages; ++page) {
            std::vector<uint8_t> bytes;
            std::size_t first = page * perPage;
            std::size_t count = std::min(perPage, names.size() - first);
            leafHeader(bytes, uint16_t(count), page == 0 ? 0xFFFF : uint16_t(page - 1),
                       page + 1 == directoryPages ? 0xFFFF : uint16_t(page + 1));
            for (std::size_t i = first; i < first + count; ++i) {
                putString(bytes, names[i]);
                put32(bytes, offsets[i]);
            }
            bytes.resize(1024);
            out.insert(out.end(), bytes.begin(), bytes.end());
        }
        out.insert(out.end(), system.begin(), system.end());
        if (layout.withKeywords) {
            std::vector<uint8_t> keywords = keywordFile(layout);
            out.insert(out.end(), keywords.begin(), keywords.end());
        }
        return out;
    }

    static void put16(std::vector<uint8_t>& out, uint16_t value) {
        out.push_back(uint8_t(value));
        out.push_back(uint8_t(value >> 8));
    }
    static void put32(std::vector<uint8_t>& out, uint32_t value) {
        put16(out, uint16_t(value));
        put16(out, uint16_t(value >> 16));
    }

private:
    static void putString(std::vector<uint8_t>& out, const std::string& text) {
        out.insert(out.end(), text.begin(), text.end());
        out.push_back(0);
    }
    static void internalHeader(std::vector<uint8_t>& out, uint32_t used) {
        put32(out, used);
        put32(out, used);
        out.push_back(4);
    }
    static void treeHeader(std::vector<uint8_t>& out, uint16_t pageSize, uint16_t pages, uint32_t entries) {
        put16(out, 0x293B);
        put16(out, 0x0402);
        put16(out, pageSize);
        for (int i = 0; i < 16; ++i) {
            out.push_back(0);
        }
        put16(out, 0);      // must be zero
        put16(out, 0);      // page splits
        put16(out, 0);      // root page
        put16(out, 0xFFFF); // must be minus one
        put16(out, pages);  // total pages
        put16(out, 1);      // levels
        put32(out, entries);
    }
    static void leafHeader(std::vector<uint8_t>& out, uint16_t entries, uint16_t previous, uint16_t next) {
        put16(out, 0);
        put16(out, entries);
        put16(out, previous);
        put16(out, next);
    }
    static std::vector<uint8_t> systemFile(const HelpFileLayout& layout) {
        std::vector<uint8_t> body;
        put16(body, layout.systemMagic);
        put16(body, layout.systemMinor);
        put16(body, 1);
        put32(body, 0);
        put16(body, 0);
        if (layout.systemMinor == 15) {
            putString(body, layout.title);
        } else {
            put16(body, 2); // a copyright record first
            put16(body, 4);
            putString(body, "(c)");
            put16(body, 1);
            put16(body, uint16_t(layout.title.size() + 1));
            putString(body, layout.title);
        }
        std::vector<uint8_t> out;
        internalHeader(out, uint32_t(body.size()));
        out.insert(out.end(), body.begin(), body.end());
        return out;
    }
    static std::vector<uint8_t> keywordFile(const HelpFileLayout& layout) {
        std::size_t leaves = layout.keywordPages.size();
        std::size_t pages = leaves + (layout.indexPageFirst ? 1 : 0);
        std::vector<uint8_t> out;
        internalHeader(out, uint32_t(38 + pages * layout.keywordPageSize));
        std::size_t total = 0;
        for (const auto& page : layout.keywordPages) {
            total += page.size();
        }
        treeHeader(out, layout.keywordPageSize, uint16_t(pages), uint32_t(total));
        if (layout.indexPageFirst) {
            std::vector<uint8_t> index;
            put16(index, 0);
            put16(index, 0);
            put16(index, 1); // not a first leaf
            index.resize(layout.keywordPageSize);
            out.insert(out.end(), index.begin(), index.end());
        }
        std::size_t base = layout.indexPageFirst ? 1 : 0;
        for (std::size_t leaf = 0; leaf < leaves; ++leaf) {
            std::vector<uint8_t> bytes;
            std::size_t page = base + leaf;
            leafHeader(bytes, uint16_t(layout.keywordPages[leaf].size()),
                       leaf == 0 ? 0xFFFF : uint16_t(page - 1),
                       leaf + 1 == leaves ? 0xFFFF : uint16_t(page + 1));
            for (const std::string& keyword : layout.keywordPages[leaf]) {
                putString(bytes, keyword);
                put16(bytes, 1);
                put32(bytes, 0);
            }
            bytes.resize(layout.keywordPageSize);
            out.insert(out.end(), bytes.begin(), bytes.end());
        }
        return out;
    }
};

} // namespace vexa::aids::testing
