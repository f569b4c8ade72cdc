// The file functions: new, open, close, save, save as, save all, touch, reload, insert, name, backup.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "commands/FunctionTable.h"
#include "core/DocumentFile.h"
#include "frame/Frame.h"

namespace vexa {

class CommandProcessor;
class Document;

class Options;

// The file settings of the options, with the home's backup directory.
FileOptions fileOptionsFrom(const Options& options);

// The type list of the open and save dialogs from the filter string of the options: pairs of a
// description and its patterns, each ended by "|" ("C Files (*.c)|*.c;*.h|"). The pattern "*.*"
// means every file, as "*" does here. A description without patterns is left out.
std::vector<FileFilter> fileFiltersFrom(std::string_view filterString);

class FileCommands {
public:
    explicit FileCommands(CommandProcessor& processor) : m_processor(processor) {}

    static bool claims(FunctionId id);
    int32_t run(FunctionId id);

private:
    int32_t open();
    int32_t save(Document& document);
    int32_t saveAs(Document& document);
    int32_t saveAll(bool namedOnly);
    int32_t insertAtCursor();
    int32_t reloadRecent(FunctionId id);
    int32_t backupNow(Document& document);

    CommandProcessor& m_processor;
};

} // namespace vexa
