#include "Tfrm_link.h"

#include "BackgroundConnect.h"
#include "BoxText.h"
#include "ConnectionOptions.h"
#include "DatabaseBox.h"
#include "FormParts.h"
#include "MessageBoxes.h"
#include "UserManual.h"
#include "db/Connection.h"
#include "settings/DBLinkInfo.h"
#include "table/Fonts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include <memory>
#include <optional>
#include <tuple>

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

constexpr int kClientHeight = 212;
constexpr int kOptionsHeight = 176; // the options and 测试连接 below them

// What a failed attempt at connecting says of its cause; nothing after a cancel.
std::optional<QString> failureText(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const WorkCancelled&) {
        return std::nullopt;
    } catch (const ConnectError& error) {
        return QString::fromStdString(error.reason());
    } catch (const std::exception&) {
    }
    return "数据库连接失败";
}

} // namespace

Tfrm_link::Tfrm_link(Connection& connection, QWidget* parent)
    : PlainKeysDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                                  Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      connection_(connection) {
    setManualPage(*this, "connection");
    setWindowTitle("数据库连接");
    setFont(msSansSerif(11));
    setFixedSize(334, kClientHeight);
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
    databaseBox = new DatabaseBox(this);
    databaseBox->setObjectName("databaseBox");
    databaseBox->setGeometry(88, 56, 209, 21);
    Edit2 = new QLineEdit(databaseBox);
    Edit2->setObjectName("Edit2");
    databaseBox->setLineEdit(Edit2);
    databaseBox->listWanted = [this] { listDatabases(); };
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
    optionsButton = new QPushButton("选项 >>", this);
    optionsButton->setObjectName("optionsButton");
    optionsButton->setFont(songTi(16));
    optionsButton->setGeometry(32, 151, 70, 29);
    optionsButton->setAutoDefault(false);
    optionsButton->setCheckable(true);
    connect(optionsButton, &QPushButton::toggled, this, &Tfrm_link::showOptions);

    options = new ConnectionOptions(this);
    options->move(0, kClientHeight);
    options->hide();
    testButton = button("testButton", "测试连接", 120);
    testButton->setGeometry(120, kClientHeight + options->height(), 90, 29);
    testButton->hide();
    connect(testButton, &QPushButton::clicked, this, &Tfrm_link::testConnection);
    chainTabOrder({Edit1, Edit2, Edit3, Edit4, Button1, Button2, optionsButton,
                   options->authentication, options->encryption, options->trustCertificate,
                   options->certificateFile, options->chooseFile, options->rememberPassword,
                   testButton});
    // Another server or login has other databases.
    for (QLineEdit* box : {Edit1, Edit3, Edit4})
        connect(box, &QLineEdit::textEdited, this, [this] { databaseBox->forgetList(); });
    connect(Edit3, &QLineEdit::textChanged, this, &Tfrm_link::enableLoginBoxes);
    connect(options, &ConnectionOptions::authenticationChanged, this, [this] {
        databaseBox->forgetList();
        enableLoginBoxes();
    });
    connect(Button1, &QPushButton::clicked, this, &Tfrm_link::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tfrm_link::Button2Click);

    // Below the buttons: what the attempt is doing. 取消 stops an attempt instead of emptying
    // the boxes while one runs.
    workStatus = new QLabel(this);
    workStatus->setObjectName("workStatus");
    workStatus->setGeometry(32, 186, 270, 20);
    work_ = std::make_unique<WindowWork>(this, workStatus, nullptr);
    work_->setBlockedControls(
        {Edit1, Edit2, Edit3, Edit4, Button1, databaseBox, testButton, options});
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
    options->showSettings(boxes);
    enableLoginBoxes();
    // Options that are not the defaults are shown, so that nobody wonders why it connects so.
    optionsButton->setChecked(ConnectionOptions::beyondDefaults(boxes));
    if (!ok)
        showRegistryError("在对系统注册表进行操作时发现错误！");
}

