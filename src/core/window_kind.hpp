#pragma once

namespace core {

// One window of each kind at most.
enum class WindowKind {
    StartupDetection,
    Console,
    BoardTools,
    Iso15693,
    Iso14443A,
    Iso14443B,
    Iso18092,
    TagDetection,
    AutoDetect,
    Script,
    ScriptHelp,
    Notes,
    About,
};

}  // namespace core
