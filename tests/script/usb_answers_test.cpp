// What the two USB keywords write in place of an answer: the status the library returned,
// in decimal as the user reads it in the library's documentation, and what to do next.
#include <gtest/gtest.h>

#include "qstring_printer.hpp"
#include "script/script_log.hpp"

namespace {

TEST(ScriptUsbAnswers, EachStatusIsWrittenInDecimalWithItsAdvice) {
    const QString connectFailed = QStringLiteral(
        " value : DEMO-TQ73RN-A reconnection failed\r\n\t\t\t"
        "verify DEMO-TQ73RN-A USB connection");
    const QString notConnected = QStringLiteral(
        " value : DEMO-TQ73RN-A not connected USB port\r\n\t\t\t"
        "use the 'TQ73RNDLL_USBconnect' function to reconnect your DEMO-TQ73RN-A");
    const struct {
        int status;
        QString connect;
        QString handleCheck;
    } cases[] = {
        {0, QStringLiteral("return 0 value : DEMO-TQ73RN-A reconnection ok"),
         QStringLiteral("return 0 value : DEMO-TQ73RN-A always connected to USB port")},
        {5, QStringLiteral("return 5") + connectFailed, QStringLiteral("return 5") + notConnected},
        {12, QStringLiteral("return 12") + connectFailed,
         QStringLiteral("return 12") + notConnected},
        {255, QStringLiteral("return 255") + connectFailed,
         QStringLiteral("return 255") + notConnected},
        {-1, QStringLiteral("return -1") + connectFailed,
         QStringLiteral("return -1") + notConnected},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        EXPECT_EQ(script::log_entry::usbConnectAnswer(c.status), c.connect);
        EXPECT_EQ(script::log_entry::usbHandleCheckAnswer(c.status), c.handleCheck);
    }
}

}  // namespace
