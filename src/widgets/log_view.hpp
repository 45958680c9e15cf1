#pragma once

#include <QAbstractScrollArea>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <vector>

namespace widgets {

// A read-only view of a log text that may grow to hundreds of thousands of lines. It
// keeps no copy of the text and no layout of it: only where each line starts, and it
// lays out just the lines on screen when it paints. So an entry costs the same at the
// hundred-thousandth line as at the first, and the log costs its own characters in
// memory. Lines end with CR LF or LF; tabs go to fixed tab stops. The user can select
// text with the mouse or the keyboard and copy it.
class LogView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit LogView(QWidget* parent = nullptr);

    // The text shown; the view reads it when it paints, so it must outlive the view's use
    // of it. Call textAppended() after characters were added at its end, textReset()
    // after any other change.
    void setSource(const QString* text);
    void textAppended();
    void textReset();

    // What the view shows, lines joined by LF.
    QString toPlainText() const;
    bool isReadOnly() const { return true; }
    int lineCount() const { return static_cast<int>(starts_.size()); }
    QString selectedText() const;
    void selectAll();
    void copy() const;
    void setTabStopDistance(qreal distance);
    // Shows the last line (what an append does).
    void scrollToEnd();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    struct Position {
        int line = 0;
        int column = 0;
        bool operator<(const Position& o) const {
            return line < o.line || (line == o.line && column < o.column);
        }
        bool operator==(const Position& o) const = default;
    };

    QString lineText(int line) const;
    void indexFrom(qsizetype from);
    void updateScrollRanges();
    int lineHeight() const;
    int visibleLines() const;
    Position positionAt(const QPoint& point) const;
    qreal widthOf(const QString& line) const;
    // A step of the view towards where the drag's pointer stands past its edge.
    void scrollTowardsDrag();

    const QString* source_ = nullptr;
    // Where each line starts in the text, and how far the text has been read.
    std::vector<qsizetype> starts_;
    qsizetype indexed_ = 0;
    qreal tabStop_ = 80;
    int widest_ = 0;
    Position anchor_;
    Position cursor_;
    bool selecting_ = false;
    // While a drag's pointer stands past the view's edge, the view keeps scrolling that
    // way, the selection with it, without the pointer moving.
    QTimer dragScroll_;
    QPoint dragPoint_;
};

}  // namespace widgets
