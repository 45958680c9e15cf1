#include "console/protocol_select_model.hpp"

#include <algorithm>

#include "transceiver/frames.hpp"

namespace console {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

// What a bit box may hold: one bit, or nothing while it is being edited.
bool isBitText(std::string_view text) { return text.empty() || text == "0" || text == "1"; }

}  // namespace

ProtocolSelectModel::ProtocolSelectModel() {
    bits0_.fill("0");
    bits1_.fill("0");
    for (const auto& list : paramLists()) chooseItem(list.name, list.initialItem);
    for (int o = 0; o < kProtocolOptionCount; ++o) {
        const auto& defaults = protocolOptions()[at(o)].defaultBits;
        std::copy(defaults.begin(), defaults.end(), saved_[at(o)].begin());
    }
    paramIndex_ = kNoProtocolShown;
}

std::string ProtocolSelectModel::hexByte(int v) {
    return transceiver::hexByte(static_cast<std::uint8_t>(v & 0xFF));
}

void ProtocolSelectModel::updateByte0FromBits() {
    byte0_ = hexByte(byteFromBits(bits0_));
    frame_[3] = byte0_;
}

void ProtocolSelectModel::updateByte1FromBits() {
    byte1_ = hexByte(byteFromBits(bits1_));
    frame_[4] = byte1_;
}

void ProtocolSelectModel::chooseProtocol(int option) {
    if (option < 0 || option >= kProtocolOptionCount) return;
    if (paramIndex_ >= 1 && paramIndex_ < kProtocolOptionCount) {
        // A box emptied and not yet left is kept as the "0" it becomes.
        for (int b = 0; b < 8; ++b)
            saved_[at(paramIndex_)][at(b)] = normaliseBitText(bits0_[at(b)]);
    }

    const ProtocolOption& p = protocolOptions()[at(option)];
    chosenOption_ = option;
    paramIndex_ = p.paramIndex;
    for (int b = 0; b < 4; ++b) frameVisible_[at(b)] = true;
    bits0_ = saved_[at(option)];
    if (std::find_if(p.lists.begin(), p.lists.end(), [](const char* n) {
            return std::string_view(n) == "cboAppendCRC";
        }) != p.lists.end()) {
        items_["cboAppendCRC"] = bits0_[0] == "0" ? 0 : 1;
    }
    updateByte0FromBits();
    frame_[1] = "02";
    frame_[2] = p.protocolCode;

    frameVisible_[4] = frameVisible_[5] = false;
    switch (p.extra) {
        case ExtraBytes::None:
            break;
        case ExtraBytes::Optional12:
            if (byte12Ticked_) {
                frame_[1] = "04";
                frame_[4] = byte12_[0];
                frame_[5] = byte12_[1];
                frameVisible_[4] = frameVisible_[5] = true;
            }
            break;
        case ExtraBytes::FelicaByte1:
            updateByte1FromBits();
            if (slotTicked_) {
                frame_[1] = "03";
                frameVisible_[4] = true;
            }
            break;
    }
}

void ProtocolSelectModel::chooseItem(std::string_view listName, int itemIndex) {
    const ParamList* list = findParamList(listName);
    if (!list || itemIndex < 0 || itemIndex >= static_cast<int>(list->items.size())) return;
    items_[std::string(listName)] = itemIndex;
    const auto bits = bitsForItem(*list, list->items[at(itemIndex)]);
    auto& target = list->byteIndex == 0 ? bits0_ : bits1_;
    for (int b = 0; b < 8; ++b) {
        if (!bits[at(b)].empty()) target[at(b)] = bits[at(b)];
    }
    if (list->byteIndex == 0) {
        updateByte0FromBits();
    } else {
        updateByte1FromBits();
    }
}

void ProtocolSelectModel::setBit(int byteIndex, int bit, std::string text) {
    if (bit < 0 || bit > 7 || byteIndex < 0 || byteIndex > 1) return;
    if (byteIndex == 0) {
        bits0_[at(bit)] = std::move(text);
        updateByte0FromBits();
    } else {
        bits1_[at(bit)] = std::move(text);
        updateByte1FromBits();
    }
}

void ProtocolSelectModel::typeBitBox(int byteIndex, int bit, std::string_view text) {
    // While the user edits, an emptied box stays empty (it reads 0) until it is left.
    if (isBitText(text)) setBit(byteIndex, bit, std::string(text));
}

void ProtocolSelectModel::leaveBitBox(int byteIndex, int bit, std::string_view text) {
    if (isBitText(text)) setBit(byteIndex, bit, normaliseBitText(text));
}

// A parameter box left empty stays empty and is copied nowhere: the frame is then sent
// shorter than its length byte says, which the transceiver reports.
void ProtocolSelectModel::leaveFrameBox(int box, std::string_view text) {
    if (box < 0 || box > 5) return;
    if (text.empty()) {
        frame_[at(box)].clear();
        return;
    }
    frame_[at(box)] = normaliseByteText(text);
    if (box == 4) byte12_[0] = frame_[4];
    if (box == 5) byte12_[1] = frame_[5];
}

void ProtocolSelectModel::leaveByte0Box(std::string_view text) {
    if (text.empty()) {
        byte0_.clear();
        return;
    }
    byte0_ = normaliseByteText(text);
    frame_[3] = byte0_;
}

void ProtocolSelectModel::leaveByte1Box(std::string_view text) {
    if (text.empty()) {
        byte1_.clear();
        return;
    }
    byte1_ = normaliseByteText(text);
    frame_[4] = byte1_;
}

void ProtocolSelectModel::leaveByte12Box(int index, std::string_view text) {
    if (index < 0 || index > 1) return;
    if (text.empty()) {
        byte12_[at(index)].clear();
        return;
    }
    byte12_[at(index)] = normaliseByteText(text);
    frame_[at(4 + index)] = byte12_[at(index)];
}

void ProtocolSelectModel::setByte12Optional(bool ticked) {
    if (ticked == byte12Ticked_) return;
    byte12Ticked_ = ticked;
    const int length =
        static_cast<int>(transceiver::hexValue(frame_[1]) & 0xFF) + (ticked ? 2 : -2);
    frame_[1] = hexByte(std::max(length, 0));
    if (ticked) {
        frame_[4] = byte12_[0];
        frame_[5] = byte12_[1];
    }
    frameVisible_[4] = frameVisible_[5] = ticked;
}

void ProtocolSelectModel::setSlotCounter(bool ticked) {
    slotTicked_ = ticked;
    frame_[1] = ticked ? "03" : "02";
    frameVisible_[4] = ticked;
}

int ProtocolSelectModel::sentBoxCount() const {
    // The length never names more boxes than the panel has.
    return 2 + static_cast<int>(std::min<std::uint32_t>(transceiver::hexValue(frame_[1]), 4));
}

std::string ProtocolSelectModel::requestText() const {
    std::string request = "01 ";
    for (int b = 0; b < sentBoxCount(); ++b) request += frame_[at(b)];
    return request;
}

int ProtocolSelectModel::itemIndex(std::string_view listName) const {
    auto it = items_.find(listName);
    return it == items_.end() ? -1 : it->second;
}

std::string ProtocolSelectModel::itemText(std::string_view listName) const {
    const ParamList* list = findParamList(listName);
    const int i = itemIndex(listName);
    if (!list || i < 0) return {};
    return list->items[at(i)];
}

}  // namespace console
