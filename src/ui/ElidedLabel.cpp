// The status bar's message label.
#include "ui/ElidedLabel.h"

#include <QFontMetrics>
#include <QResizeEvent>

namespace vexa::ui {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    // The label takes the width it is given: a long text never widens the bar.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::setFullText(const QString& text) {
    m_fullText = text;
    setToolTip(text);
    elide();
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::elide() {
    const int room = contentsRect().width() - 2 * margin() - 2 * indent();
    setText(fontMetrics().elidedText(m_fullText, Qt::ElideMiddle, std::max(room, 0)));
}

} // namespace vexa::ui
