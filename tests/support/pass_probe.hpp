#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QString>
#include <functional>
#include <vector>

#include "scripted_reader.hpp"

namespace testsupport {

// A scripted reader that tells whether the caller let pending events run between a
// call and the moment the window's log grew: each call posts an event that notes the
// log's length when it runs.
class PassProbe : public ScriptedReader {
  public:
    // The window's log length now.
    std::function<qsizetype()> logLength;

    // One click of a button whose call answers `status` and `answer`, and whether the
    // window is to let events run before its log entry.
    struct Case {
        const char* button;
        reader::ReaderFunction function;
        reader::LibraryStatus status;
        const char* answer;
        bool pass;
    };
    // Runs each case through `click` (the button's name) and checks the pass.
    void expectPasses(const std::vector<Case>& cases,
                      const std::function<void(const QString&)>& click) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.button) + " " + std::to_string(c.status) + " " + c.answer);
            queue(c.function, c.status, c.answer);
            const qsizetype before = logLength();
            click(QLatin1String(c.button));
            ASSERT_GT(logLength(), before) << "no log entry";
            QCoreApplication::processEvents();  // what no pass ran, runs now
            EXPECT_EQ(seenLength_ == before, c.pass);
        }
    }

  protected:
    reader::LibraryStatus dispatch(reader::ReaderFunction f, std::string_view request,
                                   reader::AnswerBuffer* answer) override {
        seenLength_ = -1;
        QMetaObject::invokeMethod(
            &events_, [this] { seenLength_ = logLength(); }, Qt::QueuedConnection);
        return ScriptedReader::dispatch(f, request, answer);
    }

  private:
    qsizetype seenLength_ = -1;
    // The events' receiver: what is still pending when the probe goes is dropped with it.
    QObject events_;
};

}  // namespace testsupport
