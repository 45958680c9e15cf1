#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <array>
#include <string>
#include <vector>

#include "core/log_sink.hpp"
#include "detection/probe_sink.hpp"
#include "scripted_reader.hpp"

namespace detectiontest {

// The boxes and log of a detection window, in memory; every write is journaled so a
// test sees what was shown and in which order.
class MemorySink : public detection::ProbeSink {
  public:
    explicit MemorySink(const core::Clock& clock) : log_(clock) {
        for (int i = 0; i < detection::kSlotBoxes; ++i)
            slots_[static_cast<std::size_t>(i)] = QStringLiteral("%1 : ").arg(i);
    }

    void setRequest(const QString& t) override {
        request = t;
        journal << QStringLiteral("request=") + t;
    }
    void setAnswer(const QString& t) override {
        answer = t;
        journal << QStringLiteral("answer=") + t;
    }
    QString result(detection::ResultBox b) const override { return results[idx(b)]; }
    void setResult(detection::ResultBox b, const QString& t) override {
        results[idx(b)] = t;
        journal << QStringLiteral("result%1=").arg(idx(b)) + t;
    }
    QString slot(int i) const override { return slots_.at(static_cast<std::size_t>(i)); }
    void setSlot(int i, const QString& t) override {
        slots_.at(static_cast<std::size_t>(i)) = t;
        journal << QStringLiteral("slot%1=").arg(i) + t;
    }
    core::LogSink& log() override { return log_; }

    const QString& logText() const { return log_.text; }
    const std::array<QString, detection::kSlotBoxes>& slotTexts() const { return slots_; }

    QString request;
    QString answer;
    std::array<QString, 4> results;
    QStringList journal;

  private:
    struct Log : core::LogSink {
        using core::LogSink::LogSink;
        void append(const QString& e) override { text += e; }
        QString text;
    };
    static std::size_t idx(detection::ResultBox b) { return static_cast<std::size_t>(b); }

    Log log_;
    std::array<QString, detection::kSlotBoxes> slots_;
};

// The calls a test may make with one detection window: about ten passes with every probe
// on the default antenna. No test comes near it; a run that goes on past it fails its test
// there instead of looping until ctest's timeout. Every call counts, so a pass that no
// longer sends one of its calls is counted all the same.
inline constexpr int kCallLimit = 400;

// The object name of the window box of slot `slot`.
inline QString slotBoxName(int slot) {
    return slot == 0 ? QStringLiteral("txt_ISO14443B_anticollision_result_slot0")
                     : QStringLiteral("txt_ISO14443B_anticollision_result_%1").arg(slot - 1);
}

// The titles of a log's entries, in order (titled entries only).
inline QStringList entryTitles(const QString& log) {
    static const QRegularExpression re(
        QStringLiteral("\r\n\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d:\\d\\d\t([^\r>][^\r]*)\r\n"));
    QStringList out;
    for (auto it = re.globalMatch(log); it.hasNext();) out << it.next().captured(1);
    return out;
}

// A library function as the call lists of the tests name it.
inline std::string callName(reader::ReaderFunction f) {
    switch (f) {
        case reader::ReaderFunction::UsbConnect:
            return "UsbConnect";
        case reader::ReaderFunction::UsbHandleCheck:
            return "UsbHandleCheck";
        case reader::ReaderFunction::KvCmd:
            return "KvCmd";
        case reader::ReaderFunction::Select:
            return "Select";
        case reader::ReaderFunction::SendReceive:
            return "SendReceive";
        case reader::ReaderFunction::Echo:
            return "Echo";
        default:
            return reader::exportedName(f);
    }
}

inline std::string callLine(reader::ReaderFunction f, const std::string& request) {
    return request.empty() ? callName(f) : callName(f) + " " + request;
}

// The calls a scripted reader received, as "Function request".
inline std::vector<std::string> callList(const testsupport::ScriptedReader& r) {
    std::vector<std::string> out;
    for (const auto& c : r.calls()) out.push_back(callLine(c.function, c.request));
    return out;
}

}  // namespace detectiontest
