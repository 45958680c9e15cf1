#pragma once

#include <QAbstractButton>
#include <QLineEdit>
#include <QPointer>
#include <functional>

namespace core {
class AppContext;
class Ui;
}  // namespace core

namespace widgets {

// The longest request the reader library takes, in characters; its answers are no
// longer. A box for a request, its data or a raw frame needs no more.
inline constexpr int kLongestRequestText = 255;

// Refuses whole, with the beep of a refused key, a paste, a drop or an input-method text
// that would not fit in what the box's length limit leaves: Qt would keep the part that
// fits, and that part would then be used as if the user had written it (a frame cut short
// and sent to the board). A box that is read-only, or masked, takes no such text anyway.
// Every `HexEntryBox` guards itself; a window's plain entry box gets the guard from this.
void refuseTextThatDoesNotFit(QLineEdit* box, core::Ui& ui);

// An entry box for bytes typed as hex text. Its kind decides which keys it takes and
// how its text is rewritten when the user leaves it. Text that arrives without the key
// filter (pasted, dropped) and is not of the box's kind shows red and is not used; text
// longer than the box takes is refused whole (`refuseTextThatDoesNotFit`).
class HexEntryBox : public QLineEdit {
    Q_OBJECT
  public:
    enum class Kind {
        Request,     // hex digits; left as typed
        Byte,        // two digits, AND FF; empty stays empty
        FrameByte,   // as Byte, but empty becomes "00"
        FourByte,    // eight digits; empty stays empty
        MaskLength,  // AND 7F, above 40 becomes "00"
        Address,     // a block of the product's memory, as wide as the box; red past it
        Bit,         // "0" or "1"; empty becomes "0"
        Count,       // decimal digits; empty becomes "0"
        Data,        // an odd number of digits gets a "0" appended
        RawFrame,    // blanks removed when left; red while the number of digits is odd
        Uid,         // 16 digits, most significant byte first
    };

    HexEntryBox(core::AppContext& ctx, Kind kind, QWidget* parent = nullptr);

    Kind kind() const { return kind_; }

    // Applies the leave rule now. Every Send calls it on the focused box first, so a
    // click that takes no focus still sends the rewritten value. Returns false when the
    // text is not of the box's kind: it shows red and must not be sent.
    bool commit();
    // The text is of the box's kind (after the last commit or edit).
    bool holdsValidText() const { return !badText_; }
    // Red text: an odd raw frame, a bad UID, or text of the wrong kind.
    bool showsRed() const;

    // The raw-frame box's Send button, enabled by every colour update.
    void setSendButton(QAbstractButton* button) { sendButton_ = button; }

    // For a box whose command judges the text itself (blanks and all): the box shows red
    // exactly while `refused` holds for its text, in place of its kind's own rule, so red
    // always means "would not be sent". Its text is kept as it stands when it is left.
    void setRefusedWhen(std::function<bool(const QString&)> refused);

    // Whether the box can hold `text` as it would stand after an edit: within its length,
    // and a raw frame, without its blanks, no longer than the longest request.
    bool takes(const QString& text) const;

  signals:
    // After the leave rule has run (the mask-length box's mask-value boxes follow it).
    void committed();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    bool accepts(QChar c) const;
    bool textOfKind(const QString& text) const;
    void setRed(bool red);
    void colourUpdate(bool red);
    void onTextChanged(const QString& text);
    void onTextEdited(const QString& text);
    void commitUid();

    core::AppContext& ctx_;
    Kind kind_;
    bool badText_ = false;
    QColor normalText_;
    QPointer<QAbstractButton> sendButton_;
    std::function<bool(const QString&)> refusedWhen_;
};

}  // namespace widgets
