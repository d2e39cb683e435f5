#include "AddSetting.h"
#include "AppFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

class LayoutEditor : public AppFixture {
protected:
    TSettingsForm* Editor(TForm& form)
    {
        auto* editor = dynamic_cast<TSettingsForm*>(&form);
        EXPECT_NE(editor, nullptr);
        return editor;
    }
};

TEST_F(LayoutEditor, UnchangedAddStoresTheDefaults)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f, 1, 0, 0, 1)});
    DVDForm->PrintstyleChange(nullptr);
    PCoverRec before = DVDForm->CurrentCover;
    dialogs.OnShowModal = [&](TForm& form) {
        TSettingsForm* e = Editor(form);
        EXPECT_EQ(e->Caption(), "Settings");
        EXPECT_EQ(e->ClientWidth(), 735);
        EXPECT_EQ(e->ClientHeight(), 398);
        EXPECT_EQ(e->leftedit->Text(), "0.50");
        EXPECT_EQ(e->topedit->Text(), "0.50");
        EXPECT_EQ(e->widthedit->Text(), "1.00");
        EXPECT_EQ(e->heightedit->Text(), "1.00");
        EXPECT_EQ(e->TwinDistEdit->Text(), "1.00");
        EXPECT_EQ(e->leftedit->Increment, 0.1);
        EXPECT_EQ(e->SettingName->Text(), "NewSetting");
        EXPECT_EQ(e->CDStyleCombo->Items().Count(), 2);
        EXPECT_EQ(e->CDStyleCombo->Items()[1], "<IMG src=\"idx:1\">DVD / CD Cover Style");
        EXPECT_EQ(e->IconCombo->Items().Count(), 5);
        EXPECT_EQ(e->IconCombo->Items()[4], "<IMG src=\"idx:4\">CD Business Card Type Icon");
        EXPECT_EQ(e->twinprintcombo->Items()[1], "Yes, Print two Images per Page");
        EXPECT_EQ(e->CDStyleCombo->ItemIndex(), 0);
        EXPECT_EQ(e->IconCombo->ItemIndex(), 0);
        EXPECT_EQ(e->twinprintcombo->ItemIndex(), 0);
        EXPECT_GE(e->ImageList2->Count(), 5);
        return mrOk;
    };
    DVDForm->ToolButton19->Click();
    ASSERT_EQ(dialogs.ModalForms.size(), 1u);
    ASSERT_EQ(DVDForm->CoverList->CoverNo(), 1);
    const TCoverRec* r = DVDForm->CoverList->GetCover(1);
    EXPECT_EQ(r->Name(), "NewSetting");
    EXPECT_EQ(r->Left, 0.5f);
    EXPECT_EQ(r->Top, 0.5f);
    EXPECT_EQ(r->Width, 1.0f);
    EXPECT_EQ(r->Height, 1.0f);
    EXPECT_EQ(r->Style, 0);
    EXPECT_EQ(r->IconIndex, 0);
    EXPECT_EQ(r->Dual, 0);
    EXPECT_EQ(r->GapDist, 1.0f);
    EXPECT_EQ(DVDForm->PrintStyle->Items().Count(), 2);
    EXPECT_EQ(DVDForm->PrintStyle->Items()[1], "<IMG src=\"idx:0\">NewSetting");
    EXPECT_EQ(DVDForm->PrintStyle->ItemIndex(), 0);
    EXPECT_EQ(DVDForm->CurrentCover, before);
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(LayoutEditor, AddReadsEveryFieldAndCutsLongNames)
{
    Start({});
    const String longName(60, 'n');
    dialogs.OnShowModal = [&](TForm& form) {
        TSettingsForm* e = Editor(form);
        e->leftedit->SetText("1.25");
        e->topedit->SetValue(0.75);
        e->widthedit->SetText("4.75");
        e->heightedit->SetText("7.5");
        e->TwinDistEdit->SetText("0.3");
        e->SettingName->SetText(longName);
        e->CDStyleCombo->SetItemIndex(1);
        e->IconCombo->SetItemIndex(3);
        e->twinprintcombo->SetItemIndex(1);
        return mrOk;
    };
    DVDForm->ToolButton19->Click();
    ASSERT_EQ(DVDForm->CoverList->CoverNo(), 0);
    const TCoverRec* r = DVDForm->CoverList->GetCover(0);
    EXPECT_EQ(r->Name(), longName.substr(0, 50));
    EXPECT_EQ(r->Left, 1.25f);
    EXPECT_EQ(r->Top, 0.75f);
    EXPECT_EQ(r->Width, 4.75f);
    EXPECT_EQ(r->Height, 7.5f);
    EXPECT_EQ(r->GapDist, 0.3f);
    EXPECT_EQ(r->Style, 1);
    EXPECT_EQ(r->IconIndex, 3);
    EXPECT_EQ(r->Dual, 1);
    // The chooser shows the new layout, but none is current until chosen or a picture is opened.
    EXPECT_EQ(DVDForm->PrintStyle->Items().Count(), 1);
    EXPECT_EQ(DVDForm->PrintStyle->ItemIndex(), 0);
    EXPECT_EQ(DVDForm->CurrentCover, nullptr);
}

