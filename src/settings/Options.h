// The general options of the editor: read from the settings file at start, written back at exit.
#pragma once

#include <algorithm>
#include <optional>
#include <string>

#include "platform/Sound.h"
#include "settings/Directories.h"
#include "settings/SettingsFile.h"

namespace vexa {

// What the user is told when the settings file could not be written.
inline constexpr const char* kSettingsWriteFailedFormat = "The settings file '%s' could not be written.";

// The range of "TabSize" the editor options dialog offers.
inline constexpr int kMinTabSize = 1;
inline constexpr int kMaxTabSize = 32;

// The values of section "Editor Options"; the defaults live in the option table of Options.cpp.
struct EditorOptions {
    int displayMode = 0;
    int fileReadOnly = 0;
    int fileMustExist = 0;
    int clock24Hour = 0;
    int restoreSize = 0;
    int fileRead = 0;
    int fileWrite = 0;
    int oemRead = 0;
    int oemWrite = 0;
    int newUtf8 = 0;
    int multipleCopies = 0;
    int printFilter = 0;
    int hasMargin = 0;
    int toolBar = 0;
    int statusBar = 0;
    int insertMode = 0;
    int makeSound = 0;
    int smartBrace = 0;
    int smartIndent = 0;
    int smartTemplate = 0;
    int smartBraceMode = 0;
    int useTabs = 0;
    int lineWrap = 0;
    int fileTrim = 0;
    int autoBackup = 0;
    int useExplorer = 0;
    int smallIconCaption = 0;
    int useExternLead = 0;
    int backupInterval = 0;
    int wrapColumn = 0;
    int tabSize = 0;
    int restoreFiles = 0;
    int restoreDirectory = 0;
    int checkOnReload = 0;
    int promptOnFileOpen = 0;
    int insertAfterCursor = 0;
    int searchInclude = 0;
    // The recovery journal: on or off, its size in MiB before it starts again from a snapshot,
    // and its directory (empty: "vrecover" in the home).
    int recovery = 0;
    int recoveryCap = 0;
    std::string recoveryDirectory;
    std::string defaultSearchPath;
    std::string keymap;
    // The key and habit profile chosen at the first start ("Classic" or "Common"; empty until the
    // user answered), and whether F10 opens the menu bar (the Common habit).
    std::string profile;
    int menuKey = 0;
    // Undo habits of the Common profile, each on its own: a save keeps the undo history, and the
    // characters typed into one word undo together.
    int saveKeepsUndo = 0;
    int undoWords = 0;
};

struct KeyboardOptions {
    int briefCursor = 0;
    int allowAlt = 0;
    int allowControl = 0;
};

// Mark type values of the mouse marking actions (a plain drag, with Ctrl, with Shift, with Alt),
// and whether a Shift+click extends the mark to the clicked cell.
struct MouseOptions {
    int mouseMark1 = 0;
    int mouseMark2 = 0;
    int mouseMark3 = 0;
    int mouseMark4 = 0;
    int shiftClickExtends = 0;
};

struct FilterOptions {
    int useDefaults = 0;
    std::string filter1;
    std::string filter2;
    std::string filter3;
    std::string filter4;
    std::string filter5;
    std::string filter6;
    std::string filter7;
    std::string filter8;
    std::string filter9;
};

// The user's own regular expressions of section "RegularExpress".
struct RegexOptions {
    std::string lines;
    std::string errors;
    std::string functions;
};

// The edit windows' font. The fields not kept in the file are fixed.
struct FontDetails {
    static constexpr int kCharSet = 1; // the default character set
    static constexpr int kOutPrecision = 0;
    static constexpr int kClipPrecision = 0;
    static constexpr int kQuality = 0;

    int height = 0;
    int width = 0;
    int weight = 0;
    int italic = 0;
    int underline = 0;
    int strikeOut = 0;
    int family = 0;
    std::string face;
};

// The last position of one dialog, kept in section "Dialog%d" of its identifier.
struct DialogPosition {
    int x = 0;
    int y = 0;

