// A one-line label that shows a text too long for its width with "…" in the middle, and the whole
// text in its tool tip.
#pragma once

#include <QLabel>
#include <QString>

namespace vexa::ui {

class ElidedLabel final : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    // The whole text; the label shows as much of it as its width holds.
    void setFullText(const QString& text);
    const QString& fullText() const { return m_fullText; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();

    QString m_fullText;
};

} // namespace vexa::ui
