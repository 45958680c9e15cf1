#pragma once

#include "script/interpreter.hpp"

namespace script {

// The keyword "TQ73RN_ISO14443-A_ANTICOLSELECT123": wakes an ISO14443-A tag with REQA
// and selects it through up to three cascade levels, each exchange in the script log,
// framed by a start and an end line, with the UID of a selected tag. Nothing it meets is
// a script error: the run goes on with the next line (Abandoned only when the window
// closed or the program is quitting during one of its pumps).
RunEnd RunAnticolSelect123(core::AppContext& ctx, RunHost& host);

}  // namespace script
