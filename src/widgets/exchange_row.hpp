#pragma once

#include <QObject>
#include <QString>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace widgets {

class WindowBuilder;

// Where an exchange row sits in its frame, in twips. The answer row lies one row below
// the request row, the explanation lines below the answer.
struct ExchangeRowLayout {
    const char* id;           // the frame's command code in the control names ("XX", "02")
    const char* sendCaption;  // "Send frame"
    int sendLeft = 0;
    int sendTop = 0;
    int labelLeft = 0;
    int boxLeft = 0;
    int requestTop = 0;
    int boxWidth = 0;
    int explanationCount = 0;
};

// The send button, the request and answer boxes and the explanation lines of one
// composed frame: what the user sent, what came back and what it means.
class ExchangeRow : public QObject {
    Q_OBJECT
  public:
    ExchangeRow(const WindowBuilder& b, QWidget* parent, const ExchangeRowLayout& layout);

    QPushButton* sendButton() const { return send_; }
    QLineEdit* requestBox() const { return request_; }
    QLineEdit* answerBox() const { return answer_; }

    // The boxes empty, the explanation lines hidden.
    void clear();
    // Before an exchange: the boxes empty. The explanation lines keep their place, empty,
    // until the answer says which are shown: hiding and showing them again around every
    // exchange costs more than the exchange itself while the window is on screen.
    void clearForExchange();
    void showRequest(const QString& text);
    void showAnswer(const QString& text);
    QString answer() const;
    // One line per explanation box; a box without a line is hidden.
    void showExplanations(const std::vector<std::optional<QString>>& lines);
    // The send button, the boxes and their labels (not the explanation lines).
    void setVisible(bool visible);

  signals:
    void sendClicked();

  private:
    QPushButton* send_;
    QLabel* requestLabel_;
    QLineEdit* request_;
    QLabel* answerLabel_;
    QLineEdit* answer_;
    std::vector<QLineEdit*> explanations_;
};

}  // namespace widgets
