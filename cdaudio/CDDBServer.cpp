#include "CDDBServer.h"

#include "Registry.h"

const char* const DefaultCDDBServer = "gnudb.gnudb.org";

String CDDBServer()
{
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    String server;
    if (reg.OpenKey("\\Software\\Ombrelle\\CDDB", false))
        server = Trim(reg.ReadString("Server"));
    return server.empty() ? String(DefaultCDDBServer) : server;
}
