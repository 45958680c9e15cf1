// A script's comment in a language that no single byte can write reaches the saved log
// as it was typed.

#include <gtest/gtest.h>

#include <QFile>
#include <QPlainTextEdit>

#include "script/script_window.hpp"
#include "window_fixture.hpp"

namespace {

using ScriptLogSave = testsupport::WindowFixture<script::ScriptWindow, core::WindowKind::Script>;

TEST_F(ScriptLogSave, ACommentInAnyScriptIsSavedWhole) {
    open();
    const QString words = QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E");
    get<QPlainTextEdit>(QStringLiteral("rtfScriptLoadFileEdit"))->setPlainText("REM," + words);
    click(QStringLiteral("cmdLaunchScript"));
    ASSERT_TRUE(w->scriptLogText().contains(words));

    const QString path = tc.path("script log.txt");
    tc.ui.expectSaveDialog(core::FileDialogResult{path, QStringLiteral("script log.txt")});
    click(QStringLiteral("cmdSaveScriptLog"));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(QString::fromUtf8(bytes.sliced(3)), w->scriptLogText());
}

}  // namespace
