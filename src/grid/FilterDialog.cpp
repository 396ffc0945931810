#include "FilterDialog.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

bool hasRange(FieldKind kind) {
    return kind != FieldKind::Text;
}

// A bound as typed: a number, or for dates a day (yyyy-MM-dd or yyyy/M/d), the start of it for
// `from` and its last millisecond for `to`.
std::optional<double> bound(const QString& typed, FieldKind kind, bool upper, bool& bad) {
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    if (kind == FieldKind::DateTime) {
        QDate day = QDate::fromString(text, "yyyy-MM-dd");
        if (!day.isValid())
            day = QDate::fromString(text, "yyyy/M/d");
        bad = !day.isValid();
        if (bad)
            return std::nullopt;
        // Dates are kept as civil times counted like UTC.
        const QDateTime at =
            upper ? day.addDays(1).startOfDay(Qt::UTC).addMSecs(-1) : day.startOfDay(Qt::UTC);
        return static_cast<double>(at.toMSecsSinceEpoch());
    }
    bool ok = false;
    double value = QLocale().toDouble(text, &ok);
    if (!ok)
        value = text.toDouble(&ok);
    bad = !ok;
    return ok ? std::optional<double>(value) : std::nullopt;
}

} // namespace

FilterDialog::FilterDialog(ColumnFilter base, std::vector<DistinctValue> values,
                           const ColumnFilter* current, QWidget* parent)
    : QDialog(parent), base_(std::move(base)) {
    setObjectName("frm_filter");
    setWindowTitle("筛选：" + base_.caption);
    auto* layout = new QVBoxLayout(this);
    search_ = new QLineEdit(this);
    search_->setObjectName("edt_filterSearch");
    search_->setPlaceholderText("搜索");
    search_->setClearButtonEnabled(true);
    layout->addWidget(search_);

    list_ = new QListWidget(this);
    list_->setObjectName("lst_filterValues");
    list_->setUniformItemSizes(true);
    const bool inCurrent = current && current->kind == ColumnFilter::Kind::In;
    const bool notInCurrent = current && current->kind == ColumnFilter::Kind::NotIn;
    for (const DistinctValue& value : values) {
        auto* item = new QListWidgetItem(QString("%1（%2）")
                                             .arg(value.text.isEmpty() ? kEmptyValue : value.text)
                                             .arg(CellText::groupedCount(value.count)),
                                         list_);
        item->setData(Qt::UserRole, value.text);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        const bool listed = current && current->texts.contains(value.text);
        const bool ticked = inCurrent ? listed : notInCurrent ? !listed : true;
        item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
    layout->addWidget(list_, 1);

    auto* ticks = new QHBoxLayout;
    auto* all = new QPushButton("全选", this);
    all->setObjectName("btn_tickAll");
    auto* none = new QPushButton("全不选", this);
    none->setObjectName("btn_tickNone");
    ticks->addWidget(all);
    ticks->addWidget(none);
    ticks->addStretch(1);
    layout->addLayout(ticks);
    connect(all, &QPushButton::clicked, this, [this] { tickShown(true); });
    connect(none, &QPushButton::clicked, this, [this] { tickShown(false); });
    connect(search_, &QLineEdit::textChanged, this, &FilterDialog::narrow);

    if (hasRange(base_.fieldKind)) {
        auto* range = new QFormLayout;
        from_ = new QLineEdit(this);
        from_->setObjectName("edt_from");
        to_ = new QLineEdit(this);
        to_->setObjectName("edt_to");
        const QString hint = base_.fieldKind == FieldKind::DateTime ? "yyyy-mm-dd" : "数值";
        from_->setPlaceholderText(hint);
        to_->setPlaceholderText(hint);
        if (current && current->kind == ColumnFilter::Kind::Range) {
            if (current->low)
                from_->setText(rangeBoundText(base_.fieldKind, *current->low));
            if (current->high)
                to_->setText(rangeBoundText(base_.fieldKind, *current->high));
        }
        range->addRow("从（含）", from_);
        range->addRow("到（含）", to_);
        layout->addLayout(range);
    }
    auto* problem = new QLabel(this);
    problem->setObjectName("lbl_problem");
    problem->setStyleSheet("color: #c00000");
    problem->hide();
    layout->addWidget(problem);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText("确定");
    buttons->button(QDialogButtonBox::Cancel)->setText("取消");
    connect(buttons, &QDialogButtonBox::accepted, this, &FilterDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FilterDialog::reject);
    layout->addWidget(buttons);
    resize(360, 480);
}

void FilterDialog::narrow(const QString& text) {
    for (int row = 0; row < list_->count(); ++row) {
        QListWidgetItem* item = list_->item(row);
        item->setHidden(!item->text().contains(text.trimmed(), Qt::CaseInsensitive));
    }
}

void FilterDialog::tickShown(bool ticked) {
    for (int row = 0; row < list_->count(); ++row)
        if (!list_->item(row)->isHidden())
            list_->item(row)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

bool FilterDialog::readRange(ColumnFilter& filter, QString& problem) const {
    if (!from_)
        return false;
    bool badFrom = false;
    bool badTo = false;
    filter.low = bound(from_->text(), base_.fieldKind, false, badFrom);
    filter.high = bound(to_->text(), base_.fieldKind, true, badTo);
    if (badFrom || badTo)
        problem = base_.fieldKind == FieldKind::DateTime ? "请输入日期，例如 2026-01-31"
                                                         : "请输入数值，例如 -1.5";
    else if (filter.low && filter.high && *filter.low > *filter.high)
        problem = "起点不能大于终点";
    return filter.low || filter.high;
}

bool FilterDialog::kept(int row) const {
    const QListWidgetItem* item = list_->item(row);
    return item->checkState() == Qt::Checked && !item->isHidden();
}

std::optional<ColumnFilter> FilterDialog::chosen() const {
    ColumnFilter filter = base_;
    QString problem;
    if (readRange(filter, problem) && problem.isEmpty()) {
        filter.kind = ColumnFilter::Kind::Range;
        return filter;
    }
    filter.kind = ColumnFilter::Kind::In;
    for (int row = 0; row < list_->count(); ++row) {
        if (kept(row))
            filter.texts << list_->item(row)->data(Qt::UserRole).toString();
    }
    if (filter.texts.size() == list_->count())
        return std::nullopt;
    return filter;
}

void FilterDialog::accept() {
    ColumnFilter filter = base_;
    QString problem;
    readRange(filter, problem);
    if (problem.isEmpty()) {
        bool anyTicked = false;
        for (int row = 0; row < list_->count() && !anyTicked; ++row)
            anyTicked = kept(row);
        if (!anyTicked && !filter.low && !filter.high)
            problem = "请至少勾选一个值";
    }
    auto* label = findChild<QLabel*>("lbl_problem");
    label->setText(problem);
    label->setVisible(!problem.isEmpty());
    if (problem.isEmpty())
        QDialog::accept();
}
