#include "StartUpConnection.h"

#include "db/Connection.h"
#include "forms/BackgroundConnect.h"
#include "forms/MessageBoxes.h"
#include "forms/PasswordPrompt.h"
#include "settings/DBLinkInfo.h"

#include <QString>

void connectAtStart(QWidget& window, WindowWork& work, Connection& connection,
                    const std::function<void(bool connected)>& done) {
    ConnectionSettings settings;
    if (!loadDBLinkInfo(settings))
        showRegistryError("建立数据库连接时发现错误,请点击连接重新设置！");
    const QString failed = "数据库连接失败,请点击连接重新设置!";
    if (!namesALogin(settings)) {
        showPrompt(&window, failed);
        return;
    }
    if (!settings.rememberPassword && loginTakesPassword(settings)) {
        const auto password = askForPassword(&window, settings);
        if (!password) {
            showPrompt(&window, failed);
            return;
        }
        settings.password = *password;
    }
    connectInBackground(work, connection, settings, [&window, failed, done](bool connected) {
        done(connected);
        if (!connected)
            showPrompt(&window, failed);
    });
}
