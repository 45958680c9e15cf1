#include "reader/answer_buffer.hpp"

#include <gtest/gtest.h>

namespace {

using reader::AnswerBuffer;

TEST(AnswerBuffer, TextEndsAtFirstNulAndUntouchedBlanksHaveNone) {
    AnswerBuffer zero;
    EXPECT_TRUE(zero.hasNul());
    EXPECT_EQ(zero.text(), "");

    AnswerBuffer blank = AnswerBuffer::blanks();
    EXPECT_FALSE(blank.hasNul());
    EXPECT_EQ(blank.text(), std::string(256, ' '));

    blank.setText("5500");
    EXPECT_TRUE(blank.hasNul());
    EXPECT_EQ(blank.text(), "5500");
}

TEST(AnswerBuffer, OverlongTextIsCutToLeaveRoomForTheNul) {
    AnswerBuffer b;
    b.setText(std::string(400, 'A'));
    EXPECT_EQ(b.text(), std::string(255, 'A'));
}

}  // namespace
