// The Color Options dialog.
#include "ui/ColourOptionsWindow.h"
#include "ui/Windows1252.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace vexa::ui {
namespace {

QString name(std::string_view text) {
    return fromWindows1252(text);
}

QWidget* titled(const QString& title, QListWidget* list, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(title, box));
    layout->addWidget(list);
    return box;
}

} // namespace

ColourOptionsWindow::ColourOptionsWindow(syntax::ColourTable& table, QWidget* parent)
    : QDialog(parent), m_model(table), m_schemes(new QListWidget(this)), m_groups(new QListWidget(this)),
      m_colours(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("Color Options"));
    for (std::size_t i = 0; i < syntax::ColourOptionsDialog::schemeCount(); ++i) {
        m_schemes->addItem(name(syntax::ColourOptionsDialog::schemeName(i)));
    }
    for (std::size_t i = 0; i < syntax::kColourSlotCount; ++i) {
        m_groups->addItem(name(syntax::ColourOptionsDialog::groupName(i)));
    }
    for (std::size_t i = 0; i < syntax::kPalette.size(); ++i) {
        const syntax::Rgb rgb = syntax::kPalette[i].rgb;
        QPixmap swatch(16, 16);
        swatch.fill(QColor(rgb.red, rgb.green, rgb.blue));
        m_colours->addItem(
            new QListWidgetItem(QIcon(swatch), name(syntax::ColourOptionsDialog::colourName(i))));
    }
    connect(m_schemes, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) {
            m_model.selectScheme(static_cast<std::size_t>(row));
            showSelection();
        }
    });
    connect(m_groups, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) {
            m_model.selectGroup(static_cast<std::size_t>(row));
            showSelection();
        }
    });
    connect(m_colours, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) {
            m_model.selectColour(static_cast<std::size_t>(row));
        }
    });
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* updateButton = buttons->addButton(QStringLiteral("&Update"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(updateButton, &QPushButton::clicked, this, &ColourOptionsWindow::update);
    connect(buttons, &QDialogButtonBox::rejected, this, [this] {
        m_model.cancel();
        reject();
    });
    auto* lists = new QHBoxLayout;
    lists->addWidget(titled(QStringLiteral("Preset Colors"), m_schemes, this));
    lists->addWidget(titled(QStringLiteral("&Groups"), m_groups, this));
    lists->addWidget(titled(QStringLiteral("&Colors"), m_colours, this));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addWidget(buttons);
    showSelection();
}

void ColourOptionsWindow::showSelection() {
    const QSignalBlocker schemes(m_schemes);
    const QSignalBlocker groups(m_groups);
    const QSignalBlocker colours(m_colours);
    m_schemes->setCurrentRow(static_cast<int>(m_model.selectedScheme()));
    m_groups->setCurrentRow(static_cast<int>(m_model.selectedGroup()));
    m_colours->setCurrentRow(static_cast<int>(m_model.selectedColour()));
}

void ColourOptionsWindow::update() {
    m_model.update();
    accept();
}

} // namespace vexa::ui
