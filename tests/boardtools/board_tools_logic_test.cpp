#include "boardtools/board_tools_logic.hpp"

#include <gtest/gtest.h>

#include "qstring_printer.hpp"

using namespace boardtools;

namespace {

QString hexOf(const char* text) { return QString::fromLatin1(QByteArray(text).toHex().toUpper()); }

}  // namespace

TEST(BoardToolsDecoding, IdentificationTakesAtMostThirteenBytesThatArePresent) {
    const QString id = hexOf("TQ73RN-SIM-2A");
    struct Case {
        QString answer;
        QString shown;
    } cases[] = {
        {QStringLiteral("000F") + id + QStringLiteral("1234"), QStringLiteral("TQ73RN-SIM-2A")},
        // The length byte is not consulted, in either direction.
        {QStringLiteral("0002") + id + QStringLiteral("1234"), QStringLiteral("TQ73RN-SIM-2A")},
        {QStringLiteral("00FF") + hexOf("ABC"), QStringLiteral("ABC")},
        // A zero byte adds nothing; the bytes after it still count.
        {QStringLiteral("000F41004243"), QStringLiteral("ABC")},
        // A last digit without its pair, or a pair that is not hex, ends the text.
        {QStringLiteral("000F41424"), QStringLiteral("AB")},
        {QStringLiteral("000F41ZZ42"), QStringLiteral("A")},
        {QStringLiteral("000F"), QString()},
        {QString(), QString()},
        // Codes above 7F are the single-byte characters they stand for.
        {QStringLiteral("0001E9"), QString(QChar(0xE9))},
    };
    for (const Case& c : cases)
        EXPECT_EQ(boardtools::identificationText(c.answer), c.shown) << c.answer.toStdString();
}

TEST(BoardToolsDecoding, PinStateComesFromTheLowDigitOfTheFirstDataByte) {
    EXPECT_EQ(boardtools::pinStateOption(QStringLiteral("000100")), 0);
    EXPECT_EQ(boardtools::pinStateOption(QStringLiteral("000101")), 1);
    EXPECT_EQ(boardtools::pinStateOption(QStringLiteral("000102")), 2);
    EXPECT_EQ(boardtools::pinStateOption(QStringLiteral("000103")), std::nullopt);
    EXPECT_EQ(boardtools::pinStateOption(QStringLiteral("0001")), std::nullopt);
}

TEST(BoardToolsGain, ListsFindTheirItemByDigitExactly) {
    const QStringList& depth = boardtools::modulationDepthItems();
    const QStringList& gain = boardtools::receiverGainItems();
    ASSERT_EQ(depth.size(), 7);
    ASSERT_EQ(gain.size(), 5);
    EXPECT_EQ(depth[boardtools::itemWithDigit(depth, QLatin1Char('D'))],
              QStringLiteral(" D : 95% "));
    EXPECT_EQ(gain[boardtools::itemWithDigit(gain, QLatin1Char('1'))],
              QStringLiteral(" 1 : 32dB "));
    EXPECT_EQ(gain[boardtools::itemWithDigit(gain, QLatin1Char('F'))], QStringLiteral(" F : 8dB "));
    // No gain item carries 2, and the comparison is case-sensitive.
    EXPECT_EQ(boardtools::itemWithDigit(gain, QLatin1Char('2')), -1);
    EXPECT_EQ(boardtools::itemWithDigit(depth, QLatin1Char('d')), -1);
    EXPECT_EQ(boardtools::itemWithDigit(depth, QChar()), -1);
}

TEST(BoardToolsGain, SettingIsOneDigitFromEachList) {
    EXPECT_EQ(boardtools::gainFromItems(QStringLiteral(" 3 : 25% "), QStringLiteral(" F : 8dB ")),
              QStringLiteral("3F"));
    EXPECT_EQ(boardtools::gainFromItems(QStringLiteral(" 3 : 25% "), QString()),
              QStringLiteral("3"));
    EXPECT_TRUE(boardtools::isGainSetting(QStringLiteral("D1")));
    EXPECT_TRUE(boardtools::isGainSetting(QStringLiteral("3F")));
    EXPECT_FALSE(boardtools::isGainSetting(QStringLiteral("3")));
    EXPECT_FALSE(boardtools::isGainSetting(QStringLiteral("D2")));  // 2 is no receiver gain
    EXPECT_FALSE(boardtools::isGainSetting(QStringLiteral("F1")));  // F is no modulation depth
    EXPECT_FALSE(boardtools::isGainSetting(QStringLiteral("D1 ")));
}

TEST(BoardToolsGain, RegisterWriteAndItsLogEntry) {
    EXPECT_EQ(boardtools::registerWriteRequest(QStringLiteral("D1")), "010904680101D1");
    const QDateTime when(QDate(2012, 5, 9), QTime(14, 5, 9));
    EXPECT_EQ(boardtools::registerLogEntry(when, QStringLiteral("3F"), QStringLiteral("0000")),
              QStringLiteral("\r\n05-09-2012 \t>>> ISO14443A Register Value Changed (Modulation "
                             "Depth & Receiver Gain)\r\n\t\t>>> TQ73RNDLL_KVCmd, 01 "
                             "09046801013F\r\n\t\t<<< 0000"));
}

TEST(BoardToolsRawCommand, BlanksGoBeforeLengthAndDigitsAreJudged) {
    using V = RawCommand::Verdict;
    struct Case {
        const char* typed;
        V verdict;
        const char* request;
    } cases[] = {
        {"", V::Empty, ""},          {"    ", V::Empty, ""},        {"010", V::BadFormat, ""},
        {"0100", V::Send, "010100"}, {"01 00 ", V::Send, "010100"}, {"01 00", V::Send, "010100"},
        {"01 0", V::BadFormat, ""},  {"0G", V::BadFormat, ""},      {"01\t00", V::BadFormat, ""},
        {"0a0b", V::Send, "010a0b"},
    };
    for (const Case& c : cases) {
        const RawCommand r = checkRawCommand(QString::fromLatin1(c.typed));
        EXPECT_EQ(r.verdict, c.verdict) << '"' << c.typed << '"';
        EXPECT_EQ(r.request, c.request) << '"' << c.typed << '"';
    }
    EXPECT_EQ(boardtools::checkRawCommand(QString()).refusal(),
              QStringLiteral("Command not sent = no request found"));
    EXPECT_EQ(boardtools::checkRawCommand(QStringLiteral("010")).refusal(),
              QStringLiteral("Command not sent = request format problem"));
}

TEST(BoardToolsLayout, RevisionFiveAddsOneRow) {
    struct Case {
        int revision;
        bool rev5;
        int frame, logTop, window;
    } cases[] = {
        {0, false, 5895, 5880, 9450},
        {4, false, 5895, 5880, 9450},
        {5, true, 6375, 6360, 9930},
        {51, true, 6375, 6360, 9930},
    };
    for (const Case& c : cases) {
        const Layout l = layoutFor(c.revision);
        EXPECT_EQ(l.revision5Controls, c.rev5) << c.revision;
        EXPECT_EQ(l.toolsFrameHeight, c.frame) << c.revision;
        EXPECT_EQ(l.logFrameTop, c.logTop) << c.revision;
        EXPECT_EQ(l.windowHeight, c.window) << c.revision;
    }
}
