// The tool dialogs' rules.
#include "toolchain/ToolDialogs.h"

#include "frame/Frame.h"
#include "platform/Files.h"
#include "settings/Format.h"

namespace vexa::toolchain {
namespace {

// The entry entered last: the last one added, or the one before the slot replaced next.
std::string newestEntry(const HistoryFile& history) {
    const auto& entries = history.entries();
    if (entries.empty()) {
        return {};
    }
    if (entries.size() < HistoryFile::kMaxEntries) {
        return entries.back();
    }
    return entries[(history.replaceIndex() + entries.size() - 1) % entries.size()];
}

} // namespace

ToolOptionsModel::ToolOptionsModel(Frame& frame, std::vector<ToolRecord> tools, std::string currentDirectory)
    : m_frame(frame), m_tools(std::move(tools)), m_fields(newToolRecord(std::move(currentDirectory))) {}

std::vector<std::string> ToolOptionsModel::displayTexts() const {
    std::vector<std::string> texts;
    texts.reserve(m_tools.size());
    for (const ToolRecord& tool : m_tools) {
        texts.push_back(toolDisplayText(tool));
    }
    return texts;
}

void ToolOptionsModel::select(std::size_t index) {
    if (index < m_tools.size()) {
        m_selected = index;
        m_fields = m_tools[index];
    }
}

bool ToolOptionsModel::add() {
    m_focus = Field::None;
    if (m_tools.size() >= kMaxTools) {
        m_frame.messageBox(kMaxToolsReached);
        return false;
    }
    if (!m_fields.workingDirectory.empty() && !platform::isDirectory(m_fields.workingDirectory)) {
        m_frame.messageBox(kNoSuchDirectory);
        m_focus = Field::Directory;
        return false;
    }
    for (std::size_t i = 0; i < m_tools.size(); ++i) {
        if (m_tools[i].menuText == m_fields.menuText) {
            if (m_frame.ask(formatText(kToolExists, m_fields.menuText.c_str()), kToolOptionsTitle) !=
                Answer::Yes) {
                return false;
            }
            m_tools.erase(m_tools.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    m_tools.push_back(m_fields);
    m_selected = m_tools.size() - 1;
    return true;
}

bool ToolOptionsModel::remove() {
    if (!m_selected || *m_selected >= m_tools.size()) {
        return false;
    }
    const std::string& text = m_tools[*m_selected].menuText;
    if (m_frame.ask(formatText(kDeleteTool, text.c_str()), kToolOptionsTitle) != Answer::Yes) {
        return false;
    }
    m_tools.erase(m_tools.begin() + static_cast<std::ptrdiff_t>(*m_selected));
    m_selected.reset();
    return true;
}

bool ToolOptionsModel::find() {
    FileDialogRequest request;
    request.title = std::string(kFindToolTitle);
    const std::vector<std::string> chosen = m_frame.chooseFilesToOpen(request);
    if (chosen.empty()) {
        return false;
    }
    m_fields.program = chosen.front();
    switch (programKindOfFile(chosen.front())) {
    case ProgramKind::Dos:
        m_fields.type = ToolType::DosProgram;
        break;
    case ProgramKind::Windows:
        m_fields.type = ToolType::WindowsProgram;
        break;
    case ProgramKind::Unknown:
        break;
    }
    return true;
}

DosCommandLineModel::DosCommandLineModel(std::string configDirectory)
    : m_configDirectory(std::move(configDirectory)) {
    (void)m_directories.load(m_configDirectory + std::string(kDirectoryHistoryFile));
    (void)m_arguments.load(m_configDirectory + std::string(kArgumentHistoryFile));
    directory = newestEntry(m_directories);
    arguments = newestEntry(m_arguments);
}

bool DosCommandLineModel::accept() {
    m_directories.enter(directory);
    m_arguments.enter(arguments);
    const bool directoriesSaved = m_directories.save(m_configDirectory + std::string(kDirectoryHistoryFile));
    const bool argumentsSaved = m_arguments.save(m_configDirectory + std::string(kArgumentHistoryFile));
    return directoriesSaved && argumentsSaved;
}

} // namespace vexa::toolchain
