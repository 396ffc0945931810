// ResultGrid's columns as the user leaves them: read off the title row, put back from the
// store after checking, reset, and ticked on and off.
#include "GridBody.h"
#include "GridHeader.h"
#include "ResultGrid.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Widths a stored layout may give; others are taken for damage.
constexpr int kNarrowest = 8;
constexpr int kWidest = 2000;

} // namespace

std::vector<StoredColumn> ResultGrid::columnLayout() const {
    std::vector<StoredColumn> stored;
    const GridHeader& titles = *header();
    for (int visual = 0; visual < titles.count(); ++visual) {
        const int logical = titles.logicalIndex(visual);
        stored.push_back({columns()[static_cast<std::size_t>(logical)].field,
                          titles.sectionSize(logical), titles.isSectionHidden(logical)});
    }
    return stored;
}

void ResultGrid::restoreColumnLayout(const std::vector<StoredColumn>& stored) {
    std::vector<StoredColumn> checked;
    std::vector<bool> placed(columns().size(), false);
    for (const StoredColumn& column : stored) {
        const int logical = model_->columnOf(column.field);
        if (logical < 0 || placed[static_cast<std::size_t>(logical)])
            continue;
        placed[static_cast<std::size_t>(logical)] = true;
        const int width = column.width >= kNarrowest && column.width <= kWidest
                              ? column.width
                              : model_->displayWidth(logical);
        checked.push_back({column.field, width, column.hidden});
    }
    if (checked.empty())
        return;
    // A column the list lacks takes its own place, as near as the list allows.
    for (std::size_t logical = 0; logical < placed.size(); ++logical)
        if (!placed[logical])
            checked.insert(
                checked.begin() + static_cast<std::ptrdiff_t>(std::min(logical, checked.size())),
                {columns()[logical].field, model_->displayWidth(static_cast<int>(logical)), false});
    if (std::all_of(checked.begin(), checked.end(), [](const StoredColumn& c) { return c.hidden; }))
        for (StoredColumn& column : checked)
            column.hidden = false;
    GridHeader& titles = *header();
    for (std::size_t visual = 0; visual < checked.size(); ++visual) {
        const int logical = model_->columnOf(checked[visual].field);
        titles.moveSection(titles.visualIndex(logical), static_cast<int>(visual));
        titles.resizeSection(logical, checked[visual].width);
        titles.setSectionHidden(logical, checked[visual].hidden);
    }
}

void ResultGrid::restoreDefaultColumns() {
    std::vector<StoredColumn> defaults;
    for (std::size_t logical = 0; logical < columns().size(); ++logical)
        defaults.push_back(
            {columns()[logical].field, model_->displayWidth(static_cast<int>(logical)), false});
    restoreColumnLayout(defaults);
}

void ResultGrid::chooseShownColumns() {
    QDialog dialog(this);
    dialog.setObjectName("frm_columns");
    dialog.setWindowTitle("显示的列");
    auto* layout = new QVBoxLayout(&dialog);
    auto* list = new QListWidget(&dialog);
    list->setObjectName("lst_columns");
    const GridHeader& titles = *header();
    for (int visual = 0; visual < titles.count(); ++visual) {
        const int logical = titles.logicalIndex(visual);
        auto* item = new QListWidgetItem(
            QString::fromStdString(columns()[static_cast<std::size_t>(logical)].caption()), list);
        item->setData(Qt::UserRole, logical);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(titles.isSectionHidden(logical) ? Qt::Unchecked : Qt::Checked);
    }
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText("确定");
    buttons->button(QDialogButtonBox::Cancel)->setText("取消");
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    // At least one column stays shown.
    QObject::connect(list, &QListWidget::itemChanged, &dialog, [list, buttons] {
        bool any = false;
        for (int row = 0; row < list->count() && !any; ++row)
            any = list->item(row)->checkState() == Qt::Checked;
        buttons->button(QDialogButtonBox::Ok)->setEnabled(any);
    });
    dialog.resize(260, 420);
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::vector<StoredColumn> chosen = columnLayout();
    for (int row = 0; row < list->count(); ++row)
        chosen[static_cast<std::size_t>(row)].hidden = list->item(row)->checkState() != Qt::Checked;
    restoreColumnLayout(chosen);
}

void ResultGrid::addColumnEntries(QMenu& menu) {
    menu.addSeparator();
    menu.addAction("显示的列…", this, &ResultGrid::chooseShownColumns);
    menu.addAction("恢复默认列", this, &ResultGrid::restoreDefaultColumns);
}
