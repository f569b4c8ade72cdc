// The File Filters dialog.
#include "ui/FileFiltersDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>

#include "settings/Format.h"
#include "settings/Options.h"
#include "ui/Windows1252.h"

namespace vexa::ui {
namespace {

// The entries in the order of their keys "Filter1" to "Filter9".
std::array<std::string*, FileFiltersDialog::kFilters> filterFields(FilterOptions& filters) {
    return {&filters.filter1, &filters.filter2, &filters.filter3, &filters.filter4, &filters.filter5,
            &filters.filter6, &filters.filter7, &filters.filter8, &filters.filter9};
}

// The longest entry the settings file keeps.
constexpr int kFilterLength = 80;

} // namespace

FileFiltersDialog::FileFiltersDialog(Options& options, QWidget* parent)
    : QDialog(parent), m_options(options),
      m_useDefaults(new QCheckBox(QStringLiteral("Use the &default filters"), this)) {
    setWindowTitle(QStringLiteral("File Filters"));
    auto* form = new QFormLayout;
    const auto fields = filterFields(options.filters());
    for (std::size_t i = 0; i < kFilters; ++i) {
        auto* edit = new QLineEdit(fromWindows1252(*fields[i]), this);
        edit->setMaxLength(kFilterLength);
        form->addRow(QStringLiteral("Filter &%1:").arg(i + 1), edit);
        m_filters[i] = edit;
    }
    m_useDefaults->setChecked(options.filters().useDefaults != 0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &FileFiltersDialog::confirm);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_useDefaults);
    layout->addWidget(buttons);
}

void FileFiltersDialog::confirm() {
    if (!apply()) {
        // The options stay in force for this session; only their record on disk is missing.
        QMessageBox::warning(
            this, QStringLiteral("Vexa Error"),
            fromWindows1252(formatText(kSettingsWriteFailedFormat, m_options.settingsFile().path().c_str())));
    }
    accept();
}

bool FileFiltersDialog::apply() {
    const auto fields = filterFields(m_options.filters());
    for (std::size_t i = 0; i < kFilters; ++i) {
        *fields[i] = toWindows1252(m_filters[i]->text());
    }
    m_options.filters().useDefaults = m_useDefaults->isChecked() ? 1 : 0;
    return m_options.save();
}

} // namespace vexa::ui
