// Which file of the backup directory holds the backup of which document.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vexa {

// Backups are named after the document's name part; documents of the same name in different
// directories would overwrite each other's copy. The index, a text file in the backup
// directory with one "NAME<tab>FULL PATH" line per backup, gives each document its own name:
// the plain name while nobody else has it, "NAME~2.EXT", "NAME~3.EXT" ... otherwise. A
// document finds its backup again through the same index.
class BackupIndex {
public:
    static constexpr const char* kFileName = "VexaBack.lst";

    // Reads the index of a backup directory (missing or unreadable: empty).
    explicit BackupIndex(std::string directory);

    // Replaces the entries by those of an index file's text; lines without a name and a path
    // are skipped.
    void parse(std::string_view text);

    // The backup file of a document's full path: the one listed for it, else the first free name.
    std::string backupPathFor(const std::string& documentPath) const;
    // The listed backup of a document, empty when it has none.
    std::string findBackup(const std::string& documentPath) const;
    // Lists a name for a document after its backup was written; false when the index could not
    // be written.
    [[nodiscard]] bool record(const std::string& documentPath, const std::string& backupPath);

private:
    struct Entry {
        std::string name;
        std::string documentPath;
    };
    bool nameTaken(const std::string& name) const;
    std::string freeName(const std::string& plainName) const;

    std::string m_directory;
    std::vector<Entry> m_entries;
};

} // namespace vexa
