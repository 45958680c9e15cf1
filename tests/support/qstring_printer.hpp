#pragma once

#include <QString>
#include <ostream>

// Failed expectations on texts show the text itself rather than its bytes.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
