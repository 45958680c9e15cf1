// simulated-board.ini as a user might leave it: any text. The parsed configuration
// must stay within what the board can answer, every warning must name a line of the
// text, and a board built from it (tags made by their factories from arbitrary keys)
// must answer its identity calls.
#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.hpp"
#include "reader/answer_buffer.hpp"
#include "simboard/board_config.hpp"
#include "simboard/hex.hpp"
#include "simboard/simulated_board.hpp"

namespace {

using fuzzsupport::check;

using namespace simboard;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ParsedBoardIni parsed = parseBoardIni(text);
    const BoardConfig& config = parsed.config;
    check(!config.identification.empty() &&
          config.identification.size() <= kMaxIdentificationLength);
    check(!config.firmwareRevision.empty());
    // Every warning names a line of the text that holds something to read (not a blank
    // or comment line), so the user can find what was left out.
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t nl = std::min(text.find('\n', at), text.size());
        lines.push_back(text.substr(at, nl - at));
        at = nl + 1;
    }
    for (const std::string& warning : parsed.warnings) {
        std::size_t line = 0;
        const char* digits = warning.data() + std::min<std::size_t>(5, warning.size());
        const auto [end, error] = std::from_chars(digits, warning.data() + warning.size(), line);
        check(warning.rfind("line ", 0) == 0 && error == std::errc{} && *end == ':');
        check(line >= 1 && line <= lines.size());
        const std::string_view named = lines[line - 1];
        const std::size_t first = named.find_first_not_of(" \t\r");
        check(first != std::string_view::npos && named[first] != ';' && named[first] != '#');
    }
    SimulatedBoard board;
    board.applyConfig(config);
    if (!config.plugged) return 0;
    reader::AnswerBuffer answer;
    check(board.idn(answer) == reader::kStatusOk);
    check(answer.text().substr(0, 2) == "00" && parseHex(answer.text()).has_value());
    check(board.getMcuRev(answer) == reader::kStatusOk);
    check(parseHex(answer.text()).has_value());
    check(board.getDllRev(answer) == reader::kStatusOk && answer.text() == config.libraryRevision);
    // A tag request under each protocol reaches whatever tags the file described.
    for (const char* select : {"010D", "02000180", "02000300", "03010180", "0451"}) {
        check(board.select(select, answer) == reader::kStatusOk && answer.text() == "0000");
        check(board.sendReceive("0026", answer) == reader::kStatusOk);
        check(answer.text().size() <= 255 && parseHex(answer.text()).has_value());
    }
    return 0;
}
