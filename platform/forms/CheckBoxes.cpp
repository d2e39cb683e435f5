#include "CheckBoxes.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
// A check box or radio button that shows the focus as a dotted frame round its caption, in place
// of the style's own cue.
template <typename Button, QStyle::ControlElement Element, QStyle::SubElement FocusRect>
class FramedFocus : public Button {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        this->initStyleOption(&option);
        option.state &= ~QStyle::State_HasFocus;
        painter.drawControl(Element, option);
        if (!this->hasFocus())
            return;
        const QRect r = this->style()->subElementRect(FocusRect, &option, this);
        DrawFocusFrame(painter, {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}, 0);
    }
};
using CheckBoxWidget = FramedFocus<QCheckBox, QStyle::CE_CheckBox, QStyle::SE_CheckBoxFocusRect>;
using RadioButtonWidget = FramedFocus<QRadioButton, QStyle::CE_RadioButton, QStyle::SE_RadioButtonFocusRect>;
}  // namespace

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner), box_(new CheckBoxWidget)
{
    SetWidget(box_);
    SetTabStop(true);
    QObject::connect(box_, &QCheckBox::clicked, [this] {
        box_->setTristate(allowGrayed_);
        GuardedCall([this] { Click(); });
    });
}

void TCheckBox::SetCaption(const String& text)
{
    caption_ = text;
    box_->setText(QString::fromStdString(text));
}

TCheckBoxState TCheckBox::State() const
{
    switch (box_->checkState()) {
    case Qt::Checked: return cbChecked;
    case Qt::PartiallyChecked: return cbGrayed;
    default: return cbUnchecked;
    }
}

void TCheckBox::SetState(TCheckBoxState state)
{
    box_->setCheckState(state == cbChecked ? Qt::Checked : state == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
    // Showing the grayed state does not let the user's clicks reach it (see the click handler).
    box_->setTristate(allowGrayed_ || state == cbGrayed);
}

void TCheckBox::SetAllowGrayed(bool allow)
{
    allowGrayed_ = allow;
    box_->setTristate(allow);
}

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner), button_(new RadioButtonWidget)
{
    SetWidget(button_);
    SetTabStop(true);
    QObject::connect(button_, &QRadioButton::clicked, [this] { GuardedCall([this] { Click(); }); });
}

void TRadioButton::SetCaption(const String& text)
{
    caption_ = text;
    button_->setText(QString::fromStdString(text));
}

bool TRadioButton::Checked() const { return button_->isChecked(); }

void TRadioButton::SetChecked(bool checked)
{
    // Qt keeps the checked button of an exclusive set checked; code may clear it all the same.
    const bool exclusive = button_->autoExclusive();
    button_->setAutoExclusive(exclusive && checked);
    button_->setChecked(checked);
    button_->setAutoExclusive(exclusive);
}

// The box stands at the right when the caption stands at its left; Qt puts it there in
// right-to-left layout.
namespace {
bool BoxRight(TAlignment alignment, bool rightToLeft) { return (alignment == taLeftJustify) != rightToLeft; }
}  // namespace

bool TCheckBox::BoxAtRight() const { return BoxRight(alignment_, UseRightToLeftAlignment()); }

void TCheckBox::SetAlignment(TAlignment value)
{
    alignment_ = value;
    ApplyBiDiMode();
}

void TCheckBox::ApplyBiDiMode() { box_->setLayoutDirection(BoxAtRight() ? Qt::RightToLeft : Qt::LeftToRight); }

bool TRadioButton::BoxAtRight() const { return BoxRight(alignment_, UseRightToLeftAlignment()); }

void TRadioButton::SetAlignment(TAlignment value)
{
    alignment_ = value;
    ApplyBiDiMode();
}

void TRadioButton::ApplyBiDiMode()
{
    button_->setLayoutDirection(BoxAtRight() ? Qt::RightToLeft : Qt::LeftToRight);
}
