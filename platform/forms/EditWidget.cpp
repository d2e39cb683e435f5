#include "EditWidget.h"

#include "StdCtrls.h"

#include <QApplication>
#include <QBasicTimer>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>
#include <QTimerEvent>

#include <map>

namespace {

class EditWidget : public QLineEdit {
public:
    explicit EditWidget(TEdit* edit) : edit_(edit)
    {
        connect(this, &QLineEdit::cursorPositionChanged, this, [this] { RestartBlink(); });
        connect(this, &QLineEdit::textChanged, this, [this] { RestartBlink(); });
    }

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QLineEdit::paintEvent(e);
        PaintCaret();
        // Without Ctl3D a single border is one flat line in the window-frame colour.
        if (hasFrame() || edit_->BorderStyle() == bsNone)
            return;
        QPainter painter(this);
        const TColor frame = ColorToRGB(clWindowFrame);
        painter.setPen(QColor(GetRValue(frame), GetGValue(frame), GetBValue(frame)));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    void focusInEvent(QFocusEvent* e) override
    {
        QLineEdit::focusInEvent(e);
        const Qt::FocusReason reason = e->reason();
        const bool byKeyboard = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                                reason == Qt::ShortcutFocusReason;
        // Entering by the keyboard selects the text only where the edit asks for it.
        if (byKeyboard && !(QApplication::mouseButtons() & Qt::LeftButton) && !edit_->SelectsAllOnEntry())
            deselect();
        RestartBlink();
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        QLineEdit::focusOutEvent(e);
        blink_.stop();
        update();
    }
    void timerEvent(QTimerEvent* e) override
    {
        if (e->timerId() != blink_.timerId()) {
            QLineEdit::timerEvent(e);
            return;
        }
        caretOn_ = !caretOn_;
        update();
    }

private:
    // A caret of a height of its own: the style draws none (its width is 0), this one is drawn
    // over the text from the top of the line, and blinks at the platform's flash time.
    void PaintCaret()
    {
        if (edit_->CaretHeight() <= 0 || !hasFocus() || !caretOn_)
            return;
        // The line's cursor rectangle runs from 5 pixels left of the cursor over the whole line.
        const QRect line = cursorRect();
        QPainter painter(this);
        painter.fillRect(QRect(line.left() + 5, line.top(), edit_->CaretWidth(), edit_->CaretHeight()),
                         palette().color(QPalette::Text));
    }
    void RestartBlink()
    {
        caretOn_ = true;
        if (edit_->CaretHeight() > 0 && hasFocus() && QApplication::cursorFlashTime() > 0)
            blink_.start(QApplication::cursorFlashTime() / 2, this);
        update();
    }
    TEdit* edit_;
    QBasicTimer blink_;
    bool caretOn_ = true;
};

}  // namespace

QLineEdit* NewEditWidget(TEdit* edit) { return new EditWidget(edit); }

// The text cursor's width comes from the widget's style: one style per width, shared by the
// edits and kept for the program's run.
class TEdit::CaretStyle : public QProxyStyle {
public:
    explicit CaretStyle(int width) : width_(width) { setParent(qApp); }
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        return metric == PM_TextCursorWidth ? width_ : QProxyStyle::pixelMetric(metric, option, widget);
    }
    static CaretStyle* ForWidth(int width)
    {
        static std::map<int, CaretStyle*> styles;
        CaretStyle*& style = styles[width];
        if (!style)
            style = new CaretStyle(width);
        return style;
    }

private:
    int width_;
};

void TEdit::SetCaretWidth(int pixels)
{
    caretWidth_ = std::max(1, pixels);
    ApplyCaret();
}

void TEdit::SetCaretHeight(int pixels)
{
    caretHeight_ = std::max(0, pixels);
    ApplyCaret();
}

void TEdit::ApplyCaret()
{
    // A caret of its own height is drawn by the widget, so the style's is taken away.
    edit_->setStyle(CaretStyle::ForWidth(caretHeight_ > 0 ? 0 : caretWidth_));
    edit_->update();
}

void TEdit::ApplyBorder()
{
    // A widget being destroyed is a line edit no more: it is left as it is.
    auto* edit = qobject_cast<QLineEdit*>(Widget());
    if (!edit)
        return;
    const bool single = BorderStyle() == bsSingle;
    edit->setFrame(single && Ctl3D());
    const int flat = single && !Ctl3D() ? 1 : 0;
    edit->setContentsMargins(flat, flat, flat, flat);
    edit->update();
}
