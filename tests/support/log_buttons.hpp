#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFile>
#include <QString>
#include <QWidget>
#include <functional>

#include "core/single_byte_text.hpp"
#include "test_context.hpp"
#include "widgets/log_view.hpp"

namespace testsupport {

// The log pane of a window: its box and its two buttons.
struct LogPaneNames {
    QString box;
    QString save = QStringLiteral("cmdSaveLog");
    QString clear = QStringLiteral("cmdClearLog");
};

// Save Log writes the window's log (`logText`, not empty) to the chosen file; Clear Log
// empties the log and its box, after which Save Log has nothing to save and asks for no
// file (an unscripted dialog would fail the test).
inline void expectSaveAndClearLog(TestContext& tc, QWidget* window,
                                  const std::function<QString()>& logText,
                                  const LogPaneNames& names) {
    const auto button = [window](const QString& name) {
        auto* b = window->findChild<QAbstractButton*>(name);
        EXPECT_NE(b, nullptr) << name.toStdString();
        return b;
    };
    auto* box = window->findChild<widgets::LogView*>(names.box);
    ASSERT_NE(box, nullptr) << names.box.toStdString();
    const QString log = logText();
    ASSERT_FALSE(log.isEmpty());

    const QString path = tc.path(QStringLiteral("saved-log.txt"));
    tc.ui.expectSaveDialog(core::FileDialogResult{path, QStringLiteral("saved-log.txt")});
    button(names.save)->click();
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), core::singleByteOrMarkedUtf8(log));
    EXPECT_EQ(logText(), log) << "saving leaves the log as it was";

    button(names.clear)->click();
    EXPECT_EQ(logText(), QString());
    EXPECT_EQ(box->toPlainText(), QString());
    button(names.save)->click();
    EXPECT_TRUE(tc.ui.allRepliesUsed());
}

}  // namespace testsupport
