#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>

namespace boardtools {

// The transceiver identification as the tool box shows it: the first 13 data bytes,
// each as the character of that code. A zero byte adds nothing and the bytes after it
// still count; only bytes the answer really holds are read, so a short answer gives a
// short text.
QString identificationText(const QString& answer);

// Which interface the board says it uses: 0 UART, 1 SPI, 2 TWI, from the low digit of
// the first data byte; nothing for any other value.
std::optional<int> pinStateOption(const QString& answer);

// The ISO14443-A analog setting is two hex digits: the modulation depth then the
// receiver gain. Each list item carries its digit as second character.
const QStringList& modulationDepthItems();
const QStringList& receiverGainItems();
// The index of the item whose digit is `digit`, or -1 when none carries it.
int itemWithDigit(const QStringList& items, QChar digit);
// The setting the two chosen items make; a list without a choice adds nothing.
QString gainFromItems(const QString& depthItem, const QString& gainItem);
// A setting the register write can carry: exactly two digits, one from each list.
bool isGainSetting(const QString& value);

// The register write that sends the setting to the transceiver at once, and how the
// log shows it (with a blank after the "01" prefix, as every register write is logged).
std::string registerWriteRequest(const QString& gain);
QString registerLogEntry(const QDateTime& when, const QString& gain, const QString& answer);

inline constexpr char kNoRequestText[] = "Command not sent = no request found";
inline constexpr char kFormatProblemText[] = "Command not sent = request format problem";

// A typed raw command, checked before anything is sent. Blanks are only there for the
// user's eye, so they are dropped before the length and the digits are judged: "01 00"
// is the two-byte command 0100.
struct RawCommand {
    enum class Verdict { Send, Empty, BadFormat };
    Verdict verdict = Verdict::Empty;
    std::string request;  // "01" and the typed bytes, when Send
    // The refusal the log shows, when not Send.
    QString refusal() const;
};
RawCommand checkRawCommand(const QString& typed);

// The window's frames depend on the library revision. A revision-5 library adds the
// USB connect, polling and NSS-pulse controls; without it their row is closed up,
// and everything else stays reachable.
struct Layout {
    bool revision5Controls = false;
    int toolsFrameHeight = 0;  // twips
    int logFrameTop = 0;
    int windowHeight = 0;
    // Rows from the pin-state group down move up by this much.
    int lowerRowsShift = 0;
};
Layout layoutFor(int dllRevisionNumber);

}  // namespace boardtools
