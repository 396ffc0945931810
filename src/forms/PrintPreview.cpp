#include "PrintPreview.h"

#include "UserManual.h"
#include "pages/PrintDocument.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>
#include <QWheelEvent>

#include <QtMath>

#include <functional>
#include <limits>
#include <vector>

namespace {

constexpr int kPageGap = 12; // grey around the page

// The page as it will come out of the printer, at the zoom chosen: the whole page or its
// width in the view, or a percentage of its size on paper (at the grid's 96 pixels an inch).
// Larger than the view, it scrolls in the scroll area that holds it.
class PageView : public QWidget {
public:
    // `current` gives the page shown; the wheel and the keys ask `show` for another (kept
    // within the pages there), Ctrl+wheel asks `zoomBy` for the next zoom in or out.
    PageView(const PrintDocument& document, const QPrinter& printer, QScrollArea& area,
             std::function<int()> current, std::function<void(int)> show,
             std::function<void(int)> zoomBy)
        : document_(document), printer_(printer), area_(area), current_(std::move(current)),
          show_(std::move(show)), zoomBy_(std::move(zoomBy)) {}

    // 0 for the whole page, -1 for its width, else a percentage.
    void setZoom(int zoom) {
        zoom_ = zoom;
        fitToArea();
    }
    // The page's scale on the screen now.
    double scale() const {
        const QSizeF paper = paperSize();
        const QSizeF room =
            QSizeF(area_.viewport()->size()) - QSizeF(2.0 * kPageGap, 2.0 * kPageGap);
        if (zoom_ == 0)
            return std::max(0.0,
                            std::min(room.width() / paper.width(), room.height() / paper.height()));
        if (zoom_ < 0)
            return std::max(0.0, room.width() / paper.width());
        return zoom_ / 100.0;
    }
    // Sized for the page at its scale, at least as large as the view.
    void fitToArea() {
        const QSizeF shown = paperSize() * scale();
        resize(std::max(area_.viewport()->width(), qFloor(shown.width()) + 2 * kPageGap),
               std::max(area_.viewport()->height(), qFloor(shown.height()) + 2 * kPageGap));
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(128, 128, 128));
        const double scale = this->scale();
        if (document_.pageCount() == 0 || scale <= 0)
            return;
        const QRectF printable = printer_.pageLayout().paintRectPixels(PagePlan::kGridDpi);
        const QSizeF shown = paperSize() * scale;
        const QPointF origin(std::max(double(kPageGap), (width() - shown.width()) / 2),
                             std::max(double(kPageGap), (height() - shown.height()) / 2));
        painter.fillRect(QRectF(origin + QPointF(3, 3), shown), QColor(60, 60, 60));
        painter.fillRect(QRectF(origin, shown), Qt::white);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.translate(origin + printable.topLeft() * scale);
        painter.scale(scale, scale);
        painter.setClipRect(QRectF(QPointF(), printable.size()));
        document_.paint(painter, static_cast<std::size_t>(current_()));
    }

    // Ctrl+wheel zooms; the wheel turns the pages where the page is not taller than the view,
    // else it scrolls the page.
    void wheelEvent(QWheelEvent* event) override {
        const int direction = event->angleDelta().y() < 0 ? 1 : -1;
        if (event->modifiers().testFlag(Qt::ControlModifier))
            return zoomBy(-direction);
        if (area_.verticalScrollBar()->maximum() > 0)
            return event->ignore(); // the scroll area scrolls
        show_(current_() + direction);
    }

    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
        case Qt::Key_Home:
            return show_(0);
        case Qt::Key_End:
            return show_(std::numeric_limits<int>::max() - 1);
        case Qt::Key_PageUp:
        case Qt::Key_Up:
            return show_(current_() - 1);
        case Qt::Key_PageDown:
        case Qt::Key_Down:
            return show_(current_() + 1);
        default:
            QWidget::keyPressEvent(event);
        }
    }

private:
    void zoomBy(int steps) { zoomBy_(steps); }
    QSizeF paperSize() const {
        return printer_.pageLayout().fullRectPixels(PagePlan::kGridDpi).size();
    }

    const PrintDocument& document_;
    const QPrinter& printer_;
    QScrollArea& area_;
    std::function<int()> current_;
    std::function<void(int)> show_;
    std::function<void(int)> zoomBy_;
    int zoom_ = 0;
};

// The view's scroll area keeps the page sized to its view, also when a scroll bar comes or goes.
class PageArea : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    PageView* page = nullptr;

protected:
    bool viewportEvent(QEvent* event) override {
        const bool handled = QScrollArea::viewportEvent(event);
        if (event->type() == QEvent::Resize && page)
            page->fitToArea();
        return handled;
    }
};

// The zooms offered: the whole page, its width, then percentages.
const std::vector<std::pair<QString, int>>& zooms() {
    static const std::vector<std::pair<QString, int>> offered = {
        {"整页", 0},   {"页宽", -1},  {"50%", 50},   {"75%", 75},
        {"100%", 100}, {"150%", 150}, {"200%", 200}, {"300%", 300}};
    return offered;
}

