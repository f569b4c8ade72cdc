// The loaded template sets and the expansion of abbreviations.
#include "aids/TemplateStore.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <system_error>

#include "commands/CommandProcessor.h"
#include "commands/FunctionTable.h"
#include "core/Document.h"
#include "core/DocumentText.h"
#include "core/Messenger.h"
#include "regex/CaseFolding.h"
#include "settings/Format.h"
#include "settings/InfoFile.h"
#include "text/TextEncoding.h"

namespace vexa::aids {
namespace {

bool sameStart(std::string_view a, std::string_view b) {
    a = a.substr(0, std::min<std::size_t>(a.size(), 3));
    b = b.substr(0, std::min<std::size_t>(b.size(), 3));
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool hasTemplateSuffix(const std::string& name) {
    if (name.size() < 4) {
        return false;
    }
    std::string suffix = name.substr(name.size() - 4);
    for (char& c : suffix) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return suffix == ".TPL";
}

std::string fileNamePart(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

// Whether a character beyond ASCII is a letter: the letters Windows-1252 holds (those with two
// cases, ß, ÿ, ª, º, µ, ƒ) and, as a UTF-8 document may hold any script, every character past
// Latin-1 outside the punctuation and symbol blocks.
bool isLetterBeyondAscii(char32_t c) {
    if (foldedCharacter(c) != c || otherCaseCharacter(c) != c) {
        return true;
    }
    switch (c) {
    case 0xDF:  // ß
    case 0xAA:  // ª
    case 0xBA:  // º
    case 0xB5:  // µ
    case 0x192: // ƒ
        return true;
    default:
        break;
    }
    return c >= 0x100 && !(c >= 0x2000 && c <= 0x2BFF) && !(c >= 0x3000 && c <= 0x303F) &&
           !(c >= 0xE000 && c <= 0xF8FF) && !(c >= 0xFE30 && c <= 0xFE4F) && !(c >= 0xFF00 && c <= 0xFF0F);
}

// Whether the character at an offset of a line continues a word for the rule of where an
// expansion may start: letters and digits of the document's encoding, '_' and '-'.
bool continuesWord(std::string_view line, std::size_t at, TextEncoding encoding) {
    const auto byte = static_cast<unsigned char>(line[at]);
    if (byte < 0x80) {
        return std::isalnum(byte) != 0 || byte == '_' || byte == '-';
    }
    if (encoding == TextEncoding::Utf8) {
        const text::Decoded decoded = text::decodeUtf8(line, at);
        return decoded.valid && isLetterBeyondAscii(decoded.character);
    }
    return isLetterBeyondAscii(text::windows1252ToUnicode(byte));
}

// A stored template text (bytes of unknown encoding: UTF-8 or the older Windows-1252) as bytes
// of a document of the encoding; nothing when the encoding cannot hold one of its characters.
std::optional<std::string> storedTextIn(std::string_view stored, TextEncoding encoding) {
    return text::fromUtf8(text::externalToUtf8(stored), encoding);
}

bool isAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The entry of a set whose abbreviation, written in the document's encoding, is the typed text.
// Stored abbreviations are compared as the document holds them, so an entry written in either
// encoding serves documents of both.
const TemplateEntry* lookupIn(const TemplateSet& set, std::string_view typed, TextEncoding encoding) {
    const auto sameAsTyped = [&](const std::string& abbreviation) {
        return abbreviation.size() == typed.size() && set.compare(abbreviation, typed) == 0;
    };
    if (const TemplateEntry* entry = set.lookup(typed)) {
        // Equal bytes are the same text unless the entry was written in the other encoding.
        const std::optional<std::string> inDocument = storedTextIn(entry->abbreviation, encoding);
        if (inDocument && sameAsTyped(*inDocument)) {
            return entry;
        }
    }
    if (isAscii(typed)) {
        return nullptr; // a stored abbreviation with other characters never reads as ASCII
    }
    for (const TemplateEntry& entry : set.entries()) {
        if (isAscii(entry.abbreviation)) {
            continue; // the same bytes in every encoding: the look-up above has seen it
        }
        const std::optional<std::string> inDocument = storedTextIn(entry.abbreviation, encoding);
        if (inDocument && *inDocument != entry.abbreviation && sameAsTyped(*inDocument)) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace

TemplateStore::TemplateStore(std::string configDirectory, Messenger& messenger, CommandProcessor* processor)
    : m_configDirectory(std::move(configDirectory)), m_messenger(messenger), m_processor(processor) {}

std::string TemplateStore::pathOf(const TemplateSet& set) const {
    // Only the file name is upper-cased: the directory keeps its own spelling.
    return (std::filesystem::path(m_configDirectory) / templateFileName(set.name)).string();
}

void TemplateStore::loadAll() {
    BusyCursor busy(m_messenger);
    m_sets.clear();
    m_default = nullptr;
    m_current = nullptr;
    std::vector<std::string> paths;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(m_configDirectory, error)) {
        const std::string name = item.path().filename().string();
        if (hasTemplateSuffix(name) && item.is_regular_file(error)) {
            paths.push_back(item.path().string());
        }
    }
    std::sort(paths.begin(), paths.end());
    for (const std::string& path : paths) {
        auto set = std::make_unique<TemplateSet>();
        loadSet(path, *set);
        m_sets.push_back(std::move(set));
    }
    for (const auto& set : m_sets) {
        if (set->name == kDefaultSetName) {
            m_default = set.get();
            break;
        }
    }
    if (m_default == nullptr) {
        TemplateSet fresh = TemplateSet::makeDefault();
        if (saveSet(fresh)) {
            m_sets.push_back(std::make_unique<TemplateSet>(std::move(fresh)));
            m_default = m_sets.back().get();
        } else {
            m_messenger.messageBox(formatText(kTemplateReadOnlyFormat, pathOf(fresh).c_str()));
        }
    }
    m_current = m_default;
}

bool TemplateStore::loadSet(const std::string& path, TemplateSet& set) {
    InfoFile file;
    const InfoStatus status = file.openChecked(path, kTemplateInfo);
    if (status == InfoStatus::OpenFailed || !file.isType(kTemplateInfo.fileType)) {
        m_messenger.messageBox(infoUnknownFormatMessage(fileNamePart(path)));
        return false;
    }
    const std::string body = file.readRest();
    const bool entriesReadable = file.versionAtMost(kTemplateInfo.version);
    if (decodeTemplateBody(body, entriesReadable, set) != TemplateRead::Ok) {
        m_messenger.messageBox(infoUnknownFormatMessage(fileNamePart(path)));
        return false;
    }
    return true;
}

bool TemplateStore::saveSet(const TemplateSet& set) {
    const std::string path = pathOf(set);
    InfoFile file;
    if (!file.create(path, InfoHeader::forKind(kTemplateInfo))) {
        m_messenger.messageBox(infoCreateErrorMessage(fileNamePart(path)));
        return false;
    }
    const std::string body = encodeTemplateBody(set);
    if (!file.write(body) || !file.close(InfoClose::Truncate)) {
        m_messenger.messageBox(infoCreateErrorMessage(fileNamePart(path)));
        return false;
    }
    return true;
}

TemplateSet* TemplateStore::findSet(std::string_view name) {
    for (const auto& set : m_sets) {
        if (sameStart(set->name, name)) {
            return set.get();
        }
    }
    return nullptr;
}

TemplateSet* TemplateStore::findOrLoadSet(std::string_view name) {
    if (TemplateSet* found = findSet(name)) {
        return found;
    }
    TemplateSet probe = TemplateSet::makeNew(name);
    const std::string path = pathOf(probe);
    std::error_code error;
    if (name.empty() || !std::filesystem::is_regular_file(path, error)) {
        return nullptr;
    }
    auto set = std::make_unique<TemplateSet>();
    loadSet(path, *set);
    m_sets.push_back(std::move(set));
    return m_sets.back().get();
}

void TemplateStore::selectForExtension(std::string_view extension) {
    TemplateSet* set = extension.empty() ? nullptr : findSet(extension);
    m_current = set != nullptr ? set : m_default;
}

void TemplateStore::selectForFile(std::string_view fileName) {
    const std::size_t slash = fileName.find_last_of("/\\");
    const std::string_view base = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    const std::size_t dot = base.rfind('.');
    selectForExtension(dot == std::string_view::npos ? std::string_view{} : base.substr(dot + 1));
}

TemplateSet& TemplateStore::addSet(TemplateSet set) {
    m_sets.push_back(std::make_unique<TemplateSet>(std::move(set)));
    return *m_sets.back();
}

bool TemplateStore::removeSet(const TemplateSet& set) {
    if (&set == m_default) {
        return false;
    }
    const auto found =
        std::find_if(m_sets.begin(), m_sets.end(), [&](const auto& s) { return s.get() == &set; });
    if (found == m_sets.end()) {
        return false;
    }
    std::error_code error;
    std::filesystem::remove(pathOf(set), error);
    if (m_current == &set) {
        m_current = m_default;
    }
    m_sets.erase(found);
    return true;
}

const TemplateEntry* TemplateStore::find(std::string_view typed, TextEncoding encoding) const {
    const TemplateSet* current = m_current != nullptr ? m_current : m_default;
    if (current == nullptr) {
        return nullptr;
    }
    if (const TemplateEntry* entry = lookupIn(*current, typed, encoding)) {
        return entry;
    }
    if (current->useDefaultTemplates && m_default != nullptr && m_default != current) {
        return lookupIn(*m_default, typed, encoding);
    }
    return nullptr;
}

bool TemplateStore::expandBeforeSpace(Document& document) {
    if (m_processor == nullptr || document.cursorBeyond()) {
        return false;
    }
    // The set follows the document being typed in, whatever window was active before.
    selectForFile(document.fileName());
    const std::string_view line = document.currentLine().text();
    const int cursor = document.cursorOffset();
    if (cursor < static_cast<int>(line.size()) &&
        continuesWord(line, static_cast<std::size_t>(cursor), document.encoding())) {
        return false;
    }
    const std::string_view delimiters = document.languageRules().delimiterCharacters();
    const auto isDelimiter = [&](char c) {
        // Blanks end an abbreviation in every language, so indented code expands too.
        return c == ' ' || c == '\t' || delimiters.find(c) != std::string_view::npos;
    };
    int start = cursor;
    bool seenWord = false;
    while (start > 0) {
        const char c = line[static_cast<std::size_t>(start - 1)];
        if (c == ' ' || c == '\t') {
            break;
        }
        if (isDelimiter(c)) {
            if (seenWord) {
                break;
            }
        } else {
            seenWord = true;
        }
        --start;
    }
    const int length = cursor - start;
    // The typed text is compared over at most ten characters, but its own length must equal the
    // entry's: a text longer than any abbreviation never matches. A character of an older
    // Windows-1252 entry takes up to three bytes in a UTF-8 document.
    const int longest =
        static_cast<int>(kMaxAbbreviation) * (document.encoding() == TextEncoding::Utf8 ? 3 : 1);
    if (length == 0 || length > longest) {
        return false;
    }
    const std::string_view typed =
        line.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length));
    const TemplateEntry* entry = find(typed, document.encoding());
    if (entry == nullptr) {
        return false;
    }
    // The expansion is written in the document's encoding before anything changes: one the
    // document cannot hold is refused with a message and the typed abbreviation stays.
    const std::optional<std::string> expansion =
        documentBytes(document, text::externalToUtf8(entry->expansion), &m_messenger);
    if (!expansion) {
        return false;
    }
    document.setCursorOffset(start);
    document.deleteBytes(length);
    typeExpansion(document, *expansion);
    return true;
}

void TemplateStore::typeExpansion(Document& document, std::string_view expansion) {
    m_processor->setTemplateTyping(true);
    std::optional<std::pair<int, int>> mark;
    for (std::size_t i = 0; i < expansion.size(); ++i) {
        const char c = expansion[i];
        if (c == '\\' && i + 1 < expansion.size()) {
            const char next = static_cast<char>(std::tolower(static_cast<unsigned char>(expansion[i + 1])));
            bool handled = true;
            switch (next) {
            case 'n':
                m_processor->run(functionIdOf("Enter"));
                break;
            case 't':
                m_processor->run(functionIdOf("Tab"));
                break;
            case 'b':
                m_processor->run(functionIdOf("TabBack"));
                break;
            case 'c':
                mark = std::pair{document.cursorLine(), document.cursorOffset()};
                break;
            default:
                handled = false;
                break;
            }
            if (handled) {
                ++i;
                continue;
            }
        }
        // A character is typed whole: a UTF-8 sequence is one character.
        const int next = text::nextCharacter(expansion, static_cast<int>(i), document.encoding());
        const std::size_t characterLength = static_cast<std::size_t>(std::max(1, next - static_cast<int>(i)));
        if (!document.insertCharacter(expansion.substr(i, characterLength))) {
            break; // the line is full: the rest of the expansion cannot be typed
        }
        i += characterLength - 1;
    }
    m_processor->setTemplateTyping(false);
    if (mark) {
        document.goToLine(mark->first);
        document.setCursorOffset(mark->second);
    }
}

} // namespace vexa::aids
