#pragma once

#include <QString>

// The script help card: its rows and how the reader library's revision lays it out.
namespace script {

// The column the keywords of the help rows begin in (1-based).
inline constexpr int kHelpKeywordColumn = 46;

// A row of the card: the description, blanks up to the keyword column, the keyword.
QString helpRowText(const QString& description, const QString& keyword);

// What the library's revision changes: a revision-5 library has three functions more
// (NSS pulse, polling and reading, USB connect) and the card grows by their rows.
struct HelpLayout {
    bool revision5Rows = false;
    int noteTop = 0;  // twips
    int standardFrameHeight = 0;
    int customFrameTop = 0;
    int exampleFrameTop = 0;
    int windowHeight = 0;
    // The USB handle check row (14). Without the three rows it closes up under the
    // interface pin-state row: at its revision-5 place it would stand past the foot of the
    // shorter frame, half cut off.
    int handleCheckTop = 0;
};
HelpLayout helpLayoutFor(int dllRevisionNumber);

}  // namespace script
