#include "simboard/iso15693_anticollision.hpp"

#include <vector>

#include "simboard/combiner.hpp"
#include "simboard/hex.hpp"
#include "simboard/iso15693_tag.hpp"
#include "simboard/transceiver.hpp"

namespace simboard {

using namespace iso15693;

namespace {

struct Record {
    std::uint8_t dsfid;
    Bytes uid;  // as received: least significant byte first
};

// A search by mask: a query answered by one tag yields it, a query answered by several
// is split on the next bits of the UID (one bit in one-slot mode, four in sixteen-slot
// mode, where the extra bits are the slot number). The extended mask makes each slot a
// request of its own, so the search runs over plain one-slot inventories.
class Search {
  public:
    Search(Antenna& antenna, const ProtocolConfig& config, std::uint8_t flags)
        : antenna_(antenna), config_(config), flags_(flags) {}

    std::vector<Record> run() {
        if (flags_ & kFlagOneSlot) {
            query(0, 0);
        } else {
            split(0, 0);
        }
        return std::move(found_);
    }

  private:
    void query(int maskLength, std::uint64_t mask) {
        if (full()) return;
        const std::vector<TagAnswer> answers = antenna_.broadcast(request(maskLength, mask));
        if (answers.empty()) return;
        // Tags of one UID cannot be told apart: the firmware keeps one record.
        if (answers.size() == 1 || maskLength == 64) {
            record(answers.front());
            return;
        }
        split(maskLength, mask);
    }

    void split(int maskLength, std::uint64_t mask) {
        const int step = (flags_ & kFlagOneSlot) ? 1 : 4;
        for (std::uint64_t branch = 0; branch < (1u << step); ++branch) {
            query(maskLength + step, mask | (branch << maskLength));
        }
    }

    TagRequest request(int maskLength, std::uint64_t mask) const {
        const std::uint8_t flags =
            static_cast<std::uint8_t>((flags_ & (kFlagSubcarrier | kFlagDataRate | kFlagAfi)) |
                                      kFlagInventory | kFlagOneSlot);
        Bytes frame{flags, 0x01};
        if (flags & kFlagAfi) frame.push_back(0x00);
        frame.push_back(static_cast<std::uint8_t>(maskLength));
        for (int i = 0; i < (maskLength + 7) / 8; ++i) {
            frame.push_back(static_cast<std::uint8_t>(mask >> (8 * i)));
        }
        return TagRequest{frame, 0, config_};
    }

    // A frame the firmware cannot read (bad CRC, an error flag) is no tag.
    void record(const TagAnswer& answer) {
        const Bytes& f = answer.bytes;
        if (f.size() != 12 || f[0] != 0x00 || !endsWithCrc16Iso13239(f)) return;
        found_.push_back(Record{f[1], Bytes(f.begin() + 2, f.begin() + 10)});
    }

    bool full() const { return found_.size() >= kAnticollisionMaxRecords; }

    Antenna& antenna_;
    const ProtocolConfig& config_;
    std::uint8_t flags_;
    std::vector<Record> found_;
};

}  // namespace

std::string iso15693Anticollision(Antenna& antenna, const ProtocolConfig& config,
                                  const Bytes& data) {
    if (data.size() != 1) return std::string(kInvalidCommandAnswer);
    // Without the ISO15693 set-up the field carries nothing the tags would answer.
    std::vector<Record> found;
    if (config.protocol == Protocol::Iso15693) found = Search(antenna, config, data[0]).run();
    if (found.empty()) return resultAnswer("80", Bytes{0x00});
    Bytes out{static_cast<std::uint8_t>(found.size())};
    for (const Record& r : found) {
        out.push_back(r.dsfid);
        out.insert(out.end(), r.uid.begin(), r.uid.end());
    }
    return resultAnswer("80", out);
}

}  // namespace simboard
