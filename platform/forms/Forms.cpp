#include "Forms.h"

#include <cmath>

#include "Dialogs.h"
#include "StdCtrls.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QToolButton>

namespace {
// The form's window; closing it asks the form first.
class FormWindow : public QDialog {
public:
    explicit FormWindow(TForm* form) : form_(form)
    {
        setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    }

protected:
    void closeEvent(QCloseEvent* e) override
    {
        TCloseAction action = caHide;
        GuardedCall([&] { Fire(form_->OnClose, form_, action); });
        if (action == caNone) {
            e->ignore();
            return;
        }
        QDialog::closeEvent(e);
        if (Application()->MainForm() == form_)
            Application()->Terminate();
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        const bool plain = (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        const int key = e->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            // The focused control did not want the key: it is the window's to deal with, and
            // never Qt's (which would close any dialog on Escape and click auto-default buttons).
            if (plain) {
                bool handled = false;
                GuardedCall([&] { handled = form_->DialogKey(key == Qt::Key_Escape ? VK_ESCAPE : VK_RETURN); });
                e->setAccepted(handled);
            } else {
                e->ignore();
            }
            return;
        }
        QDialog::keyPressEvent(e);
    }
    void reject() override
    {
        if (form_->Modal())
            form_->SetModalResult(mrCancel);
    }
    void showEvent(QShowEvent* e) override
    {
        QDialog::showEvent(e);
        GuardedCall([this] { Fire(form_->OnShow, form_); });
    }

private:
    TForm* form_;
};
}  // namespace

TForm::TForm(TComponent* owner) : TWinControl(owner)
{
    auto* w = new FormWindow(this);
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    SetWidget(w);
    SetVisible(false);
    SetColor(clBtnFace);
    Application()->AddForm(this);
}

TForm::~TForm()
{
    Destroying();
    Application()->RemoveForm(this);
}

namespace {
// The buttons of a window, in creation order, those inside containers included.
void CollectButtons(const TWinControl& parent, std::vector<TButton*>& buttons)
{
    for (int i = 0; i < parent.ControlCount(); ++i) {
        TControl* c = parent.Controls(i);
        if (auto* b = dynamic_cast<TButton*>(c))
            buttons.push_back(b);
        if (auto* w = dynamic_cast<TWinControl*>(c))
            CollectButtons(*w, buttons);
    }
}

// A button can be pressed from the keyboard only while the user could press it.
bool CanPress(const TButton* b)
{
    QWidget* w = b->Widget();
    return w && w->isVisibleTo(w->window()) && w->isEnabledTo(w->window()) && w->isEnabled();
}
}  // namespace

bool TForm::DialogKey(int key)
{
    std::vector<TButton*> buttons;
    CollectButtons(*this, buttons);
    if (key == VK_RETURN) {
        // A tool button that has the focus shows it as a push button does, and Return presses
        // it as Space does.
        if (auto* tool = qobject_cast<QToolButton*>(Dialog()->focusWidget());
            tool && tool->isVisibleTo(Dialog()) && tool->isEnabled()) {
            tool->click();
            return true;
        }
        // The focused button takes Return; otherwise the default button does.
        for (TButton* b : buttons)
            if (b->Focused() && CanPress(b)) {
                b->Click();
                return true;
            }
        for (TButton* b : buttons)
            if (b->Default() && CanPress(b)) {
                b->Click();
                return true;
            }
        return false;
    }
    if (key == VK_ESCAPE) {
        for (TButton* b : buttons)
            if (b->Cancel && CanPress(b)) {
                b->Click();
                return true;
            }
        if (modal_) {
            SetModalResult(mrCancel);
            return true;
        }
    }
    return false;
}

void TForm::Created()
{
    Fire(OnCreate, this);
}

void TForm::Destroying()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    Fire(OnDestroy, this);
}

QDialog* TForm::Dialog() const { return static_cast<QDialog*>(Widget()); }

void TForm::SetCaption(const String& text)
{
    TWinControl::SetCaption(text);
    if (Dialog())
        Dialog()->setWindowTitle(QString::fromStdString(text));
}

int TForm::ClientWidth() const { return Width(); }
int TForm::ClientHeight() const { return Height() - (client_ ? client_->y() : 0); }

void TForm::SetClientWidth(int w)
{
    SetWidth(w);
    SetBorderStyle(borderStyle_);
}

void TForm::SetClientHeight(int h)
{
    SetHeight(h);
    SetBorderStyle(borderStyle_);
}

void TForm::SetBorderStyle(TFormBorderStyle s)
{
    borderStyle_ = s;
    QDialog* d = Dialog();
    if (!d)
        return;
    if (s == bsDialog || s == bsSingle || s == bsToolWindow) {
        d->setFixedSize(d->size());
        d->setSizeGripEnabled(false);
    } else {
        d->setMinimumSize(0, 0);
        d->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
}

void TForm::SetFormStyle(TFormStyle style)
{
    formStyle_ = style;
    if (QDialog* d = Dialog())
        d->setWindowFlag(Qt::WindowStaysOnTopHint, style == fsStayOnTop);
}

void TForm::Center()
{
    QDialog* d = Dialog();
    if (!d || Position != poScreenCenter)
        return;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->availableGeometry();
        d->move(area.center() - QPoint(d->width() / 2, d->height() / 2));
    }
}

