// Every window worked with Tab: the focus goes round in the window's reading order, and each
// control shows that it has the focus, in the XP look and in the plain one.
#include "AddSetting.h"
#include "AppFixture.h"
#include "CDDBUnit.h"
#include "DoubFeatUnit.h"
#include "FocusFrame.h"
#include "RealInput.h"
#include "XPLook.h"
#include "ripunit.h"

#include <QApplication>

namespace {

// How a control shows the focus: the dotted frame (buttons, tool buttons, radio buttons, lists
// and combo boxes whose line is their choice), or any change at all (edits and typed-in combo
// boxes show their caret).
enum class Cue { Dots, Change };

struct Stop {
    TControl* control;
    Cue cue;
};

// The stops after those given, each showing the focus by the same cue.
std::vector<Stop> Then(std::vector<Stop> first, Cue cue, std::initializer_list<TControl*> controls)
{
    for (TControl* c : controls)
        first.push_back({c, cue});
    return first;
}

QImage Grab(TControl& control) { return control.Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

bool HasDottedRow(const QImage& image) { return LongestDottedRun(image, 10) >= 8; }

class KeyboardFocus : public AppFixture {
protected:
    void SetUp() override { Start({MakeLayout("DVD", 0.5f, 0.5f, 4, 3)}); }

    static bool HasFocus(const Stop& stop) { return QApplication::focusWidget() == stop.control->Widget(); }

    // Shows the window, where the focus starts on the first stop, then presses Tab once per
    // stop and once more: each stop in turn takes the focus and shows it, and the round ends
    // where it began.
    void TabRound(TForm& form, const std::vector<Stop>& stops)
    {
        if (!form.Widget()->isVisible()) {
            ASSERT_TRUE(ShowActive(form));
        }
        ASSERT_TRUE(HasFocus(stops.front())) << form.Caption();
        for (size_t i = 1; i <= stops.size(); ++i) {
            const Stop& stop = stops[i % stops.size()];
            const QImage before = Grab(*stop.control);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            ASSERT_TRUE(HasFocus(stop)) << form.Caption() << ", stop " << i % stops.size();
            const QImage after = Grab(*stop.control);
            if (stop.cue == Cue::Dots) {
                EXPECT_FALSE(HasDottedRow(before)) << form.Caption() << ", stop " << i % stops.size();
                EXPECT_TRUE(HasDottedRow(after)) << form.Caption() << ", stop " << i % stops.size();
            } else {
                EXPECT_NE(before, after) << form.Caption() << ", stop " << i % stops.size();
            }
        }
    }

    std::vector<Stop> MainWindowRound()
    {
        TDVDForm& f = *DVDForm;
        return Then({{f.PrintStyle, Cue::Dots}, {f.StyleCombo, Cue::Change}, {f.SearchBox, Cue::Change}}, Cue::Dots,
                    {f.Button1, f.MarkupListBox, f.Previmage, f.NextImage, f.ToolButton3, f.ToolButton4, f.ToolButton13,
                     f.ToolButton19, f.ToolButton20, f.ToolButton12, f.ToolButton5, f.ToolButton9, f.ToolButton2,
                     f.ToolButton6, f.ToolButton7});
    }
};

TEST_F(KeyboardFocus, MainWindowInBothLooks)
{
    TabRound(*DVDForm, MainWindowRound());
    DVDForm->XPLook1->SetActive(false);
    Application()->ProcessMessages();
    TabRound(*DVDForm, MainWindowRound());
}

TEST_F(KeyboardFocus, EveryOtherWindow)
{
    TPreviewForm& preview = *PreviewForm;
    TabRound(preview, Then({}, Cue::Dots, {preview.ToolButton2, preview.ToolButton3, preview.ToolButton4}));
    preview.Hide();

    TSettingsForm editor(DVDForm);
    TabRound(editor, Then(Then({}, Cue::Change,
                               {editor.leftedit, editor.topedit, editor.widthedit, editor.heightedit, editor.TwinDistEdit,
                                editor.SettingName}),
                          Cue::Dots, {editor.CDStyleCombo, editor.IconCombo, editor.twinprintcombo, editor.Button2, editor.Button1}));

    TDoubFeatForm composer(DVDForm);  // "&Save" stays out until a cover was made
    TabRound(composer, Then({{composer.FilenameEdit1, Cue::Change}, {composer.FilenameEdit2, Cue::Change}}, Cue::Dots,
                            {composer.Prin->Buttons(0), composer.Button2, composer.Button3}));

    TCDRipform finder(DVDForm);
    TabRound(finder, Then({}, Cue::Dots,
                          {finder.DriveComboBoxEx1, finder.markupListBox1, finder.ScanCD, finder.GetCDDB, finder.ClearTracks,
                           finder.WriteINI, finder.ReadINI, finder.CloseList}));

    Tqueryform chooser(DVDForm);
    chooser.QueryBox->Items().Add("rock 0a0b0c0d Artist / Title");
    TabRound(chooser, Then({}, Cue::Dots, {chooser.QueryBox, chooser.Button1, chooser.Button2}));
}

}  // namespace
