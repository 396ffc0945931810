#pragma once

#include "app/Tfrm_crquery.h"
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

// The journal over the main window on the demo, queried with its default dates (this year up to
// today).
struct JournalOnDemo : MainOnDemo {
    JournalOnDemo() {
        journal.FormShow();
        journal.RunQuery();
        journal.work().waitUntilDone();
    }
    Tfrm_crquery journal{main.ado_conn};
};
