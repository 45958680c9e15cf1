#include "iso14443b/window_common.hpp"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "core/app_context.hpp"
#include "core/echo_handshake.hpp"
#include "core/run_guard.hpp"
#include "iso14443b/any_frame_row.hpp"
#include "transceiver/frames.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/log_pane.hpp"
#include "widgets/log_view.hpp"
#include "widgets/window_builder.hpp"

namespace iso14443b {

LogFrame buildLogFrame(const widgets::WindowBuilder& b, QWidget* parent, const char* boxName,
                       widgets::LogPane& log, int left, int top, int width, int height) {
    constexpr int kButtonWidth = 1800;
    auto* frame =
        b.place(new QGroupBox(parent), QStringLiteral("FraLog"), left, top, width, height);
    const int boxWidth = width - kButtonWidth - 360;
    LogFrame f;
    f.box = b.place(new widgets::LogView(frame), QLatin1String(boxName), 120, 180, boxWidth,
                    height - 300);
    const int buttonLeft = boxWidth + 240;
    f.save = b.place(new QPushButton(QStringLiteral("Save Log"), frame),
                     QStringLiteral("cmdSaveLog"), buttonLeft, height - 1050, kButtonWidth, 375);
    f.clear = b.place(new QPushButton(QStringLiteral("Clear Log"), frame),
                      QStringLiteral("cmdClearLog"), buttonLeft, height - 570, kButtonWidth, 375);
    QObject::connect(f.save, &QPushButton::clicked, frame, [&log] { log.save(); });
    QObject::connect(f.clear, &QPushButton::clicked, frame, [&log] { log.clear(); });
    return f;
}

void commitFocusedBox(const QWidget* window) {
    auto* box = qobject_cast<widgets::HexEntryBox*>(QApplication::focusWidget());
    if (box && window->isAncestorOf(box)) box->commit();
}

bool runLoadExchanges(core::RunScope& run, core::BoardSetup setup, core::LogSink& log,
                      AnyFrameRow& row) {
    const core::ShowText showAnswer = [&row](const QString& t) { row.answerBox()->setText(t); };
    if (core::EchoHandshake(run, core::EchoCaller::Load, setup, log, showAnswer)) return true;
    core::sendLoadSetup(
        run.ctx(), setup, log, [&row](const QString&) { row.requestBox()->clear(); }, showAnswer);
    row.clearExchange();
    return false;
}

}  // namespace iso14443b
