// Fuzzes the keymap file reader: header checks and both body layouts, then a save and reload.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "keyboard/KeymapFile.h"
#include "settings/InfoHeader.h"

namespace {

bool sameKeymap(const vexa::Keymap& a, const vexa::Keymap& b) {
    if (!(a.flags() == b.flags()) || a.tables().size() != b.tables().size()) {
        return false;
    }
    for (std::size_t slot = 0; slot < a.tables().size(); ++slot) {
        const auto left = a.tables()[slot].bindings();
        const auto right = b.tables()[slot].bindings();
        if (!(a.tables()[slot].prefix() == b.tables()[slot].prefix()) || left.size() != right.size()) {
            return false;
        }
        for (std::size_t index = 0; index < left.size(); ++index) {
            if (!(left[index] == right[index])) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const char> bytes(reinterpret_cast<const char*>(data), size);
    const vexa::InfoHeader header = vexa::decodeInfoHeader(bytes);
    (void)vexa::isInfoType(header, vexa::kKeymapInfo.fileType);
    const std::span<const char> body =
        size > vexa::kInfoHeaderSize ? bytes.subspan(vexa::kInfoHeaderSize) : std::span<const char>();
    for (const bool hasLaterFlags : {false, true}) {
        vexa::Keymap keymap;
        vexa::decodeKeymapBody(body, hasLaterFlags, keymap);
        if (keymap.tables().size() > vexa::Keymap::kMaxTables) {
            std::abort();
        }
        for (const vexa::KeyTable& table : keymap.tables()) {
            if (table.size() > vexa::KeyTable::kMaxBindings) {
                std::abort();
            }
        }
        // What was read is written back in the current layout and reads back the same.
        vexa::Keymap again;
        vexa::decodeKeymapBody(vexa::encodeKeymapBody(keymap), true, again);
        if (!sameKeymap(keymap, again)) {
            std::abort();
        }
        (void)keymap.lookup({static_cast<uint16_t>(size), 2});
        (void)keymap.lookup({static_cast<uint16_t>(size), 0});
    }
    return 0;
}
