#include "iso15693/answers.hpp"

#include <gtest/gtest.h>

namespace {

using namespace iso15693;

// An accepted response with a sound CRC.
TagAnswer response(const std::string& hex) {
    TagAnswer t;
    t.accepted = true;
    t.length = static_cast<int>(hex.size() / 2) + 3;
    t.response = hex;
    return t;
}
const TagAnswer kNoAnswer{};

TEST(AnswerCheckTest, AcceptanceAndCrcVerdict) {
    // Response 00 11 22 33 44 with its CRC 043E (low byte first).
    const TagAnswer clean = checkAnswer(0, "80080011223344043E00");
    EXPECT_TRUE(clean.valid());
    EXPECT_EQ(clean.response, "0011223344");
    EXPECT_EQ(clean.crcVerdict, QString());

    // Status byte "00": the CRC is not compared, even a wrong one.
    EXPECT_TRUE(checkAnswer(0, "80080011223344FFFF00").valid());

    const TagAnswer vouched = checkAnswer(0, "80080011223344043E02");
    EXPECT_TRUE(vouched.valid());
    EXPECT_EQ(vouched.crcVerdict, QStringLiteral("  02 -> CRC OK"));

    const TagAnswer damaged = checkAnswer(0, "80080011223344043F01");
    EXPECT_FALSE(damaged.valid());
    EXPECT_EQ(damaged.length, 0);
    EXPECT_EQ(damaged.crcVerdict, QStringLiteral("  01 -> CRC HS (expected=043E)"));

    // Not accepted: no verdict, nothing read.
    for (const auto& [status, text] : std::vector<std::pair<int, std::string>>{
             {5, "80080011223344043E00"},  // the board was not reached
             {1, "80080011223344043E00"},
             {0, "8700"},
             {0, "8008001122"},  // cut short of what its length announces
             {0, "80020011"},    // a length that leaves no room for CRC and status
             {0, "80ZZ"},
             {0, std::string(256, ' ')}}) {
        const TagAnswer t = checkAnswer(status, text);
        EXPECT_FALSE(t.accepted) << text;
        EXPECT_FALSE(t.valid()) << text;
        EXPECT_TRUE(t.crcVerdict.isEmpty()) << text;
    }

    // Length 3: accepted, with an empty response that no command takes for an answer.
    const TagAnswer empty = checkAnswer(0, "8003FFFF00");
    EXPECT_TRUE(empty.accepted);
    EXPECT_EQ(empty.length, 3);
    EXPECT_FALSE(empty.valid());
}

TEST(ReportTextsTest, ErrorCodesAndShortResults) {
    EXPECT_EQ(ErrorCodeText(QStringLiteral("13")),
              QStringLiteral("(13) Block was not successfully programmed"));
    EXPECT_EQ(ErrorCodeText(QStringLiteral("10")),
              QStringLiteral("(10) Block address not available"));
    EXPECT_EQ(ErrorCodeText(QStringLiteral("00")), QStringLiteral("No Error"));
    EXPECT_EQ(ErrorCodeText(QStringLiteral("0f")), QStringLiteral("(0f) Unknown error code"));
    EXPECT_EQ(ErrorCodeText(QStringLiteral("A3")), QStringLiteral("(A3) Unknown error code"));

    EXPECT_EQ(shortResult(response("00")), QStringLiteral("OK"));
    // Every error code alike, also those the error table knows.
    EXPECT_EQ(shortResult(response("010F")), QStringLiteral("0F : unknown error code"));
    EXPECT_EQ(shortResult(response("0112")), QStringLiteral("12 : unknown error code"));
    EXPECT_EQ(shortResult(response("02")), std::nullopt);
    EXPECT_EQ(shortResult(kNoAnswer), std::nullopt);
}

TEST(BlockLinesTest, SingleBlockReads) {
    const QString box = QStringLiteral("8700");
    EXPECT_EQ(singleBlockLine(response("0011223344"), box, 4, false),
              QStringLiteral("11 22 33 44 "));
    EXPECT_EQ(singleBlockLine(response("000111223344"), box, 4, true),
              QStringLiteral("01   11 22 33 44 "));
    // Bytes the tag did not send read as blanks: the line keeps its width.
    EXPECT_EQ(singleBlockLine(response("001122"), box, 4, false), QStringLiteral("11 22       "));
    EXPECT_EQ(singleBlockLine(response("0110"), box, 4, false),
              QStringLiteral("(10) Block address not available"));
    EXPECT_EQ(singleBlockLine(response("02"), box, 4, false),
              QStringLiteral("(02) Answer format problemz"));
    EXPECT_EQ(singleBlockLine(kNoAnswer, box, 4, false), box);
}

TEST(BlockLinesTest, MultipleBlockReads) {
    EXPECT_EQ(multipleBlockLines(response("00"
                                          "00112233440155667788"),
                                 2, 4, true),
              (QStringList{"00   11 22 33 44 ", "01   55 66 77 88 "}));
    EXPECT_EQ(multipleBlockLines(response("00"
                                          "1122334455667788"),
                                 2, 4, false),
              (QStringList{"11 22 33 44 ", "55 66 77 88 "}));
    // With the option flag the third block starts at response byte 10.
    const QStringList three = multipleBlockLines(response("00"
                                                          "00AAAAAAAA"
                                                          "01BBBBBBBB"
                                                          "02CCCCCCCC"),
                                                 3, 4, true);
    EXPECT_EQ(three.last(), QStringLiteral("02   CC CC CC CC "));
    EXPECT_EQ(multipleBlockLines(response("010F"), 4, 4, false),
              QStringList(4, QStringLiteral("(0F) Error with no information given")));
    EXPECT_EQ(multipleBlockLines(kNoAnswer, 4, 4, false),
              QStringList(4, QStringLiteral("no detected answer")));
    EXPECT_EQ(multipleBlockLines(response("03"), 2, 4, false),
              QStringList(2, QStringLiteral("no Tag answer")));
    // A tag frame of response flags and CRC only, its response empty: a tag answered.
    EXPECT_EQ(multipleBlockLines(checkAnswer(0, "8003FFFF00"), 2, 4, false),
              QStringList(2, QStringLiteral("no Tag answer")));
    EXPECT_EQ(multipleBlockLines(checkAnswer(0, "8003000005"), 2, 4, true),
              QStringList(2, QStringLiteral("no Tag answer")));
}

TEST(BlockLinesTest, SecurityStatusAndWrites) {
    std::string statuses = "00";
    for (int i = 0; i < 32; ++i) statuses += i % 2 ? "01" : "00";
    const QStringList lines = securityStatusLines(response(statuses), 32);
    ASSERT_EQ(lines.size(), 32);
    EXPECT_EQ(lines[0], QStringLiteral("00"));
    EXPECT_EQ(lines[1], QStringLiteral("01"));
    EXPECT_EQ(securityStatusLines(response("000100"), 3),
              (QStringList{"01", "00", "  "}));  // a block the tag did not answer for
    EXPECT_EQ(securityStatusLines(response("0110"), 2),
              QStringList(2, QStringLiteral("(10) Block address not available")));
    EXPECT_EQ(securityStatusLines(kNoAnswer, 2),
              QStringList(2, QStringLiteral("no detected answer")));
    EXPECT_EQ(securityStatusLines(checkAnswer(0, "8003FFFF00"), 2),
              QStringList(2, QStringLiteral("no Tag answer")));

    const QString box = QStringLiteral("8700");
    WriteOutcome ok = writeOutcome(response("00"), box);
    EXPECT_EQ(ok.line, QStringLiteral("(00) No error during Prog sequence"));
    EXPECT_EQ(ok.label, QStringLiteral("OK"));
    WriteOutcome locked = writeOutcome(response("0112"), box);
    EXPECT_EQ(locked.line, QStringLiteral("(12) Block is locked, content cannot be changed"));
    EXPECT_EQ(locked.label, QStringLiteral("HS"));
    EXPECT_EQ(writeOutcome(response("05"), box).line,
              QStringLiteral("(05) Answer format problemz"));
    EXPECT_EQ(writeOutcome(response("05"), box).label, std::nullopt);
    EXPECT_EQ(writeOutcome(kNoAnswer, box).line, box);
}

TEST(InventoryListTest, TagLinesAndTheirUid) {
    EXPECT_EQ(inventoryListHeader(), (QStringList{"\tUID\t\t\tDSFID", ""}));
    const QString line =
        singleTagLine(response("0000"
                               "07060504030201E0"));
    EXPECT_EQ(line, QStringLiteral(" 00\tE001020304050607\t\t00"));
    EXPECT_EQ(uidOfListLine(line), QStringLiteral("E001020304050607"));
    EXPECT_EQ(singleTagLine(response("00")), QStringLiteral(" 00\t\t\t"));
    EXPECT_EQ(frameOrderUid(QStringLiteral("E001020304050607")),
              QStringLiteral("07060504030201E0"));
}

TEST(InventoryListTest, AnticollisionRecordsReallyPresent) {
    const std::string a =
        "1A"
        "01020304050607E0";
    const std::string b =
        "2B"
        "11121314151617E0";
    const auto two = anticollisionRecords(0,
                                          "8013"
                                          "02" +
                                              a + b);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].uid, QStringLiteral("E007060504030201"));
    EXPECT_EQ(two[0].dsfid, QStringLiteral("1A"));
    EXPECT_EQ(two[1].uid, QStringLiteral("E017161514131211"));
    EXPECT_EQ(inventoryListLine(10, two[1].uid, two[1].dsfid),
              QStringLiteral(" 0A\tE017161514131211\t\t2B"));

    // A count beyond the records the answer holds lists only those present.
    EXPECT_EQ(anticollisionRecords(0,
                                   "8013"
                                   "05" +
                                       a + b)
                  .size(),
              2u);
    EXPECT_EQ(anticollisionRecords(0,
                                   "8013"
                                   "02" +
                                       a + "2B1112")
                  .size(),
              1u);
    EXPECT_TRUE(anticollisionRecords(0, "800100").empty());
    EXPECT_TRUE(anticollisionRecords(0, "8000").empty());
    EXPECT_TRUE(anticollisionRecords(5,
                                     "8013"
                                     "02" +
                                         a + b)
                    .empty());
    EXPECT_TRUE(anticollisionRecords(0, "8200").empty());
    std::string fourteen =
        "80FF"
        "0E";
    for (int i = 0; i < 14; ++i) fourteen += a;
    EXPECT_EQ(anticollisionRecords(0, fourteen).size(), 13u);
}

