#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>

#include "console/console_window.hpp"
#include "pass_probe.hpp"
#include "qstring_printer.hpp"
#include "window_fixture.hpp"

using console::ConsoleWindow;
using reader::ReaderFunction;

namespace {

// The console on a reader that tells whether events ran between a call and its entry.
class ConsolePasses : public testsupport::WindowFixture<ConsoleWindow, core::WindowKind::Console> {
  protected:
    ConsolePasses() : WindowFixture(&probe) {
        probe.setHealthyDefaults();
        probe.logLength = [this] { return w->consoleLogText().size(); };
    }
    void pick(const char* entry) {
        choose(QStringLiteral("cboTQ73RN_CommandList"), QString::fromLatin1(entry));
    }
    testsupport::PassProbe probe;
};

}  // namespace

// The board buttons let events run once before their entry unless the board did what
// was asked: status 0 and an answer that begins "00".
TEST_F(ConsolePasses, BoardButtonsPassOnceUnlessTheBoardAnsweredDone) {
    open();
    pick(" 07 : Idle ");
    probe.expectPasses(
        {
            {"cmdEcho", ReaderFunction::Echo, 0, "5500", true},
            {"cmdEcho", ReaderFunction::Echo, 0, "0055", false},
            {"cmdSendIRQPulse", ReaderFunction::SendIrqPulse, 0, "0000", false},
            {"cmdSendIRQPulse", ReaderFunction::SendIrqPulse, 2, "0000", true},
            {"cmdSendIRQPulse", ReaderFunction::SendIrqPulse, 0, "", true},
            {"cmdNegativePulseOn_SPI_NSS", ReaderFunction::SendNssPulse, 0, "0000", false},
            {"cmdNegativePulseOn_SPI_NSS", ReaderFunction::SendNssPulse, 0, "8200", true},
        },
        [this](const QString& button) { click(button); });
}

// "Set HFO to RF" writes 00 into analog register 07, "Reset HFO to RF" writes 10.
TEST_F(ConsolePasses, HfoToRfPresetsSendTheirRegisterWrites) {
    open();
    pick(" 09 : WrReg ");
    const struct {
        const char* option;
        const char* sent;
        const char* requestBox;
    } cases[] = {
        {"optCmd09WriteRegister_2", "01090468010700", " 090468010700"},
        {"optCmd09WriteRegister_3", "01090468010710", " 090468010710"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        probe.clearCalls();
        click(QLatin1String(c.option));
        click(QStringLiteral("cmdSendCommandCodeXX"));
        EXPECT_EQ(probe.requestsTo(ReaderFunction::KvCmd), std::vector<std::string>{c.sent});
        EXPECT_EQ(get<QLineEdit>(QStringLiteral("txtCommandCodeXXRequest"))->text(),
                  QLatin1String(c.requestBox));
    }
}
