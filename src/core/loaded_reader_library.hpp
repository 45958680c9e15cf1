#pragma once

#include <QLibrary>
#include <QString>
#include <array>

#include "reader/dispatching_reader.hpp"

namespace core {

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

    // "TQ73RN.dll" on Windows, "libTQ73RN.so" elsewhere.
    static QString libraryFileName();
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
