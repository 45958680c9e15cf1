#pragma once

#include <QString>
#include <string>

#include "core/protocol_setup.hpp"

class QPushButton;
class QWidget;

namespace core {
class AppContext;
class LogSink;
class RunScope;
}  // namespace core
namespace widgets {
class LogView;
class LogPane;
class WindowBuilder;
}  // namespace widgets

namespace iso14443b {

class AnyFrameRow;

// Both windows of this folder take this place inside the main window, in twips.
inline constexpr int kWindowLeft = 100;
inline constexpr int kWindowTop = 100;
inline constexpr int kWindowWidth = 13560;
inline constexpr int kWindowHeight = 9870;

// The frame of a window's log: the log box, with Save Log and Clear Log on its right,
// wired to the window's log pane.
struct LogFrame {
    widgets::LogView* box;
    QPushButton* save;
    QPushButton* clear;
};
LogFrame buildLogFrame(const widgets::WindowBuilder& b, QWidget* parent, const char* boxName,
                       widgets::LogPane& log, int left, int top, int width, int height);

// The focused entry box of `window` applies its leave rule: a click that takes no focus
// (the keyboard, a test) acts on the rewritten value as a mouse click would.
void commitFocusedBox(const QWidget* window);

// The load's exchanges of a tag window: the echo handshake, then the protocol's set-up,
// each shown in the row's boxes and logged; the boxes are empty afterwards. True when
// the window was closed during the handshake's pause.
[[nodiscard]] bool runLoadExchanges(core::RunScope& run, core::BoardSetup setup, core::LogSink& log,
                                    AnyFrameRow& row);

// Marks a run of one kind as under way for the life of its handler, so that a click on
// its button during one of its pauses does not start a second run inside it.
class RunFlag {
  public:
    explicit RunFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunFlag() { flag_ = false; }
    RunFlag(const RunFlag&) = delete;
    RunFlag& operator=(const RunFlag&) = delete;

  private:
    bool& flag_;
};

}  // namespace iso14443b
