#pragma once

#include <QTemporaryDir>
#include <memory>

#include "core/app_context.hpp"
#include "fake_time.hpp"
#include "qstring_printer.hpp"
#include "scripted_reader.hpp"
#include "scripted_ui.hpp"

namespace testsupport {

// A fresh program context per test: its own temporary program folder (with a copy of
// the products file), scripted dialogs, a fixed clock and virtual time. The reader is
// the test's choice (a ScriptedReader by default).
struct TestContext {
    explicit TestContext(reader::ReaderLibrary* reader = nullptr);

    QTemporaryDir folder;
    ScriptedReader scripted;
    ScriptedUi ui;
    FixedClock clock;
    FakeTiming timing;
    std::unique_ptr<core::AppContext> ctx;

    core::ProgramValues& values() { return ctx->values; }
    QString path(const QString& name) const { return folder.filePath(name); }
};

}  // namespace testsupport
