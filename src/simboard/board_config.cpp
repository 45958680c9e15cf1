#include "simboard/board_config.hpp"

#include <algorithm>
#include <cctype>
#include <map>
#include <utility>

#include "simboard/hex.hpp"

namespace simboard {

namespace {

std::string_view trim(std::string_view s) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::optional<bool> parseBool(std::string_view v) {
    const std::string s = lower(v);
    if (s == "true" || s == "yes" || s == "1" || s == "on") return true;
    if (s == "false" || s == "no" || s == "0" || s == "off") return false;
    return std::nullopt;
}

std::optional<std::uint8_t> parseByte(std::string_view v) {
    const auto bytes = parseHex(v);
    if (!bytes || bytes->size() != 1) return std::nullopt;
    return bytes->front();
}

bool printableAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

class Reader {
  public:
    explicit Reader(ParsedBoardIni& out) : out_(out) {}

    void line(std::size_t number, std::string_view raw) {
        const std::string_view text = trim(raw);
        if (text.empty() || text.front() == ';' || text.front() == '#') return;
        if (text.front() == '[') {
            section(number, text);
            return;
        }
        const auto eq = text.find('=');
        if (eq == std::string_view::npos) {
            warn(number, "not a key=value line");
            return;
        }
        const std::string_view key = trim(text.substr(0, eq));
        const std::string_view value = trim(text.substr(eq + 1));
        if (key.empty()) {
            warn(number, "empty key");
        } else if (inBoard_) {
            boardKey(number, key, value);
        } else if (currentTag_) {
            tagKey(number, key, value);
        } else {
            warn(number, "key outside a section");
        }
    }

    void finish() {
        flushTag();
        if (emptyAntenna_ && !out_.config.tags) out_.config.tags.emplace();
    }

  private:
    void section(std::size_t number, std::string_view text) {
        flushTag();
        inBoard_ = false;
        if (text.back() != ']') {
            warn(number, "unclosed section header");
            return;
        }
        const std::string name = lower(trim(text.substr(1, text.size() - 2)));
        if (name == "board") {
            inBoard_ = true;
        } else if (name.rfind("tag.", 0) == 0) {
            currentTag_.emplace();
            currentTagLine_ = number;
            currentTagName_ = std::string(trim(text.substr(1, text.size() - 2)));
        } else {
            warn(number, "unknown section");
        }
    }

    void flushTag() {
        if (!currentTag_) return;
        if (currentTag_->kind.empty()) {
            warn(currentTagLine_, "tag section without kind= is ignored");
        } else {
            checkTag(*currentTag_);
            if (!out_.config.tags) out_.config.tags.emplace();
            out_.config.tags->push_back(std::move(*currentTag_));
        }
        currentTag_.reset();
        keyLines_.clear();
    }

    void tagKey(std::size_t number, std::string_view key, std::string_view value) {
        if (lower(key) == "kind") {
            currentTag_->kind = lower(value);
        } else {
            currentTag_->keys[std::string(key)] = std::string(value);
            keyLines_[std::string(key)] = number;
        }
    }

    // A tag its factory refuses is left off the antenna, which then answers "no tag" in
    // every window: name what made it refuse, and the keys it never reads (a key name
    // with the wrong case among them), so that the user can mend the file.
    void checkTag(const TagSpec& spec) {
        const std::string tag = "[" + currentTagName_ + "] ";
        if (!tagFactories().count(spec.kind)) {
            warn(currentTagLine_, tag + "unknown kind " + spec.kind + ": the tag is left out");
            return;
        }
        // The keys in file order, each added to those taken so far: the first that the
        // factory refuses with them is named, and the others are still tried.
        std::vector<std::pair<std::size_t, std::string>> ordered;
        for (const auto& [key, line] : keyLines_) ordered.emplace_back(line, key);
        std::sort(ordered.begin(), ordered.end());
        TagSpec taken{spec.kind, {}};
        for (const auto& [line, key] : ordered) {
            const std::string& value = spec.keys.at(key);
            taken.keys[key] = value;
            if (makeTag(taken)) continue;
            taken.keys.erase(key);
            warn(line, tag + key + "=" + shortened(value) + " refused: the " + spec.kind +
                           " tag is left out");
        }
        // A key the factory never reads lets it build the tag even with a value that no
        // key accepts.
        for (const auto& [key, value] : taken.keys) {
            TagSpec probe = taken;
            probe.keys[key] = "\x01";
            if (makeTag(probe)) {
                warn(keyLines_.at(key), tag + "unknown key " + key + " for a " + spec.kind +
                                            " tag is ignored (tag keys are case-sensitive)");
            }
        }
    }

