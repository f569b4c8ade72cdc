// The File Filters dialog: the nine entries of "Filter Options" that the open and save dialogs
// offer, and whether the built-in list is used; OK keeps them and writes the settings file.
#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;

namespace vexa {
class Options;
}

namespace vexa::ui {

class FileFiltersDialog final : public QDialog {
    Q_OBJECT

public:
    static constexpr std::size_t kFilters = 9;

    FileFiltersDialog(Options& options, QWidget* parent = nullptr);

    QLineEdit* filter(std::size_t index) const { return m_filters.at(index); }
    QCheckBox* useDefaults() const { return m_useDefaults; }

    // OK: the controls into the options, then the settings file; false when it could not be written.
    bool apply();
    // The OK button: applies and closes; a settings file that could not be written is reported.
    void confirm();

private:
    Options& m_options;
    std::array<QLineEdit*, kFilters> m_filters{};
    QCheckBox* m_useDefaults;
};

} // namespace vexa::ui
