#pragma once

#include <QPointer>
#include <QString>
#include <functional>
#include <string>

#include "iso15693/answers.hpp"
#include "reader/reader_library.hpp"

class QLineEdit;

namespace core {
class AppContext;
class LogSink;
}  // namespace core

namespace iso15693 {

// One exchange as the window saw it.
struct Exchange {
    reader::LibraryStatus status = reader::kStatusOk;
    QString answer;  // the answer as the answer box shows it
    TagAnswer tag;   // the acceptance and the tag response
    // The pause inside the exchange found the window closing: the answer was not shown.
    bool abandoned = false;
};

// Lets pending events run once; true when the run must end (the window is closing).
using Pause = std::function<bool()>;

// The window's road to the tags: every ISO15693 request goes through `send`, which calls
// the library (reconnecting and calling once more when the board cannot be reached),
// shows the request from the start with an empty answer box (never the answer before
// beside it, however long the board takes), then the answer, logs the exchange under its
// title and judges the answer, appending the CRC verdict to the log line when there is one.
class TagLink {
  public:
    TagLink(core::AppContext& ctx, core::LogSink& log) : ctx_(ctx), log_(log) {}

    // The request box, the answer box, and the box of the fast-parameter selects.
    void setBoxes(QLineEdit* request, QLineEdit* answer, QLineEdit* fastAnswer);

    // `boolSpeed`: the command is sent under the fast parameters, and a reconnect selects
    // them again. `pause`, when given, runs between the library call and the display of
    // the answer (the inventory lets events run there).
    Exchange send(const std::string& request, const QString& title, bool boolSpeed,
                  const Pause& pause = {});
    // "Send any frame": the text as typed, shown and logged under "SEND FRAME", without
    // any judgement of the answer.
    Exchange sendFrame(const QString& typed);
    // The board's own anticollision through the raw call: a pause, then the display
    // and a log entry without CRC verdict; the answer is decoded by the caller.
    Exchange sendFirmware(const std::string& request, const QString& title, const Pause& pause);

    // The fast-parameter switch around a fast command. `selectFast` sends "011D" (on
    // status 5 a reconnect with the fast parameters, no repeat) and logs it; it tells
    // whether the fast parameters took effect (status 0, or 5 and a reconnect that
    // found the board). `selectNormal` sends "010D" (reconnect and one repeat on 5).
    bool selectFast();
    void selectNormal();

  private:
    // The request goes in before the call, beside an empty answer box; after the call only
    // the answer box changes: a whole-tag read sets each box once per block.
    void showRequest(const QString& request);
    void showAnswer(const QString& answer);
    void logExchange(const QString& title, const char* logName, const QString& request,
                     const QString& answer);

    core::AppContext& ctx_;
    core::LogSink& log_;
    QPointer<QLineEdit> request_;
    QPointer<QLineEdit> answer_;
    QPointer<QLineEdit> fastAnswer_;
};

}  // namespace iso15693
