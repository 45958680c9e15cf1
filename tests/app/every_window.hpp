#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QString>
#include <string>
#include <vector>

#include "app/windows.hpp"
#include "core/product_catalogue.hpp"
#include "core/tool_window.hpp"
#include "core/window_registry.hpp"
#include "simboard/simulated_board.hpp"
#include "test_context.hpp"

namespace apptest {

// A tool window as a menu opens it: a product window through its product entry.
struct WindowCase {
    core::WindowKind kind;
    const char* product;  // opened through the product menus when set
};

// Every tool window of the program, each product window in each of its layouts.
inline const std::vector<WindowCase>& everyWindow() {
    using K = core::WindowKind;
    static const std::vector<WindowCase> cases = {
        {K::Console, nullptr},      {K::BoardTools, nullptr},     {K::Iso15693, "VEL-C"},
        {K::Iso15693, "DUONX-AE"},  {K::Iso14443A, "ISO14443-A"}, {K::Iso14443A, "TOPAZ"},
        {K::Iso14443B, "SOLA-A"},   {K::Iso14443B, "ISO14443-B"}, {K::Iso18092, "ISO18092"},
        {K::TagDetection, nullptr}, {K::AutoDetect, nullptr},     {K::Script, nullptr},
        {K::ScriptHelp, nullptr},   {K::Notes, nullptr},          {K::About, nullptr},
    };
    return cases;
}

// The program on the simulated board, after a board detection, with every window.
struct Program {
    Program() {
        core::ProgramValues& v = tc.values();
        v.DllRevisionNumber = 51;
        v.McuRevisionText = QStringLiteral("1.4.1");
        v.ReaderIdnText = QStringLiteral("0011TQ73RN-SIM-2A");
        v.DemodGainValue = QStringLiteral("D1");
        app::registerAllWindows(tc.ctx->windows());
    }

    // The program has a window of that kind (the notes window is not built yet).
    bool builds(core::WindowKind kind) { return tc.ctx->windows().hasFactory(kind); }
    // The window opened as its menu entry opens it.
    core::ToolWindow* open(const WindowCase& c) {
        if (c.product) {
            core::SelectProduct(*tc.ctx, QString::fromLatin1(c.product));
        } else {
            tc.ctx->windows().show(c.kind);
        }
        QCoreApplication::processEvents();
        return tc.ctx->windows().find(c.kind);
    }
    void close(core::WindowKind kind) {
        tc.ctx->windows().close(kind);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Opens every window the program builds in turn, hands it to `check` and closes it;
    // the number of windows checked.
    template <class Check>
    int forEveryWindow(Check check) {
        int checked = 0;
        for (const WindowCase& c : everyWindow()) {
            if (!builds(c.kind)) continue;
            SCOPED_TRACE(c.product ? c.product : std::to_string(static_cast<int>(c.kind)));
            core::ToolWindow* w = open(c);
            EXPECT_NE(w, nullptr);
            if (w) check(w);
            ++checked;
            close(c.kind);
        }
        return checked;
    }

    simboard::SimulatedBoard board;
    testsupport::TestContext tc{&board};
};

}  // namespace apptest
