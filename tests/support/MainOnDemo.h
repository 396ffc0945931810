#pragma once

#include "app/Tfrm_xclquery.h"
#include "support/DemoDatabasePath.h"
#include "support/SettingsSandbox.h"

#include <QLineEdit>

// The main window on the demo, its settings in a sandbox.
struct MainOnDemo {
    MainOnDemo() {
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.ado_conn.setSettings({"sqlite:" + demoDatabasePath(), "d", "u", ""});
        main.ado_conn.open();
    }
    // The current stock of items named like `name` (every item when it is empty), read.
    void query(const QString& name) {
        main.edt_name->setText(name);
        main.RunQuery();
        main.work().waitUntilDone();
    }
    SettingsSandbox settings;
    Tfrm_xclquery main;
};
