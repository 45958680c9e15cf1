#include "core/status_bar.hpp"

#include <gtest/gtest.h>

#include "qstring_printer.hpp"

namespace {

// Three panels numbered from 1, the connection panel empty at start; a number outside
// them keeps and shows nothing, and no write reaches another panel.
TEST(StatusBar, ThreePanelsNumberedFromOne) {
    core::StatusBarService bar;
    for (int panel : {-1, 0, 1, 4}) EXPECT_TRUE(bar.panelText(panel).isEmpty()) << panel;

    for (int panel = -1; panel <= 4; ++panel) {
        bar.setPanelText(panel, QStringLiteral("panel %1").arg(panel));
    }
    const QString expected[] = {QString(),
                                QString(),
                                QStringLiteral("panel 1"),
                                QStringLiteral("panel 2"),
                                QStringLiteral("panel 3"),
                                QString()};
    for (int panel = -1; panel <= 4; ++panel) {
        EXPECT_EQ(bar.panelText(panel), expected[panel + 1]) << panel;
    }
}

// The two connection phrases, each with its leading blank.
TEST(StatusBar, ConnectionPhrasesAreExact) {
    EXPECT_STREQ(core::kBoardConnectedPhrase, " DEMO-TQ73RN-A BOARD CONNECTED");
    EXPECT_STREQ(core::kBoardNotConnectedPhrase, " DEMO-TQ73RN-A BOARD NOT CONNECTED");
}

}  // namespace
