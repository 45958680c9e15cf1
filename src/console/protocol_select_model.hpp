#pragma once

#include <array>
#include <map>
#include <string>
#include <string_view>

#include "console/protocol_params.hpp"

namespace console {

// What the Protocol Select panel shows and keeps, apart from its widgets: the protocol
// chosen, the parameter bits (saved per protocol while others are shown), the list
// choices and the six frame boxes. The window mirrors it after every user action.
class ProtocolSelectModel {
  public:
    // The state of a freshly loaded console, the lists' handlers having run for their
    // initial entries so the bit boxes match what the lists show.
    ProtocolSelectModel();

    // Actions of the user.
    void chooseProtocol(int option);
    void chooseItem(std::string_view listName, int itemIndex);
    // A bit box of parameter byte 0 or 1: what is typed forms the byte (and its frame
    // box) at once, as a list choice does; leaving the box writes its bit as "0" or "1".
    // Text other than a bit (pasted) is refused: the bit keeps its value.
    void typeBitBox(int byteIndex, int bit, std::string_view text);
    void leaveBitBox(int byteIndex, int bit, std::string_view text);
    void leaveFrameBox(int box, std::string_view text);
    void leaveByte0Box(std::string_view text);
    void leaveByte1Box(std::string_view text);
    void leaveByte12Box(int index, std::string_view text);
    void setByte12Optional(bool ticked);
    void setSlotCounter(bool ticked);

    // "01 " and the frame boxes that box 1 counts: the request as logged.
    std::string requestText() const;
    // Boxes 0 and 1 and the boxes that box 1 counts.
    int sentBoxCount() const;

    // State shown.
    int chosenOption() const { return chosenOption_; }  // -1 before the first choice
    int paramIndex() const { return paramIndex_; }
    const std::array<std::string, 8>& bits0() const { return bits0_; }
    const std::array<std::string, 8>& bits1() const { return bits1_; }
    const std::string& byte0Text() const { return byte0_; }
    const std::string& byte1Text() const { return byte1_; }
    const std::string& byte12Text(int i) const { return byte12_[static_cast<std::size_t>(i)]; }
    const std::string& frame(int box) const { return frame_[static_cast<std::size_t>(box)]; }
    bool frameVisible(int box) const { return frameVisible_[static_cast<std::size_t>(box)]; }
    // The send button, request and answer boxes appear with the first choice.
    bool sendVisible() const { return chosenOption_ >= 0; }
    bool byte12Optional() const { return byte12Ticked_; }
    bool slotCounter() const { return slotTicked_; }
    int itemIndex(std::string_view listName) const;
    std::string itemText(std::string_view listName) const;
    const std::array<std::array<std::string, 8>, kProtocolOptionCount>& savedBits() const {
        return saved_;
    }

  private:
    void updateByte0FromBits();
    void updateByte1FromBits();
    void setBit(int byteIndex, int bit, std::string text);
    static std::string hexByte(int v);

    int chosenOption_ = -1;
    int paramIndex_ = kNoProtocolShown;
    std::array<std::string, 8> bits0_;
    std::array<std::string, 8> bits1_;
    std::array<std::array<std::string, 8>, kProtocolOptionCount> saved_;
    std::string byte0_ = "00";
    std::string byte1_ = "00";
    std::array<std::string, 2> byte12_ = {"00", "00"};
    std::array<std::string, 6> frame_ = {"02", "00", "00", "00", "00", "00"};
    std::array<bool, 6> frameVisible_{};
    bool byte12Ticked_ = false;
    bool slotTicked_ = false;
    std::map<std::string, int, std::less<>> items_;
};

}  // namespace console
