// The Tab order and the first focus of a dialog.
#include "ui/DialogFocus.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <QWidget>
#include <vector>

namespace vexa::ui {
namespace {

bool takesTabFocus(const QWidget& widget) {
    return (widget.focusPolicy() & Qt::TabFocus) != 0;
}

// The controls of a layout in the order it places them. A widget that holds a layout of its own
// without taking the focus itself (a group box, a button box) gives its controls in their place.
void collectControls(const QLayout& layout, std::vector<QWidget*>& controls) {
    for (int i = 0; i < layout.count(); ++i) {
        QLayoutItem* item = layout.itemAt(i);
        if (const QLayout* inner = item->layout()) {
            collectControls(*inner, controls);
            continue;
        }
        QWidget* widget = item->widget();
        if (widget == nullptr || widget->isHidden()) {
            continue;
        }
        if (takesTabFocus(*widget)) {
            controls.push_back(widget);
        } else if (const QLayout* own = widget->layout()) {
            collectControls(*own, controls);
        }
    }
}

void selectText(QWidget& widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
        edit->selectAll();
    } else if (auto* box = qobject_cast<QComboBox*>(&widget); box != nullptr && box->lineEdit() != nullptr) {
        box->lineEdit()->selectAll();
    } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(&widget)) {
        spin->selectAll();
    }
}

} // namespace

void settleDialogFocus(QWidget& dialog) {
    std::vector<QWidget*> controls;
    if (const QLayout* layout = dialog.layout()) {
        collectControls(*layout, controls);
    }
    for (std::size_t i = 1; i < controls.size(); ++i) {
        QWidget::setTabOrder(controls[i - 1], controls[i]);
    }
    QWidget* focused = dialog.focusWidget();
    if (focused == nullptr) {
        for (QWidget* control : controls) {
            if (control->isEnabled()) {
                control->setFocus(Qt::OtherFocusReason);
                focused = control;
                break;
            }
        }
    }
    if (focused != nullptr) {
        // A combo box's edit field stands in for it.
        if (auto* box = qobject_cast<QComboBox*>(focused->parentWidget());
            box != nullptr && box->lineEdit() == focused) {
            focused = box;
        }
        selectText(*focused);
    }
}

} // namespace vexa::ui
