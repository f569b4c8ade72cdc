// The keymap binding window.
#include "ui/BindingEditorWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/KeyTranslation.h"
#include "ui/Windows1252.h"

namespace vexa::ui {
namespace {

QString text(std::string_view value) {
    return fromWindows1252(value);
}

struct FlagBox {
    KeymapFlag flag;
    const char* label;
};

constexpr std::array kFlagBoxes{
    FlagBox{KeymapFlag::AllowShiftMarking, "Allow CUA marking"},
    FlagBox{KeymapFlag::KeyPressRemovesMark, "Key press removes mark"},
    FlagBox{KeymapFlag::CutCopyRemovesMark, "Cut/copy removes mark"},
};

std::optional<std::size_t> rowOf(int row) {
    return row >= 0 ? std::optional<std::size_t>(static_cast<std::size_t>(row)) : std::nullopt;
}

} // namespace

BindingEditorWindow::BindingEditorWindow(BindingEditor& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_prefixes(new QComboBox(this)), m_keys(new QListWidget(this)),
      m_functions(new QListWidget(this)), m_alt(new QCheckBox(QStringLiteral("&Alt"), this)),
      m_shift(new QCheckBox(QStringLiteral("&Shift"), this)),
      m_control(new QCheckBox(QStringLiteral("&Control"), this)),
      m_update(new QPushButton(QStringLiteral("&Update"), this)),
      m_remove(new QPushButton(QStringLiteral("&Remove"), this)) {
    setWindowTitle(text(m_model.title()));
    for (const std::string& name : m_model.prefixNames()) {
        m_prefixes->addItem(text(name));
    }
    for (const KeyName& row : m_model.keyRows()) {
        m_keys->addItem(text(row.codeName));
    }
    for (std::string_view name : m_model.functionNames()) {
        m_functions->addItem(text(name));
    }
    m_keys->installEventFilter(this);

    connect(m_prefixes, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) {
            m_model.selectPrefix(static_cast<std::size_t>(index));
        }
    });
    connect(m_keys, &QListWidget::currentRowChanged, this,
            [this](int row) { m_model.selectKeyRow(rowOf(row)); });
    connect(m_functions, &QListWidget::currentRowChanged, this,
            [this](int row) { m_model.selectFunction(rowOf(row)); });
    connect(m_alt, &QCheckBox::toggled, this, [this](bool on) { m_model.setAlt(on); });
    connect(m_shift, &QCheckBox::toggled, this, [this](bool on) { m_model.setShift(on); });
    connect(m_control, &QCheckBox::toggled, this, [this](bool on) { m_model.setControl(on); });
    connect(m_update, &QPushButton::clicked, this, [this] {
        m_model.update();
        showSelection();
    });
    connect(m_remove, &QPushButton::clicked, this, [this] {
        m_model.remove();
        showSelection();
    });

    auto* flags = new QVBoxLayout;
    auto* behaviour = new QLabel(QStringLiteral("Keyboard &Behaviour:"), this);
    flags->addWidget(behaviour);
    for (const FlagBox& entry : kFlagBoxes) {
        auto* box = new QCheckBox(QString::fromLatin1(entry.label), this);
        if (behaviour->buddy() == nullptr) {
            behaviour->setBuddy(box);
        }
        box->setChecked(m_model.flag(entry.flag));
        const KeymapFlag which = entry.flag;
        connect(box, &QCheckBox::toggled, this, [this, which](bool on) { m_model.setFlag(which, on); });
        flags->addWidget(box);
    }
    auto* modifiers = new QHBoxLayout;
    modifiers->addWidget(m_alt);
    modifiers->addWidget(m_shift);
    modifiers->addWidget(m_control);

    const auto label = [this](const char* text, QWidget* buddy) {
        auto* shown = new QLabel(QString::fromLatin1(text), this);
        shown->setBuddy(buddy);
        return shown;
    };
    auto* grid = new QGridLayout;
    grid->addWidget(label("&Prefix Key:", m_prefixes), 0, 0);
    grid->addWidget(m_prefixes, 1, 0);
    grid->addWidget(label("&Key Code:", m_keys), 2, 0);
    grid->addWidget(m_keys, 3, 0);
    grid->addWidget(label("&Extended Code:", m_alt), 4, 0);
    grid->addLayout(modifiers, 5, 0);
    grid->addWidget(label("&Functions Available:", m_functions), 0, 1);
    grid->addWidget(m_functions, 1, 1, 5, 1);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(m_update, QDialogButtonBox::ActionRole);
    buttons->addButton(m_remove, QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    connect(close, &QPushButton::clicked, this, &BindingEditorWindow::closeEditor);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(flags);
    layout->addWidget(buttons);
    showSelection();
}

void BindingEditorWindow::closeEditor() {
    // The keymap manager saves the keymap after the window is gone, knowing whether it changed.
    accept();
}

bool BindingEditorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_keys && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto translated = translateKey(key->key(), key->modifiers());
        if (translated.has_value()) {
            KeyPress press;
            press.keyCode = translated->code;
            press.modifiers = translated->modifiers;
            press.repeat = key->isAutoRepeat() ? KeyRepeat::AutoRepeat : KeyRepeat::First;
            press.direction = event->type() == QEvent::KeyPress ? KeyDirection::Down : KeyDirection::Up;
            if (m_model.captureKey(press)) {
                showSelection();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void BindingEditorWindow::showSelection() {
    const QSignalBlocker prefixBlocker(m_prefixes);
    const QSignalBlocker keyBlocker(m_keys);
    const QSignalBlocker functionBlocker(m_functions);
    const QSignalBlocker altBlocker(m_alt);
    const QSignalBlocker shiftBlocker(m_shift);
    const QSignalBlocker controlBlocker(m_control);
    m_prefixes->setCurrentIndex(static_cast<int>(m_model.prefixSelection()));
    const auto key = m_model.keyRowSelection();
    m_keys->setCurrentRow(key.has_value() ? static_cast<int>(*key) : -1);
    const auto function = m_model.functionSelection();
    m_functions->setCurrentRow(function.has_value() ? static_cast<int>(*function) : -1);
    m_alt->setChecked(m_model.alt());
    m_shift->setChecked(m_model.shift());
    m_control->setChecked(m_model.control());
}

} // namespace vexa::ui
