// Controls that act as buttons: their own presses and releases, and the accelerator letter of
// their caption.
#include "Controls.h"

#include "StdCtrls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

#include <cctype>
#include <set>

char AcceleratorOf(const String& caption)
{
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] != '&')
            return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
        ++i;
    }
    return 0;
}

namespace {
// The controls that act as buttons, for their windows' plain-letter accelerators.
std::set<TControl*>& ButtonLikes()
{
    static std::set<TControl*> controls;
    return controls;
}

// A letter that reaches a window because no focused control took it (an edit takes it as text,
// a list as a search) clicks the button of that window whose accelerator it is.
class PlainAccelerators : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto* window = static_cast<QWidget*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        if (!window->isWindow() || key->text().size() != 1 ||
            (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            return false;
        const char letter = static_cast<char>(std::toupper(key->text()[0].toLatin1()));
        if (letter <= ' ')
            return false;
        for (TControl* c : ButtonLikes()) {
            QWidget* w = c->Widget();
            if (w && w->window() == window && w->isVisible() && w->isEnabled() && AcceleratorOf(c->Caption()) == letter) {
                GuardedCall([c] { c->DialogChar(); });
                return true;
            }
        }
        return false;
    }
};
}  // namespace

void TControl::LeaveButtonLikes() { ButtonLikes().erase(this); }

void TControl::ActAsButton()
{
    actsAsButton_ = true;
    ButtonLikes().insert(this);
    static PlainAccelerators* filter = [] {
        auto* f = new PlainAccelerators;
        qApp->installEventFilter(f);
        return f;
    }();
    (void)filter;
    GrabAccelerator();
}

void TControl::GrabAccelerator()
{
    if (!widget_)
        return;
    if (shortcutId_)
        widget_->releaseShortcut(shortcutId_);
    shortcutId_ = 0;
    const char letter = AcceleratorOf(caption_);
    if (letter > ' ')
        shortcutId_ = widget_->grabShortcut(QKeySequence(Qt::ALT | QKeySequence::fromString(QString(QChar(letter)))[0].key()),
                                            Qt::WindowShortcut);
}

TControl* TControl::FirstAccelerated(char letter)
{
    const bool button = actsAsButton_ || dynamic_cast<TButton*>(this);
    if (button && widget_ && widget_->isVisible() && widget_->isEnabled() && AcceleratorOf(caption_) == letter)
        return this;
    if (auto* parent = dynamic_cast<TWinControl*>(this))
        for (int i = 0; i < parent->ControlCount(); ++i)
            if (TControl* found = parent->Controls(i)->FirstAccelerated(letter))
                return found;
    return nullptr;
}

bool TControl::PressFirstSharingAccelerator()
{
    const char letter = AcceleratorOf(caption_);
    TControl* window = this;
    while (window->parent_)
        window = window->parent_;
    TControl* first = letter > ' ' ? window->FirstAccelerated(letter) : nullptr;
    if (!first)
        return false;
    GuardedCall([first] { first->DialogChar(); });
    return true;
}

void TControl::DialogChar()
{
    if (Enabled() && Visible())
        Click();
}