    // A value as a warning shows it: a whole memory's data would bury the line.
    static std::string shortened(const std::string& value) {
        constexpr std::size_t kShown = 32;
        return value.size() <= kShown ? value : value.substr(0, kShown) + "...";
    }

    void boardKey(std::size_t number, std::string_view rawKey, std::string_view value) {
        BoardConfig& c = out_.config;
        const std::string key = lower(rawKey);
        bool ok = true;
        if (key == "identity") {
            ok =
                !value.empty() && value.size() <= kMaxIdentificationLength && printableAscii(value);
            if (ok) c.identification = std::string(value);
        } else if (key == "libraryrevision") {
            ok = !value.empty() && value.size() <= 32 && printableAscii(value);
            if (ok) c.libraryRevision = std::string(value);
        } else if (key == "firmwarerevision") {
            const auto bytes = parseHex(value);
            ok = bytes && !bytes->empty() && bytes->size() <= 16;
            if (ok) c.firmwareRevision = *bytes;
        } else if (key == "interfacepinstate") {
            const auto b = parseByte(value);
            ok = b.has_value();
            if (ok) c.interfacePinState = *b;
        } else if (key == "plugged") {
            ok = assignBool(value, c.plugged);
        } else if (key == "tagdetectortagpresent") {
            bool present = false;
            ok = assignBool(value, present);
            if (ok) c.detector.tagPresent = present;
        } else if (key == "idleanswercarriesreason") {
            ok = assignBool(value, c.idleAnswerCarriesReason);
        } else if (key == "emptyantenna") {
            ok = assignBool(value, emptyAntenna_);
        } else if (key == "detectoramplitude") {
            ok = assignByte(value, c.detector.amplitudeWithoutTag);
        } else if (key == "detectoramplitudewithtag") {
            ok = assignByte(value, c.detector.amplitudeWithTag);
        } else {
            warn(number, "unknown key " + std::string(rawKey));
            return;
        }
        if (!ok) warn(number, "bad value for " + std::string(rawKey));
    }

    static bool assignBool(std::string_view v, bool& target) {
        const auto b = parseBool(v);
        if (b) target = *b;
        return b.has_value();
    }
    static bool assignByte(std::string_view v, std::uint8_t& target) {
        const auto b = parseByte(v);
        if (b) target = *b;
        return b.has_value();
    }

    void warn(std::size_t number, const std::string& what) {
        out_.warnings.push_back("line " + std::to_string(number) + ": " + what);
    }

    ParsedBoardIni& out_;
    bool inBoard_ = false;
    bool emptyAntenna_ = false;
    std::optional<TagSpec> currentTag_;
    std::size_t currentTagLine_ = 0;
    std::string currentTagName_;
    // The line of each key of the current tag (the last one when a key is repeated).
    std::map<std::string, std::size_t> keyLines_;
};

}  // namespace

ParsedBoardIni parseBoardIni(std::string_view text) {
    ParsedBoardIni out;
    Reader reader(out);
    std::size_t number = 1;
    while (!text.empty()) {
        const auto nl = text.find('\n');
        reader.line(number++, text.substr(0, nl));
        if (nl == std::string_view::npos) break;
        text.remove_prefix(nl + 1);
    }
    reader.finish();
    return out;
}

}  // namespace simboard
