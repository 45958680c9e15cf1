#pragma once

#include <QStringList>

namespace core {
class AppContext;
class LogSink;
}  // namespace core
namespace reader {
class AnswerBuffer;
}

namespace script {

// What a run needs of the window it runs in.
class RunHost {
  public:
    virtual ~RunHost() = default;
    // Lets pending events run `passes` times (a long count is a timed pause). True when
    // the run must end at once: its window was closed or the program is quitting.
    [[nodiscard]] virtual bool pumpEnds(int passes) = 0;
    // Waits `ms` milliseconds, letting events run. True when the run must end at once.
    [[nodiscard]] virtual bool pauseEnds(int ms) = 0;
    // The script log.
    virtual core::LogSink& log() = 0;
    // End of a pass with the loop switched on: one step of the counted loop.
    virtual void countPass() = 0;
};

// The longest stretch of a long WAIT before the run asks whether it must end: closing
// the window in a wait of minutes ends the run within it.
inline constexpr int kWaitSliceMs = 50;

enum class RunEnd {
    Completed,    // the last pass ended
    ScriptError,  // a line broke a rule of the language, or asked for what does not exist
    Abandoned,    // the window was closed or the program is quitting
};

// The answer text of a call: the buffer up to its first NUL. A buffer the call left
// without one (the blanks it was filled with) holds no answer.
QString answerText(const reader::AnswerBuffer& buffer);

// The list a run walks: the editor's lines, every line but the first with the line end
// in front of it, as the run tells a blank line from an empty first line. A line end
// after the last line adds no line.
QStringList runLines(const QStringList& editorLines);

// Runs the script of `editorLines`, pass after pass while `ScriptLoopEnabled` is set at
// the end of one.
RunEnd runScript(core::AppContext& ctx, const QStringList& editorLines, RunHost& host);

}  // namespace script