QToolButton* toolButton(QWidget* parent, const QString& caption) {
    auto* button = new QToolButton(parent);
    button->setText(caption);
    button->setAutoRaise(true);
    return button;
}

} // namespace

QSizeF printableArea(const QPrinter& printer) {
    return printer.pageLayout().paintRectPixels(PagePlan::kGridDpi).size();
}

PrintPreview::PrintPreview(PrintDocument& document, QPrinter& printer, QWidget* parent)
    : QDialog(parent), document_(document), printer_(printer) {
    setManualPage(*this, "output");
    setWindowTitle("打印预览");
    resize(1000, 760);
    auto* layout = new QVBoxLayout(this);
    auto* tools = new QHBoxLayout;
    auto* print = new QPushButton("打印…", this);
    print->setObjectName("btn_print");
    orientation_ = new QComboBox(this);
    orientation_->setObjectName("cbx_orientation");
    orientation_->addItems({"横向", "纵向"});
    orientation_->setCurrentIndex(printer.pageLayout().orientation() == QPageLayout::Portrait);
    QToolButton* first = toolButton(this, "首页");
    QToolButton* previous = toolButton(this, "上一页");
    pageNumber_ = new QSpinBox(this);
    pageNumber_->setObjectName("spn_page");
    pageCount_ = new QLabel(this);
    pageCount_->setObjectName("lbl_pages");
    QToolButton* next = toolButton(this, "下一页");
    QToolButton* last = toolButton(this, "末页");
    auto* close = new QPushButton("关闭", this);
    tools->addWidget(print);
    tools->addWidget(orientation_);
    tools->addSpacing(16);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{first, previous, pageNumber_, pageCount_, next, last})
        tools->addWidget(widget);
    tools->addStretch(1);
    tools->addWidget(close);
    layout->addLayout(tools);
    zoom_ = new QComboBox(this);
    zoom_->setObjectName("cbx_zoom");
    for (const auto& [caption, zoom] : zooms())
        zoom_->addItem(caption, zoom);
    tools->insertWidget(tools->indexOf(close), zoom_);
    auto* area = new PageArea(this);
    area->setObjectName("pageArea");
    area->setAlignment(Qt::AlignCenter);
    auto* page = new PageView(
        document, printer, *area, [this] { return currentPage(); },
        [this](int index) { showPage(index); }, [this](int steps) { zoomBy(steps); });
    area->setWidget(page);
    area->page = page;
    page_ = page;
    page_->setObjectName("pageView");
    layout->addWidget(area, 1);
    connect(zoom_, &QComboBox::currentIndexChanged, this,
            [this, page] { page->setZoom(zoom_->currentData().toInt()); });
    // Home, End and the page keys turn the pages.
    page_->setFocusPolicy(Qt::StrongFocus);
    page_->setFocus();

    connect(print, &QPushButton::clicked, this, &PrintPreview::askToPrint);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(first, &QToolButton::clicked, this, [this] { showPage(0); });
    connect(previous, &QToolButton::clicked, this, [this] { showPage(currentPage() - 1); });
    connect(next, &QToolButton::clicked, this, [this] { showPage(currentPage() + 1); });
    connect(last, &QToolButton::clicked, this,
            [this] { showPage(static_cast<int>(document_.pageCount()) - 1); });
    connect(pageNumber_, &QSpinBox::valueChanged, page_, qOverload<>(&QWidget::update));
    connect(orientation_, &QComboBox::currentIndexChanged, this, [this](int index) {
        printer_.setPageOrientation(index == 1 ? QPageLayout::Portrait : QPageLayout::Landscape);
        layOut();
    });
    layOut();
}

int PrintPreview::currentPage() const {
    return pageNumber_->value() - 1;
}

void PrintPreview::showPage(int index) {
    pageNumber_->setValue(index + 1); // kept within the pages by the box
}

void PrintPreview::layOut() {
    document_.setPageArea(printableArea(printer_));
    const int pages = static_cast<int>(document_.pageCount());
    pageNumber_->setRange(1, std::max(pages, 1));
    pageCount_->setText(QString("共 %1 页").arg(pages));
    static_cast<PageView*>(page_)->fitToArea(); // the paper may have turned
}

void PrintPreview::askToPrint() {
    QPrintDialog dialog(&printer_, this);
    dialog.setMinMax(1, static_cast<int>(document_.pageCount()));
    if (dialog.exec() != QDialog::Accepted)
        return;
    layOut(); // the dialog may have changed the paper or the orientation
    accept();
}

void PrintPreview::zoomBy(int steps) {
    // From the scale shown now to the next percentage in or out.
    const double now = static_cast<PageView*>(page_)->scale() * 100;
    const std::vector<std::pair<QString, int>>& offered = zooms();
    int chosen = -1;
    for (int i = 0; i < static_cast<int>(offered.size()); ++i) {
        const int percent = offered[static_cast<std::size_t>(i)].second;
        if (percent <= 0)
            continue;
        if (steps > 0 && percent > now + 0.5 && chosen < 0)
            chosen = i;
        if (steps < 0 && percent < now - 0.5)
            chosen = i;
    }
    if (chosen >= 0)
        zoom_->setCurrentIndex(chosen);
}
