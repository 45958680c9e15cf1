#include "core/app_context.hpp"

#include "core/loaded_reader_library.hpp"

namespace core {

ChosenReader chooseReader(
    const QString& programFolder,
    const std::function<std::unique_ptr<reader::ReaderLibrary>()>& simulated) {
    ChosenReader out;
    if (const QString file = LoadedReaderLibrary::libraryFileBeside(programFolder);
        !file.isEmpty()) {
        auto loaded = std::make_unique<LoadedReaderLibrary>(file);
        if (loaded->isLoaded()) {
            out.reader = std::move(loaded);
            return out;
        }
        out.choice.failedLibrary = file;
        out.choice.failureReason = loaded->failureReason();
    }
    out.reader = simulated();
    out.choice.simulated = true;
    return out;
}

}  // namespace core
