// The program's own captions are used as they stand, misspellings and blanks included:
// they are the texts users and their notes know the tool by. These are the ones that look
// like slips and so are the likeliest to be "tidied" by a later change.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <algorithm>
#include <set>

#include "sending_buttons.hpp"

namespace {

// Every caption any view of any window shows: labels, buttons, group titles.
std::set<QString> everyCaption() {
    apptest::Program p;
    std::set<QString> captions;
    int views = 0;
    for (const apptest::WindowCase& c : apptest::builtWindows()) {
        core::ToolWindow* first = apptest::freshWindow(p, c, {QString(), [](core::ToolWindow*) {}});
        if (!first) continue;
        const std::vector<apptest::View> all = apptest::viewsOf(first);
        apptest::closeEveryWindow(p);
        for (const apptest::View& view : all) {
            core::ToolWindow* w = apptest::freshWindow(p, c, view);
            if (!w) continue;
            ++views;
            for (const QWidget* widget : w->findChildren<QWidget*>()) {
                if (const auto* l = qobject_cast<const QLabel*>(widget)) captions.insert(l->text());
                if (const auto* b = qobject_cast<const QAbstractButton*>(widget))
                    captions.insert(b->text());
                if (const auto* g = qobject_cast<const QGroupBox*>(widget))
                    captions.insert(g->title());
            }
            apptest::closeEveryWindow(p);
        }
    }
    // Every window as it opens, the pages of the ISO15693 products, the console's entries.
    EXPECT_GE(views, 24 + 8 + 8);
    return captions;
}

TEST(ProgramTexts, TheCaptionsThatLookLikeSlipsStandAsTheyAre) {
    const std::set<QString> captions = everyCaption();
    EXPECT_GT(captions.size(), 300u);
    for (const char* text : {
             "lenght of data",                               // the console's command boxes
             "lenght : ",                                    // ISO14443-A answer analysis
             "Anticolision Process",                         // ISO14443-A
             "      ISO14443-A anticolision process      ",  // its frame
             "Anticolision  ISO14443-A :",                   // the script help
             "Mask Lenght",                                  // ISO15693 inventory
             "  Change IDLE parameters ",                    // tag detection
         }) {
        // A help row holds its keyword too, so a caption need only hold the text.
        const QString wanted = QString::fromLatin1(text);
        EXPECT_TRUE(std::any_of(captions.begin(), captions.end(),
                                [&](const QString& c) { return c.contains(wanted); }))
            << '"' << text << '"';
    }
}

}  // namespace
