#include "ConnectionOptions.h"

#include "BoxText.h"
#include "table/Fonts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

ConnectionOptions::ConnectionOptions(QWidget* parent) : QWidget(parent) {
    setObjectName("connectionOptions");
    const auto label = [this](const QString& caption, int top) {
        auto* l = new QLabel(caption, this);
        l->setFont(songTi(16));
        l->move(32, top + 3);
        l->adjustSize();
    };
    label("身份验证", 0);
    authentication = new QComboBox(this);
    authentication->setObjectName("authentication");
    authentication->addItems({"SQL Server 身份验证", "Windows 身份验证"});
    authentication->setGeometry(120, 0, 177, 22);
    label("加    密", 30);
    encryption = new QComboBox(this);
    encryption->setObjectName("encryption");
    encryption->addItems({"可选", "必需", "严格（TDS 8）"});
    encryption->setToolTip("可选：服务器要求时加密；必需：不加密就不连接；严格：先加密再交谈"
                           "（TDS 8）");
    encryption->setGeometry(120, 30, 177, 22);
    trustCertificate = new QCheckBox("信任服务器证书（不验证）", this);
    trustCertificate->setObjectName("trustCertificate");
    trustCertificate->setGeometry(120, 58, 200, 20);
    label("证书文件", 84);
    certificateFile = new QLineEdit(this);
    certificateFile->setObjectName("certificateFile");
    certificateFile->setPlaceholderText("留空：用系统的证书库");
    certificateFile->setToolTip("公司证书颁发机构的证书（PEM），服务器证书要由它签发");
    certificateFile->setGeometry(120, 84, 145, 21);
    chooseFile = new QPushButton("…", this);
    chooseFile->setObjectName("chooseCertificateFile");
    chooseFile->setToolTip("选择证书文件");
    chooseFile->setGeometry(269, 84, 28, 21);
    chooseFile->setAutoDefault(false);
    rememberPassword = new QCheckBox("记住密码", this);
    rememberPassword->setObjectName("rememberPassword");
    rememberPassword->setGeometry(120, 112, 177, 20);
    setFixedSize(334, 136);

    connect(chooseFile, &QPushButton::clicked, this, [this] {
        const QString file =
            QFileDialog::getOpenFileName(this, "选择证书颁发机构的证书", certificateFile->text(),
                                         "证书 (*.pem *.crt *.cer);;所有文件 (*)");
        if (!file.isEmpty())
            certificateFile->setText(file);
    });
    connect(encryption, &QComboBox::currentIndexChanged, this, &ConnectionOptions::enableByChoice);
    connect(trustCertificate, &QCheckBox::toggled, this, &ConnectionOptions::enableByChoice);
    connect(authentication, &QComboBox::currentIndexChanged, this,
            &ConnectionOptions::authenticationChanged);
    enableByChoice();
}

void ConnectionOptions::enableByChoice() {
    // The certificate matters only when the session must be encrypted.
    const bool encrypted = encryption->currentIndex() > 0;
    trustCertificate->setEnabled(encrypted);
    const bool checked = encrypted && !trustCertificate->isChecked();
    certificateFile->setEnabled(checked);
    chooseFile->setEnabled(checked);
}

void ConnectionOptions::showSettings(const ConnectionSettings& settings) {
    authentication->setCurrentIndex(settings.authentication == Authentication::windows ? 1 : 0);
    encryption->setCurrentIndex(static_cast<int>(settings.encryption));
    trustCertificate->setChecked(settings.trustServerCertificate);
    certificateFile->setText(QString::fromStdString(settings.certificateAuthorityFile));
    rememberPassword->setChecked(settings.rememberPassword);
}

void ConnectionOptions::readInto(ConnectionSettings& settings) const {
    settings.authentication =
        authentication->currentIndex() == 1 ? Authentication::windows : Authentication::sqlServer;
    settings.encryption = static_cast<Encryption>(encryption->currentIndex());
    settings.trustServerCertificate = trustCertificate->isChecked();
    settings.certificateAuthorityFile = trimmedBoxText(*certificateFile);
    settings.rememberPassword = rememberPassword->isChecked();
}

bool ConnectionOptions::beyondDefaults(const ConnectionSettings& settings) {
    ConnectionSettings defaults;
    ConnectionSettings options;
    options.authentication = settings.authentication;
    options.encryption = settings.encryption;
    options.trustServerCertificate = settings.trustServerCertificate;
    options.certificateAuthorityFile = settings.certificateAuthorityFile;
    options.rememberPassword = settings.rememberPassword;
    return options != defaults;
}
