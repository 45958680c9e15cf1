#include "iso14443b/any_frame_row.hpp"

#include <QLineEdit>
#include <QPushButton>

#include "widgets/hex_entry_box.hpp"
#include "widgets/window_builder.hpp"

namespace iso14443b {

AnyFrameRow::AnyFrameRow(core::AppContext& ctx, const widgets::WindowBuilder& b, QWidget* parent,
                         const Names& names, int left, int top)
    : QObject(parent) {
    send_ = b.place(new QPushButton(kSendAnyFrameCaption, parent), QLatin1String(names.sendButton),
                    left, top, 1575, 375);
    frame_ = b.place(new widgets::HexEntryBox(ctx, widgets::HexEntryBox::Kind::RawFrame, parent),
                     QLatin1String(names.frameBox), left + 1695, top + 30, 2880, 315);
    frame_->setSendButton(send_);
    b.label(parent, QLatin1String(names.requestLabel), QStringLiteral("request ="), left + 4695,
            top + 60, 840);
    request_ = b.display(parent, QLatin1String(names.requestBox), left + 5535, top + 30, 2880, 315);
    b.label(parent, QLatin1String(names.answerLabel), QStringLiteral("answer ="), left + 8535,
            top + 60, 840);
    answer_ = b.display(parent, QLatin1String(names.answerBox), left + 9375, top + 30, 3360, 315);
    connect(send_, &QPushButton::clicked, this, &AnyFrameRow::sendClicked);
}

QString AnyFrameRow::frame() {
    frame_->commit();
    return frame_->text();
}

void AnyFrameRow::clearExchange() {
    request_->clear();
    answer_->clear();
}

}  // namespace iso14443b
