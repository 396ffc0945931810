#pragma once

#include "app/Tfrm_xclquery.h"
#include "forms/MemoryUse.h"
#include "settings/DBLinkInfo.h"

#include <QApplication>

#include <string>

// What a bench of the windows starts with: Qt offscreen, settings of the bench's own that name
// the demo file (so that the main window's start-up connection finds a stored connection on
// any machine and asks nothing), and the main window shown at 1200×700, connected to the demo.
class MainWindowBench {
public:
    MainWindowBench(int& argc, char** argv, const std::string& file, const char* settingsRoot)
        : environment_(file, settingsRoot), application_(argc, argv) {
        limitMemoryHeldAllDay(); // as the program does
        window.resize(1200, 700);
        window.show();
        window.ado_conn.setSettings({"sqlite:" + file, "demo", "demo", ""});
        window.ado_conn.open();
    }

private:
    struct Environment {
        Environment(const std::string& file, const char* settingsRoot) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            qputenv("STOCKQUERY_SETTINGS_ROOT", settingsRoot);
            writeDBLinkInfo({"sqlite:" + file, "demo", "demo", ""});
        }
    } environment_;
    QApplication application_;

public:
    Tfrm_xclquery window;
};
