#include "script/help_layout.hpp"

namespace script {

QString helpRowText(const QString& description, const QString& keyword) {
    return description.leftJustified(kHelpKeywordColumn - 1) + keyword;
}

HelpLayout helpLayoutFor(int dllRevisionNumber) {
    if (dllRevisionNumber < 5) return {false, 4080, 4815, 5160, 7200, 9285, 3840};
    return {true, 5020, 5535, 5760, 7800, 9885, 4680};
}

}  // namespace script
