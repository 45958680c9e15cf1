#pragma once

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QString>
#include <QWidget>

namespace testsupport {

// Text brought to an entry box as the keyboard and the clipboard bring it.

// Each character of `text` as a key of its own, pressed and released.
inline void typeKeys(QWidget* box, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(box, &release);
    }
}

// `text` put on the clipboard and pasted with Ctrl+V, whose key carries the control
// character 22 as the X11 and Windows keyboards deliver it.
inline void pasteWithKeys(QWidget* box, const QString& text) {
    QApplication::clipboard()->setText(text);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QString(QChar(22)));
    QCoreApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_V, Qt::ControlModifier, QString(QChar(22)));
    QCoreApplication::sendEvent(box, &release);
}

}  // namespace testsupport
