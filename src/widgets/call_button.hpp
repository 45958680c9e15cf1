#pragma once

#include <QString>

class QLineEdit;
class QPushButton;
class QWidget;

namespace widgets {

class WindowBuilder;

// A button that makes one board call and the read-only box beside it that shows the
// answer. The same call has the same control names and caption in every window.
struct CallButtonNames {
    const char* button;
    const char* caption;
    const char* answerBox;
};
inline constexpr CallButtonNames kEchoButton{"cmdEcho", "Echo", "txtEchoAnswer"};
inline constexpr CallButtonNames kIrqPulseButton{"cmdSendIRQPulse", "Negative pulse on IRQ in",
                                                 "txtSendIRQPulseAnswer"};
inline constexpr CallButtonNames kNssPulseButton{
    "cmdNegativePulseOn_SPI_NSS", "Negative Pulse on SPI NSS", "txtNegPulse_SPI_NSS_Answer"};

// Where the pair sits, in twips.
struct CallButtonPlace {
    int left = 0;
    int top = 0;
    int buttonWidth = 0;
    int boxLeft = 0;
    int boxWidth = 0;
    int buttonHeight = 375;
    int boxHeight = 315;
    int boxDrop = 30;  // the box's top below the button's
};

struct CallButton {
    QPushButton* button = nullptr;
    QLineEdit* answer = nullptr;
};

CallButton makeCallButton(const WindowBuilder& b, QWidget* parent, const CallButtonNames& names,
                          const CallButtonPlace& place);

// A long answer is read from its start (the result code comes first).
void showCallAnswer(QLineEdit* box, const QString& text);

}  // namespace widgets
