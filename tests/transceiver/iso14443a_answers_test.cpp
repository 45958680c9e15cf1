#include "transceiver/iso14443a_answers.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

using transceiver::AnticollisionAnswer;

TEST(Iso14443aAnswers, TransmissionFlagBytesOfTheCommands) {
    EXPECT_EQ(transceiver::transmissionFlag(7, false), transceiver::kFlagShortFrame);
    EXPECT_EQ(transceiver::transmissionFlag(8, false), transceiver::kFlagAnticollision);
    EXPECT_EQ(transceiver::transmissionFlag(8, true), transceiver::kFlagWithCrc);
    EXPECT_EQ(transceiver::transmissionFlag(8, true, false, true), transceiver::kFlagTopaz);
    EXPECT_EQ(transceiver::transmissionFlag(0x13, false, true), "43") << "bit count kept to 4 bits";
    EXPECT_EQ(transceiver::reqaRequest(), "2607");
    EXPECT_EQ(transceiver::wupaRequest(), "5207");
}

TEST(Iso14443aAnswers, EachCascadeLevelHasItsSelectCode) {
    const struct {
        int level;
        const char* code;
    } cases[] = {{1, "93"}, {2, "95"}, {3, "97"}};
    for (const auto& c : cases) {
        EXPECT_EQ(transceiver::selectCode(c.level), c.code) << c.level;
        EXPECT_EQ(transceiver::anticollisionRequest(c.level), std::string(c.code) + "2008")
            << c.level;
        EXPECT_EQ(transceiver::selectRequest(c.level, "0102030404"),
                  std::string(c.code) + "70010203040428")
            << c.level;
    }
}

// Runs the cascade over the ANTICOLLISION answers of each level, as the probes do:
// returns the requests sent and the UID text collected.
struct CascadeRun {
    std::vector<std::string> requests;
    std::string uid;
    bool selected = false;
};
CascadeRun runCascade(const std::vector<std::string>& anticolAnswers) {
    CascadeRun run;
    for (int level = 1; level <= transceiver::kCascadeLevels; ++level) {
        run.requests.push_back(transceiver::anticollisionRequest(level));
        const AnticollisionAnswer a =
            transceiver::decodeAnticollisionAnswer(anticolAnswers.at(level - 1));
        if (!a.complete) return run;
        run.uid += a.uidPiece;
        run.requests.push_back(transceiver::selectRequest(level, a.uidPart));
        if (!transceiver::cascadeContinues(level, a)) {
            run.selected = true;
            return run;
        }
    }
    return run;
}

TEST(Iso14443aAnswers, CascadesOfFourSevenAndTenBytes) {
    const struct {
        const char* what;
        std::vector<std::string> answers;
        std::vector<std::string> requests;
        const char* uid;
        bool selected;
    } cases[] = {
        {"4-byte UID",
         {"800811223344"
          "44"
          "080000",
          "", ""},
         {"932008",
          "937011223344"
          "4428"},
         "11223344",
         true},
        {"7-byte UID",
         {"800888"
          "04A1B2"
          "9F"
          "080000",
          "8008C3D4E5F6"
          "C4"
          "080000",
          ""},
         {"932008",
          "9370"
          "8804A1B29F"
          "28",
          "952008",
          "9570"
          "C3D4E5F6C4"
          "28"},
         "04A1B2C3D4E5F6",
         true},
        {"10-byte UID",
         {"800888"
          "010203"
          "8A"
          "080000",
          "800888"
          "040506"
          "8B"
          "080000",
          "800807080910"
          "10"
          "080000"},
         {"932008",
          "9370"
          "880102038A"
          "28",
          "952008",
          "9570"
          "880405068B"
          "28",
          "972008",
          "9770"
          "0708091010"
          "28"},
         "01020304050607080910",
         true},
        {"88 at level 3 still ends the cascade",
         {"800888"
          "010203"
          "8A"
          "080000",
          "800888"
          "040506"
          "8B"
          "080000",
          "800888070809"
          "06"
          "080000"},
         {"932008",
          "9370"
          "880102038A"
          "28",
          "952008",
          "9570"
          "880405068B"
          "28",
          "972008",
          "9770"
          "8807080906"
          "28"},
         "010203040506070809",
         true},
        {"short ANTICOL answer: no SELECT", {"8008112233", "", ""}, {"932008"}, "", false},
        {"no frame", {"8700", "", ""}, {"932008"}, "", false},
    };
    for (const auto& c : cases) {
        const CascadeRun run = runCascade(c.answers);
        EXPECT_EQ(run.requests, c.requests) << c.what;
        EXPECT_EQ(run.uid, c.uid) << c.what;
        EXPECT_EQ(run.selected, c.selected) << c.what;
    }
}

