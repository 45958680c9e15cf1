#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "reader/reader_library.hpp"
#include "simboard/antenna.hpp"
#include "simboard/board_config.hpp"
#include "simboard/faults.hpp"
#include "simboard/transceiver.hpp"

namespace simboard {

// The DEMO-TQ73RN-A board in software: the program's default reader.
//
// Every call answers at once and deterministically. When built with a program folder
// the board reads simulated-board.ini from it at construction and at every
// usbConnect, so a user can change the antenna, unplug the board or put a tag on the
// detector, and reconnect.
class SimulatedBoard : public reader::ReaderLibrary {
  public:
    // Default identity and revisions, the default antenna, no ini file.
    SimulatedBoard();
    explicit SimulatedBoard(std::string programFolder);
    // A board built in code (tests): this configuration, its tags from the factories.
    explicit SimulatedBoard(const BoardConfig& config);
    // The transceiver points into the board.
    SimulatedBoard(const SimulatedBoard&) = delete;
    SimulatedBoard& operator=(const SimulatedBoard&) = delete;

    reader::LibraryStatus usbConnect() override;
    reader::LibraryStatus usbHandleCheck() override;
    reader::LibraryStatus kvCmd(std::string_view request, reader::AnswerBuffer& answer) override;
    reader::LibraryStatus select(std::string_view request, reader::AnswerBuffer& answer) override;
    reader::LibraryStatus sendReceive(std::string_view request,
                                      reader::AnswerBuffer& answer) override;
    reader::LibraryStatus echo(reader::AnswerBuffer& answer) override;
    reader::LibraryStatus idn(reader::AnswerBuffer& answer) override;
    reader::LibraryStatus fieldOff(reader::AnswerBuffer& answer) override;
    reader::LibraryStatus getDllRev(reader::AnswerBuffer& answer) override;
    reader::LibraryStatus resetSpi(reader::AnswerBuffer& answer) override;
    reader::LibraryStatus sendIrqPulse(reader::AnswerBuffer& answer) override;
    reader::LibraryStatus sendNssPulse(reader::AnswerBuffer& answer) override;
    reader::LibraryStatus pollingReading(reader::AnswerBuffer& answer) override;
    reader::LibraryStatus getMcuRev(reader::AnswerBuffer& answer) override;
    reader::LibraryStatus getInterfacePinState(reader::AnswerBuffer& answer) override;

    // The configuration in force. Changes to identity, revisions and detector take
    // effect at once; `tags` only through applyConfig.
    const BoardConfig& config() const { return config_; }
    // Replaces the configuration and rebuilds the antenna from its tags.
    void applyConfig(const BoardConfig& config);
    // Nothing: the detector sees a tag whenever the antenna holds one.
    void setTagPresentForDetector(std::optional<bool> present);

    Antenna& antenna() { return antenna_; }
    const Transceiver& transceiver() const { return transceiver_; }
    // What the last ini read ignored.
    const std::vector<std::string>& iniWarnings() const { return iniWarnings_; }
    // Called at the usbConnect after a read of a changed simulated-board.ini that ignored
    // something, with a message naming each line and why; a file is told once, however
    // often the board reconnects to it. The program shows the message to the user.
    void setIniWarningListener(std::function<void(const std::string& message)> listener) {
        iniWarningListener_ = std::move(listener);
    }

    // Faults on demand.
    //
    // Unplugged: every call returns 5 and leaves the buffer alone; the handle check
    // and usbConnect fail. After replug the calls still fail until usbConnect, which
    // brings the transceiver back at power-up (no protocol).
    void unplug();
    void replug();
    bool connected() const { return plugged_ && connected_; }
    // Canned answers (see FaultPlan): a status, a given or empty or short text, or an
    // untouched buffer, on the next or the n-th call of one function or of any.
    FaultPlan& faults() { return faults_; }
    // Status byte and CRC damage in the SendRecv answers that carry a tag frame, until
    // changed.
    void setAnswerFault(const AnswerFault& fault) { transceiver_.setAnswerFault(fault); }

  private:
    using Fn = reader::ReaderFunction;

    // Canned answer or unreachable board: true when the call is already answered.
    bool intercepted(Fn f, reader::AnswerBuffer& answer, reader::LibraryStatus& status);
    reader::LibraryStatus answerWith(Fn f, reader::AnswerBuffer& answer, const std::string& text);
    std::string firmwareFrame(std::string_view hex);
    void reloadIni();
    void tellIniWarnings();
    void applyIdentity();

    std::optional<std::string> iniPath_;
    std::optional<std::string> lastIniText_;
    bool lastIniRefused_ = false;
    BoardConfig config_;
    Antenna antenna_;
    Transceiver transceiver_;
    FaultPlan faults_;
    std::vector<std::string> iniWarnings_;
    bool iniWarningsUntold_ = false;
    std::function<void(const std::string&)> iniWarningListener_;
    bool plugged_ = true;
    bool connected_ = true;
};

}  // namespace simboard
