#include "widgets/hex_entry_box.hpp"

#include <QAbstractButton>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPalette>
#include <algorithm>

#include "core/app_context.hpp"
#include "core/ui.hpp"
#include "transceiver/hex_text.hpp"

namespace widgets {

namespace {

bool isHexDigit(QChar c) { return transceiver::hexDigitValue(c) >= 0; }

bool allOf(const QString& text, bool (*pred)(QChar)) {
    for (QChar c : text) {
        if (!pred(c)) return false;
    }
    return true;
}

bool isDecimalDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool isBitDigit(QChar c) { return c == QLatin1Char('0') || c == QLatin1Char('1'); }

int defaultMaxLength(HexEntryBox::Kind kind) {
    using K = HexEntryBox::Kind;
    switch (kind) {
        case K::Byte:
        case K::FrameByte:
        case K::MaskLength:
        case K::Address:
            return 2;
        case K::FourByte:
            return 8;
        case K::Bit:
            return 1;
        case K::Count:
            return 9;
        case K::Uid:
            return 16;
        case K::Request:
        case K::Data:
            break;
        case K::RawFrame:
            // A frame pasted from a log or a datasheet may come with a blank after each
            // byte; the blanks go when the box is left.
            return kLongestRequestText + kLongestRequestText / 2;
    }
    return kLongestRequestText;
}

// The text's value; the text is known to hold at most eight hex digits.
quint32 typedValue(const QString& text) { return text.toUInt(nullptr, 16); }

QString pad(quint32 value, int width) {
    return transceiver::HexPad(static_cast<std::int32_t>(value), width);
}

const QColor kRed(255, 0, 0);

// Watches every way text reaches a box other than a typed key: the paste keys, the context
// menu's Paste, a middle click (the X11 selection), a drop and an input method.
class WholeTextGuard : public QObject {
  public:
    WholeTextGuard(QLineEdit* box, core::Ui& ui) : QObject(box), box_(box), ui_(ui) {
        box->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Only the events that bring text look at the box: others reach the filter while
        // the box is being destroyed, when it is no longer a line edit.
        if (watched != box_ || !bringsText(event->type()) || box_->isReadOnly()) return false;
        switch (event->type()) {
            case QEvent::KeyPress:
                return static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste) &&
                       refused(clipboard(QClipboard::Clipboard), Selection::Replaced);
            case QEvent::MouseButtonRelease:
                // The box drops its selection and inserts the X11 selection at the cursor.
                return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton &&
                       QGuiApplication::clipboard()->supportsSelection() &&
                       refused(clipboard(QClipboard::Selection), Selection::Kept);
            case QEvent::Drop: {
                auto* drop = static_cast<QDropEvent*>(event);
                // Text moved within the box does not change its length.
                if (drop->source() == box_ || !drop->mimeData()->hasText()) return false;
                if (!refused(drop->mimeData()->text(), Selection::Kept)) return false;
                drop->ignore();
                return true;
            }
            case QEvent::InputMethod:
                return refused(static_cast<QInputMethodEvent*>(event)->commitString(),
                               Selection::Replaced);
            case QEvent::ContextMenu:
                showMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
                return true;
            default:
                return false;
        }
    }

  private:
    static bool bringsText(QEvent::Type type) {
        switch (type) {
            case QEvent::KeyPress:
            case QEvent::MouseButtonRelease:
            case QEvent::Drop:
            case QEvent::InputMethod:
            case QEvent::ContextMenu:
                return true;
            default:
                return false;
        }
    }
    enum class Selection { Replaced, Kept };

    static QString clipboard(QClipboard::Mode mode) {
        return QGuiApplication::clipboard()->text(mode);
    }

