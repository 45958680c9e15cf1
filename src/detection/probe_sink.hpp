#pragma once

#include <QString>

#include "transceiver/sola_answers.hpp"

namespace core {
class LogSink;
}

namespace detection {

// The result boxes the probes write, one per protocol; the memory-tag probe writes the
// slot boxes instead, one per slot of the memory tags' anticollision.
enum class ResultBox { Iso15693, Iso14443A, Iso14443BCard, Felica };

// Slot 0, whose tag answers PCALL16, and the slots of the slot markers.
inline constexpr int kSlotBoxes = transceiver::kSolaSlots + 1;

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
    // The box of slot `slot` (0 to 15).
    virtual QString slot(int slot) const = 0;
    virtual void setSlot(int slot, const QString& text) = 0;
    virtual core::LogSink& log() = 0;
};

}  // namespace detection
