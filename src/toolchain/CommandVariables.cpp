// The $-variables: names by group in the order that lets a long name win over its short form.
#include "toolchain/CommandVariables.h"

#include <array>
#include <cctype>

#include "toolchain/CompilerSettings.h"
#include "toolchain/PathParts.h"
#include "commands/CommandProcessor.h"
#include "commands/WordRules.h"
#include "core/Document.h"
#include "core/MarkedArea.h"
#include "platform/Environment.h"
#include "settings/Options.h"

namespace vexa::toolchain {
namespace {

enum class Value : uint8_t {
    Column,
    Dir,
    ExtBase,
    Ext,
    FileName,
    FileBase,
    FileDrive,
    FileDir,
    File,
    Line,
    ProjectBase,
    ProjectDrive,
    ProjectFile,
    ProjectDir,
    Word,
    VexaDir,
};

struct VariableName {
    std::string_view name;
    Value value;
};

// Within a group the names are tried in this order; a longer name comes before the names it
// starts with ("$FileName" before "$File", "$ExtBase" before "$Ext").
constexpr std::array<VariableName, 32> kNames{{
    {"$Column", Value::Column},
    {"$C", Value::Column},
    {"$Dir", Value::Dir},
    {"$DIR", Value::Dir},
    {"$ExtBase", Value::ExtBase},
    {"$EB", Value::ExtBase},
    {"$Ext", Value::Ext},
    {"$E", Value::Ext},
    {"$FileName", Value::FileName},
    {"$FN", Value::FileName},
    {"$FileBase", Value::FileBase},
    {"$FB", Value::FileBase},
    {"$FileDrive", Value::FileDrive},
    {"$FDR", Value::FileDrive},
    {"$FileDir", Value::FileDir},
    {"$FD", Value::FileDir},
    {"$File", Value::File},
    {"$F", Value::File},
    {"$Line", Value::Line},
    {"$L", Value::Line},
    {"$ProjectBase", Value::ProjectBase},
    {"$PB", Value::ProjectBase},
    {"$ProjectDrive", Value::ProjectDrive},
    {"$PDR", Value::ProjectDrive},
    {"$ProjectFile", Value::ProjectFile},
    {"$PF", Value::ProjectFile},
    {"$ProjectDir", Value::ProjectDir},
    {"$PD", Value::ProjectDir},
    {"$Word", Value::Word},
    {"$W", Value::Word},
    {"$VexaDir", Value::VexaDir},
    {"$VD", Value::VexaDir},
}};

char upper(char ch) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (upper(text[i]) != upper(prefix[i])) {
            return false;
        }
    }
    return true;
}

std::string valueOf(Value value, const VariableContext& context) {
    const PathParts file = splitPath(context.documentPath);
    const PathParts project = splitPath(context.projectPath);
    switch (value) {
    case Value::Column:
        return context.hasWindow ? std::to_string(static_cast<unsigned>(context.column)) : std::string();
    case Value::Dir:
        return context.currentDirectory;
    case Value::ExtBase:
        return file.extension.empty() ? std::string() : file.extension.substr(1);
    case Value::Ext:
        return file.extension;
    case Value::FileName:
        return file.fullName();
    case Value::FileBase:
        return file.base;
    case Value::FileDrive:
        return file.drive;
    case Value::FileDir:
        return file.directory;
    case Value::File:
        return file.fileName();
    case Value::Line:
        return std::to_string(static_cast<unsigned>(context.line));
    case Value::ProjectBase:
        return project.base;
    case Value::ProjectDrive:
        return project.drive;
    case Value::ProjectFile:
        return project.fileName();
    case Value::ProjectDir:
        return project.directory;
    case Value::Word:
        return context.word;
    case Value::VexaDir:
        return context.installDirectory;
    }
    return {};
}

} // namespace

ExpandedVariable expandVariable(std::string_view text, const VariableContext& context) {
    ExpandedVariable result{"$", 1};
    if (!context.hasDocument || text.size() < 2 || text.front() != '$') {
        return result;
    }
    // Only names whose group letter follows the '$' are tried; the table order within each group
    // is what decides between a name and its short form.
    const char group = upper(text[1]);
    for (const VariableName& name : kNames) {
        if (upper(name.name[1]) != group || !startsWithIgnoringCase(text, name.name)) {
            continue;
        }
        result.value = valueOf(name.value, context);
        if (result.value.size() > kMaxVariableValue) {
            result.value.resize(kMaxVariableValue);
        }
        result.consumed = name.name.size();
        return result;
    }
    return result;
}

std::vector<CommandPiece> expandCommandPieces(std::string_view command, std::size_t size,
                                              const VariableContext& context) {
    std::vector<CommandPiece> pieces;
    std::size_t total = 0;
    bool fits = true;
    // Every piece counts towards the total whether it was kept or not, so once one piece did not
    // fit nothing after it is kept either.
    auto append = [&](std::string_view piece, bool value) {
        total += piece.size();
        if (fits && total < size) {
            if (!piece.empty()) {
                pieces.push_back(CommandPiece{std::string(piece), value});
            }
        } else {
            fits = false;
        }
    };
    std::size_t position = 0;
    while (position < command.size()) {
        const std::size_t dollar = command.find('$', position);
        if (dollar == std::string_view::npos) {
            break;
        }
        append(command.substr(position, dollar - position), false);
        const ExpandedVariable variable = expandVariable(command.substr(dollar), context);
        // A '$' that names no variable stays typed text.
        append(variable.value, variable.consumed > 1);
        position = dollar + variable.consumed;
    }
    if (position < command.size()) {
        append(command.substr(position), false);
    }
    return pieces;
}

bool expandCommand(std::string_view command, std::size_t size, const VariableContext& context,
                   std::string& result) {
    result.clear();
    for (const CommandPiece& piece : expandCommandPieces(command, size, context)) {
        result += piece.text;
    }
    return command.find('$') != std::string_view::npos;
}

VariableContext variableContextOf(CommandProcessor& processor, std::string_view projectPath) {
    VariableContext context;
    context.projectPath = std::string(projectPath);
    if (context.projectPath.empty()) {
        // The project open now, as the settings hold it.
        ProjectSettings project;
        project.load(processor.options().settingsFile());
        context.projectPath = project.current;
    }
    context.currentDirectory = platform::currentDirectory().value_or(std::string());
    context.installDirectory = processor.options().homeDirectory();
    Document* document = processor.document();
    if (document == nullptr) {
        return context;
    }
    context.hasDocument = true;
    context.hasWindow = processor.pane() != nullptr;
    context.documentPath = document->fileName();
    context.line = document->cursorLine() + 1;
    context.column = document->cursorColumn() + 1;
    const MarkState& mark = document->mark();
    if (mark.exists() && mark.firstLine() == mark.lastLine() && mark.type != MarkType::Line) {
        for (const std::string& piece : markedPieces(*document)) {
            context.word += piece;
        }
    } else if (auto bounds = WordRules(*document).wordUnderCursor()) {
        const std::string_view text = document->currentLine().text();
        if (bounds->start < bounds->end && static_cast<std::size_t>(bounds->end) <= text.size()) {
            context.word = std::string(text.substr(bounds->start, bounds->end - bounds->start));
        }
    }
    return context;
}

} // namespace vexa::toolchain
