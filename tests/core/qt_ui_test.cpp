#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <optional>

#include "core/ui.hpp"

namespace {

// The pointer as the user sees it: the hourglass or the ordinary one.
bool hourglassShown() {
    const QCursor* c = QApplication::overrideCursor();
    return c && c->shape() == Qt::WaitCursor;
}

// Opens a dialog through `open`, and once it waits for the user notes the pointer and
// cancels it. Nothing when no dialog came up.
std::optional<bool> hourglassWhileOpen(const std::function<void()>& open) {
    std::optional<bool> seen;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        seen = hourglassShown();
        dialog->reject();
    });
    poll.start();
    open();
    return seen;
}

// The hourglass says the program works; over a dialog that waits for the user it would
// say the opposite of the truth. It comes back once the dialog is closed.
TEST(QtUi, DialogsShowTheOrdinaryPointerAndGiveTheHourglassBack) {
    core::QtUi ui;
    const struct {
        const char* name;
        std::function<void()> open;
    } dialogs[] = {
        {"message box",
         [&ui] {
             ui.messageBox(QStringLiteral("Text"), QStringLiteral("Title"),
                           core::MsgIcon::Exclamation, core::MsgButtons::Ok);
         }},
        {"save dialog", [&ui] { ui.saveFileDialog(core::FileDialogRequest{}); }},
        {"open dialog", [&ui] { ui.openFileDialog(core::FileDialogRequest{}); }},
        {"colour dialog", [&ui] { ui.colorDialog(QColor(Qt::red)); }},
    };
    for (const auto& d : dialogs) {
        for (bool busy : {true, false}) {
            SCOPED_TRACE(std::string(d.name) + (busy ? ", busy" : ", idle"));
            ui.setBusy(busy);
            ASSERT_EQ(hourglassShown(), busy);
            const std::optional<bool> during = hourglassWhileOpen(d.open);
            ASSERT_TRUE(during.has_value()) << "no dialog came up";
            EXPECT_FALSE(*during);
            EXPECT_EQ(hourglassShown(), busy);
            EXPECT_EQ(ui.isBusy(), busy);
        }
    }
    ui.setBusy(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
