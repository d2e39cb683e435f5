// Every window worked with Tab: the focus goes round in the window's reading order, and each
// control shows that it has the focus, in the XP look and in the plain one.
#include "AddSetting.h"
#include "AppFixture.h"
#include "CDDBUnit.h"
#include "DoubFeatUnit.h"
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

QImage Grab(TControl& control) { return control.Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

// A run of pixels along one of the top rows that alternate one by one: the dotted frame's top.
bool HasDottedRow(const QImage& image)
{
    for (int y = 0; y < std::min(10, image.height()); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int run = 0;
        for (int x = 0; x + 2 < image.width(); ++x) {
            run = row[x] == row[x + 2] && row[x] != row[x + 1] ? run + 1 : 0;
            if (run >= 8)
                return true;
        }
    }
    return false;
}

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
        std::vector<Stop> stops{{f.PrintStyle, Cue::Dots}, {f.StyleCombo, Cue::Change}, {f.SearchBox, Cue::Change},
                                {f.Button1, Cue::Dots},    {f.MarkupListBox, Cue::Dots}, {f.Previmage, Cue::Dots},
                                {f.NextImage, Cue::Dots}};
        for (TToolButton* b : {f.ToolButton3, f.ToolButton4, f.ToolButton13, f.ToolButton19, f.ToolButton20,
                               f.ToolButton12, f.ToolButton5, f.ToolButton9, f.ToolButton2, f.ToolButton6,
                               f.ToolButton7})
            stops.push_back({b, Cue::Dots});
        return stops;
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
    TabRound(preview, {{preview.ToolButton2, Cue::Dots}, {preview.ToolButton3, Cue::Dots},
                       {preview.ToolButton4, Cue::Dots}});
    preview.Hide();

    TSettingsForm editor(DVDForm);
    TabRound(editor, {{editor.leftedit, Cue::Change},
                      {editor.topedit, Cue::Change},
                      {editor.widthedit, Cue::Change},
                      {editor.heightedit, Cue::Change},
                      {editor.TwinDistEdit, Cue::Change},
                      {editor.SettingName, Cue::Change},
                      {editor.CDStyleCombo, Cue::Dots},
                      {editor.IconCombo, Cue::Dots},
                      {editor.twinprintcombo, Cue::Dots},
                      {editor.Button2, Cue::Dots},
                      {editor.Button1, Cue::Dots}});

    TDoubFeatForm composer(DVDForm);  // "&Save" stays out until a cover was made
    TabRound(composer, {{composer.FilenameEdit1, Cue::Change},
                        {composer.FilenameEdit2, Cue::Change},
                        {composer.Prin->Buttons(0), Cue::Dots},
                        {composer.Button2, Cue::Dots},
                        {composer.Button3, Cue::Dots}});

    TCDRipform finder(DVDForm);
    std::vector<Stop> finderRound{{finder.DriveComboBoxEx1, Cue::Dots}, {finder.markupListBox1, Cue::Dots}};
    for (TToolButton* b : {finder.ScanCD, finder.GetCDDB, finder.ClearTracks, finder.WriteINI, finder.ReadINI,
                           finder.CloseList})
        finderRound.push_back({b, Cue::Dots});
    TabRound(finder, finderRound);

    Tqueryform chooser(DVDForm);
    chooser.QueryBox->Items().Add("rock 0a0b0c0d Artist / Title");
    TabRound(chooser, {{chooser.QueryBox, Cue::Dots}, {chooser.Button1, Cue::Dots}, {chooser.Button2, Cue::Dots}});
}

}  // namespace
