// The background colour as the settings file holds it: any text of a settings file, read
// as the main window reads it. A colour it gives is one the colour command writes back
// unchanged.
#include <cstddef>
#include <cstdint>

#include "core/settings_file.hpp"
#include "fuzz_support.hpp"
#include "shell/main_window.hpp"

namespace {

using fuzzsupport::check;

void checkColour(const QString& setting) {
    const auto colour = shell::colourFromSetting(setting);
    if (!colour) return;
    check(colour->isValid() && colour->alpha() == 255);
    const std::uint32_t number = shell::colourNumber(*colour);
    check(number <= 0xFFFFFF);
    // What the colour command writes, and the same number in the "&h" form, read back
    // as the same colour, also through the settings file.
    const QString decimal = QString::number(number);
    check(shell::colourFromSetting(decimal) == *colour);
    check(shell::colourFromSetting(QStringLiteral("&h") + QString::number(number, 16)) == *colour);
    const auto record =
        core::parseUsageRecord(core::usageRecordText(QStringLiteral("/f/"), decimal));
    check(record && shell::colourFromSetting(record->colour) == *colour);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView content(data, static_cast<qsizetype>(size));
    // The colour item of a whole file, and the bytes as the colour text itself.
    if (const auto record = core::parseUsageRecord(content)) checkColour(record->colour);
    checkColour(QString::fromLatin1(content));
    return 0;
}
