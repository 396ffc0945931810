#include "UsedLibraries.h"

#include "odbc/OdbcHandle.h"
#include "result/DbError.h"

#include <sqlite3.h>

#if !defined(_WIN32)
#include <gnutls/gnutls.h>
#endif

namespace {

// What the driver manager says of itself: "03.52.MMMM.mmmm" from unixODBC, the ODBC version
// it speaks and then its own, which is what is shown.
std::string driverManagerVersion() {
    try {
        const OdbcHandle environment(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
        SQLSetEnvAttr(environment.get(), SQL_ATTR_ODBC_VERSION,
                      reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        const OdbcHandle connection(SQL_HANDLE_DBC, environment.get());
        char text[32] = {};
        SQLSMALLINT length = 0;
        if (!SQL_SUCCEEDED(SQLGetInfo(connection.get(), SQL_DM_VER, text, sizeof text, &length)))
            return {};
        const std::string version(text);
#if defined(_WIN32)
        return version;
#else
        if (version.size() != 15)
            return version;
        return std::to_string(std::stoi(version.substr(6, 4))) + "." +
               std::to_string(std::stoi(version.substr(11, 4)));
#endif
    } catch (const std::exception&) { // no driver manager, or words where digits were
        return {};
    }
}

} // namespace

std::vector<UsedLibrary> databaseLibraries() {
    std::vector<UsedLibrary> libraries{{"SQLite", sqlite3_libversion(), "blessing"}};
#if defined(_WIN32)
    libraries.push_back({"ODBC 驱动管理器", driverManagerVersion(), "Windows 系统组件"});
#else
    libraries.push_back({"unixODBC", driverManagerVersion(), "LGPL-2.1-or-later"});
    libraries.push_back({"GnuTLS", gnutls_check_version(nullptr), "LGPL-2.1-or-later"});
#endif
    return libraries;
}
