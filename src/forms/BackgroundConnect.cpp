#include "BackgroundConnect.h"

#include "WindowWork.h"
#include "db/Connection.h"

#include <QString>

#include <memory>

void connectInBackground(WindowWork& work, Connection& connection, ConnectionSettings settings,
                         std::function<void(bool)> done) {
    if (work.busy())
        return;
    auto session = std::make_shared<std::unique_ptr<DatabaseBackend>>();
    work.start({
        // The attempt holds its own copy of the settings: a server that never answers keeps
        // it in the driver until the log-in time-out, after the window has let it go.
        [session, settings](WorkControl&) { *session = Connection::connect(settings); },
        [](const WorkControl&, double seconds) {
            return QString("正在连接数据库…… %1 秒").arg(static_cast<int>(seconds));
        },
        [&work, &connection, session, settings, done = std::move(done)](std::exception_ptr error) {
            if (!error) {
                connection.setSettings(settings);
                connection.adopt(std::move(*session));
                done(true);
                return;
            }
            try {
                std::rethrow_exception(error);
            } catch (const WorkCancelled&) {
                work.showOutcome("连接已取消");
            } catch (const std::exception&) {
                connection.close();
                connection.setSettings(settings);
                done(false);
            }
        },
        WindowWork::Task::Uses::Nothing,
    });
}
