#include "simboard/simulated_board.hpp"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#ifdef __unix__
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

#include "simboard/default_antenna.hpp"
#include "simboard/hex.hpp"
#include "simboard/tag_factories.hpp"

namespace simboard {

using reader::AnswerBuffer;
using reader::LibraryStatus;

namespace {

constexpr LibraryStatus kHandleInvalid = 1;
constexpr std::size_t kMaxAnswer = AnswerBuffer::kSize - 1;

// Far more than any board description; a larger file is not one.
constexpr std::uintmax_t kMaxIniBytes = std::uintmax_t{4} * 1024 * 1024;

struct IniFile {
    std::optional<std::string> text;  // nothing: absent, or refused
    bool refused = false;             // there, but not a regular file that can be read whole
};

// The file is read only when it is a regular file of at most kMaxIniBytes: a FIFO under
// its name would block every reconnect, and a link to an endless device would be read
// until memory runs out.
IniFile readIniFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!fs::exists(status)) return {};
    IniFile refused{std::nullopt, true};
    if (!fs::is_regular_file(status)) return refused;
#ifdef __unix__
    // O_NONBLOCK: should a FIFO take the file's place after the look above, the open
    // still returns at once, and what was opened is judged again below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return refused;
    struct stat opened {};
    std::string text;
    bool ok = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
              static_cast<std::uintmax_t>(opened.st_size) <= kMaxIniBytes;
    if (ok) {
        text.resize(static_cast<std::size_t>(opened.st_size) + 1);
        std::size_t got = 0;
        while (got < text.size()) {
            const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                ok = n == 0;
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        // A file that grew past its size while being read is not taken half.
        ok = ok && got < text.size();
        text.resize(got);
    }
    ::close(fd);
    if (!ok) return refused;
    return {std::move(text), false};
#else
    if (fs::file_size(path, error) > kMaxIniBytes || error) return refused;
    std::ifstream in(path, std::ios::binary);
    if (!in) return refused;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad() || text.str().size() > kMaxIniBytes) return refused;
    return {text.str(), false};
#endif
}

// A longer answer would not fit the caller's buffer (a tag model's own combiner might
// build one): the transceiver reports a receive-buffer overflow instead.
void setAnswer(AnswerBuffer& answer, const std::string& text) {
    answer.setText(text.size() > kMaxAnswer ? std::string("8900") : text);
}

// A long list is cut, so that the message still fits on the screen.
std::string iniWarningsMessage(const std::vector<std::string>& warnings) {
    constexpr std::size_t kShown = 20;
    std::string text = "The simulated board left out what it could not take from " +
                       std::string(kBoardIniName) + ":";
    for (std::size_t i = 0; i < std::min(warnings.size(), kShown); ++i) text += "\n" + warnings[i];
    if (warnings.size() > kShown) {
        text += "\n... and " + std::to_string(warnings.size() - kShown) + " more";
    }
    return text;
}

Antenna antennaFor(const BoardConfig& config) {
    return config.tags ? buildAntenna(*config.tags) : buildDefaultAntenna();
}

}  // namespace

SimulatedBoard::SimulatedBoard() : SimulatedBoard(BoardConfig{}) {}

SimulatedBoard::SimulatedBoard(const BoardConfig& config)
    : config_(config), antenna_(antennaFor(config_)), transceiver_(antenna_, config_.detector) {
    applyIdentity();
    plugged_ = connected_ = config_.plugged;
}

SimulatedBoard::SimulatedBoard(std::string programFolder) : SimulatedBoard() {
    iniPath_ = std::move(programFolder) + "/" + kBoardIniName;
    reloadIni();
    connected_ = plugged_;
}

void SimulatedBoard::applyIdentity() {
    transceiver_.setIdentification(config_.identification);
    transceiver_.setIdleAnswerCarriesReason(config_.idleAnswerCarriesReason);
}

void SimulatedBoard::applyConfig(const BoardConfig& config) {
    config_ = config;
    antenna_ = antennaFor(config_);
    transceiver_.fieldOff();
    applyIdentity();
    plugged_ = config_.plugged;
}

void SimulatedBoard::setTagPresentForDetector(std::optional<bool> present) {
    config_.detector.tagPresent = present;
}

// The file is only applied when its text changed since the last read, so a reconnect
// keeps what was written into the tags' memories.
void SimulatedBoard::reloadIni() {
    if (!iniPath_) return;
    IniFile file = readIniFile(*iniPath_);
    // The same file as at the last read: what it ignored has been said.
    if (file.text == lastIniText_ && file.refused == lastIniRefused_) return;
    lastIniRefused_ = file.refused;
    iniWarnings_.clear();
    if (file.text != lastIniText_) {
        lastIniText_ = file.text;
        ParsedBoardIni parsed = file.text ? parseBoardIni(*file.text) : ParsedBoardIni{};
        iniWarnings_ = std::move(parsed.warnings);
        applyConfig(parsed.config);
    }
    if (file.refused) {
        iniWarnings_.push_back(std::string(kBoardIniName) +
                               " is not a regular file of at most 4 MB that can be read: "
                               "the default board stands");
    }
    iniWarningsUntold_ = !iniWarnings_.empty();
}

void SimulatedBoard::tellIniWarnings() {
    if (!iniWarningsUntold_ || !iniWarningListener_) return;
    // Marked told first: the listener may wait for the user while another connect runs.
    iniWarningsUntold_ = false;
    iniWarningListener_(iniWarningsMessage(iniWarnings_));
}

void SimulatedBoard::unplug() { plugged_ = connected_ = false; }
void SimulatedBoard::replug() { plugged_ = true; }

