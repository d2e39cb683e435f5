#include "EditWidget.h"

#include "StdCtrls.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>

#include <map>

namespace {

class EditWidget : public QLineEdit {
public:
    explicit EditWidget(TEdit* edit) : edit_(edit) {}

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QLineEdit::paintEvent(e);
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
    }

private:
    TEdit* edit_;
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
    edit_->setStyle(CaretStyle::ForWidth(caretWidth_));
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