TEST_F(LayoutEditor, AccentedNamesAreCutByCharacters)
{
    Start({});
    String accented;
    for (int i = 0; i < 60; ++i)
        accented += "\xC3\xA9";  // é, two bytes in UTF-8, one in the record
    dialogs.OnShowModal = [&](TForm& form) {
        Editor(form)->SettingName->SetText(accented);
        return mrOk;
    };
    DVDForm->ToolButton19->Click();
    ASSERT_EQ(DVDForm->CoverList->CoverNo(), 0);
    EXPECT_EQ(DVDForm->CoverList->GetCover(0)->Name(), accented.substr(0, 100));
}

// Until the chooser changes or a picture opens no layout is current, even though the chooser
// shows one: "Edit Layout" then opens nothing and says nothing.
TEST_F(LayoutEditor, EditLayoutOpensTheEditorOnlyForACurrentLayout)
{
    const std::vector<std::pair<std::vector<TCoverRec>, bool>> cases = {  // layouts, picture opened first
        {{}, false},
        {{MakeLayout("First", 0.5f, 0.5f, 4.75f, 7.5f), MakeLayout("Second", 1, 1, 2, 2)}, false},
        {{MakeLayout("First", 0.5f, 0.5f, 4.75f, 7.5f), MakeLayout("Second", 1, 1, 2, 2)}, true},
    };
    for (const auto& [layouts, opened] : cases) {
        SCOPED_TRACE(layouts.size() + opened);
        Start(layouts);
        if (opened)
            OpenBatch({Picture("a.bmp", clRed)});
        String shown;
        dialogs.OnShowModal = [&](TForm& form) {
            shown = Editor(form)->SettingName->Text();
            return mrCancel;
        };
        DVDForm->ToolButton20->Click();
        EXPECT_EQ(dialogs.ModalForms.size(), opened ? 1u : 0u);
        EXPECT_EQ(shown, opened ? "First" : "");
        EXPECT_EQ(DVDForm->CurrentCover, opened ? DVDForm->CoverList->GetCover(0) : nullptr);
        EXPECT_TRUE(dialogs.Messages.empty());
        dialogs.ModalForms.clear();
        FreeStartupForms();
    }
}

TEST_F(LayoutEditor, CancelChangesNothing)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
    DVDForm->PrintstyleChange(nullptr);
    const TCoverRec saved = *DVDForm->CurrentCover;
    dialogs.OnShowModal = [&](TForm& form) {
        TSettingsForm* e = Editor(form);
        e->SettingName->SetText("Changed");
        e->leftedit->SetValue(3);
        return mrCancel;
    };
    DVDForm->ToolButton19->Click();
    DVDForm->ToolButton20->Click();
    EXPECT_EQ(dialogs.ModalForms.size(), 2u);
    EXPECT_EQ(DVDForm->CoverList->CoverNo(), 0);
    EXPECT_EQ(std::memcmp(&saved, DVDForm->CurrentCover, sizeof saved), 0);
}

