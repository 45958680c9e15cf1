#include "core/counted_loop.hpp"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <optional>

namespace core {

namespace {

// Whole decimal numbers of up to nine digits only: the largest count the box can hold.
std::optional<qint64> readCount(const QString& text) {
    if (text.isEmpty() || text.size() > 9) return std::nullopt;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    }
    return text.toLongLong();
}

}  // namespace

CountedLoopStep countedLoopStep(const QString& countText, const QString& counterText) {
    const std::optional<qint64> count = readCount(countText);
    CountedLoopStep step;
    if (!count || *count == 1) {
        step.lastPass = true;
        step.countText = QStringLiteral("0");
        step.counterText = counterText;
        return step;
    }
    const qint64 counter = readCount(counterText).value_or(0);
    step.counterText = QString::number(counter + 1);
    step.countText = *count == 0 ? countText : QString::number(*count - 1);
    return step;
}

bool advanceCountedLoop(const CountedLoopControls& c, bool& loopFlag) {
    if (!loopFlag) return false;
    auto* countBox = qobject_cast<QLineEdit*>(c.countBox);
    const CountedLoopStep step = countedLoopStep(countBox ? countBox->text() : QString(),
                                                 c.counter ? c.counter->text() : QString());
    if (c.counter) c.counter->setText(step.counterText);
    if (countBox) countBox->setText(step.countText);
    if (step.lastPass) {
        loopFlag = false;
        if (c.countBox) c.countBox->hide();
        if (c.countLabel) c.countLabel->hide();
        if (c.loopBox) c.loopBox->setChecked(false);
    }
    return loopFlag;
}

}  // namespace core
