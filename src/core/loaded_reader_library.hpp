#pragma once

#include <QLibrary>
#include <QString>
#include <array>
#include <string>
#include <vector>

#include "reader/dispatching_reader.hpp"

namespace core {

// The systems the program is built for, as far as the library file differs between them.
enum class LibraryPlatform { Unix, Windows64, Windows32 };

// The system this program is built for.
inline constexpr LibraryPlatform kBuildPlatform =
#if defined(_WIN64)
    LibraryPlatform::Windows64;
#elif defined(_WIN32)
    LibraryPlatform::Windows32;
#else
    LibraryPlatform::Unix;
#endif

// The arguments of a library function: none, a request and an answer buffer, or an answer
// buffer alone; each argument is a pointer to single-byte text.
enum class CallShape { NoArguments, RequestAndAnswer, AnswerOnly };
CallShape callShape(reader::ReaderFunction f);

// The names `f` may be exported under on `platform`, in the order they are looked up. A
// 32-bit Windows library built with the standard calling convention may carry the
// decorated name "_name@n" in place of the plain one, n the bytes of its arguments (four
// per pointer there).
std::vector<std::string> libraryExportNames(reader::ReaderFunction f, LibraryPlatform platform);

// "TQ73RN.dll" on Windows, "libTQ73RN.so" elsewhere.
QString libraryFileName(LibraryPlatform platform);

// The board's own reader library, bound from its file at run time. Each function is
// looked up on its own: an older library that lacks some of them still serves the
// others, and a call to a missing one answers kStatusMissingFunction and leaves the
// caller's buffer as it was.
class LoadedReaderLibrary : public reader::DispatchingReader {
  public:
    // `absolutePath`: the library file; never a bare name, so no other copy on the
    // system's search path is picked up instead.
    explicit LoadedReaderLibrary(const QString& absolutePath);

    LoadedReaderLibrary(const LoadedReaderLibrary&) = delete;
    LoadedReaderLibrary& operator=(const LoadedReaderLibrary&) = delete;

    bool isLoaded() const { return loaded_; }
    QString errorString() const { return library_.errorString(); }
    // Why the file did not load, as the system's loader says it, without the file's
    // name (the caller names it); empty when it loaded.
    QString failureReason() const;
    bool provides(reader::ReaderFunction f) const;

    // The library file's name on the system the program is built for.
    static QString libraryFileName() { return core::libraryFileName(kBuildPlatform); }
    // The absolute path of the library file in `programFolder`; empty when there is none.
    static QString libraryFileBeside(const QString& programFolder);

  protected:
    reader::LibraryStatus dispatch(reader::ReaderFunction f, std::string_view request,
                                   reader::AnswerBuffer* answer) override;

  private:
    static constexpr std::size_t kFunctionCount =
        static_cast<std::size_t>(reader::ReaderFunction::GetInterfacePinState) + 1;

    QFunctionPointer resolved(reader::ReaderFunction f) const {
        return functions_[static_cast<std::size_t>(f)];
    }
    reader::LibraryStatus callNoArgs(reader::ReaderFunction f);
    reader::LibraryStatus callRequest(reader::ReaderFunction f, std::string_view request,
                                      reader::AnswerBuffer& answer);
    reader::LibraryStatus callAnswer(reader::ReaderFunction f, reader::AnswerBuffer& answer);

    QLibrary library_;
    bool loaded_ = false;
    std::array<QFunctionPointer, kFunctionCount> functions_{};
};

}  // namespace core
