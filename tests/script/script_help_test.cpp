#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>

#include "script/script_help_window.hpp"
#include "widgets/window_builder.hpp"
#include "window_fixture.hpp"

namespace {

class ScriptHelpTest
    : public testsupport::WindowFixture<script::ScriptHelpWindow, core::WindowKind::ScriptHelp> {
  protected:
    void openAt(int revision) {
        tc.values().DllRevisionNumber = revision;
        open();
    }
    int px(int twips) { return widgets::twipsToPixels(w, twips); }
    QList<QLabel*> keywordRows() {
        return w->findChildren<QLabel*>(
            QRegularExpression(QStringLiteral("^lblHelpScript(Coomands|CustomCmd)_")));
    }
};

}  // namespace

TEST_F(ScriptHelpTest, ARevisionFiveLibraryShowsEveryKeywordRow) {
    openAt(51);  // "5.1.0"
    EXPECT_EQ(w->windowTitle(), "   Script Help");
    int shown = 0;
    for (QLabel* row : w->findChild<QGroupBox*>("FraScriptHelpStandart")->findChildren<QLabel*>()) {
        shown += row->objectName().startsWith("lblHelpScriptCoomands_") && row->isVisibleTo(w) &&
                 row->text().contains(" :");
    }
    EXPECT_EQ(shown, 17);
    EXPECT_TRUE(get<QLabel>("lblHelpScriptCoomands_18")->isVisibleTo(w));
    EXPECT_EQ(get<QLabel>("lblHelpScriptCoomands_14")->y(), px(4680));
    EXPECT_EQ(get<QLabel>("lblHelpScriptCoomands_8")->y(), px(5020));
    EXPECT_EQ(get<QGroupBox>("FraScriptHelpCustom")->y(), px(5760));
    EXPECT_EQ(get<QGroupBox>("FraScriptHelpExample")->y(), px(7800));
    EXPECT_EQ(w->height(), px(9885));
}

TEST_F(ScriptHelpTest, AnOlderLibraryHidesItsMissingFunctionsAndTheCardShrinks) {
    openAt(4);  // "0.4.0"
    for (const char* row :
         {"lblHelpScriptCoomands_16", "lblHelpScriptCoomands_17", "lblHelpScriptCoomands_18"}) {
        EXPECT_FALSE(get<QLabel>(row)->isVisibleTo(w)) << row;
    }
    // The USB handle check row closes up under the pin-state row, inside the shorter frame.
    EXPECT_TRUE(get<QLabel>("lblHelpScriptCoomands_14")->isVisibleTo(w));
    EXPECT_EQ(get<QLabel>("lblHelpScriptCoomands_14")->y(), px(3840));
    EXPECT_EQ(get<QLabel>("lblHelpScriptCoomands_8")->y(), px(4080));
    EXPECT_EQ(get<QGroupBox>("FraScriptHelpStandart")->height(), px(4815));
    EXPECT_EQ(get<QGroupBox>("FraScriptHelpCustom")->y(), px(5160));
    EXPECT_EQ(get<QGroupBox>("FraScriptHelpExample")->y(), px(7200));
    EXPECT_EQ(w->height(), px(9285));
}

TEST_F(ScriptHelpTest, EveryKeywordStandsInColumnFortySixInAFixedPitchFont) {
    openAt(51);
    const QList<QLabel*> rows = keywordRows();
    int keywordRowsSeen = 0;
    for (QLabel* row : rows) {
        const QString text = row->text();
        const int colon = text.indexOf(" :");
        if (colon < 0) continue;  // the two notes
        ++keywordRowsSeen;
        const QFontMetricsF m(row->font());
        EXPECT_EQ(m.horizontalAdvance(" "), m.horizontalAdvance("M")) << text.toStdString();
        EXPECT_EQ(m.horizontalAdvance("i"), m.horizontalAdvance("M")) << text.toStdString();
        EXPECT_EQ(text.indexOf(QRegularExpression(QStringLiteral("\\S")), colon + 2), 45)
            << text.toStdString();
    }
    EXPECT_EQ(keywordRowsSeen, 20);
    EXPECT_EQ(get<QLabel>("lblHelpScriptCustomCmd_0")->text(),
              "Initiate for SOLAxx (save Chip_Id value) :   TQ73RN_SOLAxx_Initiate");
    EXPECT_EQ(get<QLabel>("lblHelpScriptExample_3")->text(), "TQ73RNDLL_KVCMD, 010100");
}
