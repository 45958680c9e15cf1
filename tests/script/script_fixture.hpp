#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <optional>

#include "loop_bound.hpp"
#include "qstring_printer.hpp"
#include "script/script_window.hpp"
#include "watched_reader.hpp"
#include "window_fixture.hpp"

namespace scripttest {

// The date and time of every entry, with the tests' fixed clock.
inline const QString kStamp = QStringLiteral("\r\n03-14-2026 09:26:53\t");

// An untitled call entry as the script log writes it.
inline QString callEntry(const QString& call, const QString& answer) {
    return kStamp + QStringLiteral(">>> ") + call + QStringLiteral("\r\n\t\t\t<<< ") + answer;
}
inline QString errorEntry(const QString& cleaned, const QString& message) {
    return kStamp + QStringLiteral(">>> ") + cleaned + QStringLiteral("\r\n\t\t\t") + message;
}

// The frame the anticollision keyword writes around its exchanges, and one exchange.
inline const QString kAnticollisionStart =
    QStringLiteral("\r\n") + kStamp +
    QStringLiteral(
        ">>> TQ73RNDLL_ANTICOLSELECT123\r\n\r\n"
        "\t------ ISO14443-A STARTING ANTICOLISION ALGORITHM ------\r\n");
inline const QString kAnticollisionEnd =
    QStringLiteral("\r\n\r\n\t------ ISO14443-A END OF ANTICOLISION ALGORITHM ------\r\n\t\t\t ");
inline QString exchangeEntry(const QString& title, const QString& request, const QString& answer) {
    return kStamp + title + QStringLiteral("\r\n\t\t\t>>> TQ73RNDLL_SENDRECV, ") + request +
           QStringLiteral("\r\n\t\t\t<<< ") + answer;
}

// The script window opened through the registry, with the controls a user touches.
class ScriptFixture
    : public testsupport::WatchedReaderHolder,
      public testsupport::WindowFixture<script::ScriptWindow, core::WindowKind::Script> {
  protected:
    explicit ScriptFixture(reader::ReaderLibrary* reader = nullptr) : WindowFixture(&watched) {
        watched.inner = reader ? reader : &tc.scripted;
        watched.watch = [this](reader::ReaderFunction, std::string_view) { countStep(); };
        countVirtualSeconds();
    }
    void SetUp() override { open(); }

    // A script's passes have no call in common, and a pass of WAITs makes none: the bound
    // counts every call of a run and every second of virtual time it waits. No test here
    // comes near the limit in one run; a run that loops on past it fails its test there
    // instead of running until ctest's timeout.
    static constexpr int kStepLimit = 400;
    void boundRun() { bound.emplace(w, kStepLimit, "calls and virtual seconds"); }
    script::ScriptWindow* open() {
        WindowFixture::open();
        boundRun();
        return w;
    }
    void countStep() {
        if (bound) bound->pass();
    }
    void countVirtualSeconds() {
        tc.timing.after(1000, nullptr, [this] {
            countStep();
            countVirtualSeconds();
        });
    }
    std::optional<testsupport::LoopBound> bound;

    QPlainTextEdit* editor() {
        return get<QPlainTextEdit>(QStringLiteral("rtfScriptLoadFileEdit"));
    }
    void type(const QString& script) { editor()->setPlainText(script); }
    void launch() {
        boundRun();
        click(QStringLiteral("cmdLaunchScript"));
    }
    void run(const QString& script) {
        type(script);
        launch();
    }
    // Ticks LOOP ON SCRIPT with a count, as the user does.
    void loop(const QString& count) {
        get<QLineEdit>(QStringLiteral("txtLOOPnumber"))->setText(count);
        if (!loopBox()->isChecked()) loopBox()->click();
    }
    QCheckBox* loopBox() { return get<QCheckBox>(QStringLiteral("chkLoopOnScript")); }
    QString countText() { return get<QLineEdit>(QStringLiteral("txtLOOPnumber"))->text(); }
    QLabel* counter() { return get<QLabel>(QStringLiteral("lblLoopCount")); }
    bool shown(const char* name) { return get<QWidget>(QLatin1String(name))->isVisibleTo(w); }
    bool enabled(const char* name) { return get<QWidget>(QLatin1String(name))->isEnabled(); }
    QString log() { return w->scriptLogText(); }
};

}  // namespace scripttest
