#include "ErpTdsResponder.h"

#include "TdsTokens.h"

#include "db/sqlite/SqliteBackend.h"
#include "db/sqlite/TsqlText.h"
#include "db/sqlite/TsqlToSqlite.h"
#include "result/DbError.h"
#include "result/FixedPoint.h"

#include <sqlite3.h>

#include <cmath>
#include <map>
#include <optional>

namespace {

using tds::Type;

const std::map<std::string, tds::Column>& erpColumns() {
    static const std::map<std::string, tds::Column> columns = [] {
        std::map<std::string, tds::Column> m;
        const auto add = [&m](const std::string& name, Type type, int length = 0,
                              int precision = 18, int scale = 0) {
            m[name] = tds::Column{name, type, length, precision, scale};
        };
        for (const char* name : {"现存量", "可用数量", "待发货数量", "待入库数量", "调拨在途数量",
                                 "调拨待发数量", "冻结量"})
            add(name, Type::Decimal, 0, 38, 6);
        add("仓库名称", Type::VarChar, 20);
        add("仓库", Type::VarChar, 20);
        add("cwhcode", Type::NVarChar, 10);
        add("cwhname", Type::VarChar, 20);
        add("收发标志", Type::VarCharMax);
        add("存货编码", Type::NVarChar, 20);
        add("存货名称", Type::NVarChar, 60);
        add("规格型号", Type::NVarChar, 60);
        add("存货代码", Type::NVarChar, 30);
        add("批号", Type::NVarChar, 60);
        add("批次", Type::NVarChar, 60);
        add("存货备注", Type::NVarChar, 20);
        add("客户", Type::NVarChar, 60);
        add("供应商简称", Type::NVarChar, 60);
        add("单据类型", Type::NVarChar, 30);
        add("业务类型", Type::NVarChar, 12);
        add("单据来源", Type::NVarChar, 50);
        add("收发类别", Type::NVarChar, 12);
        add("部门编码", Type::NVarChar, 12);
        add("部门", Type::NVarChar, 20);
        add("制单人", Type::NVarChar, 20);
        add("单据日期", Type::DateTime);
        add("审核日期", Type::DateTime);
        add("入库数量", Type::Float);
        for (const char* name : {"期初数量", "期末数量", "结存数量"})
            add(name, Type::Float);
        for (const char* name : {"入库金额", "出库金额"})
            add(name, Type::Decimal, 0, 38, 4);
        add("仓库编码", Type::NVarChar, 10);
        add("计量单位", Type::NVarChar, 20);
        add("摘要", Type::NVarChar, 12);
        add("单据号", Type::NVarChar, 30);
        add("出库数量", Type::Float);
        add("单价", Type::Float);
        add("金额", Type::Money);
        add("最近入库日期", Type::DateTime);
        add("最近出库日期", Type::DateTime);
        add("呆滞天数", Type::Int);
        return m;
    }();
    return columns;
}

// The ERP's type of a result column of this name, the age bands ("0-30天", "365天以上") too.
std::optional<tds::Column> erpColumnNamed(const std::string& name) {
    if (const auto found = erpColumns().find(name); found != erpColumns().end())
        return found->second;
    if ((name.ends_with("天") && name.find('-') != std::string::npos) || name.ends_with("天以上"))
        return tds::Column{name, Type::Float};
    return std::nullopt;
}

__int128 pow10(int n) {
    __int128 v = 1;
    while (n-- > 0)
        v *= 10;
    return v;
}

// One cell of the result in the column's type. Values that SQLite kept as text where the
// ERP has numbers (an expression whose first value was null) are read back as numbers.
void appendCell(tds::Table& table, const tds::Column& type, const ResultColumn& column,
                std::size_t row) {
    if (column.isNull(row)) {
        table.null();
        return;
    }
    std::int64_t tenThousandths = 0;
    double real = 0;
    switch (column.kind()) {
    case FieldKind::Text:
        if (type.type == Type::NVarChar || type.type == Type::VarChar ||
            type.type == Type::NVarCharMax || type.type == Type::VarCharMax) {
            table.text(column.text(row));
            return;
        }
        tenThousandths = tenThousandthsFromText(column.text(row)).value_or(0);
        real = std::stod(std::string(column.text(row)));
        break;
    case FieldKind::Decimal:
        tenThousandths = column.integer(row);
        real = static_cast<double>(tenThousandths) / kTenThousand;
        break;
    case FieldKind::Double:
        real = column.real(row);
        tenThousandths = tenThousandthsFromDouble(real).value_or(0);
        break;
    case FieldKind::Integer:
        if (type.type == Type::TinyInt || type.type == Type::Int || type.type == Type::BigInt) {
            table.integer(column.integer(row));
            return;
        }
        tenThousandths = column.integer(row) * kTenThousand;
        real = static_cast<double>(column.integer(row));
        break;
    case FieldKind::DateTime:
        table.dateTime(column.integer(row));
        return;
    }
    switch (type.type) {
    case Type::Decimal:
        table.decimal(type.scale >= 4 ? tenThousandths * pow10(type.scale - 4)
                                      : tenThousandths / pow10(4 - type.scale));
        return;
    case Type::Money:
        table.money(tenThousandths);
        return;
    case Type::Float:
        table.real(real);
        return;
    default:
        table.integer(static_cast<std::int64_t>(std::llround(real)));
    }
}

FieldKind kindOf(Type type) {
    switch (type) {
    case Type::Decimal:
    case Type::Money:
        return FieldKind::Decimal;
    case Type::Float:
        return FieldKind::Double;
    case Type::TinyInt:
    case Type::Int:
    case Type::BigInt:
        return FieldKind::Integer;
    case Type::DateTime:
        return FieldKind::DateTime;
    default:
        return FieldKind::Text;
    }
}

// The ERP fields of the statement's result, so that SQLite reads every value in the kind the
// server has for it; empty when a column is not one the ERP types.
std::vector<FieldDecl> erpFields(const std::string& path, const std::string& batch) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_exec(db, ("ATTACH DATABASE '" + path + "' AS dbo").c_str(), nullptr, nullptr, nullptr);
    useTsqlTextRules(db);
    sqlite3_stmt* statement = nullptr;
    const std::string sql = tsqlToSqlite(batch);
    sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
    std::vector<FieldDecl> fields;
    for (int i = 0; statement && i < sqlite3_column_count(statement); ++i) {
        const std::optional<tds::Column> found = erpColumnNamed(sqlite3_column_name(statement, i));
        if (!found) {
            fields.clear();
            break;
        }
        fields.push_back({found->name, kindOf(found->type)});
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return fields;
}

// The ERP's column type for a result column of this name, or one that holds its kind.
tds::Column erpColumn(const std::string& name, FieldKind kind) {
    if (const std::optional<tds::Column> found = erpColumnNamed(name))
        return *found;
    switch (kind) {
    case FieldKind::Decimal:
        return {name, Type::Decimal, 0, 38, 6};
    case FieldKind::Double:
        return {name, Type::Float};
    case FieldKind::Integer:
        return {name, Type::Int};
    case FieldKind::DateTime:
        return {name, Type::DateTime};
    case FieldKind::Text:
        break;
    }
    return {name, Type::NVarChar, 60};
}

// A result as the tokens of a SQL Server answer, each column in the given type.
std::string tdsAnswer(const ResultSet& result, const std::vector<tds::Column>& types) {
    tds::Table table(types);
    for (std::size_t row = 0; row < result.rowCount(); ++row)
        for (std::size_t c = 0; c < result.columnCount(); ++c)
            appendCell(table, types[c], result.column(c), row);
    return table.finish();
}

} // namespace

std::shared_ptr<const std::string> ErpTdsResponder::operator()(const std::string& batch) const {
    // What FreeTDS sends of its own after the log-in is answered with a bare DONE.
    if (batch.starts_with("SET ") || batch.starts_with("set "))
        return nullptr;
    try {
        SqliteBackend sqlite(path_);
        const ResultSet result = sqlite.fetchAll(batch, erpFields(path_, batch));
        std::vector<tds::Column> types;
        for (std::size_t c = 0; c < result.columnCount(); ++c)
            types.push_back(erpColumn(result.column(c).name(), result.column(c).kind()));
        return std::make_shared<const std::string>(tdsAnswer(result, types));
    } catch (const DbError& error) {
        return std::make_shared<const std::string>(
            tds::errorToken(102, 15, std::string("Incorrect syntax: ") + error.what()) +
            tds::doneToken(tds::kDoneError, 0));
    }
}
