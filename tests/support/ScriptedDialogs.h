#pragma once
// A dialog service that answers from a script and remembers what it was asked.
#include "Dialogs.h"

#include <deque>
#include <functional>
#include <optional>
#include <vector>

class ScriptedDialogs : public TDialogService {
public:
    ScriptedDialogs() : previous_(&Dialogs()) { SetDialogService(this); }
    ~ScriptedDialogs() override { SetDialogService(previous_); }

    std::vector<String> Messages;                 // every message box text, in order
    std::deque<int> MessageAnswers;               // IDOK when empty
    std::deque<std::vector<String>> FileAnswers;  // an empty entry cancels
    std::vector<TFileDialogSetup> FileSetups;     // what every file dialog was set up with
    std::optional<int> ChosenFilterIndex;         // the filter the user picks; unset keeps the first shown
    std::deque<std::optional<String>> InputAnswers;  // nullopt cancels
    std::vector<String> InputPrompts;
    bool PrinterSetupAnswer = false;
    int PrinterSetupCalls = 0;
    bool RealPrinterSetup = false;  // show the real printer setup dialog instead of answering
    bool RealInput = false;         // show the real input box instead of answering
    // Runs instead of a modal loop; returns the modal result (mrCancel when unset).
    std::function<TModalResult(TForm&)> OnShowModal;
    std::vector<TForm*> ModalForms;

    int MessageBox(const String& text, const String&, unsigned) override
    {
        Messages.push_back(text);
        if (MessageAnswers.empty())
            return IDOK;
        int a = MessageAnswers.front();
        MessageAnswers.pop_front();
        return a;
    }
    bool OpenFiles(const String&, const String&, const String&, bool, const String&, std::vector<String>& files,
                   TFileDialogSetup& setup) override
    {
        FileSetups.push_back(setup);
        setup.FilterIndex = ChosenFilterIndex.value_or(setup.FilterIndex);
        if (FileAnswers.empty())
            return false;
        files = FileAnswers.front();
        FileAnswers.pop_front();
        return !files.empty();
    }
    bool SaveFile(const String&, const String&, const String&, String& fileName, TFileDialogSetup& setup) override
    {
        FileSetups.push_back(setup);
        setup.FilterIndex = ChosenFilterIndex.value_or(setup.FilterIndex);
        if (FileAnswers.empty() || FileAnswers.front().empty())
            return false;
        fileName = FileAnswers.front().front();
        FileAnswers.pop_front();
        return true;
    }
    bool PrinterSetup() override
    {
        ++PrinterSetupCalls;
        return RealPrinterSetup ? TDialogService::PrinterSetup() : PrinterSetupAnswer;
    }
    bool InputQuery(const String& caption, const String& prompt, String& value) override
    {
        InputPrompts.push_back(prompt);
        if (RealInput)
            return TDialogService::InputQuery(caption, prompt, value);
        if (InputAnswers.empty() || !InputAnswers.front()) {
            if (!InputAnswers.empty())
                InputAnswers.pop_front();
            return false;
        }
        value = *InputAnswers.front();
        InputAnswers.pop_front();
        return true;
    }
    TModalResult ShowModal(TForm& form) override
    {
        ModalForms.push_back(&form);
        return OnShowModal ? OnShowModal(form) : mrCancel;
    }

private:
    TDialogService* previous_;
};
