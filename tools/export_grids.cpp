// Exports the grids of both query windows, as their 输出 button writes them, in every format
// into a folder, beside a UTF-8 file of what each grid shows (titles, rows, footer), so that
// the files can be read back by the programs people open them with and compared:
//   export_grids DEMO_FILE OUT_DIR [ITEM_NAME]
// Files: stock.xls .rtf .html .txt .xlsx .csv .pdf and stock.expected.tsv; the same for
// journal.
#include "ToolUsage.h"
#include "app/Tfrm_crquery.h"
#include "app/Tfrm_xclquery.h"
#include "export/TDBGridExportAsHTML.h"
#include "export/TDBGridExportAsPDF.h"
#include "export/TDBGridExportAsRTF.h"
#include "export/TDBGridExportAsText.h"
#include "export/TDBGridExportAsUtf8CSV.h"
#include "export/TDBGridExportAsXLS.h"
#include "export/TDBGridExportAsXLSX.h"
#include "grid/GridExportLayout.h"
#include "grid/ResultGrid.h"
#include "table/ResultTableModel.h"

#include <QApplication>
#include <QDate>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>

#include <cstdio>
#include <filesystem>

namespace {

// The grid as it shows: titles with their markers, the rows in the shown order, the footer.
bool writeExpected(ResultGrid& grid, const QString& path) {
    const ResultTableModel& model = *grid.model();
    const ExportLayout layout = exportLayout(grid);
    QString tsv;
    const auto line = [&tsv, &model](const std::function<QString(int)>& cell) {
        for (int column = 0; column < model.columnCount(); ++column)
            tsv += (column ? "\t" : "") + cell(column);
        tsv += "\n";
    };
    line([&](int c) { return layout.columns[static_cast<std::size_t>(c)].caption; });
    for (int row = 0; row < model.rowCount(); ++row)
        line([&](int c) { return model.index(row, c).data().toString(); });
    line([&](int c) { return grid.footerText(c); });
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(tsv.toUtf8()) >= 0;
}

void exportAll(ResultGrid& grid, const QString& folder, const QString& name) {
    const ExportLayout layout = exportLayout(grid);
    const QString base = folder + "/" + name;
    TDBGridExportAsXLS().WriteGridToFile(base + ".xls", layout, grid.query());
    TDBGridExportAsRTF().WriteGridToFile(base + ".rtf", layout, grid.query());
    TDBGridExportAsHTML().WriteGridToFile(base + ".html", layout, grid.query());
    TDBGridExportAsText().WriteGridToFile(base + ".txt", layout, grid.query());
    TDBGridExportAsXLSX().WriteGridToFile(base + ".xlsx", layout, grid.query());
    TDBGridExportAsUtf8CSV().WriteGridToFile(base + ".csv", layout, grid.query());
    TDBGridExportAsPDF().WriteGridToFile(base + ".pdf", layout, grid.query());
    if (!writeExpected(grid, base + ".expected.tsv"))
        throw std::runtime_error("cannot write " + base.toStdString() + ".expected.tsv");
}

} // namespace

constexpr const char* kUsage = "export_grids DEMO_FILE OUT_DIR [ITEM_NAME]";

int main(int argc, char** argv) {
    if (const auto status = helpOrUnknownOption(argc, argv, kUsage))
        return *status;

    if (argc < 3) {
        std::fprintf(stderr, "usage: %s\n", kUsage);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    const QString name = argc > 3 ? QString::fromUtf8(argv[3]) : QString();
    Tfrm_xclquery main;
    main.setAttribute(Qt::WA_DeleteOnClose, false);
    main.ado_conn.setSettings(
        {"sqlite:" + std::filesystem::absolute(argv[1]).string(), "demo", "demo", ""});
    main.ado_conn.open();
    try {
        main.edt_name->setText(name);
        main.RunQuery();
        main.work().waitUntilDone();
        emit main.dbg_xclinfo->titleClicked(7); // sorted by 现存量, its title marked
        main.work().waitUntilDone();
        exportAll(*main.dbg_xclinfo, folder, "stock");
        Tfrm_crquery journal(main.ado_conn);
        journal.FormShow();
        journal.dates->setDate(QDate(1900, 1, 1));
        journal.edt_name->setText(name);
        journal.RunQuery();
        journal.work().waitUntilDone();
        exportAll(*journal.dbg_crinfo, folder, "journal");
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "export_grids: %s\n", failure.what());
        return 1;
    }
    return 0;
}
