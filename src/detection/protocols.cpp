#include "detection/protocols.hpp"

namespace detection {

namespace {

constexpr const char* kCaptions[kProtocolCount] = {"iso15693", "iso14443-A", "iso14443-B",
                                                   "iso14443-B (SOLAxx)", "iso18092"};
constexpr const char* kHitTexts[kProtocolCount] = {" ISO15693 ", " ISO14443-A ", " ISO14443-B ",
                                                   " ISO14443-B ", " FELICA"};
constexpr const char* kLoopCaptions[] = {
    "no loop", "infinite loop on all selected protocols",
    "loop on all selected protocols until a tag is found",
    "loop on all selected protocols until a tag is found, then loop on this tag only"};

bool valid(int protocol) { return protocol >= 0 && protocol < kProtocolCount; }

}  // namespace

QString protocolCaption(int protocol) {
    return valid(protocol) ? QString::fromLatin1(kCaptions[protocol]) : QString();
}

bool isHit(int protocol, int count) { return protocol == Sola ? count > 0 : count == 1; }

QString hitText(int protocol, int count) {
    if (!valid(protocol) || !isHit(protocol, count)) return {};
    return QString::number(count) + QLatin1String(kHitTexts[protocol]);
}

QString loopModeCaption(AutoDetectLoopMode mode) {
    return QString::fromLatin1(kLoopCaptions[static_cast<int>(mode)]);
}

bool AutoDetectLoop::record(int protocol, int count, AutoDetectLoopMode mode) {
    lastCount_[at(protocol)] = count;
    if (isHit(protocol, count)) found_ = true;
    return mode == AutoDetectLoopMode::LockOnFound && protocol != Felica && count > 0;
}

bool AutoDetectLoop::endOfPass(AutoDetectLoopMode mode) {
    switch (mode) {
        case AutoDetectLoopMode::NoLoop:
            return true;
        case AutoDetectLoopMode::UntilFound:
            return found_;
        case AutoDetectLoopMode::LockOnFound:
            break;
        case AutoDetectLoopMode::Endless:
            return false;
    }
    if (!found_ || !lockPending_) return false;
    lockPending_ = false;
    int total = 0;
    for (int c : lastCount_) total += c;
    active_.fill(false);
    if (total != 1) return true;  // several memory tags: this pass was the last
    for (std::size_t i = 0; i < lastCount_.size(); ++i) {
        if (lastCount_[i] == 1) {
            active_[i] = true;
            break;
        }
    }
    return false;
}

}  // namespace detection