void Tfrm_link::WriteDBLinkInfo() {
    if (!writeDBLinkInfo(trimmedBoxes()))
        showRegistryError("在对系统注册表进行操作时发现错误！");
}

ConnectionSettings Tfrm_link::trimmedBoxes() const {
    ConnectionSettings settings{trimmedBoxText(*Edit1), trimmedBoxText(*Edit2),
                                trimmedBoxText(*Edit3), trimmedBoxText(*Edit4)};
    options->readInto(settings);
    if (!loginTakesUserName(settings))
        settings.user.clear();
    if (!loginTakesPassword(settings))
        settings.password.clear();
    return settings;
}

void Tfrm_link::enableLoginBoxes() {
    const ConnectionSettings settings = trimmedBoxes();
    Edit3->setEnabled(loginTakesUserName(settings));
    Edit4->setEnabled(loginTakesPassword(settings));
    options->rememberPassword->setEnabled(loginTakesPassword(settings));
}

bool Tfrm_link::checkRequiredBoxes(bool needDatabase) {
    const bool needUser = trimmedBoxes().authentication == Authentication::sqlServer;
    const std::tuple<QLineEdit*, QString, bool> required[] = {
        {Edit1, "服务器不能为空！", true},
        {Edit2, "数据库不能为空！", needDatabase},
        {Edit3, "用户名不能为空！", needUser}};
    for (const auto& [box, message, needed] : required)
        if (needed && trimmedBoxText(*box).empty()) {
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

void Tfrm_link::showOptions(bool shown) {
    optionsButton->setText(shown ? "选项 <<" : "选项 >>");
    options->setVisible(shown);
    testButton->setVisible(shown);
    setFixedSize(width(), kClientHeight + (shown ? kOptionsHeight : 0));
    // Grown below a small screen's edge, the dialog moves up so that 测试连接 can be reached.
    if (const QScreen* screen = this->screen(); screen && isVisible()) {
        const QRect area = screen->availableGeometry();
        const QRect frame = frameGeometry();
        if (frame.bottom() > area.bottom())
            move(x(), std::max(area.top(), y() - (frame.bottom() - area.bottom())));
    }
}

void Tfrm_link::listDatabases() {
    if (work_->busy() || !checkRequiredBoxes(false))
        return;
    const ConnectionSettings settings = trimmedBoxes();
    auto names = std::make_shared<std::vector<std::string>>();
    work_->start({
        [settings, names](WorkControl&) { *names = Connection::listDatabases(settings); },
        [](const WorkControl&, double seconds) {
            return QString("正在读取数据库列表…… %1 秒").arg(static_cast<int>(seconds));
        },
        [this, names](std::exception_ptr failure) {
            if (failure) {
                if (const auto why = failureText(failure))
                    showPrompt(this, "无法读取数据库列表：" + *why);
                return;
            }
            QStringList list;
            for (const std::string& name : *names)
                list << QString::fromStdString(name);
            databaseBox->setList(list);
            databaseBox->showPopup();
        },
        WindowWork::Task::Uses::Nothing,
    });
}

void Tfrm_link::testConnection() {
    if (work_->busy() || !checkRequiredBoxes(false))
        return;
    const ConnectionSettings settings = trimmedBoxes();
    auto info = std::make_shared<SessionInfo>();
    work_->start({
        // Connects, reads what it is connected to, and closes again.
        [settings, info](WorkControl&) { *info = Connection::connect(settings)->sessionInfo(); },
        [](const WorkControl&, double seconds) {
            return QString("正在测试连接…… %1 秒").arg(static_cast<int>(seconds));
        },
        [this, info](std::exception_ptr failure) {
            if (!failure) {
                showPrompt(this, QString::fromStdString("连接成功！\n服务器：" + info->server +
                                                        "\n驱动：" + info->driver));
                return;
            }
            if (const auto why = failureText(failure))
                showPrompt(this, "连接失败：" + *why);
        },
        WindowWork::Task::Uses::Nothing,
    });
}
