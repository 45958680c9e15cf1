#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

// Script files: single-byte text, one command a line. Lines end in LF or CR LF when
// read; they are written with CR LF.
namespace script {

// A script is typed by a person: its longest line is a few hundred characters, and the
// whole of it a few kilobytes. A file past these limits was chosen by mistake and is
// refused before the editor sees it: the editor takes seconds to lay out a file of many
// short lines (about 1.7 s for the million empty lines 1 MiB can hold), and minutes for
// one very long line.
inline constexpr qint64 kMaxScriptFileBytes = qint64{1024} * 1024;
inline constexpr qsizetype kMaxScriptLineCharacters = 4096;
inline constexpr qsizetype kMaxScriptLines = 100000;

// The editor's text of a file's bytes: a line ends at LF, a CR that ends a line is
// dropped, and the line end of the last line makes no empty line after it. Bytes 80 to
// FF are their Latin-1 characters.
QString editorTextOfFile(QByteArrayView bytes);

// The bytes of a file holding `lines`, joined by CR LF. Nothing when a line holds a
// character that a single-byte file cannot keep.
std::optional<QByteArray> fileOfLines(const QStringList& lines);

// The lines of an editor's text, split at every kind of line end the text can hold
// (LF, CR LF, a lone CR, the paragraph and line separators).
QStringList linesOfText(const QString& text);

// The file's content, or why it could not be read: past one of the limits above, "not a
// regular file" or the system's error text. An empty file reads as an empty array.
struct ScriptFileRead {
    std::optional<QByteArray> bytes;
    QString error;
};
ScriptFileRead readScriptFile(const QString& path);

}  // namespace script