void TForm::SetVisible(bool v)
{
    TControl::SetVisible(v);
    if (!Dialog())
        return;
    if (v) {
        PrepareShow();
        Dialog()->show();
    } else {
        Dialog()->hide();
    }
}

TModalResult TForm::ShowModal()
{
    modalResult_ = mrNone;
    modal_ = true;
    TModalResult r = mrCancel;
    try {
        r = Dialogs().ShowModal(*this);
    } catch (...) {
        modal_ = false;
        throw;
    }
    modal_ = false;
    modalResult_ = r;
    return r;
}

void TForm::PrepareShow()
{
    Center();
    Realign();
    // Controls parented after their window was built went to the end of Tab's round.
    ArrangeTabSequence();
    // A window shows with the focus where it was left, or else on its first tab stop.
    if (!Dialog()->focusWidget())
        if (TWinControl* first = FirstTabStop())
            first->SetFocus();
}

TModalResult TForm::RunModalLoop()
{
    PrepareShow();
    QDialog* d = Dialog();
    d->setModal(true);
    int r = d->exec();
    if (modalResult_ == mrNone)
        modalResult_ = r == QDialog::Accepted ? mrOk : mrCancel;
    return modalResult_;
}

void TForm::SetModalResult(TModalResult r)
{
    modalResult_ = r;
    if (r != mrNone && modal_ && Dialog() && Dialog()->isVisible())
        Dialog()->done(r);
}

void TForm::Close()
{
    if (modal_) {
        SetModalResult(mrCancel);
        return;
    }
    if (Dialog() && Dialog()->isVisible())
        Dialog()->close();
    else if (Application()->MainForm() == this)
        Application()->Terminate();
}

// ---- application ----------------------------------------------------------------------------
TApplication::TApplication() = default;
TApplication::~TApplication() = default;

void TApplication::Initialize()
{
    // Qt's own default would be one more face to find and load at start-up, for the widgets
    // made before their control hands them its font, and for Qt's dialogs and menus, which
    // on the platform speak in the controls' font too.
    TFont font;
    font.SetName(kDefaultControlFontName);
    font.SetHeight(kDefaultControlFontHeight);
    QApplication::setFont(font.ToQFont());
}

static std::vector<TForm*>& LiveForms()
{
    static std::vector<TForm*> forms;
    return forms;
}

int TScreen::FormCount() const { return static_cast<int>(LiveForms().size()); }
TForm* TScreen::Forms(int i) const { return LiveForms().at(i); }

TForm* TScreen::ActiveForm() const
{
    const auto formOf = [](const QWidget* window) -> TForm* {
        for (TForm* form : LiveForms())
            if (window && form->Dialog() == window->window())
                return form;
        return nullptr;
    };
    if (TForm* modal = formOf(QApplication::activeModalWidget()))
        return modal;
    if (TForm* active = formOf(QApplication::activeWindow()))
        return active;
    // Without a window manager's activation (or between two windows) the latest modal form
    // that shows is still the one in front.
    for (auto form = LiveForms().rbegin(); form != LiveForms().rend(); ++form)
        if ((*form)->Modal() && (*form)->Dialog()->isVisible())
            return *form;
    TForm* main = Application()->MainForm();
    return main && main->Dialog() && main->Dialog()->isVisible() ? main : nullptr;
}

void TApplication::AddForm(TForm* form)
{
    LiveForms().push_back(form);
    if (!mainForm_)
        mainForm_ = form;
}

void TApplication::RemoveForm(TForm* form)
{
    std::erase(LiveForms(), form);
    if (mainForm_ == form)
        mainForm_ = nullptr;
}

void TApplication::Run()
{
    if (mainForm_)
        mainForm_->Show();
    QApplication::exec();
}

void TApplication::Terminate() { QCoreApplication::exit(0); }

void TApplication::ProcessMessages() { QCoreApplication::processEvents(); }

void TApplication::HandleException(const String& message)
{
    if (OnException) {
        OnException(message);
        return;
    }
    Dialogs().MessageBox(message, Title, MB_OK | MB_ICONERROR);
}

String TApplication::ExeName() const
{
    return exeName_.empty() ? QCoreApplication::applicationFilePath().toStdString() : exeName_;
}

TApplication* Application()
{
    static TApplication app;
    return &app;
}

void TScreen::SetCursor(TCursor c)
{
    if (c == cursor_)
        return;
    if (cursor_ != crDefault)
        QApplication::restoreOverrideCursor();
    cursor_ = c;
    if (c == crHourGlass)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (c == crHandPoint)
        QApplication::setOverrideCursor(Qt::PointingHandCursor);
    else if (c != crDefault)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
}

int TScreen::Width() const
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 0;
}

int TScreen::Height() const
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 0;
}

int TScreen::PixelsPerInch() const
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? static_cast<int>(std::lround(s->logicalDotsPerInchY())) : 96;
}

TScreen* Screen()
{
    static TScreen screen;
    return &screen;
}
