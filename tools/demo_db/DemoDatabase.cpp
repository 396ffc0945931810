#include "DemoDatabase.h"

#include "DemoNames.h"
#include "DemoRandom.h"
#include "DemoSchema.h"
#include "SqliteWriter.h"
#include "db/sqlite/TsqlText.h"
#include "platform/CommandLine.h"
#include "result/DateTime.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

namespace {

using namespace demo_names;
using std::string;

// Codes that name no master row, for the outer joins of the journal and the inner joins of
// the current stock.
constexpr const char* kMissingWarehouse = "99";
constexpr const char* kMissingUnit = "ZZ";
constexpr const char* kMissingDepartment = "D99";
constexpr const char* kMissingItemPrefix = "X9";

string numbered(const char* prefix, int n, int width) {
    char text[48];
    std::snprintf(text, sizeof text, "%s%0*d", prefix, width, n);
    return text;
}

string twoDigits(int n) {
    return numbered("", n, 2);
}

string isoDate(std::int64_t epochDay) {
    const CivilDateTime d = fromEpochMilliseconds(epochDay * 86'400'000);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return text;
}

template <std::size_t N>
string pick(DemoRandom& random, const std::array<std::string_view, N>& list) {
    return string(random.pick(std::span<const std::string_view>(list)));
}

// A quantity with up to three decimals; the sums must carry them exactly.
double quantity(DemoRandom& random, int whole) {
    return random.below(whole) + random.below(1000) / 1000.0;
}

class Generator {
public:
    Generator(sqlite3* db, const DemoSize& size, std::uint64_t seed, const CivilDateTime& today)
        : db_(db), size_(size), random_(seed), today_(toEpochMilliseconds(today) / 86'400'000) {}

    void run() {
        // Keys and indexes are ordered as the program's connections compare texts.
        if (useTsqlTextRules(db_) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
        exec(kDemoSchema);
        exec("BEGIN");
        writeMasterData();
        writeCurrentStock();
        writeJournal();
        exec("COMMIT");
        exec(kDemoIndexes);
        exec("ANALYZE");
    }

private:
    void exec(const char* sql) {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
            const string message = error ? error : "unknown error";
            sqlite3_free(error);
            throw std::runtime_error(message);
        }
    }

    string itemCode(int item) const { return numbered("", item + 1, 7); }

    void writeMasterData() {
        SqliteInserter warehouse(db_, "INSERT INTO Warehouse VALUES (?,?)");
        for (int w = 0; w < size_.warehouses; ++w) {
            // Warehouses 03 and 12 share a name: their stock adds up in one row per item.
            const int nameIndex = w == 11 ? 2 : w;
            string name =
                string(kWarehouses[static_cast<std::size_t>(nameIndex) % kWarehouses.size()]);
            if (nameIndex >= static_cast<int>(kWarehouses.size()))
                name += std::to_string(nameIndex / kWarehouses.size() + 1);
            warehouse.insert(twoDigits(w + 1), name);
        }
        SqliteInserter unit(db_, "INSERT INTO ComputationUnit VALUES (?,?)");
        for (std::size_t u = 0; u < kUnits.size(); ++u)
            unit.insert(twoDigits(static_cast<int>(u) + 1), string(kUnits[u]));
        writeItems();
        SqliteInserter department(db_, "INSERT INTO Department VALUES (?,?)");
        for (std::size_t d = 0; d < kDepartments.size(); ++d)
            department.insert(numbered("D", static_cast<int>(d) + 1, 2), string(kDepartments[d]));
        writePartners("INSERT INTO Customer VALUES (?,?,?)", "C");
        writePartners("INSERT INTO Vendor VALUES (?,?,?)", "V");
        SqliteInserter vouchType(db_, "INSERT INTO VouchType VALUES (?,?)");
        for (const auto& [code, name] : {std::pair{"01", "采购入库单"},
                                         {"08", "其他入库单"},
                                         {"10", "产成品入库单"},
                                         {"11", "材料出库单"},
                                         {"32", "销售出库单"},
                                         {"09", "其他出库单"}})
            vouchType.insert(string(code), string(name));
        SqliteInserter style(db_, "INSERT INTO Rd_Style VALUES (?,?,?)");
        for (const auto& [code, name, flag] : {std::tuple{"101", "采购入库", 1LL},
                                               {"102", "产成品入库", 1LL},
                                               {"103", "其他入库", 1LL},
                                               {"201", "销售出库", 0LL},
                                               {"202", "材料领用", 0LL},
                                               {"203", "其他出库", 0LL}})
            style.insert(string(code), string(name), flag);
    }