TEST(Iso14443aAnswers, AnticollisionFieldsAndBcc) {
    const AnticollisionAnswer good = transceiver::decodeAnticollisionAnswer(
        "8008"
        "8804A1B29F"
        "080000");
    EXPECT_TRUE(good.complete);
    EXPECT_TRUE(good.cascadeTag);
    EXPECT_EQ(good.uidPart, "8804A1B29F");
    EXPECT_EQ(good.uidPiece, "04A1B2");
    EXPECT_EQ(good.bcc, "9F");
    EXPECT_TRUE(good.bccMatches);

    const AnticollisionAnswer wrongBcc = transceiver::decodeAnticollisionAnswer("80081122334400");
    EXPECT_TRUE(wrongBcc.complete) << "a wrong BCC is reported, not refused";
    EXPECT_FALSE(wrongBcc.bccMatches);

    const AnticollisionAnswer cut = transceiver::decodeAnticollisionAnswer("800811");
    EXPECT_TRUE(cut.frameReceived);
    EXPECT_FALSE(cut.complete);
    EXPECT_EQ(cut.uidPart, "11");
    EXPECT_FALSE(cut.bccMatches);
}

TEST(Iso14443aAnswers, TheTrailingStatusTellsACollisionFromOneTag) {
    struct Case {
        const char* answer;
        bool present;
        bool severalTags;
        int byte;
        int bit;
    };
    const Case cases[] = {
        {"8008048D2432273B000000", true, false, 0, 0},
        {"800804ADB6F3F7FF800103", true, true, 1, 3},   // collision at byte 1 bit 3
        {"8008048D2432273B200000", true, true, 0, 0},   // CRC error
        {"8008048D2432273B100000", true, false, 0, 0},  // parity error alone
        {"8700", false, false, 0, 0},
        {"8003", false, false, 0, 0},
        {"80040000ZZ00", false, false, 0, 0},
    };
    for (const auto& c : cases) {
        const transceiver::ResponseStatus s = transceiver::responseStatusOf(c.answer);
        EXPECT_EQ(s.present, c.present) << c.answer;
        EXPECT_EQ(s.severalTags(), c.severalTags) << c.answer;
        EXPECT_EQ(s.collisionByte, c.byte) << c.answer;
        EXPECT_EQ(s.collisionBit, c.bit) << c.answer;
    }
}

TEST(Iso14443aAnswers, SakOfASelectAnswer) {
    EXPECT_EQ(transceiver::sakOf("8003"
                                 "04"
                                 "DA17"
                                 "080000"),
              std::optional<std::uint8_t>(0x04));
    EXPECT_EQ(transceiver::sakOf("8003"
                                 "20"),
              std::optional<std::uint8_t>(0x20));
    EXPECT_EQ(transceiver::sakOf("8700"), std::nullopt);
    EXPECT_EQ(transceiver::sakOf("8003"), std::nullopt);
    EXPECT_EQ(transceiver::sakOf("8003ZZ"), std::nullopt);
    EXPECT_EQ(transceiver::anticollisionRequest(2, ""), "9508") << "the NVB as the user typed it";
}

}  // namespace
