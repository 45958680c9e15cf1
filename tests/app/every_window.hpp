#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <string>
#include <type_traits>
#include <vector>

#include "app/windows.hpp"
#include "core/product_catalogue.hpp"
#include "core/tool_window.hpp"
#include "core/window_registry.hpp"
#include "simboard/simulated_board.hpp"
#include "test_context.hpp"
#include "watched_reader.hpp"

namespace apptest {

// A tool window as a menu opens it: a product window through its product entry.
struct WindowCase {
    core::WindowKind kind;
    QString product;  // opened through the product menus when not empty
};

// The references of the products file's records that a product menu entry opens, in the
// file's order.
inline std::vector<QString> menuProducts(const QString& productsFile) {
    QFile file(productsFile);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << productsFile.toStdString();
    const QList<QByteArray> lines = file.readAll().split('\n');
    std::vector<QString> products;
    // The first line is the heading; each record starts with its quoted reference.
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString reference = QString::fromLatin1(lines[i]).section(QLatin1Char('"'), 1, 1);
        if (core::productFamily(reference)) products.push_back(reference);
    }
    return products;
}

// Every tool window of the program: each window a menu shows, and each product window as
// each product of the products file opens it.
inline std::vector<WindowCase> everyWindow(const QString& productsFile) {
    using K = core::WindowKind;
    std::vector<WindowCase> cases = {
        {K::Console, {}}, {K::BoardTools, {}}, {K::TagDetection, {}}, {K::AutoDetect, {}},
        {K::Script, {}},  {K::ScriptHelp, {}}, {K::Notes, {}},        {K::About, {}},
    };
    for (const QString& product : menuProducts(productsFile))
        cases.push_back({core::productFamily(product)->window, product});
    return cases;
}

// The program on the simulated board, after a board detection, with every window. Every
// call to the board passes through `watched`, where a test can look at it.
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
    // The products file the program reads.
    QString productsFile() const {
        return QDir(tc.ctx->programFolder()).filePath(QLatin1String(core::kProductsFileName));
    }
    // The window opened as its menu entry opens it.
    core::ToolWindow* open(const WindowCase& c) {
        if (!c.product.isEmpty()) {
            core::SelectProduct(*tc.ctx, c.product);
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
    // Opens every window the program builds in turn, hands it to `check` (with its case,
    // when `check` takes it) and closes it; the number of windows checked.
    template <class Check>
    int forEveryWindow(Check check) {
        int checked = 0;
        for (const WindowCase& c : everyWindow(productsFile())) {
            if (!builds(c.kind)) continue;
            SCOPED_TRACE(c.product.isEmpty() ? std::to_string(static_cast<int>(c.kind))
                                             : c.product.toStdString());
            core::ToolWindow* w = open(c);
            EXPECT_NE(w, nullptr);
            if (w) {
                if constexpr (std::is_invocable_v<Check, const WindowCase&, core::ToolWindow*>) {
                    check(c, w);
                } else {
                    check(w);
                }
            }
            ++checked;
            close(c.kind);
        }
        return checked;
    }

    simboard::SimulatedBoard board;
    testsupport::WatchedReader watched{&board};
    testsupport::TestContext tc{&watched};
};

}  // namespace apptest