    void writeItems() {
        SqliteInserter item(db_, "INSERT INTO Inventory VALUES (?,?,?,?,?)");
        for (int i = 0; i < size_.items; ++i) {
            string name = pick(random_, kMaterials) + pick(random_, kObjects);
            if (i < static_cast<int>(kAwkwardItemNames.size()))
                name = string(kAwkwardItemNames[static_cast<std::size_t>(i)]);
            // Item 6 names a unit that has no row, so its stock drops out of the inner join.
            const string unitCode =
                i == 5 ? kMissingUnit
                       : twoDigits(random_.below(static_cast<int>(kUnits.size())) + 1);
            const SqlValue spec = random_.percent(5) ? SqlValue() : SqlValue(pick(random_, kSpecs));
            item.insert(itemCode(i), numbered("A-", i + 1, 6), name, spec, unitCode);
        }
    }

    void writePartners(const char* sql, const char* prefix) {
        SqliteInserter partner(db_, sql);
        int n = 0;
        for (std::string_view city : kCities)
            for (std::string_view trade : kTradeNames) {
                const string abbreviation = string(city) + string(trade);
                partner.insert(numbered(prefix, ++n, 4),
                               abbreviation + pick(random_, kCompanyKinds), abbreviation);
            }
    }

    SqlValue stockQuantity(int whole, int nullChance) {
        return random_.percent(nullChance) ? SqlValue() : SqlValue(quantity(random_, whole));
    }

    void insertStock(SqliteInserter& stock, const string& warehouse, const string& item,
                     const SqlValue& batch, const SqlValue& remark) {
        stock.insert(SqlValue(), warehouse, item, batch, remark, stockQuantity(5000, 2),
                     stockQuantity(200, 10), stockQuantity(200, 10), stockQuantity(100, 20),
                     stockQuantity(100, 20), stockQuantity(50, 30));
    }

    void writeCurrentStock() {
        SqliteInserter stock(db_, "INSERT INTO CurrentStock VALUES (?,?,?,?,?,?,?,?,?,?,?)");
        // The same item, batch and remark in the two warehouses that share a name.
        const int twins = std::min(50, size_.stockRecords / 10);
        for (int i = 0; i < twins; ++i)
            for (const char* warehouse : {"03", "12"})
                insertStock(stock, warehouse, itemCode(i), numbered("B", i, 8), SqlValue("A级"));
        for (int i = 2 * twins; i < size_.stockRecords; ++i) {
            const int w = i % size_.warehouses;
            const int item = (i / size_.warehouses + i) % size_.items;
            const SqlValue batch = random_.percent(10) ? SqlValue() : SqlValue(numbered("B", i, 8));
            const SqlValue remark =
                random_.percent(60) ? SqlValue() : SqlValue(pick(random_, kRemarks));
            insertStock(stock, twoDigits(w + 1), itemCode(item), batch, remark);
        }
    }

    string auditDate(std::int64_t day) {
        string text = isoDate(std::min(day + random_.below(3), today_));
        if (random_.percent(50)) {
            char time[48];
            std::snprintf(time, sizeof time, " %02d:%02d:%02d", 8 + random_.below(10),
                          random_.below(60), random_.below(60));
            text += time;
        }
        return text;
    }

