#pragma once
// The program started in a folder of the test's own, with layouts, pictures and a raster printer.
#include "CoverTypes.h"
#include "PreviewUnit.h"
#include "PrintUnit.h"
#include "Printers.h"
#include "Program.h"
#include "ScriptedDialogs.h"
#include "TempDir.h"
#include "helpUnit.h"

#include <gtest/gtest.h>

#include <fstream>

inline TCoverRec MakeLayout(const String& name, float left, float top, float width, float height, int style = 1,
                            int dual = 0, float gap = 0, int icon = 0)
{
    TCoverRec r {};
    r.Left = left;
    r.Top = top;
    r.Width = width;
    r.Height = height;
    r.SetName(name);
    r.Style = style;
    r.Dual = static_cast<uint8_t>(dual);
    r.GapDist = gap;
    r.IconIndex = icon;
    return r;
}

class AppFixture : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedDialogs dialogs;
    TRasterPrintTarget* raster = nullptr;

    void Start(const std::vector<TCoverRec>& layouts, int ppiX = 600, int ppiY = 600)
    {
        WriteLayouts(layouts);
        StartOverFolder(ppiX, ppiY);
    }

    void WriteLayouts(const std::vector<TCoverRec>& layouts)
    {
        std::ofstream out(dir.File("Settings.ini"), std::ios::binary);
        for (const TCoverRec& r : layouts)
            out.write(reinterpret_cast<const char*>(&r), sizeof r);
    }

    // Starts over whatever the folder holds.
    void StartOverFolder(int ppiX = 600, int ppiY = 600)
    {
        Application()->SetExeName(dir.File("ombrelle"));
        auto target = std::make_unique<TRasterPrintTarget>(ppiX, ppiY);
        raster = target.get();
        Printer()->SetTarget(std::move(target));
        CreateStartupForms();
    }

    void TearDown() override
    {
        FreeStartupForms();
        Printer()->SetTarget(std::make_unique<TSystemPrintTarget>());
        Application()->SetExeName("");
    }

    // A bitmap file of one colour.
    String Picture(const String& name, TColor color, int w = 40, int h = 30)
    {
        TBitmap b(w, h, pf24bit);
        b.Canvas().Brush.Color = color;
        b.Canvas().FillRect({0, 0, w, h});
        b.Canvas().Release();
        String file = dir.File(name);
        b.SaveToFile(file);
        return file;
    }

    // Opens a batch through the scripted open-picture dialog.
    void OpenBatch(const std::vector<String>& files)
    {
        dialogs.FileAnswers.push_back(files);
        DVDForm->ToolButton3->Click();
    }
};
