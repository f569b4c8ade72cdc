// The file functions: new, open, close, save, save as, save all, touch, reload, insert, name, backup.
#pragma once

#include <cstdint>

#include "commands/FunctionTable.h"
#include "core/DocumentFile.h"

namespace vexa {

class CommandProcessor;
class Document;

class Options;

// The file settings of the options, with the home's backup directory.
FileOptions fileOptionsFrom(const Options& options);

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
