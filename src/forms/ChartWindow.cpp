#include "ChartWindow.h"

#include "ChartHoverText.h"
#include "MessageBoxes.h"
#include "SaveDialog.h"
#include "SaveFolder.h"
#include "UserManual.h"
#include "db/WorkControl.h"
#include "export/SaveStream.h"
#include "settings/ExportPreferences.h"
#include "table/CellText.h"
#include "table/Fonts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBoxLayout>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QDate>
#include <QDateTimeAxis>
#include <QFileDialog>
#include <QGraphicsLayout>
#include <QHorizontalBarSeries>
#include <QHorizontalStackedBarSeries>
#include <QLayout>
#include <QLineSeries>
#include <QPushButton>
#include <QStackedBarSeries>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QTimer>
#include <QValueAxis>

#include <array>
#include <memory>
#include <numeric>

namespace {

constexpr int kSavedWidth = 1200;
constexpr int kSavedHeight = 720;
// The colour of a chart's first, second, … figure, the same in every chart whatever the order
// its bars are drawn in (入库 blue and 出库 green by month and by warehouse alike).
// Thirteen, for the most age bands there are.
const std::array<QColor, 13> kSeriesColours = {
    QColor(0x20, 0x9f, 0xdf), QColor(0x99, 0xca, 0x53), QColor(0xf6, 0xa6, 0x25),
    QColor(0x6d, 0x5f, 0xd5), QColor(0xbf, 0x59, 0x3e), QColor(0x2a, 0xa7, 0x8e),
    QColor(0xe0, 0x6c, 0xa8), QColor(0x8c, 0x8c, 0x8c), QColor(0xc9, 0xb1, 0x1e),
    QColor(0x3d, 0x5a, 0x98), QColor(0x7a, 0x3e, 0x1d), QColor(0x5e, 0xc4, 0xd8),
    QColor(0x4b, 0x7d, 0x2f)};

// Labels longer than this, or more groups than this, go down the side as horizontal bars.
constexpr int kLongLabel = 8;
constexpr std::size_t kManyGroups = 14;

bool horizontal(const std::vector<FigureGroup>& groups) {
    if (groups.size() > kManyGroups)
        return true;
    return std::any_of(groups.begin(), groups.end(),
                       [](const FigureGroup& group) { return group.label.size() > kLongLabel; });
}

// The window's locale with its thousands separator, which Qt's C locale leaves out.
QLocale groupedNumbers() {
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale;
}

QChart* titledChart(const ChartFiguresShown& shown, const QString& criteria) {
    auto* chart = new QChart;
    const QString nothing = shown.groups.empty() ? "（没有记录）" : "";
    chart->setTitle(
        QString("<b>%1%2</b><br><small>%3</small>")
            .arg(shown.request.title.toHtmlEscaped(), nothing, criteria.toHtmlEscaped()));
    chart->setAnimationOptions(QChart::NoAnimation);
    // One Chinese font for every text, so that a title of Chinese and digits is drawn as one
    // run (an SVG then holds it as one text, which other programs lay out whole).
    chart->setTitleFont(songTi(12));
    chart->legend()->setFont(songTi(12));
    chart->setLocalizeNumbers(true); // 37,990 reads, 37990 does not
    chart->setLocale(groupedNumbers());
    return chart;
}

qint64 dayMilliseconds(const QString& day) {
    return QDate::fromString(day, "yyyy-MM-dd").startOfDay().toMSecsSinceEpoch();
}

// A time axis from `first` whose ticks stand on whole days a whole number of days apart, at most
// seven of them, its end moved on to the last tick at or after `last`: ticks at even times
// between two days would name the days unevenly (12-01, 12-02, 12-04, …).
void evenDayTicks(QDateTimeAxis& axis, QDate first, QDate last) {
    constexpr qint64 kMostSteps = 6;
    const qint64 days = std::max<qint64>(1, first.daysTo(last));
    const qint64 step = (days + kMostSteps - 1) / kMostSteps;
    const qint64 steps = (days + step - 1) / step;
    axis.setRange(first.startOfDay(), first.addDays(step * steps).startOfDay());
    axis.setTickCount(static_cast<int>(steps) + 1);
}

// A running figure over time: level until the day of each row, then its value after that row.
// Resting the pointer on the plot shows the value at the end of the day under it.
QChart* makeStepChart(const ChartFiguresShown& shown, const QString& criteria) {
    QChart* chart = titledChart(shown, criteria);
    if (shown.groups.empty())
        return chart;
    auto* line = new QLineSeries;
    line->setName(QString::fromStdString(shown.request.values.front()));
    double largest = 0;
    double smallest = 0;
    for (std::size_t i = 0; i < shown.groups.size(); ++i) {
        const double x = static_cast<double>(dayMilliseconds(shown.groups[i].label));
        const double y = static_cast<double>(shown.groups[i].totals.front()) / 10000.0;
        if (i > 0)
            line->append(x, line->points().back().y());
        line->append(x, y);
        largest = std::max(largest, y);
        smallest = std::min(smallest, y);
    }
    // Anywhere over the plot, the balance at the end of the day under the pointer: a line a
    // pixel or two wide is hard to rest on.
    new ChartHoverText(chart, [chart, line, groups = shown.groups](QPointF at) {
        if (!chart->plotArea().contains(at))
            return QString();
        return stepHoverText(groups, line->name(), chart->mapToValue(at, line).x());
    });
    line->setColor(kSeriesColours.front());
    chart->addSeries(line);
    auto* days = new QDateTimeAxis;
    days->setFormat("yyyy-MM-dd");
    days->setLabelsFont(songTi(12));
    auto* values = new QValueAxis;
    values->setRange(smallest, largest > smallest ? largest * 1.05 : smallest + 1);
    values->applyNiceNumbers();
    values->setLabelFormat("%.0f");
    values->setLabelsFont(songTi(12));
    chart->addAxis(days, Qt::AlignBottom);
    chart->addAxis(values, Qt::AlignLeft);
    line->attachAxis(days);
    line->attachAxis(values);
    evenDayTicks(*days, QDate::fromString(shown.groups.front().label, "yyyy-MM-dd"),
                 QDate::fromString(shown.groups.back().label, "yyyy-MM-dd"));
    chart->legend()->setVisible(false);
    return chart;
}

QChart* makeChart(const ChartFiguresShown& shown, const QString& criteria) {
    if (shown.request.groups == ChartRequest::Groups::EveryRow)
        return makeStepChart(shown, criteria);
    QChart* chart = titledChart(shown, criteria);
    if (shown.groups.empty())
        return chart; // no axes to measure nothing by
    const bool across = horizontal(shown.groups);
    const bool stacked = shown.request.stacked;
    QAbstractBarSeries* series = nullptr;
    if (stacked)
        series = across ? static_cast<QAbstractBarSeries*>(new QHorizontalStackedBarSeries)
                        : static_cast<QAbstractBarSeries*>(new QStackedBarSeries);
    else
        series = across ? static_cast<QAbstractBarSeries*>(new QHorizontalBarSeries)
                        : static_cast<QAbstractBarSeries*>(new QBarSeries);
    // Bars across go up from the bottom, groups and sets alike: both are given last first, so
    // that the first group is at the top and the first set on top within it, as the legend
    // reads. Stacked parts go from the axis outwards in the legend's order.
    std::vector<FigureGroup> groups = shown.groups;
    std::vector<std::size_t> sets(shown.request.values.size());
    std::iota(sets.begin(), sets.end(), 0);
    if (across) {
        std::reverse(groups.begin(), groups.end());
        if (!stacked) {
            std::reverse(sets.begin(), sets.end());
            chart->legend()->setReverseMarkers(true);
        }
    }
    QStringList labels;
    for (const FigureGroup& group : groups)
        labels << group.label;
    double largest = 0;
    double smallest = 0;
    auto* hover = new ChartHoverText(chart);
    for (const std::size_t value : sets) {
        auto* set = new QBarSet(QString::fromStdString(shown.request.values[value]));
        set->setColor(kSeriesColours[value % kSeriesColours.size()]);
        for (const FigureGroup& group : groups) {
            const double figure = static_cast<double>(group.totals[value]) / 10000.0;
            *set << figure;
            largest = std::max(largest, figure);
            smallest = std::min(smallest, figure);
        }
        // The hover names the group of the bar as drawn.
        QObject::connect(
            set, &QBarSet::hovered, hover, [hover, set, groups, value](bool over, int index) {
                const FigureGroup& group = groups[static_cast<std::size_t>(index)];
                const QString text =
                    QString("%1\n%2：%3")
                        .arg(group.label, set->label(), figureText(group.totals[value]));
                if (over)
                    hover->entered(text);
                else
                    hover->left(text);
            });
        series->append(set);
    }
    if (stacked) // the axis goes as far as the parts together
        for (const FigureGroup& group : groups) {
            double up = 0, down = 0;
            for (const std::int64_t part : group.totals)
                (part > 0 ? up : down) += static_cast<double>(part) / 10000.0;
            largest = std::max(largest, up);
            smallest = std::min(smallest, down);
        }
    chart->addSeries(series);
    auto* categories = new QBarCategoryAxis;
    categories->append(labels);
    auto* values = new QValueAxis;
    values->setRange(smallest, largest > smallest ? largest * 1.05 : smallest + 1);
    values->applyNiceNumbers();
    values->setLabelFormat("%.0f");
    categories->setTruncateLabels(false); // names read whole
    categories->setLabelsFont(songTi(12));
    values->setLabelsFont(songTi(12));
    chart->addAxis(categories, across ? Qt::AlignLeft : Qt::AlignBottom);
    chart->addAxis(values, across ? Qt::AlignBottom : Qt::AlignLeft);
    series->attachAxis(categories);
    series->attachAxis(values);
    chart->legend()->setVisible(shown.request.values.size() > 1);
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

// The chart drawn into a PNG or an SVG document named `title`, whole in memory.
QByteArray chartBytes(QChartView& view, const QString& title, bool svg) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const QRect area(0, 0, kSavedWidth, kSavedHeight);
    if (svg) {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(area.size());
        generator.setViewBox(area);
        generator.setTitle(title.toHtmlEscaped()); // the generator writes it as it is
        QPainter painter(&generator);
        view.render(&painter, area);
    } else {
        QImage image(area.size(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        view.render(&painter, area);
        painter.end();
        image.save(&buffer, "PNG");
    }
    return buffer.data();
}

} // namespace

QString figureText(std::int64_t tenThousandths) {
    return CellText().decimal(tenThousandths);
}

QString stepHoverText(const std::vector<FigureGroup>& groups, const QString& series, double at) {
    // The last row on or before the day under the pointer; the pointer is seldom exactly on it.
    const FigureGroup* shown = &groups.front();
    const qint64 day = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(at))
                           .date()
                           .startOfDay()
                           .toMSecsSinceEpoch();
    for (const FigureGroup& group : groups)
        if (dayMilliseconds(group.label) <= day)
            shown = &group;
    return QString("%1\n%2：%3").arg(shown->label, series, figureText(shown->totals.front()));
}

ChartWindow::ChartWindow(const QString& caption, const QString& criteria,
                         std::vector<ChartFiguresShown> charts, QWidget* parent)
    : QDialog(parent), tabs_(new QTabWidget(this)), criteria_(criteria), charts_(std::move(charts)),
      made_(charts_.size()), views_(charts_.size(), nullptr) {
    setManualPage(*this, "charts");
    setObjectName("frm_chart");
    setWindowTitle(QString("图表 - %1").arg(caption));
    resize(960, 640);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    for (const ChartFiguresShown& shown : charts_) {
        auto* page = new QWidget(tabs_);
        new QVBoxLayout(page);
        page->layout()->setContentsMargins(0, 0, 0, 0);
        tabs_->addTab(page, shown.request.title);
    }
    auto* buttons = new QHBoxLayout;
    auto* save = new QPushButton("保存图片", this);
    save->setObjectName("btn_save");
    auto* close = new QPushButton("关闭", this);
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(save, &QPushButton::clicked, this, &ChartWindow::askToSave);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    // A chart is made when its tab is first shown. The first one a step a turn after the
    // window itself: made, then laid out in its view, then painted, so that no step holds the
    // interface for long.
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0)
            view(index);
    });
    QTimer::singleShot(0, this, [this] {
        if (tabs_->currentIndex() < 0)
            return;
        made(tabs_->currentIndex());
        QTimer::singleShot(0, this, [this] { view(tabs_->currentIndex()); });
    });
}

