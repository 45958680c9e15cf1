#include "boardtools/single_byte_text_edit.hpp"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>

#include "core/ui.hpp"

namespace boardtools {

SingleByteTextEdit::SingleByteTextEdit(core::Ui& ui, QWidget* parent)
    : QTextEdit(parent), ui_(ui) {}

bool SingleByteTextEdit::fitsSingleByte(const QString& text) {
    for (QChar c : text) {
        if (c.unicode() > 0xFF) return false;
    }
    return true;
}

void SingleByteTextEdit::keyPressEvent(QKeyEvent* event) {
    if (!isReadOnly() && !fitsSingleByte(event->text())) {
        ui_.beep();
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void SingleByteTextEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (!isReadOnly() && !fitsSingleByte(event->commitString())) {
        ui_.beep();
        event->accept();
        return;
    }
    QTextEdit::inputMethodEvent(event);
}

void SingleByteTextEdit::insertFromMimeData(const QMimeData* source) {
    // The box takes plain text only, so the text part is what would be inserted.
    if (source && source->hasText() && !fitsSingleByte(source->text())) {
        ui_.beep();
        return;
    }
    QTextEdit::insertFromMimeData(source);
}

}  // namespace boardtools
