#pragma once

#include <QFrame>

class QLineEdit;

// Three labels, "网址:", "E-mail:" and "QQ:", each followed by a read-only, borderless field
// on the button-face colour showing the program's web address, e-mail and number. A mouse
// press on the web-address field turns it red and opens the address in the browser.
class ContactPanel : public QFrame {
    Q_OBJECT
public:
    enum class Arrangement { Stacked, SideBySide };

    ContactPanel(Arrangement arrangement, int fontPixels, const QColor& fieldColour,
                 QWidget* parent = nullptr);

    QLineEdit* webField() const { return web_; }
    QLineEdit* emailField() const { return email_; }
    QLineEdit* qqField() const { return qq_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* web_;
    QLineEdit* email_;
    QLineEdit* qq_;
};
