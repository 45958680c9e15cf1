#include "iso14443a/answers.hpp"

#include <gtest/gtest.h>

#include <QStringList>

#include "qstring_printer.hpp"

namespace {

using namespace iso14443a;

// A READ answer: 16 data bytes, the tag's CRC, then the transceiver's three status bytes.
const QString kReadData = QStringLiteral("0102030405060708090A0B0C0D0E0F10");
QString readAnswer(const QString& status) {
    return QStringLiteral("8015") + kReadData + QStringLiteral("ABCD") + status;
}

TEST(Iso14443aWindowAnswers, ModeIsTheExactTopazReference) {
    EXPECT_TRUE(isTopazMode(QStringLiteral("TOPAZ")));
    for (const char* other : {"topaz", "TOPAZ ", " TOPAZ", "ISO14443-A", ""}) {
        EXPECT_FALSE(isTopazMode(QString::fromLatin1(other))) << other;
    }
}

TEST(Iso14443aWindowAnswers, AddressDigitsFollowTheHighestByteAddress) {
    const struct {
        int memory, digits;
    } cases[] = {{2, 1},
                 {16, 1},
                 {64, 2},
                 {128, 2},
                 {256, 2},
                 {512, 3},
                 {2048, 3},
                 {8192, 4},
                 // No highest address to size by: one digit rather than a failed load.
                 {1, 1},
                 {0, 1},
                 {-4, 1}};
    for (const auto& c : cases) EXPECT_EQ(addressDigits(c.memory), c.digits) << c.memory;
}

TEST(Iso14443aWindowAnswers, AnalysisSplitsAReceivedFrameAndItsStatusBits) {
    const struct {
        const char* answer;
        std::array<const char*, 6> rows;
        std::optional<std::uint8_t> status;
    } cases[] = {
        {"80054400080000", {"80", "05", "4400", "08", "00", "00"}, 0x08},
        {"8005AABB080000", {"80", "05", "AABB", "08", "00", "00"}, 0x08},
        // Ten characters: no tag data, the status rows from characters 5 to 10.
        {"8003B00102", {"80", "03", "", "B0", "01", "02"}, 0xB0},
        {"8008C3D4E5F604800304", {"80", "08", "C3D4E5F604", "80", "03", "04"}, 0x80},
        // Too short for the status bytes: only the rows that exist.
        {"80054400", {"80", "05", "", "", "", ""}, std::nullopt},
        {"80", {"80", "", "", "", "", ""}, std::nullopt},
        // A status pair that is not hex is shown but ticks nothing.
        {"8003ZZ0000", {"80", "03", "", "ZZ", "00", "00"}, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto a = analyseAnswer(QString::fromLatin1(c.answer));
        ASSERT_TRUE(a.has_value()) << c.answer;
        for (std::size_t i = 0; i < 6; ++i) {
            EXPECT_EQ(a->rows[i], QString::fromLatin1(c.rows[i])) << c.answer << " row " << i;
        }
        EXPECT_EQ(a->errorStatus, c.status) << c.answer;
    }
    for (const char* notAFrame : {"90040A", "8700", "86", "", "    "}) {
        EXPECT_FALSE(analyseAnswer(QString::fromLatin1(notAFrame))) << notAFrame;
        EXPECT_FALSE(analyseTopazAnswer(QString::fromLatin1(notAFrame))) << notAFrame;
    }
}

TEST(Iso14443aWindowAnswers, TopazAnalysisTakesEverythingAfterTheLengthAsData) {
    const auto rid = analyseTopazAnswer(QStringLiteral("800B114811223344591B080000"));
    ASSERT_TRUE(rid);
    EXPECT_EQ(rid->rows[0], "80");
    EXPECT_EQ(rid->rows[1], "0B");
    EXPECT_EQ(rid->rows[2], "114811223344591B080000");
    EXPECT_EQ(rid->rows[3], "");
    EXPECT_FALSE(rid->errorStatus);
    const auto shortest = analyseTopazAnswer(QStringLiteral("80"));
    ASSERT_TRUE(shortest);
    EXPECT_EQ(shortest->rows[1], "");
    EXPECT_EQ(shortest->rows[2], "");
}

TEST(Iso14443aWindowAnswers, TopazIdentificationTakesWhatTheAnswerHolds) {
    const TopazIdentification full =
        topazIdentification(QStringLiteral("800B114811223344591B080000"));
    EXPECT_EQ(full.hr0, "11");
    EXPECT_EQ(full.hr1, "48");
    EXPECT_EQ(full.uid, "11223344");
    const TopazIdentification cut = topazIdentification(QStringLiteral("8005114811"));
    EXPECT_EQ(cut.hr0, "11");
    EXPECT_EQ(cut.hr1, "48");
    EXPECT_EQ(cut.uid, "11");
    const TopazIdentification none = topazIdentification(QStringLiteral("8700"));
    EXPECT_TRUE(none.hr0.isEmpty() && none.hr1.isEmpty() && none.uid.isEmpty());
}

TEST(Iso14443aWindowAnswers, AReadIsGoodOnlyWhenItsFrameAndStatusAreSound) {
    const QStringList good = {"01 02 03 04 ", "05 06 07 08 ", "09 0A 0B 0C ", "0D 0E 0F 10 "};
    const QStringList detected(4, kReadErrorDetectedItem);
    const QStringList error(4, kReadErrorItem);
    const struct {
        QString answer;
        reader::LibraryStatus status;
        QStringList items;
    } cases[] = {
        {readAnswer("080000"), 0, good},
        // The collision bit index is not the verdict: the status byte is read as well.
        {readAnswer("280000"), 0, detected},  // CRC error
        {readAnswer("180000"), 0, detected},  // parity error
        {readAnswer("880000"), 0, detected},  // collision
        {readAnswer("080001"), 0, detected},
        // Fewer than 16 data bytes, though it begins 80 and ends 00.
        {QStringLiteral("80070102ABCD080000"), 0, detected},
        // The length byte disagrees with the data.
        {QStringLiteral("8016") + kReadData + QStringLiteral("ABCD080000"), 0, detected},
        // A good-looking frame left by a failed call is not a read.
        {readAnswer("080000"), 1, detected},
        {QStringLiteral("8700"), 0, error},
        {QStringLiteral("900404"), 0, error},
        {QString(256, QLatin1Char(' ')), 1, error},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(readPageItems(c.answer, c.status, 4), c.items) << c.answer.toStdString();
    }
}

TEST(Iso14443aWindowAnswers, TopazReadGivesTheDataByteOrAnErrorItem) {
    const struct {
        const char* answer;
        reader::LibraryStatus status;
        QString item;
    } cases[] = {
        {"80070A0EAE0A080000", 0, QStringLiteral("0E ")},
        {"80070A0EAE0A280000", 0, kReadErrorDetectedItem},
        {"80070A0EAE0A080001", 0, kReadErrorDetectedItem},
        {"80030A0E00", 0, kReadErrorDetectedItem},
        {"80070A0EAE0A080000", 1, kReadErrorDetectedItem},
        {"8700", 0, kReadErrorItem},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(topazReadItem(QString::fromLatin1(c.answer), c.status), c.item) << c.answer;
    }
}

TEST(Iso14443aWindowAnswers, WritesAcceptTheTagsAckAndRefuseItsNak) {
    const struct {
        const char* answer;
        reader::LibraryStatus status;
        bool page, topaz;
    } cases[] = {
        {"90040A", 0, true, false},
        {"900404", 0, false, false},
        {"900401", 0, false, false},
        // Short frames that are not the ACK, NAK or not.
        {"900400", 0, false, false},
        {"900405", 0, false, false},
        {"90040A", 1, false, false},
        // A whole frame is judged by its last byte, for both kinds of write.
        {"8007605A2A86080000", 0, true, true},
        {"8007605A2A86080001", 0, false, false},
        {"8007605A2A86080000", 1, false, false},
        {"8700", 0, false, false},
        {"", 0, false, false},
    };
    for (const auto& c : cases) {
        const QString a = QString::fromLatin1(c.answer);
        EXPECT_EQ(pageWriteAccepted(a, c.status), c.page) << c.answer;
        EXPECT_EQ(topazWriteAccepted(a, c.status), c.topaz) << c.answer;
    }
}

TEST(Iso14443aWindowAnswers, TheProcessGoesOnAfterReqaOnAFrameOrAShortFrame) {
    EXPECT_EQ(reqaOutcome(QStringLiteral("80054400080000"), 0), ReqaOutcome::FrameReceived);
    EXPECT_EQ(reqaOutcome(QStringLiteral("900344"), 0), ReqaOutcome::ShortFrame);
    EXPECT_EQ(reqaOutcome(QStringLiteral("8700"), 0), ReqaOutcome::End);
    EXPECT_EQ(reqaOutcome(QStringLiteral("80054400080000"), 1), ReqaOutcome::End);
    EXPECT_TRUE(frameReceived(QStringLiteral("80088804A1B29F080000"), 0));
    EXPECT_FALSE(frameReceived(QStringLiteral("900344"), 0));
    EXPECT_FALSE(frameReceived(QStringLiteral("80088804A1B29F080000"), 5));
}

}  // namespace
