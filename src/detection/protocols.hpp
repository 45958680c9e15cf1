#pragma once

#include <QString>
#include <array>

namespace detection {

// The protocols of the detection windows, in the order a pass probes them (the order of
// the protocol boxes).
enum Protocol : int { Iso15693 = 0, Iso14443A, Iso14443B, Sola, Felica };
inline constexpr int kProtocolCount = 5;

// The protocol box captions.
QString protocolCaption(int protocol);

// Whether a probe's count is a tag found: 1 for the one-tag probes (so the ISO15693
// count 99, a CRC that did not verify, is none), any count for the memory tags.
bool isHit(int protocol, int count);
// What a hit adds to the result caption: "1 ISO15693 ", "1 ISO14443-A ", "1 ISO14443-B ",
// the count and " ISO14443-B " for the memory tags, "1 FELICA". Empty for no hit.
QString hitText(int protocol, int count);

// ---- The auto-detection run's loop ----------------------------------------------------

// The index of the chosen loop option.
enum class AutoDetectLoopMode : int {
    NoLoop = 0,
    Endless = 1,
    UntilFound = 2,
    LockOnFound = 3,  // until a tag is found, then on that tag's protocol only
};

QString loopModeCaption(AutoDetectLoopMode mode);

// The state of one auto-detection run: which protocols a pass still probes, the last
// count of each, and the lock of the last loop mode (at most once per run).
class AutoDetectLoop {
  public:
    explicit AutoDetectLoop(const std::array<bool, kProtocolCount>& ticked) : ticked_(ticked) {}

    void startPass() { found_ = false; }
    bool probes(int protocol) const { return ticked_[at(protocol)] && active_[at(protocol)]; }
    // Records a probe's count; true when the pass ends here (the lock mode stops a pass
    // at the first protocol that counts anything, a CRC failure included).
    bool record(int protocol, int count, AutoDetectLoopMode mode);
    bool found() const { return found_; }
    int lastCount(int protocol) const { return lastCount_[at(protocol)]; }
    // Applies the loop mode after a pass. True when the run must end after it.
    bool endOfPass(AutoDetectLoopMode mode);

  private:
    static std::size_t at(int protocol) { return static_cast<std::size_t>(protocol); }

    std::array<bool, kProtocolCount> ticked_;
    std::array<bool, kProtocolCount> active_{true, true, true, true, true};
    std::array<int, kProtocolCount> lastCount_{};
    bool found_ = false;
    bool lockPending_ = true;
};

}  // namespace detection
