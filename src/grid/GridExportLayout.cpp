#include "GridExportLayout.h"

#include "GridHeader.h"
#include "ResultGrid.h"

TableView tableView(const ResultGrid& grid) {
    TableView view;
    view.name = grid.objectName();
    view.title = grid.window()->windowTitle();
    view.settings = grid.settings();
    view.font = grid.font();
    view.buttonFace = grid.palette().color(QPalette::Button).rgb();
    view.text = grid.palette().color(QPalette::WindowText).rgb();
    view.dpi = grid.logicalDpiX();
    const GridHeader& header = *grid.header();
    for (int visual = 0; visual < header.count(); ++visual) {
        const int logical = header.logicalIndex(visual);
        if (header.isSectionHidden(logical))
            continue;
        if (visual < view.settings.FrozenCols)
            ++view.frozenColumns;
        view.columns.push_back({logical, header.sectionSize(logical)});
    }
    return view;
}

ExportLayout exportLayout(const ResultGrid& grid) {
    return exportLayout(*grid.model(), tableView(grid));
}
