#include <QApplication>
#include <gtest/gtest.h>

#include "Graphics.h"

// Every test executable runs inside one application object, as the program does.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegisterPictureFormats();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
