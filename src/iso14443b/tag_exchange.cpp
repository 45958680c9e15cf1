#include "iso14443b/tag_exchange.hpp"

#include "core/app_context.hpp"
#include "core/hex_checks.hpp"
#include "iso14443b/answers.hpp"
#include "iso14443b/any_frame_row.hpp"
#include "iso14443b/window_common.hpp"

namespace iso14443b {

bool TagAnswer::good() const { return isGoodAnswer(status, text); }

TagAnswer ExchangeTagFrame(const TagExchangeTarget& target, const std::string& request,
                           const QString& title) {
    return {widgets::exchangeTagFrame(target, request, title)};
}

void SendAnyFrame(const TagExchangeTarget& target, const QString& frame) {
    if (frame.isEmpty()) return;
    if (!core::IsHexBox(target.ctx.ui(), frame, kSendAnyFrameCaption)) return;
    ExchangeTagFrame(target, frame.toLatin1().toStdString(), QStringLiteral("SEND FRAME"));
}

}  // namespace iso14443b
