#pragma once

#include <QString>
#include <cstdint>

#include "core/memoire.hpp"
#include "core/product.hpp"

namespace core {

// The values every window shares and reads or writes directly. Names are the ones the
// windows' behaviour is described with, so a reader can follow a value by name.
struct ProgramValues {
    bool DetectionPending = false;
    std::int32_t DllRevisionNumber = 0;
    QString McuRevisionText;
    QString ReaderIdnText;
    QString DemodGainValue;  // "D1" once the main window has loaded
    QString LastUsedFolder;
    QString BackColorSetting;

    Product SelectedProduct;
    std::int32_t MemorySizeBytes = 0;
    std::uint8_t BlockSizeBytes = 0;
    std::int32_t AddressMask = 0;
    std::uint8_t AddressByteCount = 0;

    Memoire ReadViewLines;
    std::int32_t ReadViewTopLine = 0;
    std::int16_t PageWriteMode = 0;
    bool PageWritePending = false;
    bool AutoLoopEnabled = false;

    bool StopRequested = false;
    bool ScriptLoopEnabled = false;
    bool ReqBLoopEnabled = false;
    bool AnticollisionLoopEnabled = false;
    bool ReqCLoopEnabled = false;

    QString SolaChipId;
    // UID of the addressed ISO15693 tag, 16 hex digits in frame order, or empty.
    QString TransponderUID;
};

}  // namespace core
