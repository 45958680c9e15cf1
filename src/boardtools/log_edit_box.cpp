#include "boardtools/log_edit_box.hpp"

#include <QAbstractTextDocumentLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

#include "core/single_byte_text.hpp"
#include "core/ui.hpp"

namespace boardtools {

namespace {
constexpr int kSidePad = 4;
constexpr int kTopPad = 2;
}  // namespace

LogEditBox::LogEditBox(core::Ui& ui, QWidget* parent) : QTextEdit(parent), ui_(ui) {
    // Wrapped lines keep every line of the box the same height.
    setLineWrapMode(QTextEdit::WidgetWidth);
    // A document margin would put the text area's top between two lines once the box
    // scrolls to its end; the padding lies around the text area instead, in its colour.
    document()->setDocumentMargin(0);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void LogEditBox::keyPressEvent(QKeyEvent* event) {
    if (!isReadOnly() && !core::fitsSingleByte(event->text())) {
        ui_.beep();
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void LogEditBox::inputMethodEvent(QInputMethodEvent* event) {
    if (!isReadOnly() && !core::fitsSingleByte(event->commitString())) {
        ui_.beep();
        event->accept();
        return;
    }
    QTextEdit::inputMethodEvent(event);
}

void LogEditBox::insertFromMimeData(const QMimeData* source) {
    // The box takes plain text only, so the text part is what would be inserted.
    if (source && source->hasText() && !core::fitsSingleByte(source->text())) {
        ui_.beep();
        return;
    }
    QTextEdit::insertFromMimeData(source);
}

void LogEditBox::resizeEvent(QResizeEvent* event) {
    QTextEdit::resizeEvent(event);
    fitWholeLines();
}

void LogEditBox::changeEvent(QEvent* event) {
    QTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) fitWholeLines();
}

void LogEditBox::fitWholeLines() {
    // The height of one line as the box lays it out, measured on a line of its own font.
    QTextDocument probe;
    probe.setDefaultFont(font());
    probe.setDocumentMargin(0);
    probe.setPlainText(QStringLiteral("X"));
    const qreal line = probe.documentLayout()->blockBoundingRect(probe.firstBlock()).height();
    if (line <= 0) return;
    // What is left below the last whole line stays outside the text area.
    const int inner = contentsRect().height() - kTopPad;
    const int lines = std::max(1, static_cast<int>(std::floor(inner / line)));
    const int spare = std::max(0, inner - static_cast<int>(std::ceil(lines * line)));
    setViewportMargins(kSidePad, kTopPad, 0, spare);
}

}  // namespace boardtools
