#pragma once

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QWidget>
#include <algorithm>

namespace widgets {

inline constexpr int kTwipsPerInch = 1440;

// The longest line any one-line box of the program shows or takes: a request or an answer
// is at most 255 characters for the reader library, 383 with a blank after every byte.
// Qt's own limit of 32767 would let a paste by mistake lay out tens of thousands of
// characters and hold the window up for seconds.
inline constexpr int kLongestBoxText = 512;

// Places controls the way every window's layout is given: positions and sizes in twips,
// converted with the screen's logical resolution so the proportions hold. This is the
// program's one conversion from twips to pixels.
class WindowBuilder {
  public:
    explicit WindowBuilder(const QWidget* reference)
        : dpi_(reference->logicalDpiX()),
          scale_(fontScale(reference->fontMetrics().averageCharWidth(), dpi_)) {}

    int px(int twips) const { return static_cast<int>(twips * dpi_ * scale_ / kTwipsPerInch); }

    // Also bounds a one-line box to `kLongestBoxText`, unless its own limit is lower.
    template <class W>
    W* place(W* w, const QString& name, int left, int top, int width, int height) const {
        w->setObjectName(name);
        w->setGeometry(px(left), px(top), px(width), px(height));
        if (auto* box = qobject_cast<QLineEdit*>(w))
            box->setMaxLength(std::min(box->maxLength(), kLongestBoxText));
        return w;
    }

    QLabel* label(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                  int width = 0, int height = 240) const {
        auto* l = new QLabel(caption, parent);
        place(l, name, left, top, width, height);
        if (width == 0) l->resize(l->sizeHint().width(), px(height));
        return l;
    }

    // A read-only one-line box for a request, an answer or an explanation line. It shows
    // what it is given from the first character, where an answer's result code and length
    // stand: Qt leaves the cursor at the end of a new text, and a box too narrow for its
    // text shows the part around the cursor. A user who clicked into the box moves the
    // cursor as he likes until the next text comes.
    QLineEdit* display(QWidget* parent, const QString& name, int left, int top, int width,
                       int height = 300) const {
        auto* e = new QLineEdit(parent);
        e->setReadOnly(true);
        QObject::connect(e, &QLineEdit::textChanged, e, [e] { e->setCursorPosition(0); });
        // The same text given again changes nothing but the cursor.
        QObject::connect(e, &QLineEdit::cursorPositionChanged, e, [e] {
            if (!e->hasFocus()) e->setCursorPosition(0);
        });
        return place(e, name, left, top, width, height);
    }

    // Connector lines drawn between a box and the label that names it.
    QFrame* hline(QWidget* parent, const QString& name, int left, int top, int width) const {
        auto* f = new QFrame(parent);
        f->setFrameShape(QFrame::HLine);
        f->setFrameShadow(QFrame::Plain);
        f->setObjectName(name);
        f->setGeometry(px(left), px(top), std::max(px(width), 1), 1);
        return f;
    }
    QFrame* vline(QWidget* parent, const QString& name, int left, int top, int height) const {
        auto* f = new QFrame(parent);
        f->setFrameShape(QFrame::VLine);
        f->setFrameShadow(QFrame::Plain);
        f->setObjectName(name);
        f->setGeometry(px(left), px(top), 1, std::max(px(height), 1));
        return f;
    }

    static QString indexed(const char* name, int index) {
        return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(index);
    }

  private:
    // The layout was drawn for a narrow 8-point font of about 75 twips a character; a wider
    // font gets a proportionally larger window, so every caption still fits its place.
    static double fontScale(int averageCharWidthPx, int dpi) {
        const double twipsPerChar = averageCharWidthPx * double(kTwipsPerInch) / dpi;
        return twipsPerChar > 75.0 ? twipsPerChar / 75.0 : 1.0;
    }

    int dpi_;
    double scale_;
};

// Twips to pixels for a widget that places a control or two by hand.
inline int twipsToPixels(const QWidget* w, int twips) { return WindowBuilder(w).px(twips); }

}  // namespace widgets
