#include "Tfrm_link.h"

#include "BackgroundConnect.h"
#include "BoxText.h"
#include "FormParts.h"
#include "MessageBoxes.h"
#include "db/Connection.h"
#include "settings/DBLinkInfo.h"
#include "table/Fonts.h"

#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QShowEvent>

Tfrm_link* frm_link = nullptr;

namespace {

// Shows every character of a password as "*".
class AsteriskPasswordStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

Tfrm_link::Tfrm_link(Connection& connection, QWidget* parent)
    : PlainKeysDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                                  Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      connection_(connection) {
    setWindowTitle("数据库连接");
    setFont(msSansSerif(11));
    setFixedSize(334, 212);
    move(470, 299);

    const auto label = [this](const QString& caption, int left, int top) {
        auto* l = new QLabel(caption, this);
        l->setFont(songTi(16));
        l->move(left, top);
        l->adjustSize();
    };
    const auto edit = [this](const char* name, int top) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setGeometry(88, top, 209, 21);
        return e;
    };
    label("服务器", 32, 30);
    Edit1 = edit("Edit1", 26);
    label("数据库", 32, 60);
    Edit2 = edit("Edit2", 56);
    label("用  户", 32, 91);
    Edit3 = edit("Edit3", 87);
    label("密  码", 32, 122);
    Edit4 = edit("Edit4", 118);
    Edit4->setEchoMode(QLineEdit::Password);
    auto* asterisks = new AsteriskPasswordStyle;
    asterisks->setParent(Edit4);
    Edit4->setStyle(asterisks);

    const auto button = [this](const char* name, const QString& caption, int left) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setFont(songTi(16));
        b->setGeometry(left, 151, 59, 29);
        b->setAutoDefault(false);
        b->setDefault(false);
        return b;
    };
    Button1 = button("Button1", "确定", 113);
    Button2 = button("Button2", "取消", 193);
    chainTabOrder({Edit1, Edit2, Edit3, Edit4, Button1, Button2});
    connect(Button1, &QPushButton::clicked, this, &Tfrm_link::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tfrm_link::Button2Click);

    // Below the buttons: what the attempt is doing. 取消 stops an attempt instead of emptying
    // the boxes while one runs.
    workStatus = new QLabel(this);
    workStatus->setObjectName("workStatus");
    workStatus->setGeometry(32, 186, 270, 20);
    work_ = std::make_unique<WindowWork>(this, workStatus, nullptr);
    work_->setBlockedControls({Edit1, Edit2, Edit3, Edit4, Button1});
}

Tfrm_link::~Tfrm_link() = default;

void Tfrm_link::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        ReadDBLinkInfo();
}

void Tfrm_link::ReadDBLinkInfo() {
    ConnectionSettings boxes{Edit1->text().toStdString(), Edit2->text().toStdString(),
                             Edit3->text().toStdString(), Edit4->text().toStdString()};
    const bool ok = readDBLinkInfo(boxes);
    Edit1->setText(QString::fromStdString(boxes.server));
    Edit2->setText(QString::fromStdString(boxes.database));
    Edit3->setText(QString::fromStdString(boxes.user));
    Edit4->setText(QString::fromStdString(boxes.password));
    if (!ok)
        showRegistryError("在对系统注册表进行操作时发现错误！");
}

void Tfrm_link::WriteDBLinkInfo() {
    if (!writeDBLinkInfo(trimmedBoxes()))
        showRegistryError("在对系统注册表进行操作时发现错误！");
}

ConnectionSettings Tfrm_link::trimmedBoxes() const {
    return {trimmedBoxText(*Edit1), trimmedBoxText(*Edit2), trimmedBoxText(*Edit3),
            trimmedBoxText(*Edit4)};
}

bool Tfrm_link::checkRequiredBoxes() {
    const std::pair<QLineEdit*, QString> required[] = {
        {Edit1, "服务器不能为空！"}, {Edit2, "数据库不能为空！"}, {Edit3, "用户名不能为空！"}};
    for (const auto& [box, message] : required)
        if (trimmedBoxText(*box).empty()) {
            showPrompt(this, message);
            box->setFocus();
            return false;
        }
    return true;
}

void Tfrm_link::Button1Click() {
    if (!checkRequiredBoxes())
        return;
    connectInBackground(*work_, connection_, trimmedBoxes(), [this](bool connected) {
        if (!connected) {
            showPlainMessage("数据库连接失败！");
            return;
        }
        showPrompt(this, "登录成功！");
        // Only values that connected are stored.
        WriteDBLinkInfo();
        accept();
    });
}

void Tfrm_link::Button2Click() {
    if (work_->busy()) {
        work_->cancel();
        return;
    }
    for (QLineEdit* box : {Edit1, Edit2, Edit3, Edit4})
        box->clear();
}
