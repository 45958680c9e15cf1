#include "widgets/log_view.hpp"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <algorithm>

namespace widgets {

namespace {

constexpr int kMargin = 4;
// How often a drag held past the edge scrolls a step.
constexpr int kDragScrollMs = 50;

QTextOption tabbedOption(qreal tabStop) {
    QTextOption option;
    option.setTabStopDistance(tabStop);
    option.setWrapMode(QTextOption::NoWrap);
    return option;
}

}  // namespace

LogView::LogView(QWidget* parent) : QAbstractScrollArea(parent) {
    starts_.push_back(0);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    tabStop_ = fontMetrics().horizontalAdvance(QLatin1Char('x')) * 8.0;
    dragScroll_.setInterval(kDragScrollMs);
    connect(&dragScroll_, &QTimer::timeout, this, [this] {
        if (!selecting_) return dragScroll_.stop();
        scrollTowardsDrag();
        cursor_ = positionAt(dragPoint_);
        viewport()->update();
    });
}

void LogView::setSource(const QString* text) {
    source_ = text;
    textReset();
}

void LogView::textReset() {
    starts_.assign(1, 0);
    indexed_ = 0;
    widest_ = 0;
    anchor_ = cursor_ = Position{};
    indexFrom(0);
    updateScrollRanges();
    scrollToEnd();
    viewport()->update();
}

void LogView::textAppended() {
    if (!source_) return;
    if (source_->size() < indexed_) {
        textReset();
        return;
    }
    indexFrom(indexed_);
    updateScrollRanges();
    scrollToEnd();
    viewport()->update();
}

void LogView::indexFrom(qsizetype from) {
    if (!source_) return;
    const QString& text = *source_;
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\n')) starts_.push_back(i + 1);
    }
    indexed_ = text.size();
}

QString LogView::lineText(int line) const {
    if (!source_ || line < 0 || line >= lineCount()) return {};
    const std::size_t l = static_cast<std::size_t>(line);
    const qsizetype from = starts_[l];
    qsizetype to = l + 1 < starts_.size() ? starts_[l + 1] - 1 : indexed_;
    if (to > from && source_->at(to - 1) == QLatin1Char('\r')) --to;
    return source_->mid(from, to - from);
}

QString LogView::toPlainText() const {
    QStringList lines;
    for (int i = 0; i < lineCount(); ++i) lines << lineText(i);
    return lines.join(QLatin1Char('\n'));
}

int LogView::lineHeight() const { return std::max(1, fontMetrics().lineSpacing()); }

int LogView::visibleLines() const {
    return std::max(1, (viewport()->height() - kMargin) / lineHeight());
}

void LogView::updateScrollRanges() {
    verticalScrollBar()->setRange(0, std::max(0, lineCount() - visibleLines()));
    verticalScrollBar()->setPageStep(visibleLines());
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setRange(0, std::max(0, widest_ + 2 * kMargin - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(fontMetrics().averageCharWidth() * 4);
}

void LogView::scrollToEnd() { verticalScrollBar()->setValue(verticalScrollBar()->maximum()); }

void LogView::setTabStopDistance(qreal distance) {
    tabStop_ = distance;
    viewport()->update();
}

qreal LogView::widthOf(const QString& line) const {
    QTextLayout layout(line, font());
    layout.setTextOption(tabbedOption(tabStop_));
    layout.beginLayout();
    const QTextLine l = layout.createLine();
    layout.endLayout();
    return l.isValid() ? l.naturalTextWidth() : 0;
}

void LogView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    const bool atEnd = verticalScrollBar()->value() == verticalScrollBar()->maximum();
    updateScrollRanges();
    if (atEnd) scrollToEnd();
}

void LogView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const int first = verticalScrollBar()->value();
    const int count = visibleLines() + 1;
    const int h = lineHeight();
    const qreal x = kMargin - horizontalScrollBar()->value();
    const Position from = std::min(anchor_, cursor_);
    const Position to = std::max(anchor_, cursor_);
    const QTextOption option = tabbedOption(tabStop_);
    int widest = widest_;
    for (int i = 0; i < count && first + i < lineCount(); ++i) {
        const int line = first + i;
        const QString text = lineText(line);
        QTextLayout layout(text, font());
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine l = layout.createLine();
        layout.endLayout();
        if (!l.isValid()) continue;
        l.setPosition(QPointF(0, 0));
        widest = std::max(widest, static_cast<int>(l.naturalTextWidth()) + 1);
        QList<QTextLayout::FormatRange> selections;
        if (from != to && line >= from.line && line <= to.line) {
            const int start = line == from.line ? from.column : 0;
            const int end = line == to.line ? to.column : static_cast<int>(text.size());
            QTextLayout::FormatRange range;
            range.start = start;
            range.length = std::max(0, end - start);
            range.format.setBackground(palette().highlight());
            range.format.setForeground(palette().highlightedText());
            selections << range;
        }
        layout.draw(&painter, QPointF(x, kMargin / 2.0 + i * h), selections);
    }
    if (widest != widest_) {
        // Lines are measured when they are first shown; the horizontal range follows, but
        // not from inside this paint: a scroll bar that appears lays the view out again,
        // and what that asks to be drawn during a paint is not drawn.
        widest_ = widest;
        QMetaObject::invokeMethod(
            this, [this] { updateScrollRanges(); }, Qt::QueuedConnection);
    }
}

