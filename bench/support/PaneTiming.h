// What the desktop benchmarks share: milliseconds on the steady clock, the median of samples and
// the watch for the first paint of an edit pane. Header only: the support library has no Qt.
#pragma once

#include <QEvent>
#include <QObject>
#include <algorithm>
#include <chrono>
#include <vector>

#include "support/GeneratedText.h"
#include "ui/EditPaneWidget.h"

namespace vexa::bench {

inline double msSince(std::chrono::steady_clock::time_point start) {
    return secondsSince(start) * 1000.0;
}

// The median of the samples: the machine is shared, and the median is not moved by the few
// passes another process interrupted.
inline double median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// Notes the first paint of an edit pane's viewport anywhere in the application.
class FirstPaintWatch final : public QObject {
public:
    bool painted() const { return m_painted; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->parent() != nullptr &&
            qobject_cast<vexa::ui::EditPaneWidget*>(watched->parent()) != nullptr) {
            m_painted = true;
        }
        return false;
    }

private:
    bool m_painted = false;
};

} // namespace vexa::bench
