#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>
#include <vector>

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

// What a message box asks is what the user answers: each set of buttons shows exactly its
// buttons, and each button pressed comes back as its own answer. A button mapped to the
// wrong answer would turn a "No, keep it" into a "Cancel" (or worse, a "Yes") with every
// scripted-dialog test still green.
TEST(QtUi, AMessageBoxShowsItsButtonsAndAnswersWithTheOnePressed) {
    using B = QMessageBox::StandardButton;
    using core::MsgResult;
    struct Press {
        B button;
        MsgResult answer;
    };
    const struct {
        core::MsgButtons buttons;
        QMessageBox::StandardButtons shown;
        std::vector<Press> presses;
    } sets[] = {
        {core::MsgButtons::Ok, B::Ok, {{B::Ok, MsgResult::Ok}}},
        {core::MsgButtons::OkCancel,
         B::Ok | B::Cancel,
         {{B::Ok, MsgResult::Ok}, {B::Cancel, MsgResult::Cancel}}},
        {core::MsgButtons::YesNo,
         B::Yes | B::No,
         {{B::Yes, MsgResult::Yes}, {B::No, MsgResult::No}}},
        {core::MsgButtons::YesNoCancel,
         B::Yes | B::No | B::Cancel,
         {{B::Yes, MsgResult::Yes}, {B::No, MsgResult::No}, {B::Cancel, MsgResult::Cancel}}},
    };
    const struct {
        core::MsgIcon icon;
        QMessageBox::Icon shown;
    } icons[] = {
        {core::MsgIcon::None, QMessageBox::NoIcon},
        {core::MsgIcon::Critical, QMessageBox::Critical},
        {core::MsgIcon::Question, QMessageBox::Question},
        {core::MsgIcon::Exclamation, QMessageBox::Warning},
        {core::MsgIcon::Information, QMessageBox::Information},
    };
    core::QtUi ui;
    int pressed = 0;
    std::size_t iconAt = 0;
    for (const auto& set : sets) {
        for (const Press& press : set.presses) {
            const auto& icon = icons[iconAt++ % std::size(icons)];
            SCOPED_TRACE("buttons " + std::to_string(static_cast<int>(set.buttons)) + ", press " +
                         std::to_string(static_cast<int>(press.button)));
            struct Seen {
                QString text, title;
                QMessageBox::StandardButtons buttons;
                QMessageBox::Icon icon = QMessageBox::NoIcon;
            };
            std::optional<Seen> seen;
            QTimer poll;
            poll.setInterval(5);
            QObject::connect(&poll, &QTimer::timeout, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!box || seen) return;
                seen = Seen{box->text(), box->windowTitle(), box->standardButtons(), box->icon()};
                if (QAbstractButton* b = box->button(press.button)) {
                    b->click();
                    ++pressed;
                } else {
                    box->reject();
                }
            });
            poll.start();
            const MsgResult answer =
                ui.messageBox(QStringLiteral("Overwrite it ?"), QStringLiteral("Save Log"),
                              icon.icon, set.buttons);
            ASSERT_TRUE(seen.has_value()) << "no message box came up";
            EXPECT_EQ(seen->text, QStringLiteral("Overwrite it ?"));
            EXPECT_EQ(seen->title, QStringLiteral("Save Log"));
            EXPECT_EQ(seen->buttons, set.shown);
            EXPECT_EQ(seen->icon, icon.shown);
            EXPECT_EQ(answer, press.answer);
        }
    }
    EXPECT_EQ(pressed, 8);
    EXPECT_EQ(iconAt, std::size(icons) + 3);
}

// A dialog the user cancels answers nothing, so that nothing is saved, opened or coloured;
// one the user accepts answers what was chosen, a saved name with its suffix added. A
// cancel taken for an answer would write a log nobody asked for, with every
// scripted-dialog test still green.
TEST(QtUi, FileAndColourDialogsAnswerWhatTheUserChoseAndNothingOnCancel) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString existing = folder.filePath(QStringLiteral("tags.txt"));
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    core::QtUi ui;
    const core::FileDialogRequest request{QStringLiteral("Save Log"),
                                          QStringLiteral("Text files (*.txt)"), folder.path(),
                                          QString(), QStringLiteral("txt")};
    // What a user does in the dialog before pressing its button; nothing for a cancel.
    using Choose = std::function<void(QDialog*)>;
    const auto answered = [](const std::function<void()>& open, const Choose& choose) {
        bool cameUp = false;
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            // Answered on every tick while one stands: an answer given while the dialog was
            // still coming up, before its own event loop ran, would leave it waiting forever.
            // The dialog is looked for among the shown windows: the modal stack can still
            // name the one the step before closed.
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QDialog*>(w);
                if (!dialog || !dialog->isVisible()) continue;
                cameUp = true;
                if (!choose) {
                    dialog->reject();
                } else {
                    choose(dialog);
                    dialog->accept();
                }
            }
        });
        poll.start();
        open();
        return cameUp;
    };
    const auto pickFile = [](const QString& path) {
        // Typed into the name box, as a user does: selectFile leaves that box alone once it
        // has the focus, and the dialog then has no name to accept and stays.
        return [path](QDialog* d) {
            auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(path);
        };
    };

    for (bool accept : {false, true}) {
        SCOPED_TRACE(accept ? "accepted" : "cancelled");
        std::optional<core::FileDialogResult> saved, opened;
        std::optional<QColor> colour;
        ASSERT_TRUE(
            answered([&] { saved = ui.saveFileDialog(request); },
                     accept ? pickFile(folder.filePath(QStringLiteral("run 1"))) : Choose()));
        ASSERT_TRUE(answered([&] { opened = ui.openFileDialog(request); },
                             accept ? pickFile(existing) : Choose()));
        ASSERT_TRUE(answered([&] { colour = ui.colorDialog(QColor(Qt::red)); },
                             accept ? Choose([](QDialog* d) {
                                 static_cast<QColorDialog*>(d)->setCurrentColor(Qt::blue);
                             })
                                    : Choose()));
        if (!accept) {
            EXPECT_FALSE(saved.has_value());
            EXPECT_FALSE(opened.has_value());
            EXPECT_FALSE(colour.has_value());
            continue;
        }
        ASSERT_TRUE(saved.has_value());
        EXPECT_EQ(saved->fullPath, folder.filePath(QStringLiteral("run 1.txt")));
        EXPECT_EQ(saved->fileTitle, QStringLiteral("run 1.txt"));
        ASSERT_TRUE(opened.has_value());
        EXPECT_EQ(opened->fullPath, existing);
        EXPECT_EQ(opened->fileTitle, QStringLiteral("tags.txt"));
        ASSERT_TRUE(colour.has_value());
        EXPECT_EQ(*colour, QColor(Qt::blue));
    }
}

}  // namespace
