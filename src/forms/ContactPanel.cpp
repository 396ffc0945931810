#include "ContactPanel.h"

#include "ContactColours.h"
#include "ContactInfo.h"
#include "table/Fonts.h"

#include <QBoxLayout>
#include <QDesktopServices>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QUrl>

namespace {

// A contact field narrower than its text shows it cut, ending in "…", with the whole text on
// hover, instead of a piece of it running into the next label.
class ContactField : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

    // As wide as its text, where the window has the room (a line edit asks for 17 characters).
    QSize sizeHint() const override {
        const int whole = fontMetrics().horizontalAdvance(text()) + 2 * kTextMargin +
                          contentsMargins().left() + contentsMargins().right() + 2;
        return {whole, QLineEdit::sizeHint().height()};
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        const QRect room = contentsRect().adjusted(kTextMargin, 0, -kTextMargin, 0);
        const bool fits = fontMetrics().horizontalAdvance(text()) <= room.width();
        setToolTip(fits ? QString() : text());
        if (fits) {
            QLineEdit::paintEvent(event);
            return;
        }
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Base));
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(room, Qt::AlignLeft | Qt::AlignVCenter,
                         fontMetrics().elidedText(text(), Qt::ElideRight, room.width()));
    }

private:
    static constexpr int kTextMargin = 2; // where a line edit starts its text
};

QLineEdit* contactField(const QString& text, const QFont& font, const QColor& colour,
                        QWidget* parent) {
    auto* field = new ContactField(text, parent);
    // Shown from its first character: a line edit scrolls to its cursor, which setText leaves
    // at the end, clipping the start of a text wider than the field.
    field->setCursorPosition(0);
    field->setReadOnly(true);
    field->setFrame(false);
    field->setFont(font);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    field->setPalette(palette);
    setFieldColour(*field, colour);
    return field;
}

} // namespace

ContactPanel::ContactPanel(Arrangement arrangement, int fontPixels, const QColor& colour,
                           QWidget* parent)
    : QFrame(parent) {
    const QFont font = songTi(fontPixels);
    web_ = contactField(contact_info::kWebAddress, font, colour, this);
    email_ = contactField(contact_info::kEmail, font, colour, this);
    qq_ = contactField(contact_info::kQq, font, colour, this);
    web_->setCursor(Qt::PointingHandCursor);
    web_->installEventFilter(this);

    const QList<std::pair<QString, QLineEdit*>> rows = {
        {"网址:", web_}, {"E-mail:", email_}, {"QQ:", qq_}};
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);
    for (int i = 0; i < rows.size(); ++i) {
        auto* label = new QLabel(rows[i].first, this);
        label->setFont(font);
        if (arrangement == Arrangement::Stacked) {
            layout->addWidget(label, i, 0);
            layout->addWidget(rows[i].second, i, 1);
        } else {
            layout->addWidget(label, 0, 2 * i);
            layout->addWidget(rows[i].second, 0, 2 * i + 1);
        }
    }
}

bool ContactPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == web_ && event->type() == QEvent::MouseButtonPress) {
        setFieldColour(*web_, QColor(255, 0, 0));
        // Whether the browser opened is not reported.
        QDesktopServices::openUrl(QUrl(contact_info::kWebAddress));
    }
    return QFrame::eventFilter(watched, event);
}
