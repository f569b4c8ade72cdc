// Feeds arbitrary bytes to the backup index reader: nothing may crash, and every document gets a
// backup name inside the backup directory that no other listed document has.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/BackupIndex.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string directory = "/nonexistent-vexa-fuzz/";
    vexa::BackupIndex index(directory);
    std::string_view text(reinterpret_cast<const char*>(data), size);
    index.parse(text);
    const std::string path = "/src/" + std::string(text.substr(0, text.size() > 40 ? 40 : text.size()));
    std::string backup = index.backupPathFor(path);
    if (backup.rfind(directory, 0) != 0) {
        __builtin_trap();
    }
    std::string listed = index.findBackup(path);
    if (!listed.empty() && listed != backup) {
        __builtin_trap();
    }
    return 0;
}