bool SimulatedBoard::intercepted(Fn f, AnswerBuffer& answer, LibraryStatus& status) {
    if (auto canned = faults_.take(f)) {
        if (canned->text) answer.setText(*canned->text);
        status = canned->status;
        return true;
    }
    if (!connected()) {
        status = reader::kStatusUnreachable;
        return true;
    }
    return false;
}

LibraryStatus SimulatedBoard::answerWith(Fn f, AnswerBuffer& answer, const std::string& text) {
    LibraryStatus status = reader::kStatusOk;
    if (intercepted(f, answer, status)) return status;
    setAnswer(answer, text);
    return reader::kStatusOk;
}

LibraryStatus SimulatedBoard::usbConnect() {
    if (auto canned = faults_.take(Fn::UsbConnect)) return canned->status;
    reloadIni();
    tellIniWarnings();
    if (!plugged_) return kHandleInvalid;
    connected_ = true;
    transceiver_.reset();
    return reader::kStatusOk;
}

LibraryStatus SimulatedBoard::usbHandleCheck() {
    if (auto canned = faults_.take(Fn::UsbHandleCheck)) return canned->status;
    return connected() ? reader::kStatusOk : kHandleInvalid;
}

LibraryStatus SimulatedBoard::kvCmd(std::string_view request, AnswerBuffer& answer) {
    LibraryStatus status = reader::kStatusOk;
    if (intercepted(Fn::KvCmd, answer, status)) return status;
    std::string text;
    if (request.size() >= 2 && request.substr(0, 2) == "01") {
        text = transceiver_.frame(request.substr(2));
    } else if (request.size() >= 2 && request.substr(0, 2) == "02") {
        text = firmwareFrame(request.substr(2));
    } else {
        text = std::string(kInvalidCommandAnswer);
    }
    setAnswer(answer, text);
    return reader::kStatusOk;
}

std::string SimulatedBoard::firmwareFrame(std::string_view hex) {
    const auto bytes = parseHex(hex);
    if (!bytes || bytes->size() < 2 || (*bytes)[1] != bytes->size() - 2) {
        return std::string(kInvalidCommandAnswer);
    }
    const auto& handlers = firmwareHandlers();
    const auto it = handlers.find((*bytes)[0]);
    if (it == handlers.end()) return std::string(kInvalidCommandAnswer);
    return it->second(antenna_, transceiver_.protocol(), Bytes(bytes->begin() + 2, bytes->end()));
}

LibraryStatus SimulatedBoard::select(std::string_view request, AnswerBuffer& answer) {
    LibraryStatus status = reader::kStatusOk;
    if (intercepted(Fn::Select, answer, status)) return status;
    const auto data = parseHex(request);
    setAnswer(answer, data ? transceiver_.select(*data) : std::string(kInvalidCommandAnswer));
    return reader::kStatusOk;
}

LibraryStatus SimulatedBoard::sendReceive(std::string_view request, AnswerBuffer& answer) {
    LibraryStatus status = reader::kStatusOk;
    if (intercepted(Fn::SendReceive, answer, status)) return status;
    const auto data = parseHex(request);
    setAnswer(answer, data ? transceiver_.sendRecv(*data) : std::string(kInvalidCommandAnswer));
    return reader::kStatusOk;
}

LibraryStatus SimulatedBoard::echo(AnswerBuffer& answer) {
    return answerWith(Fn::Echo, answer, "5500");
}

LibraryStatus SimulatedBoard::idn(AnswerBuffer& answer) {
    return answerWith(Fn::Idn, answer, transceiver_.idn());
}

LibraryStatus SimulatedBoard::fieldOff(AnswerBuffer& answer) {
    LibraryStatus status = reader::kStatusOk;
    if (intercepted(Fn::FieldOff, answer, status)) return status;
    transceiver_.fieldOff();
    answer.setText("0000");
    return reader::kStatusOk;
}

// The library knows its own revision: it answers with the board unplugged too.
LibraryStatus SimulatedBoard::getDllRev(AnswerBuffer& answer) {
    if (auto canned = faults_.take(Fn::GetDllRev)) {
        if (canned->text) answer.setText(*canned->text);
        return canned->status;
    }
    setAnswer(answer, config_.libraryRevision);
    return reader::kStatusOk;
}

// A reset of the chip's interface resets the chip: the protocol and registers are
// lost, as after power-up.
LibraryStatus SimulatedBoard::resetSpi(AnswerBuffer& answer) {
    LibraryStatus status = reader::kStatusOk;
    if (intercepted(Fn::ResetSpi, answer, status)) return status;
    transceiver_.reset();
    answer.setText("0000");
    return reader::kStatusOk;
}

// Idle never sleeps here, so the pulses that would wake it have nothing left to do.
LibraryStatus SimulatedBoard::sendIrqPulse(AnswerBuffer& answer) {
    return answerWith(Fn::SendIrqPulse, answer, "0000");
}

LibraryStatus SimulatedBoard::sendNssPulse(AnswerBuffer& answer) {
    return answerWith(Fn::SendNssPulse, answer, "0000");
}

LibraryStatus SimulatedBoard::pollingReading(AnswerBuffer& answer) {
    return answerWith(Fn::PollingReading, answer, "0000");
}

LibraryStatus SimulatedBoard::getMcuRev(AnswerBuffer& answer) {
    return answerWith(Fn::GetMcuRev, answer, resultAnswer("00", config_.firmwareRevision));
}

LibraryStatus SimulatedBoard::getInterfacePinState(AnswerBuffer& answer) {
    return answerWith(Fn::GetInterfacePinState, answer,
                      resultAnswer("00", Bytes{config_.interfacePinState}));
}

}  // namespace simboard
