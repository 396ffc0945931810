// Renders a query window with a result to a PNG, on Qt's offscreen platform, so that its grid
// can be looked at without a display:
//   render_window main|journal|main-busy DEMO_FILE OUT.png [ITEM_NAME] [WIDTH HEIGHT]
// The journal window runs with its default dates (this year up to today). main-busy shows the
// main window half a second into its query, with the progress in its status bar; main-find
// shows it with its find bar open on "b0001".
#include "ToolUsage.h"
#include "app/Tfrm_crquery.h"
#include "app/Tfrm_xclquery.h"
#include "forms/QtChinese.h"
#include "grid/FindBar.h"
#include "grid/ResultGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QLocale>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace {

// Sets the item name and size, runs the query and renders the window without showing it
// (showing the main window would also run the start-up connection); with a `find` grid, its
// find bar is open on "b0001" and the hits counted.
template <typename Window>
bool render(Window& window, int argc, char** argv, bool busy = false, ResultGrid* find = nullptr) {
    if (argc > 4)
        window.edt_name->setText(QString::fromUtf8(argv[4]));
    window.resize(argc > 6 ? std::atoi(argv[5]) : 1280, argc > 6 ? std::atoi(argv[6]) : 720);
    window.RunQuery();
    if (busy) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 500)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        const bool saved = window.grab().save(QString::fromLocal8Bit(argv[3]));
        window.work().cancel();
        return saved;
    }
    window.work().waitUntilDone();
    if (find) {
        FindBar& bar = *find->findBar();
        bar.open();
        bar.edit()->setText("b0001");
        while (!bar.hits())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return window.grab().save(QString::fromLocal8Bit(argv[3]));
}

} // namespace

constexpr const char* kUsage =
    "render_window main|journal|main-busy|main-find DEMO_FILE OUT.png [ITEM_NAME] [WIDTH HEIGHT]";

int main(int argc, char** argv) {
    if (const auto status = helpOrUnknownOption(argc, argv, kUsage))
        return *status;

    const std::string_view which = argc > 1 ? argv[1] : "";
    if (argc < 4 ||
        (which != "main" && which != "journal" && which != "main-busy" && which != "main-find")) {
        std::fprintf(stderr, "usage: %s\n", kUsage);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    useChineseWithoutSystemLocale(QLocale::system()); // as the program does
    Tfrm_xclquery main;
    main.setAttribute(Qt::WA_DeleteOnClose, false);
    main.ado_conn.setSettings(
        {"sqlite:" + std::filesystem::absolute(argv[2]).string(), "demo", "demo", ""});
    main.ado_conn.open();
    bool rendered = false;
    if (which == "main-find") {
        rendered = render(main, argc, argv, false, main.dbg_xclinfo);
    } else if (which == "main" || which == "main-busy") {
        rendered = render(main, argc, argv, which == "main-busy");
    } else {
        Tfrm_crquery journal(main.ado_conn);
        journal.FormShow();
        rendered = render(journal, argc, argv);
    }
    if (!rendered) {
        std::fprintf(stderr, "render_window: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
