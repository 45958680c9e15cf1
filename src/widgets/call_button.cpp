#include "widgets/call_button.hpp"

#include <QLineEdit>
#include <QPushButton>

#include "widgets/window_builder.hpp"

namespace widgets {

CallButton makeCallButton(const WindowBuilder& b, QWidget* parent, const CallButtonNames& names,
                          const CallButtonPlace& p) {
    CallButton made;
    made.button =
        b.place(new QPushButton(QString::fromLatin1(names.caption), parent),
                QString::fromLatin1(names.button), p.left, p.top, p.buttonWidth, p.buttonHeight);
    made.answer = b.display(parent, QString::fromLatin1(names.answerBox), p.boxLeft,
                            p.top + p.boxDrop, p.boxWidth, p.boxHeight);
    return made;
}

void showCallAnswer(QLineEdit* box, const QString& text) {
    box->setText(text);
    box->setCursorPosition(0);
}

}  // namespace widgets
