#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace testsupport {

// What can stand under a file name that a careless reader hangs on or reads without end.
enum class HostileFile {
    Fifo,         // opening it for reading waits for a writer that never comes
    DevZeroLink,  // a link to an endless device
    Huge,         // a sound file made larger than 5 MB
};
inline constexpr HostileFile kHostileFiles[] = {HostileFile::Fifo, HostileFile::DevZeroLink,
                                                HostileFile::Huge};
const char* hostileFileName(HostileFile kind);

// Puts `kind` under `path`, replacing what was there; false when it cannot be made. A
// huge file is `start` followed by as many `fill` lines as it takes.
bool makeHostileFile(const QString& path, HostileFile kind, const QByteArray& start = {},
                     const QByteArray& fill = {});

// Should a reader still wait on the FIFO at `path` after a few seconds, writes a byte into
// it and closes it, so the reader returns and the test fails instead of hanging the run.
class FifoRescue {
  public:
    explicit FifoRescue(const QString& path);
    ~FifoRescue();
    FifoRescue(const FifoRescue&) = delete;
    FifoRescue& operator=(const FifoRescue&) = delete;

    // True when a reader was found waiting and had to be set free.
    bool fired() const { return fired_; }

  private:
    std::string path_;
    std::mutex mutex_;
    std::condition_variable stop_;
    bool stopping_ = false;
    std::atomic<bool> fired_{false};
    std::thread thread_;
};

}  // namespace testsupport
