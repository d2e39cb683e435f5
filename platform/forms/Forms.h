#pragma once
// Forms, the application object and the screen.
#include "Controls.h"

#include <functional>
#include <vector>

class QDialog;
class TMainMenu;

enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7 };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TPosition { poDesigned, poDefault, poScreenCenter, poMainFormCenter, poOwnerFormCenter };
using TCloseAction = int;  // caNone 0, caHide 1, caFree 2, caMinimize 3
enum { caNone = 0, caHide = 1, caFree = 2, caMinimize = 3 };
using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;

// A top-level window. Derived forms build their controls in their constructor and then call
// Created(), which runs OnCreate; OnDestroy runs from the destructor.
class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    void SetCaption(const String& text) override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    void SetClientWidth(int w);
    void SetClientHeight(int h);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle s);
    TPosition Position = poDesigned;
    TFormStyle FormStyle() const { return formStyle_; }
    // fsStayOnTop keeps the window above the others.
    void SetFormStyle(TFormStyle style);
    void SetVisible(bool v) override;

    // Runs the form modally; the dialog service may answer for it (tests).
    TModalResult ShowModal();
    TModalResult ModalResult() const { return modalResult_; }
    // Setting a result other than mrNone ends a modal run.
    void SetModalResult(TModalResult r);
    void Close();
    bool Modal() const { return modal_; }
    // Return or Escape that the focused control left to the window: Return clicks the focused
    // button or tool button, or else the Default button, Escape a Cancel button or else ends a modal run with
    // mrCancel. False when nothing took the key (the window then ignores it).
    bool DialogKey(int key);

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TCloseEvent OnClose;

    QDialog* Dialog() const;
    TModalResult RunModalLoop();  // the real modal loop, used by the default dialog service

    // The window's main menu, on a bar above the client area; nullptr for none.
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);
    QWidget* HostWidget() const override;
    void Resize() override;
    void Notification(TComponent* component, TOperation operation) override;

protected:
    // Ends construction: runs OnCreate, as the class library does after reading the form.
    void Created();
    // Calls OnDestroy once; derived destructors call it before their members go.
    void Destroying();

private:
    void Center();
    // Places and lays the window out, and sets Tab's round and the first focus, before it shows.
    void PrepareShow();
    void PlaceMenu();
    TMainMenu* menu_ = nullptr;
    QWidget* client_ = nullptr;  // holds the controls once the window has a menu bar
    TFormBorderStyle borderStyle_ = bsSizeable;
    TFormStyle formStyle_ = fsNormal;
    TModalResult modalResult_ = mrNone;
    bool modal_ = false;
    bool destroyed_ = false;
};

// The application: main form, exception handler, message loop.
class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;
    // Gives the windows and the dialogs the program opens the controls' default font.
    void Initialize();
    // The first form registered becomes the main form.
    void AddForm(TForm* form);
    void RemoveForm(TForm* form);
    TForm* MainForm() const { return mainForm_; }
    void Run();
    void Terminate();
    void ProcessMessages();
    // Shows an escaped exception's message and carries on.
    void HandleException(const String& message);
    String Title = "Ombrelle";
    String ExeName() const;
    // Lets tests run the program from a folder of their own.
    void SetExeName(const String& path) { exeName_ = path; }
    // Collects messages instead of showing them when set (tests).
    std::function<void(const String&)> OnException;

private:
    TForm* mainForm_ = nullptr;
    String exeName_;
};

TApplication* Application();

class TScreen {
public:
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor c);
    int Width() const;
    int Height() const;
    // Logical pixels per inch of the primary screen, 96 without one.
    int PixelsPerInch() const;
    // The live forms, in creation order.
    int FormCount() const;
    TForm* Forms(int i) const;
    // The form the user works in: the modal one in front, else the active window, else the
    // main form while it shows; nullptr when none is up. Dialogs and message boxes belong to it.
    TForm* ActiveForm() const;

private:
    TCursor cursor_ = crDefault;
};

TScreen* Screen();
