#include "db/odbc/OdbcConnectionString.h"
#include "result/DbError.h"

#include <gtest/gtest.h>

TEST(OdbcConnectionString, BracesEveryValueAsTheDriverReadsBraces) {
    EXPECT_EQ(bracedOdbcValue("a;b=c}d"), "{a;b=c}}d}");
    EXPECT_EQ(bracedOdbcValue(""), "{}");
    EXPECT_EQ(bracedFreeTdsValue("a;b=c}d}"), "{a;b=c}d}}");
    EXPECT_THROW(bracedFreeTdsValue("a};UID=x"), DbError);
#ifndef _WIN32
    const std::string text = sqlServerOdbcConnectionString({"db1", "erp;x=1", "sa", "p;w}d=x}"});
    EXPECT_NE(text.find(";DATABASE={erp;x=1};"), std::string::npos) << text;
    EXPECT_NE(text.find(";UID={sa};"), std::string::npos) << text;
    EXPECT_NE(text.find(";PWD={p;w}d=x}};"), std::string::npos) << text;
    EXPECT_THROW(sqlServerOdbcConnectionString({"db1", "d", "sa", "x};UID=evil"}), DbError);
#endif
}

TEST(OdbcConnectionString, ReadsTheServerFormsOfSqlServerTools) {
    auto address = parseSqlServerAddress("erp-db");
    EXPECT_EQ(address.host, "erp-db");
    EXPECT_FALSE(address.port);
    address = parseSqlServerAddress("10.0.0.5,14330");
    EXPECT_EQ(address.host, "10.0.0.5");
    EXPECT_EQ(address.port, 14330);
    address = parseSqlServerAddress("tcp:erp-db,1500");
    EXPECT_EQ(address.host, "erp-db");
    EXPECT_EQ(address.port, 1500);
    address = parseSqlServerAddress("erp-db\\ERPSQL");
    EXPECT_EQ(address.host, "erp-db");
    EXPECT_EQ(address.instance, "ERPSQL");
    address = parseSqlServerAddress("erp-db,notaport");
    EXPECT_EQ(address.host, "erp-db,notaport");
    EXPECT_FALSE(address.port);
}

#ifndef _WIN32
TEST(OdbcConnectionString, PassesFreeTdsEitherTheInstanceOrThePort) {
    EXPECT_NE(sqlServerOdbcConnectionString({"h\\inst", "d", "u", ""}).find("SERVER={h\\inst};"),
              std::string::npos);
    const std::string both = sqlServerOdbcConnectionString({"h\\inst,1600", "d", "u", ""});
    EXPECT_NE(both.find("SERVER={h};PORT=1600;"), std::string::npos) << both;
    EXPECT_NE(sqlServerOdbcConnectionString({"h", "d", "u", ""}).find("SERVER={h};PORT=1433;"),
              std::string::npos);
}
#endif
