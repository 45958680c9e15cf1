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
    const char* name = reader::exportedName(f);
    QFunctionPointer fn = library.resolve(name);
#if defined(_WIN32) && !defined(_WIN64)
    // 32-bit stdcall exports may carry their decorated name: _name@bytes-of-arguments.
    if (!fn) {
        int argBytes = 4;
        if (f == ReaderFunction::UsbConnect || f == ReaderFunction::UsbHandleCheck) argBytes = 0;
        if (f == ReaderFunction::KvCmd || f == ReaderFunction::Select ||
            f == ReaderFunction::SendReceive)
            argBytes = 8;
        const QByteArray decorated = "_" + QByteArray(name) + "@" + QByteArray::number(argBytes);
        fn = library.resolve(decorated.constData());
    }
#endif
    return fn;
}

}  // namespace

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

QString LoadedReaderLibrary::libraryFileName() {
#ifdef _WIN32
    return QStringLiteral("TQ73RN.dll");
#else
    return QStringLiteral("libTQ73RN.so");
#endif
}

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
    switch (f) {
        case ReaderFunction::UsbConnect:
        case ReaderFunction::UsbHandleCheck:
            return callNoArgs(f);
        case ReaderFunction::KvCmd:
        case ReaderFunction::Select:
        case ReaderFunction::SendReceive:
            return callRequest(f, request, *answer);
        default:
            return callAnswer(f, *answer);
    }
}

}  // namespace core
