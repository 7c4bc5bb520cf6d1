// Saves a picture of one X window as the screen shows it, for the window test's screenshots.
//
//   quillane_test_window_grab WINDOW-ID OUT.png

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool ok = false;
    const WId window = args.size() == 3 ? args[1].toULongLong(&ok, 0) : 0;
    if (!ok) {
        std::fprintf(stderr, "usage: quillane_test_window_grab WINDOW-ID OUT.png\n");
        return 2;
    }
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(window);
    if (picture.isNull() || !picture.save(args[2], "PNG")) {
        std::fprintf(stderr, "cannot grab window %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