TEST_F(LayoutEditor, EditShowsTheCurrentLayoutAndWritesItBack)
{
    Start({MakeLayout("Label", 0.5f, 0.5f, 4.6f, 4.6f, 0, 0, 1.5f, 2),
           MakeLayout("Dual label", 0.25f, 1.75f, 4.5f, 4.5f, 0, 1, 0.2f, 3)});
    DVDForm->PrintStyle->SetItemIndex(1);
    DVDForm->PrintstyleChange(nullptr);
    PCoverRec current = DVDForm->CurrentCover;
    dialogs.OnShowModal = [&](TForm& form) {
        TSettingsForm* e = Editor(form);
        EXPECT_EQ(e->leftedit->Text(), "0.25");
        EXPECT_EQ(e->topedit->Text(), "1.75");
        EXPECT_EQ(e->widthedit->Text(), "4.50");
        EXPECT_EQ(e->TwinDistEdit->Text(), "0.20");
        EXPECT_EQ(e->SettingName->Text(), "Dual label");
        EXPECT_EQ(e->CDStyleCombo->ItemIndex(), 0);
        EXPECT_EQ(e->IconCombo->ItemIndex(), 3);
        EXPECT_EQ(e->twinprintcombo->ItemIndex(), 1);
        e->SettingName->SetText("Renamed");
        e->heightedit->SetText("5");
        e->twinprintcombo->SetItemIndex(0);
        return mrOk;
    };
    DVDForm->ToolButton20->Click();
    ASSERT_EQ(dialogs.ModalForms.size(), 1u);
    EXPECT_EQ(DVDForm->CurrentCover, current);
    EXPECT_EQ(current, DVDForm->CoverList->GetCover(1));
    EXPECT_EQ(current->Name(), "Renamed");
    EXPECT_EQ(current->Height, 5.0f);
    EXPECT_EQ(current->Dual, 0);
    EXPECT_EQ(current->Left, 0.25f);
    EXPECT_EQ(current->IconIndex, 3);
    EXPECT_EQ(DVDForm->PrintStyle->Items()[1], "<IMG src=\"idx:3\">Renamed");
    EXPECT_EQ(DVDForm->PrintStyle->ItemIndex(), 0);  // the chooser shows the first layout again
}

TEST_F(LayoutEditor, StoredIndexesOutOfRangeBecomeNoSelection)
{
    Start({MakeLayout("Odd", 0.5f, 0.5f, 1, 1, 7, 0, 1, 9)});
    DVDForm->PrintstyleChange(nullptr);
    dialogs.OnShowModal = [&](TForm& form) {
        TSettingsForm* e = Editor(form);
        EXPECT_EQ(e->CDStyleCombo->ItemIndex(), -1);
        EXPECT_EQ(e->IconCombo->ItemIndex(), -1);
        return mrOk;
    };
    DVDForm->ToolButton20->Click();
    EXPECT_EQ(DVDForm->CurrentCover->Style, -1);
    EXPECT_EQ(DVDForm->CurrentCover->IconIndex, -1);
}

TEST_F(LayoutEditor, ErrorsAreReportedAndTheLayoutIsKept)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
    DVDForm->PrintstyleChange(nullptr);
    const TCoverRec saved = *DVDForm->CurrentCover;
    dialogs.OnShowModal = [&](TForm& form) -> TModalResult {
        Editor(form)->SettingName->SetText("Half");
        throw Exception("No room");
    };
    DVDForm->ToolButton19->Click();
    DVDForm->ToolButton20->Click();
    ASSERT_EQ(dialogs.Messages.size(), 2u);
    EXPECT_EQ(dialogs.Messages[0], "Error Adding Settings : No room");
    EXPECT_EQ(dialogs.Messages[1], "Error Adding Settings : No room");
    EXPECT_EQ(DVDForm->CoverList->CoverNo(), 0);
    EXPECT_EQ(std::memcmp(&saved, DVDForm->CurrentCover, sizeof saved), 0);
}

TEST_F(LayoutEditor, DistancesOffThePageAreRefusedWithTheirRange)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f)});
    DVDForm->PrintstyleChange(nullptr);
    const TCoverRec saved = *DVDForm->CurrentCover;
    std::vector<std::pair<TFloatSpinEdit* TSettingsForm::*, String>> entries = {
        {&TSettingsForm::TwinDistEdit, "1e300"}, {&TSettingsForm::widthedit, "29000000"},
        {&TSettingsForm::leftedit, "-0.5"}};
    for (const auto& [edit, text] : entries) {
        dialogs.OnShowModal = [&, edit = edit, text = text](TForm& form) {
            (Editor(form)->*edit)->SetText(text);
            return mrOk;
        };
        DVDForm->ToolButton19->Click();
        DVDForm->ToolButton20->Click();
    }
    EXPECT_EQ(dialogs.Messages, (std::vector<String>{
        "Error Adding Settings : Dual Print Gap Dist must be from 0 to 100 inches, not 1e300",
        "Error Adding Settings : Dual Print Gap Dist must be from 0 to 100 inches, not 1e300",
        "Error Adding Settings : Image Width must be from 0 to 100 inches, not 29000000",
        "Error Adding Settings : Image Width must be from 0 to 100 inches, not 29000000",
        "Error Adding Settings : Dist From Left must be from 0 to 100 inches, not -0.5",
        "Error Adding Settings : Dist From Left must be from 0 to 100 inches, not -0.5"}));
    EXPECT_EQ(DVDForm->CoverList->CoverNo(), 0);
    EXPECT_EQ(std::memcmp(&saved, DVDForm->CurrentCover, sizeof saved), 0);

    dialogs.OnShowModal = [&](TForm& form) {
        Editor(form)->heightedit->SetText("100");  // the edge of the range is a page's
        return mrOk;
    };
    DVDForm->ToolButton20->Click();
    EXPECT_EQ(DVDForm->CurrentCover->Height, 100.0f);
}

