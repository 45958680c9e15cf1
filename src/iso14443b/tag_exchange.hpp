#pragma once

#include <QString>
#include <string>

#include "widgets/tag_exchange.hpp"

namespace iso14443b {

// A tag exchange of these windows, judged as they judge every answer.
struct TagAnswer : widgets::TagAnswer {
    bool good() const;
};
using widgets::TagExchangeTarget;

// The shared tag exchange (widgets/tag_exchange.hpp), with this folder's verdict.
TagAnswer ExchangeTagFrame(const TagExchangeTarget& target, const std::string& request,
                           const QString& title);

// "Send any frame": the frame as typed, odd digit counts and lower case included; an
// empty frame sends and logs nothing, and one that is not hex is refused by the box's name.
void SendAnyFrame(const TagExchangeTarget& target, const QString& frame);

}  // namespace iso14443b
