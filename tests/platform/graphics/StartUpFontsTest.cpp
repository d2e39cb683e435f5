#include "FontConfiguration.h"
#include "Forms.h"
#include "StdCtrls.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLineEdit>

#include <gtest/gtest.h>

// Told the application is made, the reader goes on to fill Qt's font database, and the filling
// ends before the application can go; never told (the application failed to start), the reader
// must still end, or the program would hang on its way out.
TEST(StartUpFonts, TheReaderEndsWhetherOrNotTheApplicationIsMade)
{
    for (bool made : {true, false}) {
        FontConfigurationReader reader;
        if (made) {
            const FontConfigurationReader::DatabaseFill fill(reader);
            reader.Wait();
        }
    }
    EXPECT_FALSE(QFontDatabase::families().isEmpty());
}

// Widgets Qt makes on its own (an edit's inner field before its control's font reaches it, a
// dialog's parts) speak in the controls' font once the application is initialised: no second
// face to load at start-up.
TEST(StartUpFonts, QtsOwnWidgetsTakeTheControlsFont)
{
    const QFont before = QApplication::font();
    Application()->Initialize();
    TButton button(nullptr);
    const QFont controls = button.Widget()->font();
    const QFont qts = QLineEdit().font();
    EXPECT_EQ(qts.family(), controls.family());
    EXPECT_EQ(qts.pixelSize(), controls.pixelSize());
    EXPECT_EQ(qts.styleStrategy(), controls.styleStrategy());
    QApplication::setFont(before);
}
