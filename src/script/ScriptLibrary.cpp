// The C-like library of the script language.
#include "script/ScriptLibrary.h"

#include <array>
#include <vector>

#include "platform/Environment.h"
#include "platform/Files.h"
#include "script/ScriptText.h"

namespace vexa::script {

namespace {

constexpr int32_t kMisuse = -1;

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// The sign of a byte-wise comparison, bytes taken as unsigned as the C library does.
int32_t compareTexts(std::string_view a, std::string_view b, bool ignoreCase) {
    const size_t length = std::min(a.size(), b.size());
    for (size_t i = 0; i < length; ++i) {
        const auto x = static_cast<unsigned char>(ignoreCase ? lowerAscii(a[i]) : a[i]);
        const auto y = static_cast<unsigned char>(ignoreCase ? lowerAscii(b[i]) : b[i]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

int32_t libAccess(ScriptCall& call) {
    if (call.count() != 2 || !call.isString(0)) {
        return kMisuse;
    }
    // The mode numbers of the desktop's access test: 0 existence, 2 write, 4 read, 6 both.
    platform::Access access = platform::Access::Exists;
    switch (call.number(1)) {
    case 0:
        access = platform::Access::Exists;
        break;
    case 2:
        access = platform::Access::Write;
        break;
    case 4:
        access = platform::Access::Read;
        break;
    case 6:
        access = platform::Access::ReadWrite;
        break;
    default:
        return kMisuse;
    }
    const std::string path = call.text(0);
    return !path.empty() && platform::canAccess(path, access) ? 0 : -1;
}

int32_t libAtoi(ScriptCall& call) {
    if (call.count() != 1 || !call.isString(0)) {
        return kMisuse;
    }
    const int32_t value = textToNumber(call.text(0));
    call.setValue(0, value);
    return value;
}

int32_t libChdir(ScriptCall& call) {
    if (call.count() != 1 || !call.isString(0)) {
        return kMisuse;
    }
    const std::string path = call.text(0);
    if (!call.hasText(0) || path.empty()) {
        return -1;
    }
    return platform::setCurrentDirectory(path) ? 1 : 0;
}

int32_t libDate(ScriptCall& call) {
    if (call.count() < 1 || call.count() > 5) {
        return kMisuse;
    }
    const platform::LocalTime now = call.clock().localTime();
    const std::array<int32_t, 3> parts{now.year, now.month, now.day};
    for (int i = 0; i < call.count() && i < 3; ++i) {
        call.setNumber(i, parts[static_cast<size_t>(i)]);
    }
    return 1;
}

int32_t libTime(ScriptCall& call) {
    if (call.count() < 1 || call.count() > 4) {
        return kMisuse;
    }
    const platform::LocalTime now = call.clock().localTime();
    const std::array<int32_t, 4> parts{now.hour, now.minute, now.second, now.millisecond / 10};
    for (int i = 0; i < call.count(); ++i) {
        call.setNumber(i, parts[static_cast<size_t>(i)]);
    }
    return 1;
}

int32_t libGetcwd(ScriptCall& call) {
    if (call.count() != 1 || !call.isString(0)) {
        return kMisuse;
    }
    call.setText(0, platform::currentDirectory().value_or(std::string()));
    return 1;
}

int32_t libGetdisk(ScriptCall& call) {
    return call.count() == 0 ? kCurrentDrive : kMisuse;
}

int32_t libSetdisk(ScriptCall& call) {
    return call.count() == 1 ? kDriveCount : kMisuse;
}

int32_t libSplitpath(ScriptCall& call) {
    if (call.count() < 1 || call.count() > 5) {
        return kMisuse;
    }
    for (int i = 0; i < call.count(); ++i) {
        if (!call.isString(i)) {
            return kMisuse;
        }
    }
    // The flags of the split, as the desktop's path splitter gives them.
    constexpr int32_t kWildcards = 1;
    constexpr int32_t kExtension = 2;
    constexpr int32_t kFileName = 4;
    constexpr int32_t kDirectory = 8;
    const std::string path = call.text(0);
    const std::string directory(platform::directoryPart(path));
    const std::string_view file = platform::namePart(path);
    const size_t dot = file.rfind('.');
    const std::string name(file.substr(0, dot));
    const std::string extension(dot == std::string_view::npos ? std::string_view() : file.substr(dot));
    int32_t flags = 0;
    if (path.find_first_of("*?") != std::string::npos) {
        flags |= kWildcards;
    }
    if (!extension.empty()) {
        flags |= kExtension;
    }
    if (!name.empty()) {
        flags |= kFileName;
    }
    if (!directory.empty()) {
        flags |= kDirectory;
    }
    const std::array<std::string_view, 4> parts{std::string_view(), directory, name, extension};
    for (int i = 1; i < call.count(); ++i) {
        call.setText(i, parts[static_cast<size_t>(i - 1)]);
    }
    return flags;
}

int32_t libSprintf(ScriptCall& call) {
    if (call.count() < 2 || call.count() > 8 || !call.isString(0) || !call.isString(1)) {
        return kMisuse;
    }
    std::vector<std::string> values;
    for (int i = 2; i < call.count(); ++i) {
        values.push_back(call.text(i));
    }
    call.setText(0, formatScriptText(call.text(1), values));
    return 1;
}

int32_t libStrcat(ScriptCall& call) {
    if (call.count() != 2 || !call.isString(0)) {
        return kMisuse;
    }
    call.setText(0, call.text(0) + call.text(1));
    return 1;
}

int32_t libStrcmp(ScriptCall& call) {
    if (call.count() != 2) {
        return kMisuse;
    }
    return compareTexts(call.text(0), call.text(1), false);
}

int32_t libStricmp(ScriptCall& call) {
    if (call.count() != 2) {
        return kMisuse;
    }
    return compareTexts(call.text(0), call.text(1), true);
}

int32_t libStrcpy(ScriptCall& call) {
    if (call.count() != 2 || !call.isString(0)) {
        return kMisuse;
    }
    call.setText(0, call.text(1));
    return 1;
}

int32_t libStrlen(ScriptCall& call) {
    if (call.count() != 1 || !call.isString(0)) {
        return kMisuse;
    }
    if (!call.hasText(0)) {
        return -1;
    }
    return static_cast<int32_t>(call.text(0).size());
}

int32_t changeCase(ScriptCall& call, char (*convert)(char)) {
    if (call.count() != 1 || !call.isString(0)) {
        return kMisuse;
    }
    std::string text = call.text(0);
    for (char& c : text) {
        c = convert(c);
    }
    call.setText(0, text);
    return 1;
}

int32_t libStrlwr(ScriptCall& call) {
    return changeCase(call, lowerAscii);
}
int32_t libStrupr(ScriptCall& call) {
    return changeCase(call, upperAscii);
}

constexpr std::array<LibraryEntry, 17> kLibrary{{
    {"access", libAccess},
    {"atoi", libAtoi},
    {"chdir", libChdir},
    {"date", libDate},
    {"getcwd", libGetcwd},
    {"getdisk", libGetdisk},
    {"setdisk", libSetdisk},
    {"splitpath", libSplitpath},
    {"sprintf", libSprintf},
    {"strcat", libStrcat},
    {"strcmp", libStrcmp},
    {"strcpy", libStrcpy},
    {"stricmp", libStricmp},
    {"strlen", libStrlen},
    {"strlwr", libStrlwr},
    {"strupr", libStrupr},
    {"time", libTime},
}};

} // namespace

const LibraryEntry* findLibraryFunction(std::string_view name) {
    for (const LibraryEntry& entry : kLibrary) {
        if (equalNoCase(entry.name, name)) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace vexa::script
