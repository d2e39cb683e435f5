#include "HotKey.h"

#include "ExtCtrls.h"

#include <QEvent>
#include <QPainter>
#include <QKeySequence>
#include <QKeySequenceEdit>
#include <QLayout>
#include <QLineEdit>

THotKey::THotKey(TComponent* owner) : TWinControl(owner), edit_(new QKeySequenceEdit)
{
    // The text stands inside a two-pixel border that the control itself draws.
    if (auto* field = edit_->findChild<QLineEdit*>())
        field->setFrame(false);
    if (edit_->layout())
        edit_->layout()->setContentsMargins(2, 2, 2, 2);
    SetWidget(edit_);
    SetTabStop(true);
    SetColor(clWindow);
    QObject::connect(edit_, &QKeySequenceEdit::keySequenceChanged,
                     [this] { GuardedCall([this] { Fire(OnChange, this); }); });
}

void THotKey::SetHotKey(TShortCut value)
{
    edit_->setKeySequence(QKeySequence(QString::fromStdString(ShortCutToText(value)), QKeySequence::PortableText));
}

TShortCut THotKey::HotKey() const
{
    // The sequence's text ("Ctrl+Shift+F4") read back through the names ShortCutToText gives.
    const QKeySequence sequence = edit_->keySequence();
    if (sequence.isEmpty())
        return 0;
    // The first key combination is the hot key.
    String text = QKeySequence(sequence[0]).toString(QKeySequence::PortableText).toStdString();
    TShortCut modifiers = 0;
    for (const auto& [prefix, flag] : {std::pair<String, TShortCut>{"Ctrl+", scCtrl}, {"Shift+", scShift},
                                       {"Alt+", scAlt}, {"Meta+", 0}})
        for (size_t at; (at = text.find(prefix)) != String::npos;) {
            text.erase(at, prefix.size());
            modifiers |= flag;
        }
    for (int key = 1; key < 256; ++key)
        if (!text.empty() && ShortCutToText(static_cast<TShortCut>(key)) == text)
            return static_cast<TShortCut>(key | modifiers);
    return 0;
}

bool THotKey::HandleEvent(QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        // The sunken border round the field; the widget itself paints nothing else.
        QPainter painter(edit_);
        canvas_.Attach(&painter);
        TRect r = ClientRect();
        Frame3D(canvas_, r, clBtnShadow, clBtnHighlight);
        Frame3D(canvas_, r, cl3DDkShadow, cl3DLight);
        canvas_.Release();
    }
    return TWinControl::HandleEvent(event);
}
