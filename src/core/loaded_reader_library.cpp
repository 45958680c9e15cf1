#include "core/loaded_reader_library.hpp"

#include <QFileInfo>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace core {

using reader::AnswerBuffer;
using reader::LibraryStatus;
using reader::ReaderFunction;

namespace {

#ifdef _WIN32
#define TQ_LIBRARY_CALL __stdcall
#else
#define TQ_LIBRARY_CALL
#endif

using NoArgsFn = std::int32_t(TQ_LIBRARY_CALL*)();
using RequestFn = std::int32_t(TQ_LIBRARY_CALL*)(char* request, char* answer);
using AnswerFn = std::int32_t(TQ_LIBRARY_CALL*)(char* answer);

// Room far beyond the 256 characters the library is meant to write, so a library that
// writes more harms nothing of ours; only the first 256 come back to the caller.
constexpr std::size_t kScratchSize = 4096;

// The scratch area starts as the caller's buffer (what a call that writes nothing must
// leave behind), then NULs.
std::vector<char> scratchFrom(const AnswerBuffer& answer) {
    std::vector<char> scratch(kScratchSize, '\0');
    std::memcpy(scratch.data(), answer.data(), AnswerBuffer::kSize);
    return scratch;
}

void copyBack(const std::vector<char>& scratch, AnswerBuffer& answer) {
    std::memcpy(answer.data(), scratch.data(), AnswerBuffer::kSize);
}

// The library may write into the request too, so it gets its own copy with room.
std::vector<char> requestCopy(std::string_view request) {
    std::vector<char> copy(std::max(kScratchSize, request.size() + 1), '\0');
    std::memcpy(copy.data(), request.data(), request.size());
    return copy;
}

QFunctionPointer resolve(QLibrary& library, ReaderFunction f) {
    for (const std::string& name : libraryExportNames(f, kBuildPlatform)) {
        if (QFunctionPointer fn = library.resolve(name.c_str())) return fn;
    }
    return nullptr;
}

int argumentCount(CallShape shape) {
    switch (shape) {
        case CallShape::NoArguments:
            return 0;
        case CallShape::RequestAndAnswer:
            return 2;
        case CallShape::AnswerOnly:
            return 1;
    }
    return 0;
}

}  // namespace

CallShape callShape(ReaderFunction f) {
    switch (f) {
        case ReaderFunction::UsbConnect:
        case ReaderFunction::UsbHandleCheck:
            return CallShape::NoArguments;
        case ReaderFunction::KvCmd:
        case ReaderFunction::Select:
        case ReaderFunction::SendReceive:
            return CallShape::RequestAndAnswer;
        case ReaderFunction::Echo:
        case ReaderFunction::Idn:
        case ReaderFunction::FieldOff:
        case ReaderFunction::GetDllRev:
        case ReaderFunction::ResetSpi:
        case ReaderFunction::SendIrqPulse:
        case ReaderFunction::SendNssPulse:
        case ReaderFunction::PollingReading:
        case ReaderFunction::GetMcuRev:
        case ReaderFunction::GetInterfacePinState:
            return CallShape::AnswerOnly;
    }
    return CallShape::AnswerOnly;
}

std::vector<std::string> libraryExportNames(ReaderFunction f, LibraryPlatform platform) {
    const std::string name = reader::exportedName(f);
    if (platform != LibraryPlatform::Windows32) return {name};
    return {name, "_" + name + "@" + std::to_string(argumentCount(callShape(f)) * 4)};
}

QString libraryFileName(LibraryPlatform platform) {
    return platform == LibraryPlatform::Unix ? QStringLiteral("libTQ73RN.so")
                                             : QStringLiteral("TQ73RN.dll");
}

LoadedReaderLibrary::LoadedReaderLibrary(const QString& absolutePath) : library_(absolutePath) {
    loaded_ = library_.load();
    if (!loaded_) return;
    for (std::size_t i = 0; i < kFunctionCount; ++i) {
        functions_[i] = resolve(library_, static_cast<ReaderFunction>(i));
    }
}

QString LoadedReaderLibrary::failureReason() const {
    if (loaded_) return {};
    QString reason = library_.errorString();
    // The loader's text names the file, once for the toolkit and once for the system.
    const QString named = library_.fileName() + QLatin1String(": ");
    if (const qsizetype at = reason.lastIndexOf(named); at >= 0) {
        reason = reason.mid(at + named.size());
    }
    if (reason.endsWith(QLatin1Char(')')) && !reason.contains(QLatin1Char('('))) reason.chop(1);
    reason = reason.trimmed();
    return reason.isEmpty() ? library_.errorString() : reason;
}

bool LoadedReaderLibrary::provides(ReaderFunction f) const { return resolved(f) != nullptr; }

QString LoadedReaderLibrary::libraryFileBeside(const QString& programFolder) {
    const QFileInfo file(programFolder + QLatin1Char('/') + libraryFileName());
    return file.isFile() ? file.absoluteFilePath() : QString();
}

LibraryStatus LoadedReaderLibrary::callNoArgs(ReaderFunction f) {
    const auto fn = reinterpret_cast<NoArgsFn>(resolved(f));
    return fn ? fn() : reader::kStatusMissingFunction;
}

LibraryStatus LoadedReaderLibrary::callRequest(ReaderFunction f, std::string_view request,
                                               AnswerBuffer& answer) {
    const auto fn = reinterpret_cast<RequestFn>(resolved(f));
    if (!fn) return reader::kStatusMissingFunction;
    std::vector<char> req = requestCopy(request);
    std::vector<char> scratch = scratchFrom(answer);
    const LibraryStatus status = fn(req.data(), scratch.data());
    copyBack(scratch, answer);
    return status;
}

LibraryStatus LoadedReaderLibrary::callAnswer(ReaderFunction f, AnswerBuffer& answer) {
    const auto fn = reinterpret_cast<AnswerFn>(resolved(f));
    if (!fn) return reader::kStatusMissingFunction;
    std::vector<char> scratch = scratchFrom(answer);
    const LibraryStatus status = fn(scratch.data());
    copyBack(scratch, answer);
    return status;
}

LibraryStatus LoadedReaderLibrary::dispatch(ReaderFunction f, std::string_view request,
                                            AnswerBuffer* answer) {
    switch (callShape(f)) {
        case CallShape::NoArguments:
            return callNoArgs(f);
        case CallShape::RequestAndAnswer:
            return callRequest(f, request, *answer);
        case CallShape::AnswerOnly:
            return callAnswer(f, *answer);
    }
    return reader::kStatusMissingFunction;
}

}  // namespace core