TEST_F(LayoutEditor, LayoutChosenByTypedLetterOrArrowIsTheOneEdited)
{
    Start({MakeLayout("Cover", 0.5f, 0.5f, 4.75f, 7.5f, 1), MakeLayout("Disc label", 0.25f, 1.75f, 4.5f, 4.5f, 0),
           MakeLayout("Booklet", 1.0f, 1.0f, 5.0f, 5.0f, 1)});
    QWidget* chooser = DVDForm->PrintStyle->Widget();
    auto press = [chooser](int key, const QString& text) {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(chooser, &down);
        QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(chooser, &up);
    };
    ASSERT_EQ(DVDForm->CurrentCover, nullptr);
    press(Qt::Key_D, "d");
    ASSERT_EQ(DVDForm->PrintStyle->ItemIndex(), 1);
    EXPECT_EQ(DVDForm->CurrentCover, DVDForm->CoverList->GetCover(1));
    EXPECT_EQ(DVDForm->CDImage->Width(), 480);  // a disc label's picture area

    dialogs.OnShowModal = [&](TForm& form) {
        EXPECT_EQ(Editor(form)->SettingName->Text(), "Disc label");
        return mrCancel;
    };
    DVDForm->ToolButton20->Click();
    ASSERT_EQ(dialogs.ModalForms.size(), 1u);

    press(Qt::Key_Down, QString());
    ASSERT_EQ(DVDForm->PrintStyle->ItemIndex(), 2);
    EXPECT_EQ(DVDForm->CurrentCover, DVDForm->CoverList->GetCover(2));
    EXPECT_EQ(DVDForm->CDImage->Width(), 729);
}

TEST_F(LayoutEditor, OkNamesTheCharactersANameCannotStoreAndKeepsTheEditorOpen)
{
    Start({});
    // With no message the editor closes and the name is stored as typed (cut to 50).
    const std::pair<String, String> cases[] = {
        {"Caf\u00e9 \u03a9mega \u65e5\u672c\u65e5",
         "The label name cannot hold \"\u03a9\" (U+03A9), \"\u65e5\" (U+65E5), \"\u672c\" (U+672C): layouts "
         "store their names in the Windows-1252 character set. Change or remove them."},
        {"\U0001F3AC Films", "The label name cannot hold \"\U0001F3AC\" (U+1F3AC): layouts store their names in "
                             "the Windows-1252 character set. Change or remove it."},
        {"\u20acuro \u2018quoted\u2019 \u0152uvre?", ""},
        {String(50, 'n') + "\u03a9", ""},  // past the stored part
    };
    for (const auto& [typed, message] : cases) {
        SCOPED_TRACE(typed);
        TModalResult first = mrNone;
        dialogs.OnShowModal = [&, typed = typed](TForm& form) {
            TSettingsForm* e = Editor(form);
            e->SettingName->SetText(typed);
            e->Button2->Click();
            if ((first = e->ModalResult()) == mrNone) {  // the editor stays open for a better name
                e->SettingName->SetText("Fixed");
                e->Button2->Click();
            }
            return e->ModalResult();
        };
        DVDForm->ToolButton19->Click();
        EXPECT_EQ(first, message.empty() ? mrOk : mrNone);
        EXPECT_EQ(dialogs.Messages, message.empty() ? std::vector<String>{} : std::vector<String>{message});
        EXPECT_EQ(DVDForm->CoverList->GetCover(DVDForm->CoverList->CoverNo())->Name(),
                  message.empty() ? LeftStr(typed, 50) : "Fixed");
        dialogs.Messages.clear();
    }
}
