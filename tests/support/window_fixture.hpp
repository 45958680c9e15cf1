#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QString>

#include "core/window_kind.hpp"
#include "test_context.hpp"

namespace testsupport {

// A test of one tool window through the registry: the window is made by its factory,
// loaded and shown like the menu does, and closed and deleted after each test.
template <class Window, core::WindowKind Kind>
class WindowFixture : public ::testing::Test {
  protected:
    explicit WindowFixture(reader::ReaderLibrary* reader = nullptr) : tc(reader) {
        tc.scripted.setHealthyDefaults();
        tc.ctx->windows().registerFactory(Kind, [](core::AppContext& c) { return new Window(c); });
    }
    ~WindowFixture() override {
        tc.ctx->windows().close(Kind);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Shows the window (its load runs) and forgets the calls the load made.
    Window* open() {
        w = static_cast<Window*>(tc.ctx->windows().show(Kind));
        tc.scripted.clearCalls();
        return w;
    }

    // A control by its object name; a missing one fails the test.
    template <class T>
    T* get(const QString& name) {
        auto* c = w->template findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name.toStdString();
        return c;
    }
    void click(const QString& name) { get<QAbstractButton>(name)->click(); }
    // Chooses a list entry by its text as the user does, handlers included.
    void choose(const QString& combo, const QString& item) {
        auto* c = get<QComboBox>(combo);
        const int i = c->findText(item);
        ASSERT_GE(i, 0) << item.toStdString();
        c->setCurrentIndex(i);
        emit c->activated(i);
    }

    TestContext tc;
    Window* w = nullptr;
};

}  // namespace testsupport
