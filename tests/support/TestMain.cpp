#include <QApplication>
#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "PictureFormats.h"
#include "ScriptedDialogs.h"

// Every test executable runs inside one application object, as the program does.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegisterPictureFormats();
    // No test may block on a real dialog: unscripted ones answer at once.
    ScriptedDialogs unscripted;
    if (int exitCode = 0; RunChildRoutine(exitCode))
        return exitCode;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
