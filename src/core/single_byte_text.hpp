#pragma once

#include <QByteArray>
#include <QString>

namespace core {

// The text files the program writes (logs, the settings file) are single-byte text, as
// their readers expect. A text holding a character that no single byte can carry is
// written as UTF-8 behind this byte-order mark instead, so that no character reaches the
// file as "?".
inline constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
inline constexpr qsizetype kUtf8MarkSize = 3;

// Every character of `text` has a single-byte code.
bool fitsSingleByte(const QString& text);

// `text` as such a file holds it: single-byte when every character fits, else the mark
// followed by UTF-8.
QByteArray singleByteOrMarkedUtf8(const QString& text);

}  // namespace core
