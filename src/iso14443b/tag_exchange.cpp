#include "iso14443b/tag_exchange.hpp"

#include "iso14443b/answers.hpp"
#include "iso14443b/window_common.hpp"

namespace iso14443b {

bool TagAnswer::good() const { return isGoodAnswer(status, text); }

TagAnswer ExchangeTagFrame(const TagExchangeTarget& target, const std::string& request,
                           const QString& title) {
    return {widgets::exchangeTagFrame(target, request, title)};
}

void SendAnyFrame(const TagExchangeTarget& target, const QString& frame) {
    if (frame.isEmpty()) return;
    const std::string request = frame.toLatin1().toStdString();
    if (!sendableOrBeep(target.ctx, request)) return;
    ExchangeTagFrame(target, request, QStringLiteral("SEND FRAME"));
}

}  // namespace iso14443b
