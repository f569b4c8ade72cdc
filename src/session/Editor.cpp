// The editor put together.
#include "session/Editor.h"

#include <algorithm>

#include "frame/Frame.h"
#include "settings/Options.h"

namespace vexa {

namespace {

std::optional<recovery::RecoverySettings> recoverySettings(const EditorPorts& ports) {
    const EditorOptions& editor = ports.options.editor();
    if (!ports.journal || editor.recovery == 0) {
        return std::nullopt;
    }
    recovery::RecoverySettings settings;
    settings.directory = editor.recoveryDirectory.empty() ? ports.options.homeDirectory() + "/vrecover"
                                                          : editor.recoveryDirectory;
    settings.sizeCap = static_cast<uint64_t>(std::max(editor.recoveryCap, 1)) << 20;
    return settings;
}

} // namespace

Editor::Editor(EditorPorts ports)
    : m_frame(ports.frame), m_options(ports.options), m_launcher(ports.launcher),
      m_statusLine(ports.clock, ports.sound, ports.keyToggled),
      m_syntax(ports.options.directory(DirectoryKind::Config), ports.frame, &ports.options.settingsFile()),
      m_processor(
          ProcessorServices{ports.frame, ports.options, ports.clock, ports.clipboard, &ports.keyState}),
      m_keys(m_processor, ports.options), m_history(ports.options.settingsFile()),
      m_workspace(WorkspaceServices{ports.frame, ports.view, ports.options, m_processor, m_statusLine,
                                    m_history, m_syntax, m_keys.keymaps(), ports.clock, &ports.keyState}),
      m_windowCommands(m_processor, m_workspace), m_outputs(m_processor, ports.outputHost, &m_launcher),
      m_buildCommands(m_processor, m_outputs, m_launcher, ports.companionDirectory, ports.waitForRuns),
      m_navigation(m_processor, m_outputs, ports.keyState), m_findInFiles(m_processor, m_outputs, &ports.keyState),
      m_toolCommands(m_processor, m_outputs, m_launcher, ports.companionDirectory, ports.waitForRuns),
      m_macroCommands(m_processor),
      m_scriptCommands(
          EditorScriptServices{m_processor, m_workspace, m_outputs, ports.keyState, ports.clock, {}, &m_toolCommands},
          ports.options.directory(DirectoryKind::Config)),
      m_templates(ports.options.directory(DirectoryKind::Config), ports.frame, &m_processor),
      m_spelling(ports.options.directory(DirectoryKind::Spell), ports.frame, &ports.options.settingsFile()),
      m_aidCommands(m_processor, m_syntax, m_templates, m_spelling),
      m_helpCommands(m_processor, m_keys.keymaps(), m_prefixes, m_launcher, m_manualPages),
      m_recovery(ports.frame, recoverySettings(ports)) {
    m_launcher.setRecovery(&m_recovery);
    m_workspace.setRecovery(&m_recovery);
    m_processor.link(ProcessorLinks{m_statusLine,
                                    m_keys,
                                    m_workspace,
                                    m_macroCommands.recorder(),
                                    m_templates,
                                    {&m_windowCommands, &m_buildCommands, &m_navigation, &m_findInFiles, &m_toolCommands,
                                     &m_macroCommands, &m_scriptCommands, &m_aidCommands, &m_helpCommands,
                                     &m_workspace.loads()}});
    m_workspace.loads().setEnabled(ports.loadInSlices);
    m_buildCommands.addStoppableRun(m_toolCommands.capturedRun());
    const EditorOptions& editor = ports.options.editor();
    m_statusLine.setSoundEnabled(editor.makeSound != 0);
    m_statusLine.setClock24Hour(editor.clock24Hour != 0);
    m_prefixes.load(ports.options.directory(DirectoryKind::Config));
    m_keys.loadKeymap();
    m_templates.loadAll();
    m_spelling.loadCustom();
    m_history.loadRecentFiles();
    m_statusLine.refreshKeyStates();
    m_statusLine.setIndicator(Indicator::Mode, true);
    m_statusLine.setIndicator(Indicator::Mode, editor.insertMode != 0);
    m_statusLine.setIndicator(Indicator::Wrap, editor.lineWrap != 0);
}

Editor::~Editor() {
    // An open Find or Replace dialog works on the processor; it goes first.
    m_frame.closeSearchDialog();
    // The function families are members declared after the workspace, so they go before it:
    // they hear of the windows' closing now.
    m_workspace.announceShutdown();
    // The macro recorder and the templates are members too: the processor forgets them before they go.
    m_processor.unlinkHooks();
}

bool Editor::saveState() {
    bool saved = true;
    if (!m_history.saveRecentFiles()) {
        m_frame.status("The recent files could not be written to the settings file.",
                       platform::SoundKind::Exclamation);
        saved = false;
    }
    if (!m_syntax.saveColours()) {
        m_frame.status("The colours could not be written to the settings file.",
                       platform::SoundKind::Exclamation);
        saved = false;
    }
    m_frame.closeSearchDialog();
    if (!m_processor.saveSearchState()) {
        m_frame.status("The search settings could not be written to the settings file.",
                       platform::SoundKind::Exclamation);
        saved = false;
    }
    return saved;
}

} // namespace vexa