    void writeJournal() {
        SqliteInserter header(db_,
                              "INSERT INTO rdrecord VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
        SqliteInserter line(db_, "INSERT INTO rdrecords VALUES (?,?,?,?,?,?,?,?,?,?)");
        const int partners = static_cast<int>(kCities.size() * kTradeNames.size());
        int lines = 0;
        for (int id = 1; lines < size_.journalLines; ++id) {
            const bool receipt = random_.percent(50);
            const std::int64_t day = today_ - random_.below(730);
            const string source = string(kSources[static_cast<std::size_t>(id) % kSources.size()]);
            const string warehouse = random_.percent(1)
                                         ? kMissingWarehouse
                                         : twoDigits(random_.below(size_.warehouses) + 1);
            const SqlValue department = random_.percent(5) ? SqlValue()
                                        : random_.percent(1)
                                            ? SqlValue(kMissingDepartment)
                                            : SqlValue(numbered("D", random_.below(10) + 1, 2));
            const int partner = random_.below(partners) + 1;
            const SqlValue audit = random_.percent(10) ? SqlValue() : SqlValue(auditDate(day));
            const SqlValue order =
                random_.percent(30) ? SqlValue(numbered("MO", random_.below(5000), 6)) : SqlValue();
            header.insert(
                static_cast<long long>(id), receipt ? 1LL : 0LL,
                string(receipt ? (random_.percent(60) ? "01" : "10")
                               : (random_.percent(60) ? "32" : "11")),
                receipt ? pick(random_, kReceiptBusTypes) : pick(random_, kIssueBusTypes), source,
                numbered("BC", id, 8), warehouse, isoDate(day), numbered("", id, 10),
                string(receipt ? "10" : "20") + std::to_string(random_.below(3) + 1), department,
                receipt ? SqlValue() : SqlValue(numbered("C", partner, 4)),
                receipt ? SqlValue(numbered("V", partner, 4)) : SqlValue(),
                pick(random_, kSurnames) + pick(random_, kGivenNames), audit, order,
                receipt && random_.percent(50) ? SqlValue(numbered("ARV", id, 7)) : SqlValue());
            const int count = std::min(1 + random_.below(8), size_.journalLines - lines);
            for (int k = 0; k < count; ++k, ++lines)
                writeLine(line, id);
        }
    }

    void writeLine(SqliteInserter& line, int id) {
        // A few lines name an item that has no master row.
        const string item = random_.percent(1) ? numbered(kMissingItemPrefix, random_.below(100), 5)
                                               : itemCode(random_.below(size_.items));
        const double qty = quantity(random_, 500) + 1;
        SqlValue cost;
        SqlValue price;
        if (!random_.percent(3)) {
            const double unitCost = quantity(random_, 300) + 0.5;
            cost = unitCost;
            price = static_cast<double>(std::llround(qty * unitCost * 100)) / 100;
        }
        line.insert(
            SqlValue(), static_cast<long long>(id), item, qty, cost, price,
            random_.percent(70) ? SqlValue() : SqlValue(pick(random_, kRemarks)),
            random_.percent(40) ? SqlValue(numbered("CK", random_.below(90000), 6)) : SqlValue(),
            random_.percent(20) ? SqlValue() : SqlValue(numbered("B", random_.below(900000), 8)),
            random_.percent(50) ? SqlValue(numbered("PO", random_.below(90000), 6)) : SqlValue());
    }

    sqlite3* db_;
    DemoSize size_;
    DemoRandom random_;
    std::int64_t today_;
};

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};

} // namespace

void generateDemoDatabase(const std::string& path, const DemoSize& size, std::uint64_t seed,
                          const CivilDateTime& today) {
    // The path is UTF-8 (what SQLite takes); the file calls take it as such, not in the ANSI
    // code page that a narrow path means on Windows.
    const std::string partial = path + ".partial";
    const std::filesystem::path partialFile = pathFromUtf8(partial);
    std::filesystem::remove(partialFile);
    try {
        sqlite3* raw = nullptr;
        const int rc = sqlite3_open(partial.c_str(), &raw);
        std::unique_ptr<sqlite3, DatabaseCloser> db(raw);
        if (rc != SQLITE_OK)
            throw std::runtime_error("cannot create " + partial);
        sqlite3_exec(raw, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA page_size=8192",
                     nullptr, nullptr, nullptr);
        Generator(raw, size, seed, today).run();
        db.reset();
        // Only a complete database takes the name.
        std::filesystem::rename(partialFile, pathFromUtf8(path));
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(partialFile, ignored);
        throw;
    }
}
