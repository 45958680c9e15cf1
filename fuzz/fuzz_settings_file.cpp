// The settings-file reader on arbitrary file content.

#include <cstdint>
#include <cstdlib>

#include "core/settings_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView content(data, static_cast<qsizetype>(size));
    const auto record = core::parseUsageRecord(content);
    if (!record) return 0;
    // What the writer makes of a record reads back as the same record, whatever it holds.
    const auto again =
        core::parseUsageRecord(core::usageRecordText(record->folder, record->colour));
    if (!again || again->folder != record->folder || again->colour != record->colour) {
        std::abort();
    }
    return 0;
}
