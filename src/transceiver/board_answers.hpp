#pragma once

#include <QString>

// The board's own answers: the revisions and the identification, decoded from the bytes
// present only.
namespace transceiver {

// The library revision as a number: its first three characters without their dots
// ("3.4.1" gives 34). Text that is not a number there reads as far as its digits go,
// so a revision the program cannot read ends up below the minimum and is refused.
int decodeDllRevisionNumber(const QString& answer);

// The firmware revision of an answer "00", length L, bytes: the bytes in decimal joined
// by dots ("0003010401" gives "1.4.1"). Only bytes present in the answer are taken,
// whatever the length byte claims.
QString decodeMcuRevisionText(const QString& answer);

// The identification characters of an answer "00", length, bytes: every byte after the
// length byte but the last two, each as the character with that code.
QString decodeIdnCharacters(const QString& answer);

}  // namespace transceiver