LogView::Position LogView::positionAt(const QPoint& point) const {
    Position p;
    const int line =
        verticalScrollBar()->value() + std::max(0, point.y() - kMargin / 2) / lineHeight();
    p.line = std::clamp(line, 0, lineCount() - 1);
    const QString text = lineText(p.line);
    QTextLayout layout(text, font());
    layout.setTextOption(tabbedOption(tabStop_));
    layout.beginLayout();
    const QTextLine l = layout.createLine();
    layout.endLayout();
    const qreal x = point.x() - kMargin + horizontalScrollBar()->value();
    p.column = l.isValid() ? l.xToCursor(x) : 0;
    return p;
}

QString LogView::selectedText() const {
    const Position from = std::min(anchor_, cursor_);
    const Position to = std::max(anchor_, cursor_);
    if (from == to) return {};
    QStringList parts;
    for (int line = from.line; line <= to.line; ++line) {
        const QString text = lineText(line);
        const int start = line == from.line ? from.column : 0;
        const int end = line == to.line ? to.column : static_cast<int>(text.size());
        parts << text.mid(start, std::max(0, end - start));
    }
    return parts.join(QLatin1Char('\n'));
}

void LogView::selectAll() {
    anchor_ = Position{};
    cursor_ = Position{lineCount() - 1, static_cast<int>(lineText(lineCount() - 1).size())};
    viewport()->update();
}

void LogView::copy() const {
    const QString text = selectedText();
    if (!text.isEmpty()) QApplication::clipboard()->setText(text);
}

void LogView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
    cursor_ = positionAt(event->position().toPoint());
    if (!(event->modifiers() & Qt::ShiftModifier)) anchor_ = cursor_;
    selecting_ = true;
    viewport()->update();
}

void LogView::scrollTowardsDrag() {
    const QRect port = viewport()->rect();
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    // The farther past the edge, the faster, as far as a page a step.
    const auto lines = [this](int past) {
        return std::min(visibleLines(), 1 + past / lineHeight());
    };
    if (dragPoint_.y() < port.top()) v->setValue(v->value() - lines(port.top() - dragPoint_.y()));
    if (dragPoint_.y() > port.bottom())
        v->setValue(v->value() + lines(dragPoint_.y() - port.bottom()));
    if (dragPoint_.x() < port.left()) h->setValue(h->value() - h->singleStep());
    if (dragPoint_.x() > port.right()) h->setValue(h->value() + h->singleStep());
}

void LogView::mouseMoveEvent(QMouseEvent* event) {
    if (!selecting_ || !(event->buttons() & Qt::LeftButton)) return;
    dragPoint_ = event->position().toPoint();
    // Dragging past the edge scrolls, so a selection can reach beyond the lines shown: a
    // step at once, then steps while the pointer stays out there.
    if (viewport()->rect().contains(dragPoint_)) {
        dragScroll_.stop();
    } else if (!dragScroll_.isActive()) {
        scrollTowardsDrag();
        dragScroll_.start();
    }
    cursor_ = positionAt(dragPoint_);
    viewport()->update();
}

void LogView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mouseReleaseEvent(event);
    if (!selecting_) return;  // a double click's: the line stays selected
    // The selection ends where the button went up, which the last move may not have
    // reached; after it, a move with the button held belongs to a press this view never
    // got (one an event filter took) and selects nothing.
    cursor_ = positionAt(event->position().toPoint());
    selecting_ = false;
    dragScroll_.stop();
    viewport()->update();
}

void LogView::mouseDoubleClickEvent(QMouseEvent* event) {
    const Position at = positionAt(event->position().toPoint());
    anchor_ = Position{at.line, 0};
    cursor_ = Position{at.line, static_cast<int>(lineText(at.line).size())};
    // The line is the selection: neither the moves nor the release of this press change it.
    selecting_ = false;
    dragScroll_.stop();
    viewport()->update();
}

void LogView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) return copy();
    if (event->matches(QKeySequence::SelectAll)) return selectAll();
    QScrollBar* v = verticalScrollBar();
    switch (event->key()) {
        case Qt::Key_Up:
            return v->setValue(v->value() - 1);
        case Qt::Key_Down:
            return v->setValue(v->value() + 1);
        case Qt::Key_PageUp:
            return v->setValue(v->value() - v->pageStep());
        case Qt::Key_PageDown:
            return v->setValue(v->value() + v->pageStep());
        case Qt::Key_Home:
            if (event->modifiers() & Qt::ControlModifier) return v->setValue(0);
            return horizontalScrollBar()->setValue(0);
        case Qt::Key_End:
            if (event->modifiers() & Qt::ControlModifier) return scrollToEnd();
            return horizontalScrollBar()->setValue(horizontalScrollBar()->maximum());
        default:
            QAbstractScrollArea::keyPressEvent(event);
    }
}

void LogView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* copyAction = menu.addAction(tr("&Copy"), this, [this] { copy(); });
    copyAction->setEnabled(anchor_ != cursor_);
    menu.addAction(tr("Select All"), this, [this] { selectAll(); });
    menu.exec(event->globalPos());
}

}  // namespace widgets