TEST(SystemInfoTest, LinesAndTheWidthOfTheBlockCount) {
    const std::string head =
        "000F"
        "07060504030201E0"
        "11"
        "22";
    const QStringList one = systemInfoLines(response(head + "3F"
                                                            "03"
                                                            "2A"),
                                            2);
    EXPECT_EQ(
        one, (QStringList{" UID : \t\tE001020304050607", " DSFID : \t\t11h", " AFI : \t\t22h",
                          " Memory size : \t3Fh", " Block size : \t03h", " IC reference : \t2Ah"}));
    // Two bytes of block count, low byte first, shown high byte first; whatever the
    // window's address bytes say.
    const QStringList two = systemInfoLines(response(head + "FF07"
                                                            "03"
                                                            "2A"),
                                            1);
    EXPECT_EQ(two[3], QStringLiteral(" Memory size : \t07FFh"));
    EXPECT_EQ(two[4], QStringLiteral(" Block size : \t03h"));
    EXPECT_EQ(two[5], QStringLiteral(" IC reference : \t2Ah"));

    const QStringList b = systemInfoLines(response("000B"
                                                   "07060504030201E0"
                                                   "11"
                                                   "22"
                                                   "2A"),
                                          1);
    EXPECT_EQ(b[3], QStringLiteral(" Memory size : \tN.A."));
    EXPECT_EQ(b[5], QStringLiteral(" IC reference : \t2Ah"));

    EXPECT_EQ(systemInfoLines(response("0007"), 1), QStringList{"07 : unknown error code"});
    EXPECT_EQ(systemInfoLines(response("0003"), 1),
              QStringList{"error code 03 : cmd option not supported"});
    EXPECT_EQ(systemInfoLines(response("010F"), 1), QStringList{"error code 0F : other error"});
    EXPECT_EQ(systemInfoLines(response("0101"), 1), QStringList{"01 : unknown error code"});
    EXPECT_EQ(systemInfoLines(response("0000"), 1), QStringList{"No Error"});
}

TEST(EnergyHarvestingTest, ReadResults) {
    EXPECT_EQ(ehReadResult(response("0001")), QStringLiteral("01"));
    EXPECT_EQ(ehReadResult(response("00")), QString());  // the flags alone
    EXPECT_EQ(ehReadResult(response("010F")), QStringLiteral("XX"));
    EXPECT_EQ(ehReadResult(response("02")), QStringLiteral("XX"));
    EXPECT_EQ(ehReadResult(checkAnswer(0, "8003FFFF00")), QStringLiteral("XX"));
    EXPECT_EQ(ehReadResult(kNoAnswer), std::nullopt);
}

}  // namespace
