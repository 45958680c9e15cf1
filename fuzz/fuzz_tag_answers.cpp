// The tag answer decoders the detection probes, the tag windows and the script share, on
// arbitrary answer text: no read past the text, and every result within its bounds.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "transceiver/felica_answers.hpp"
#include "transceiver/iso14443a_answers.hpp"
#include "transceiver/iso14443b_answers.hpp"
#include "transceiver/iso15693_answers.hpp"
#include "transceiver/sola_answers.hpp"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

bool isSubstringAt(std::string_view text, std::string_view part, std::size_t at) {
    return at <= text.size() && text.substr(at, part.size()) == part;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view answer(reinterpret_cast<const char*>(data), size);

    for (int status : {0, 1, 5}) {
        const transceiver::Iso15693Answer a = transceiver::checkIso15693Answer(status, answer);
        if (!a.accepted) {
            check(a.tagResponse.empty() && a.statusByte.empty() && a.length == 0);
            check(a.crc == transceiver::CrcVerdict::NotChecked);
            check(transceiver::crcVerdictText(a).empty());
        } else {
            check(status == 0 && a.length >= 3 && 2u * a.length + 4 <= size);
            check(a.statusByte.size() == 2);
            check((a.crc == transceiver::CrcVerdict::NotChecked) == (a.statusByte == "00"));
            if (a.hasResponse()) check(isSubstringAt(answer, a.tagResponse, 4));
        }
        const transceiver::Iso15693Inventory inv =
            transceiver::decodeIso15693Inventory(status, answer);
        check(inv.count == 0 || inv.count == 1 || inv.count == 99);
        check(inv.count == 1 ? inv.uid.size() == 16 : inv.uid.empty());
        // The length byte is read in either case, as every hex field is.
        if (inv.count != 0) {
            check(size >= 30 && answer.substr(0, 2) == "80" &&
                  (answer.substr(2, 2) == "0D" || answer.substr(2, 2) == "0d"));
        }
    }

    const transceiver::AnticollisionAnswer ac = transceiver::decodeAnticollisionAnswer(answer);
    check(ac.uidPart.size() <= 10 && ac.uidPiece.size() <= 8 && ac.bcc.size() <= 2);
    if (ac.complete) {
        check(size >= 14 && ac.uidPart == answer.substr(4, 10));
        check(ac.uidPiece.size() == (ac.cascadeTag ? 6u : 8u));
    }
    for (int level = 1; level <= 3; ++level) {
        const std::string select = transceiver::selectRequest(level, ac.uidPart);
        check(select.size() == 6 + ac.uidPart.size());
    }
    if (const auto sak = transceiver::sakOf(answer)) check(size >= 6);

    if (const auto id = transceiver::solaChipId(answer)) {
        check(id->size() == 2 && size >= 8 && transceiver::isSolaFrame(answer));
    }

    const std::string reqb = transceiver::reqbFrame(answer);
    check(size <= 10 ? reqb.empty() : reqb.size() == size - 10 && isSubstringAt(answer, reqb, 4));
    const std::string felica = transceiver::felicaFrame(answer);
    check(felica == reqb);
    const std::string idm = transceiver::felicaIdm(answer);
    check(idm.empty() || (idm.size() == 16 && isSubstringAt(answer, idm, 8)));
    const std::string pmm = transceiver::felicaPmm(answer);
    check(pmm.empty() || (pmm.size() == 16 && isSubstringAt(answer, pmm, 24)));
    const std::string pupi = transceiver::atqbPupi(answer);
    check(pupi.empty() || (pupi.size() == 8 && isSubstringAt(answer, pupi, 6)));
    return 0;
}
