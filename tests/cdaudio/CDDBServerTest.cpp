#include "CDDBServer.h"
#include "Registry.h"
#include "UserConfig.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(CDDBServer, DefaultUnlessTheUserSettingsNameAnother)
{
    QTemporaryDir dir;
    SetUserConfigFolder(dir.path().toStdString());
    EXPECT_EQ(CDDBServer(), "gnudb.gnudb.org");
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey("Software\\Ombrelle\\CDDB", true));
    reg.WriteString("Server", "  ");
    EXPECT_EQ(CDDBServer(), "gnudb.gnudb.org");
    reg.WriteString("Server", "cddb.example.net:8880");
    EXPECT_EQ(CDDBServer(), "cddb.example.net:8880");
    SetUserConfigFolder("");
}

}  // namespace