    bool operator==(const DialogPosition&) const = default;
};

struct HistoryOptions {
    std::string lastDirectoryUsed;
};

// The options object: typed values for every key of its sections, the settings file the other
// subsystems use for theirs, and the home's directories. Values are used as read, without range
// tests; the few that arithmetic depends on have guarded accessors.
class Options {
public:
    // waveOutputDevices: how many sound output devices the system has (the sound decision).
    explicit Options(Directories directories, int waveOutputDevices = 1);

    // Every value back to its default.
    void resetToDefaults();

    // Reads every section of the options, the font details and the last directory; a missing
    // file or key gives the default.
    void load();
    // Writes the keys marked as written, the font details and the last directory, in one
    // replacement of the file: those changed since the last load or save and those the file
    // lacks, over the file as it is now; keys marked read only are never written. False when the file
    // could not be written (the old one then stays whole).
    [[nodiscard]] bool save();

    void loadFont();
    // Written after each font choice, too.
    [[nodiscard]] bool saveFont();

    SettingsFile& settingsFile() { return m_settings; }
    const SettingsFile& settingsFile() const { return m_settings; }
    const Directories& directories() const { return m_directories; }
    std::string directory(DirectoryKind kind) const { return m_directories.path(kind); }
    const std::string& homeDirectory() const { return m_directories.home(); }
    const std::string& keymapName() const { return m_editor.keymap; }
    const std::string& lastDirectoryUsed() const { return m_history.lastDirectoryUsed; }
    void setLastDirectoryUsed(std::string directory) { m_history.lastDirectoryUsed = std::move(directory); }

    DialogPosition dialogPosition(int dialogId) const;
    [[nodiscard]] bool saveDialogPosition(int dialogId, DialogPosition position);

    // "Filter1" to "Filter9" joined, each at most 80 characters: the open and save dialogs' list.
    std::string fileFilterString() const;

    // The sound to make for a requested kind: nothing when sounds are off or none is asked for,
    // the asterisk sound when the system has no sound output device, otherwise the kind itself.
    std::optional<platform::SoundKind> soundFor(platform::SoundKind requested) const;
    int waveOutputDevices() const { return m_waveOutputDevices; }

    // "TabSize" for column arithmetic: a value below 1 would divide by zero, so it counts as 1;
    // one above the dialog's range would overflow the painter's columns, so it counts as the top.
    int effectiveTabSize() const {
        return m_editor.tabSize < kMinTabSize ? kMinTabSize : std::min(m_editor.tabSize, kMaxTabSize);
    }

    EditorOptions& editor() { return m_editor; }
    const EditorOptions& editor() const { return m_editor; }
    KeyboardOptions& keyboard() { return m_keyboard; }
    const KeyboardOptions& keyboard() const { return m_keyboard; }
    MouseOptions& mouse() { return m_mouse; }
    const MouseOptions& mouse() const { return m_mouse; }
    FilterOptions& filters() { return m_filters; }
    const FilterOptions& filters() const { return m_filters; }
    const RegexOptions& regex() const { return m_regex; }
    FontDetails& font() { return m_font; }
    const FontDetails& font() const { return m_font; }

private:
    // Walks every section table with its group, for the const and the mutable object alike.
    template <typename Self, typename Visitor>
    static void visitSections(Self& self, Visitor&& visit);

    Directories m_directories;
    SettingsFile m_settings;
    int m_waveOutputDevices;
    EditorOptions m_editor;
    KeyboardOptions m_keyboard;
    MouseOptions m_mouse;
    FilterOptions m_filters;
    RegexOptions m_regex;
    FontDetails m_font;
    HistoryOptions m_history;
    // The values as last read from or written to the settings file: a save writes only what
    // differs, so two editors on one home do not undo each other's changes.
    SettingsText m_baseline;
};

} // namespace vexa
