#pragma once

#include <QObject>
#include <QString>

class QLineEdit;
class QPushButton;
class QWidget;

namespace core {
class AppContext;
}
namespace widgets {
class HexEntryBox;
class WindowBuilder;
}  // namespace widgets

namespace iso14443b {

inline const QString kSendAnyFrameCaption = QStringLiteral("Send any frame");

// The row every tag window of this folder ends its command area with: "Send any frame",
// the raw-frame box, and the boxes showing the request and answer of the window's last
// exchange. Names are given per window; the row sends nothing itself.
class AnyFrameRow : public QObject {
    Q_OBJECT
  public:
    struct Names {
        const char* sendButton;
        const char* frameBox;
        const char* requestLabel;
        const char* requestBox;
        const char* answerLabel;
        const char* answerBox;
    };

    AnyFrameRow(core::AppContext& ctx, const widgets::WindowBuilder& b, QWidget* parent,
                const Names& names, int left, int top);

    QPushButton* sendButton() const { return send_; }
    widgets::HexEntryBox* frameBox() const { return frame_; }
    QLineEdit* requestBox() const { return request_; }
    QLineEdit* answerBox() const { return answer_; }

    // The frame as the user typed it, after the box's leave rule, which removes the
    // blanks of a pasted frame: applied here too, for a frame sent without leaving the box.
    QString frame();
    void clearExchange();

  signals:
    void sendClicked();

  private:
    QPushButton* send_ = nullptr;
    widgets::HexEntryBox* frame_ = nullptr;
    QLineEdit* request_ = nullptr;
    QLineEdit* answer_ = nullptr;
};

}  // namespace iso14443b
