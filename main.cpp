#include "FontConfiguration.h"
#include "Program.h"

#include <QApplication>

int main(int argc, char** argv)
{
    FontConfigurationReader fonts;
    QApplication qt(argc, argv);
    const FontConfigurationReader::DatabaseFill fill(fonts);
    fonts.Wait();
    return RunProgram();
}
