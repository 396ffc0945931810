// Renders the main window with a current-stock result to a PNG, on Qt's offscreen platform,
// so that the grid can be looked at without a display:
//   render_main_window DEMO_FILE OUT.png [ITEM_NAME] [WIDTH HEIGHT]
#include "app/Tfrm_xclquery.h"

#include <QApplication>
#include <QLineEdit>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: render_main_window DEMO_FILE OUT.png [ITEM_NAME] [WIDTH HEIGHT]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Tfrm_xclquery window;
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.ado_conn.setSettings(
        {"sqlite:" + std::filesystem::absolute(argv[1]).string(), "demo", "demo", ""});
    window.ado_conn.open();
    if (argc > 3)
        window.edt_name->setText(QString::fromUtf8(argv[3]));
    window.resize(argc > 5 ? std::atoi(argv[4]) : 1280, argc > 5 ? std::atoi(argv[5]) : 720);
    window.RunQuery();
    // Rendered without showing: showing would also run the start-up connection.
    if (!window.grab().save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "render_main_window: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
