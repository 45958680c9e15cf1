#include "core/single_byte_text.hpp"

#include <algorithm>

namespace core {

bool fitsSingleByte(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xFF; });
}

QByteArray singleByteOrMarkedUtf8(const QString& text) {
    if (fitsSingleByte(text)) return text.toLatin1();
    return QByteArray(kUtf8Mark, kUtf8MarkSize) + text.toUtf8();
}

}  // namespace core
