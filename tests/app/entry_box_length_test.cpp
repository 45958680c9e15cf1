// A paste by mistake never holds a window up: every one-line box of every window takes a
// few hundred characters at most, so a huge paste is cut at once instead of laid out.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>

#include "every_window.hpp"
#include "widgets/hex_entry_box.hpp"

namespace {

// More than the longest request or answer with a blank after each byte (383), far less
// than a paste that takes seconds to lay out.
constexpr int kLongestLine = 512;
// A paste of that much returns within this, however slow the build.
constexpr qint64 kAtOnceMs = 100;

TEST(EntryBoxLength, EveryBoxTakesAFewHundredCharactersAndAHugePasteReturnsAtOnce) {
    apptest::Program program;
    const QString huge(100000, QLatin1Char('A'));
    QApplication::clipboard()->setText(huge);
    int pasted = 0;
    program.forEveryWindow([&pasted](core::ToolWindow* w) {
        for (QLineEdit* box : w->findChildren<QLineEdit*>()) {
            SCOPED_TRACE(box->objectName().toStdString());
            EXPECT_LE(box->maxLength(), kLongestLine);
            if (box->isReadOnly()) continue;
            QElapsedTimer took;
            took.start();
            box->selectAll();
            box->paste();
            if (auto* hex = qobject_cast<widgets::HexEntryBox*>(box)) hex->commit();
            QCoreApplication::processEvents();
            EXPECT_LT(took.elapsed(), kAtOnceMs);
            EXPECT_LE(box->text().size(), kLongestLine);
            ++pasted;
        }
    });
    EXPECT_GT(pasted, 50);
}

}  // namespace
