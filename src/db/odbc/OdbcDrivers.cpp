#include "OdbcDrivers.h"

#include "OdbcHandle.h"
#include "OdbcText.h"
#include "result/DbError.h"

std::vector<std::string> installedOdbcDrivers() {
    std::vector<std::string> names;
    try {
        OdbcHandle environment(SQL_HANDLE_ENV, SQLHANDLE{});
        SQLSetEnvAttr(environment.get(), SQL_ATTR_ODBC_VERSION,
                      reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLWCHAR description[512];
        SQLWCHAR attributes[2048];
        SQLSMALLINT descriptionLength = 0;
        SQLSMALLINT attributesLength = 0;
        for (SQLUSMALLINT direction = SQL_FETCH_FIRST;
             SQL_SUCCEEDED(SQLDriversW(environment.get(), direction, description, 512,
                                       &descriptionLength, attributes, 2048, &attributesLength));
             direction = SQL_FETCH_NEXT) {
            names.push_back(odbcReturnedText(description, descriptionLength, 512));
        }
    } catch (const DbError&) {
        // no driver manager to ask: no drivers
    }
    return names;
}