    // True, after the beep, when `text` does not fit: the event must not reach the box.
    bool refused(const QString& text, Selection selection) {
        if (fits(text, selection)) return false;
        ui_.beep();
        return true;
    }
    bool fits(const QString& text, Selection selection) const {
        if (!box_->inputMask().isEmpty()) return fitsMask(text, selection);
        if (auto* hex = qobject_cast<HexEntryBox*>(box_))
            return hex->takes(edited(text, selection));
        return edited(text, selection).size() <= box_->maxLength();
    }
    // The box's text with `text` put in where the box would put it.
    QString edited(const QString& text, Selection selection) const {
        QString t = box_->text();
        if (selection == Selection::Replaced && box_->hasSelectedText()) {
            const qsizetype from = box_->selectionStart();
            return t.replace(from, box_->selectedText().size(), text);
        }
        return t.insert(box_->cursorPosition(), text);
    }
    // A masked box writes a paste over its places from the cursor (or the start of the
    // selection) on, steps over its fixed characters, and drops what finds no place left.
    bool fitsMask(const QString& text, Selection selection) const {
        const int from = selection == Selection::Replaced && box_->hasSelectedText()
                             ? box_->selectionStart()
                             : box_->cursorPosition();
        const MaskPlaces places = maskPlaces(box_->inputMask());
        qsizetype free = 0;
        for (qsizetype i = from; i < places.editable.size(); ++i) free += places.editable[i];
        qsizetype needed = 0;
        for (QChar c : text) needed += places.literals.contains(c) ? 0 : 1;
        return needed <= free;
    }
    struct MaskPlaces {
        QList<bool> editable;  // one per place of the box's text
        QString literals;      // the fixed characters
    };
    static MaskPlaces maskPlaces(const QString& mask) {
        static const QString kEditable = QStringLiteral("AaNnXx90Dd#HhBb");
        MaskPlaces m;
        for (qsizetype i = 0; i < mask.size(); ++i) {
            const QChar c = mask[i];
            if (c == QLatin1Char(';')) break;  // what follows names the blank character
            if (c == QLatin1Char('>') || c == QLatin1Char('<') || c == QLatin1Char('!')) continue;
            if (c == QLatin1Char('\\') && i + 1 < mask.size()) {
                m.literals += mask[++i];
                m.editable << false;
            } else if (kEditable.contains(c)) {
                m.editable << true;
            } else {
                m.literals += c;
                m.editable << false;
            }
        }
        return m;
    }

