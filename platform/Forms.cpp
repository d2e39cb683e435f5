#include "Forms.h"

#include <cmath>

#include "Dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

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
    void reject() override
    {
        if (form_->Modal())
            form_->SetModalResult(mrCancel);
        else
            close();
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
int TForm::ClientHeight() const { return Height(); }

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
        Center();
        Realign();
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

TModalResult TForm::RunModalLoop()
{
    Center();
    Realign();
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

static std::vector<TForm*>& LiveForms()
{
    static std::vector<TForm*> forms;
    return forms;
}

int TScreen::FormCount() const { return static_cast<int>(LiveForms().size()); }
TForm* TScreen::Forms(int i) const { return LiveForms().at(i); }

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
