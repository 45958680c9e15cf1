#include "test_context.hpp"

#include <QFile>

namespace testsupport {

TestContext::TestContext(reader::ReaderLibrary* reader) {
    QFile::copy(QStringLiteral(TQ_SUPPORT_DATA_DIR "/TQ73RN_products.ini"),
                folder.filePath(QStringLiteral("TQ73RN_products.ini")));
    ctx = std::make_unique<core::AppContext>(reader ? *reader : scripted, ui, clock, timing,
                                             folder.path());
}

}  // namespace testsupport
