#pragma once

#include "SqliteFile.h"
#include "TempDir.h"
#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "table/ExportLayout.h"

#include <sstream>
#include <string>

// A small result of the test's own in a SQLite file, and a grid layout over it written out by
// hand: a text code with the "合计" label, a name, a fixed-point quantity and a double price,
// both summed, and a date.
class ExportFixture {
public:
    ExportFixture() : file_((dir_ / "export.sqlite").string()) {
        runOnSqliteFile(file_,
                        "CREATE TABLE t (id INTEGER, code TEXT, name TEXT, qty NUMERIC(20,6), "
                        "price FLOAT, day DATETIME);"
                        "INSERT INTO t VALUES (1, 'A1', '螺栓', 12.5, 1.25, '2026-03-01');"
                        "INSERT INTO t VALUES (2, 'B2', 'x<y & z', NULL, NULL, '2026-03-02');"
                        "INSERT INTO t VALUES (3, 'C3', '', 0.03125, 2, NULL);");
        openSqliteFile(connection_, file_);
        layout.name = "dbg_test";
        layout.fixedColour = qRgb(240, 240, 240);
        layout.buttonFace = qRgb(240, 240, 240);
        const ExportFont plain{"宋体", 12};
        const ExportFont footerFont{"宋体", 14, true};
        const auto column = [&](const char* field, const char* caption, int width,
                                Alignment alignment, FooterValue footer) {
            ExportColumn c;
            c.field = field;
            c.caption = caption;
            c.width = width;
            c.titleFont = plain;
            c.titleColour = layout.fixedColour;
            c.font = plain;
            c.alignment = alignment;
            c.footer = {footer, footer == FooterValue::StaticText ? "合计" : "", footerFont,
                        qRgb(255, 179, 102), alignment};
            return c;
        };
        layout.columns = {column("code", "编码", 86, Alignment::Left, FooterValue::StaticText),
                          column("name", "名称", 198, Alignment::Left, FooterValue::None),
                          column("qty", "数量", 71, Alignment::Right, FooterValue::Sum),
                          column("price", "单价", 53, Alignment::Right, FooterValue::Sum),
                          column("day", "日期", 69, Alignment::Left, FooterValue::None)};
    }

    // Adds a row: "(id, code, name, qty, price, day)" as SQL values.
    void insert(const std::string& values) {
        runOnSqliteFile(file_, "INSERT INTO t VALUES " + values);
    }

    // Opens the rows that `where` keeps, in id order.
    void open(const std::string& where = "1=1") {
        query.close();
        query.clearStatement();
        query.appendLine("select code, name, qty, price, day from t where " + where +
                         " order by id");
        query.open();
    }

    // What a writer puts into a stream.
    template <typename Writer> std::string written(Writer&& writer) {
        std::ostringstream out;
        writer.WriteGridToStream(out, layout, query);
        return out.str();
    }

    const std::string& file() const { return file_; }

    ExportLayout layout;

private:
    TempDir dir_;
    std::string file_;
    Connection connection_;

public:
    ResultQuery query{connection_,
                      {{"code", FieldKind::Text},
                       {"name", FieldKind::Text},
                       {"qty", FieldKind::Decimal},
                       {"price", FieldKind::Double},
                       {"day", FieldKind::DateTime}}};
};