ChartWindow::~ChartWindow() = default;

std::unique_ptr<QChart>& ChartWindow::made(int index) const {
    std::unique_ptr<QChart>& chart = made_[static_cast<std::size_t>(index)];
    if (!chart && !views_[static_cast<std::size_t>(index)])
        chart.reset(makeChart(charts_[static_cast<std::size_t>(index)], criteria_));
    return chart;
}

QChartView& ChartWindow::view(int index) const {
    QChartView*& view = views_[static_cast<std::size_t>(index)];
    if (!view) {
        view = new QChartView(made(index).release()); // the view owns its chart
        view->setRenderHint(QPainter::Antialiasing);
        ChartHoverText::watch(*view->chart(), *view->viewport());
        tabs_->widget(index)->layout()->addWidget(view);
        // Shown and laid out now, so that the chart is ready when asked for and its first
        // paint, on the next turn, is all that is left.
        view->show();
        tabs_->widget(index)->layout()->activate();
        view->chart()->layout()->activate();
    }
    return *view;
}

QChart* ChartWindow::chart(int index) const {
    return view(index).chart();
}

bool ChartWindow::saveChart(const QString& path, QString& failure) const {
    const int shown = tabs_->currentIndex();
    const QByteArray bytes =
        chartBytes(view(shown), tabs_->tabText(shown), path.endsWith(".svg", Qt::CaseInsensitive));
    const WorkControl control;
    try {
        SaveStream file(path, control);
        file.write(bytes.constData(), bytes.size());
        file.commit(control);
        return true;
    } catch (const std::exception& error) {
        failure = QString::fromStdString(error.what());
        return false;
    }
}

void ChartWindow::askToSave() {
    QFileDialog dialog(this, "保存图片");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    readyChineseSaveDialog(dialog);
    dialog.setNameFilters({"PNG 图片 (*.png)", "SVG 图片 (*.svg)"});
    // The ending is added before the dialog asks whether to replace a file of that name.
    dialog.setDefaultSuffix("png");
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(filter.startsWith("SVG") ? "svg" : "png");
    });
    dialog.setDirectory(saveDialogFolder(readExportPreferences()));
    dialog.selectFile(tabs_->tabText(tabs_->currentIndex()) + ".png");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().first();
    const QString filter = dialog.selectedNameFilter();
    // A name with either ending keeps it; any other gets the chosen type's.
    QString named = path;
    if (!named.endsWith(".svg", Qt::CaseInsensitive) &&
        !named.endsWith(".png", Qt::CaseInsensitive))
        named += filter.startsWith("SVG") ? ".svg" : ".png";
    QString failure;
    if (saveChart(named, failure))
        rememberSaveFolder(named);
    else
        showPrompt(this, QString("图片未能保存：%1").arg(failure));
}
