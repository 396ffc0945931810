#include "PrintPreview.h"

#include "pages/PrintDocument.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QWheelEvent>

#include <functional>
#include <limits>

namespace {

constexpr int kPageGap = 12; // grey around the page

// The page as it will come out of the printer, scaled to fit the view.
class PageView : public QWidget {
public:
    // `current` gives the page shown; the wheel and the keys ask `show` for another (kept
    // within the pages there).
    PageView(const PrintDocument& document, const QPrinter& printer, std::function<int()> current,
             std::function<void(int)> show, QWidget* parent)
        : QWidget(parent), document_(document), printer_(printer), current_(std::move(current)),
          show_(std::move(show)) {
        setMinimumSize(400, 300);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(128, 128, 128));
        if (document_.pageCount() == 0)
            return;
        const QRectF paper = printer_.pageLayout().fullRectPixels(PagePlan::kGridDpi);
        const QRectF printable = printer_.pageLayout().paintRectPixels(PagePlan::kGridDpi);
        const double scale = std::min((width() - 2.0 * kPageGap) / paper.width(),
                                      (height() - 2.0 * kPageGap) / paper.height());
        if (scale <= 0)
            return;
        const QSizeF shown = paper.size() * scale;
        const QPointF origin((width() - shown.width()) / 2, (height() - shown.height()) / 2);
        painter.fillRect(QRectF(origin + QPointF(3, 3), shown), QColor(60, 60, 60));
        painter.fillRect(QRectF(origin, shown), Qt::white);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.translate(origin + printable.topLeft() * scale);
        painter.scale(scale, scale);
        painter.setClipRect(QRectF(QPointF(), printable.size()));
        document_.paint(painter, static_cast<std::size_t>(current_()));
    }

    // The wheel turns the pages.
    void wheelEvent(QWheelEvent* event) override {
        show_(current_() + (event->angleDelta().y() < 0 ? 1 : -1));
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
    const PrintDocument& document_;
    const QPrinter& printer_;
    std::function<int()> current_;
    std::function<void(int)> show_;
};

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
    page_ = new PageView(
        document, printer, [this] { return currentPage(); }, [this](int index) { showPage(index); },
        this);
    page_->setObjectName("pageView");
    layout->addWidget(page_, 1);
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
    page_->update();
}

void PrintPreview::askToPrint() {
    QPrintDialog dialog(&printer_, this);
    dialog.setMinMax(1, static_cast<int>(document_.pageCount()));
    if (dialog.exec() != QDialog::Accepted)
        return;
    layOut(); // the dialog may have changed the paper or the orientation
    accept();
}