    // The box's own menu, its Paste through the same check as the paste keys.
    void showMenu(const QPoint& at) {
        QMenu* menu = box_->createStandardContextMenu();
        for (QAction* action : menu->actions()) {
            // The menu connects its Paste by name in some Qt versions, by pointer in others.
            const bool paste = disconnect(action, SIGNAL(triggered()), box_, SLOT(paste())) ||
                               disconnect(action, &QAction::triggered, box_, &QLineEdit::paste);
            if (paste) {
                connect(action, &QAction::triggered, box_, [this] {
                    if (!refused(clipboard(QClipboard::Clipboard), Selection::Replaced))
                        box_->paste();
                });
            }
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(at);
    }

    QLineEdit* box_;
    core::Ui& ui_;
};

}  // namespace

void refuseTextThatDoesNotFit(QLineEdit* box, core::Ui& ui) { new WholeTextGuard(box, ui); }

HexEntryBox::HexEntryBox(core::AppContext& ctx, Kind kind, QWidget* parent)
    : QLineEdit(parent), ctx_(ctx), kind_(kind) {
    setMaxLength(defaultMaxLength(kind));
    refuseTextThatDoesNotFit(this, ctx.ui());
    normalText_ = palette().color(QPalette::Text);
    // Whether the text is of the box's kind follows every change, the window's own
    // writes included; the colour of a raw frame follows the user's typing only.
    connect(this, &QLineEdit::textChanged, this, &HexEntryBox::onTextChanged);
    connect(this, &QLineEdit::textEdited, this, &HexEntryBox::onTextEdited);
}

bool HexEntryBox::accepts(QChar c) const {
    // Only printable characters are filtered: the control characters (backspace, the
    // clipboard shortcuts) and the DEL that the Delete key carries are editing keys.
    if (c.unicode() <= 31 || !c.isPrint()) return true;
    switch (kind_) {
        case Kind::Bit:
            return isBitDigit(c);
        case Kind::Count:
            return isDecimalDigit(c);
        default:
            return isHexDigit(c);
    }
}

bool HexEntryBox::textOfKind(const QString& text) const {
    switch (kind_) {
        case Kind::Bit:
            return allOf(text, isBitDigit);
        case Kind::Count:
            return allOf(text, isDecimalDigit);
        case Kind::Uid:
            return allOf(text, isHexDigit) || text.toUpper() == QLatin1String("TRANSPONDER UID");
        default:
            return allOf(text, isHexDigit);
    }
}

bool HexEntryBox::takes(const QString& text) const {
    if (text.size() > maxLength()) return false;
    if (kind_ != Kind::RawFrame) return true;
    return text.size() - text.count(QLatin1Char(' ')) - text.count(QLatin1Char('\t')) <=
           kLongestRequestText;
}

void HexEntryBox::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    for (QChar c : typed) {
        if (!accepts(c)) {
            ctx_.ui().beep();
            event->accept();
            return;
        }
    }
    // A full box takes no further character, as Qt's own length limit does it: silently.
    if (!typed.isEmpty() && typed.front().isPrint()) {
        QString after = text();
        if (hasSelectedText()) {
            after.replace(selectionStart(), selectedText().size(), typed);
        } else {
            after.insert(cursorPosition(), typed);
        }
        if (!takes(after)) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void HexEntryBox::focusOutEvent(QFocusEvent* event) {
    // Switching to another program, or opening a menu, is not leaving the box.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason) {
        commit();
    }
    QLineEdit::focusOutEvent(event);
}

void HexEntryBox::setRed(bool red) {
    QPalette p = palette();
    p.setColor(QPalette::Text, red ? kRed : normalText_);
    setPalette(p);
}

bool HexEntryBox::showsRed() const { return palette().color(QPalette::Text) == kRed; }

void HexEntryBox::colourUpdate(bool red) {
    setRed(red);
    if (sendButton_) sendButton_->setEnabled(true);
}

void HexEntryBox::setRefusedWhen(std::function<bool(const QString&)> refused) {
    refusedWhen_ = std::move(refused);
    onTextChanged(text());
}

void HexEntryBox::onTextChanged(const QString& text) {
    if (refusedWhen_) {
        badText_ = refusedWhen_(text);
        setRed(badText_);
        return;
    }
    if (!textOfKind(text)) {
        badText_ = true;
        setRed(true);
        return;
    }
    const bool wasBad = badText_;
    badText_ = false;
    if (wasBad && kind_ != Kind::RawFrame && kind_ != Kind::Uid) setRed(false);
}

void HexEntryBox::onTextEdited(const QString& text) {
    if (kind_ == Kind::RawFrame && textOfKind(text)) colourUpdate(text.size() % 2 != 0);
}

bool HexEntryBox::commit() {
    if (kind_ == Kind::RawFrame) {
        // A frame pasted from a log or a datasheet comes with blanks between its bytes.
        QString packed = text();
        packed.remove(QLatin1Char(' ')).remove(QLatin1Char('\t'));
        if (packed != text()) setText(packed);
    }
    const QString t = text();
    if (kind_ == Kind::Uid) {
        commitUid();
        emit committed();
        return !badText_;
    }
    if (refusedWhen_) {
        badText_ = refusedWhen_(t);
        setRed(badText_);
        emit committed();
        return !badText_;
    }
    if (!textOfKind(t)) {
        badText_ = true;
        setRed(true);
        if (kind_ == Kind::RawFrame && sendButton_) sendButton_->setEnabled(true);
        emit committed();
        return false;
    }
    badText_ = false;
    switch (kind_) {
        case Kind::Request:
            break;
        case Kind::Byte:
            if (!t.isEmpty()) setText(pad(typedValue(t) & 0xFF, 2));
            break;
        case Kind::FrameByte:
            setText(t.isEmpty() ? QStringLiteral("00") : pad(typedValue(t) & 0xFF, 2));
            break;
        case Kind::FourByte:
            if (!t.isEmpty()) setText(pad(typedValue(t), 8));
            break;
        case Kind::MaskLength:
            if (!t.isEmpty()) {
                const quint32 v = typedValue(t) & 0x7F;
                setText(v > 0x40 ? QStringLiteral("00") : pad(v, 2));
            }
            break;
        case Kind::Address: {
            const int width = maxLength();
            if (t.isEmpty()) {
                setText(QString(width, QLatin1Char('0')));
                break;
            }
            // A block of the product chosen last, whose highest block is `AddressMask`.
            // An address past it is refused as it stands: masked, it would name another
            // block (a one-time-programmable page, say) and a Write would go there.
            const quint32 v = typedValue(t);
            const core::ProgramValues& values = ctx_.values;
            if (values.MemorySizeBytes > 0 &&
                v > static_cast<quint32>(std::max(values.AddressMask, 0))) {
                badText_ = true;
                setRed(true);
                emit committed();
                return false;
            }
            setText(pad(v, width));
            break;
        }
        case Kind::Bit:
            setText(t.isEmpty() ? QStringLiteral("0") : pad(typedValue(t) & 1, 1));
            break;
        case Kind::Count:
            if (t.isEmpty()) setText(QStringLiteral("0"));
            break;
        case Kind::Data:
            if (t.size() % 2 != 0) setText(t + QLatin1Char('0'));
            break;
        case Kind::RawFrame:
            colourUpdate(t.isEmpty() || t.size() % 2 != 0);
            break;
        case Kind::Uid:
            break;
    }
    if (kind_ != Kind::RawFrame) setRed(false);
    emit committed();
    return true;
}

void HexEntryBox::commitUid() {
    const QString t = text();
    QString& uid = ctx_.values.TransponderUID;
    if (t.isEmpty()) {
        badText_ = false;
        setRed(true);
        uid.clear();
    } else if (t.size() == 16 && allOf(t, isHexDigit)) {
        // The box shows the UID most significant byte first; requests carry it the
        // other way round.
        badText_ = false;
        setRed(false);
        QString reversed;
        for (int i = 14; i >= 0; i -= 2) reversed += t.mid(i, 2);
        uid = reversed.toUpper();
    } else {
        // The box's opening text left as it stands keeps the tag chosen before.
        const bool placeholder = t.toUpper() == QLatin1String("TRANSPONDER UID");
        badText_ = !placeholder && !allOf(t, isHexDigit);
        setRed(!placeholder);
        if (!placeholder) uid.clear();
    }
    setText(t.toUpper());
}

}  // namespace widgets
