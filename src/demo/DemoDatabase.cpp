#include "DemoDatabase.h"

#include "DemoNames.h"
#include "DemoRandom.h"
#include "DemoSchema.h"
#include "SqliteWriter.h"
#include "db/sqlite/TsqlText.h"
#include "platform/CommandLine.h"
#include "result/DateTime.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
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

// Of every 37 stock records, the first of a key at these places is one of the unusual keys.
constexpr std::size_t kUnusualKeysEvery = 37;
constexpr int kCarriedOver = 5;
constexpr int kIssuedBeforeReceived = 11;

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
        planCurrentStock();
        writeOpeningAndCurrentStock(writeJournal());
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

    // A current-stock record before its quantity on hand is known: that comes from the lines
    // booked to its warehouse, item and batch, and an opening document before them.
    struct StockRecord {
        string warehouse;
        string item;
        SqlValue batch;
        SqlValue remark;
        SqlValue wanted;                // the quantity on hand the record is meant to show, or none
        std::array<SqlValue, 5> others; // awaiting receipt and issue, in transit, frozen
    };

    void planStock(int warehouse, const string& item, const SqlValue& batch,
                   const SqlValue& remark) {
        stock_.push_back({twoDigits(warehouse + 1),
                          item,
                          batch,
                          remark,
                          stockQuantity(5000, 2),
                          {stockQuantity(200, 10), stockQuantity(200, 10), stockQuantity(100, 20),
                           stockQuantity(100, 20), stockQuantity(50, 30)}});
        byWarehouse_[static_cast<std::size_t>(warehouse)].push_back(stock_.size() - 1);
    }

    void planCurrentStock() {
        byWarehouse_.assign(static_cast<std::size_t>(size_.warehouses), {});
        // The same item, batch and remark in the two warehouses that share a name.
        const int twins = std::min(50, size_.stockRecords / 10);
        for (int i = 0; i < twins; ++i)
            for (const int warehouse : {2, 11})
                planStock(warehouse, itemCode(i), numbered("B", i, 8), SqlValue("A级"));
        for (int i = 2 * twins; i < size_.stockRecords; ++i) {
            const int w = i % size_.warehouses;
            const int item = (i / size_.warehouses + i) % size_.items;
            const SqlValue batch = random_.percent(10) ? SqlValue() : SqlValue(numbered("B", i, 8));
            const SqlValue remark =
                random_.percent(60) ? SqlValue() : SqlValue(pick(random_, kRemarks));
            planStock(w, itemCode(item), batch, remark);
        }
    }

    // Where a line's quantity goes: its warehouse, item and batch (records without a batch
    // together).
    static string stockKey(const string& warehouse, const string& item, const SqlValue& batch) {
        const auto* text = std::get_if<string>(&batch);
        return warehouse + '\x1f' + item + '\x1f' + (text ? "B" + *text : string("-"));
    }

    static double wantedOf(const StockRecord& record) {
        const auto* meant = std::get_if<double>(&record.wanted);
        return meant ? *meant : 0.0;
    }

    // Books the opening document of each warehouse before the demo's history, so that the
    // stock of every warehouse, item and batch is its receipts less its issues, and writes the
    // current stock so: the first record of a key holds what its others do not. As in a real
    // ERP, a few keys differ: some were carried over into it without a document (their stock
    // is more than their receipts, the remark says so), and some were issued before their
    // receipts were booked (no opening: their stock is what the lines leave, often below 0).
    void writeOpeningAndCurrentStock(int lastId) {
        struct Key {
            double wanted = 0; // what its records were meant to show together
            double others = 0; // what all but the first of them show
            std::size_t first = 0;
        };
        std::map<string, Key> keys;
        for (std::size_t r = 0; r < stock_.size(); ++r) {
            const StockRecord& record = stock_[r];
            const auto [at, added] =
                keys.try_emplace(stockKey(record.warehouse, record.item, record.batch));
            if (added)
                at->second.first = r;
            else
                at->second.others += wantedOf(record);
            at->second.wanted += wantedOf(record);
        }
        SqliteInserter header(db_,
                              "INSERT INTO rdrecord VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
        SqliteInserter line(db_, "INSERT INTO rdrecords VALUES (?,?,?,?,?,?,?,?,?,?)");
        const string before = isoDate(today_ - 731); // the history goes back 730 days
        std::vector<double> held(stock_.size());
        std::set<std::size_t> carriedOver;
        int id = lastId;
        for (int w = 0; w < size_.warehouses; ++w) {
            const string code = numbered("QC", w + 1, 8);
            bool opened = false;
            for (const std::size_t r : byWarehouse_[static_cast<std::size_t>(w)]) {
                const StockRecord& record = stock_[r];
                const string stockKeyOfRecord =
                    stockKey(record.warehouse, record.item, record.batch);
                const Key& key = keys.at(stockKeyOfRecord);
                if (key.first != r) {
                    held[r] = wantedOf(record);
                    continue;
                }
                const double net = booked_[stockKeyOfRecord];
                const int kind = static_cast<int>(r % kUnusualKeysEvery);
                const double opening =
                    kind == kIssuedBeforeReceived
                        ? 0.0
                        : std::max(0.0, std::round((key.wanted - net) * 1000) / 1000);
                held[r] = std::round((net + opening - key.others) * 1000) / 1000;
                if (kind == kCarriedOver && opening > 0)
                    carriedOver.insert(r);
                if (opening <= 0 || kind == kCarriedOver)
                    continue;
                if (!opened) {
                    header.insert(static_cast<long long>(++id), 1LL, string("08"), string("期初"),
                                  string("库存"), code, record.warehouse, before, code,
                                  string("103"), SqlValue(), SqlValue(), SqlValue(), string("系统"),
                                  before, SqlValue(), SqlValue());
                    opened = true;
                }
                line.insert(SqlValue(), static_cast<long long>(id), record.item, opening,
                            SqlValue(), SqlValue(), SqlValue(), SqlValue(), record.batch,
                            SqlValue());
            }
        }
        SqliteInserter stock(db_, "INSERT INTO CurrentStock VALUES (?,?,?,?,?,?,?,?,?,?,?)");
        for (std::size_t r = 0; r < stock_.size(); ++r) {
            const StockRecord& record = stock_[r];
            // A record that holds nothing and was meant to show no quantity keeps its null.
            SqlValue shown;
            if (held[r] != 0 || !std::holds_alternative<std::monostate>(record.wanted))
                shown = held[r];
            stock.insert(SqlValue(), record.warehouse, record.item, record.batch,
                         carriedOver.count(r) ? SqlValue(string(kCarriedOverRemark))
                                              : record.remark,
                         shown, record.others[0], record.others[1], record.others[2],
                         record.others[3], record.others[4]);
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

    // Writes the documents of the history; gives the last document's id.
    int writeJournal() {
        SqliteInserter header(db_,
                              "INSERT INTO rdrecord VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
        SqliteInserter line(db_, "INSERT INTO rdrecords VALUES (?,?,?,?,?,?,?,?,?,?)");
        const int partners = static_cast<int>(kCities.size() * kTradeNames.size());
        int lines = 0;
        int id = 0;
        while (lines < size_.journalLines) {
            ++id;
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
                writeLine(line, id, warehouse, receipt);
        }
        return id;
    }

    // A line of a document of `warehouse`: mostly of one of its stock records, item and batch,
    // counted toward that record's stock.
    void writeLine(SqliteInserter& line, int id, const string& warehouse, bool receipt) {
        const std::vector<std::size_t>* records = nullptr;
        if (warehouse != kMissingWarehouse)
            records = &byWarehouse_[static_cast<std::size_t>(std::stoi(warehouse) - 1)];
        // A few lines name an item that has no master row.
        const bool missing = random_.percent(1) || !records || records->empty();
        const StockRecord* record = missing
                                        ? nullptr
                                        : &stock_[(*records)[static_cast<std::size_t>(
                                              random_.below(static_cast<int>(records->size())))]];
        const string item =
            record ? record->item : numbered(kMissingItemPrefix, random_.below(100), 5);
        const SqlValue batch =
            record ? record->batch
                   : (random_.percent(20) ? SqlValue()
                                          : SqlValue(numbered("B", random_.below(900000), 8)));
        const double qty = quantity(random_, 500) + 1;
        if (record)
            booked_[stockKey(warehouse, item, batch)] += receipt ? qty : -qty;
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
            batch,
            random_.percent(50) ? SqlValue(numbered("PO", random_.below(90000), 6)) : SqlValue());
    }

    sqlite3* db_;
    DemoSize size_;
    DemoRandom random_;
    std::int64_t today_;
    std::vector<StockRecord> stock_;
    std::vector<std::vector<std::size_t>> byWarehouse_; // the records of each warehouse
    std::map<string, double> booked_;                   // receipts less issues of each stock key
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
