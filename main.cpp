#include "FontConfiguration.h"
#include "Program.h"

#include <QApplication>

int main(int argc, char** argv)
{
    FontConfigurationReader fonts;
    QApplication qt(argc, argv);
    fonts.Wait();
    return RunProgram();
}
