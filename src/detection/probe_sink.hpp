#pragma once

#include <QString>

namespace core {
class LogSink;
}

namespace detection {

// The result boxes the probes write, one per protocol; the memory-tag probe writes the
// fifteen slot boxes instead.
enum class ResultBox { Iso15693, Iso14443A, Iso14443BCard, Felica };

inline constexpr int kSlotBoxes = 15;

// The buttons that run one probe by hand.
enum ProbeButton { Iso15693Button, Iso14443AButton, Iso14443BButton, FelicaButton };

// What a probe works on: the window's request and answer boxes, its result boxes and
// its log. The two detection windows each provide one; tests provide their own.
class ProbeSink {
  public:
    virtual ~ProbeSink() = default;

    virtual void setRequest(const QString& text) = 0;
    virtual void setAnswer(const QString& text) = 0;
    virtual QString result(ResultBox box) const = 0;
    virtual void setResult(ResultBox box, const QString& text) = 0;
    // Slot boxes 0 to 14 (slot n in box n - 1).
    virtual QString slot(int index) const = 0;
    virtual void setSlot(int index, const QString& text) = 0;
    virtual core::LogSink& log() = 0;
};

}  // namespace detection
