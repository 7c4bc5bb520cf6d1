#include <QApplication>
#include <QScreen>

#include "app/Form1.h"
#include "util/QtDialogHost.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kelvardy"));
    QApplication::setApplicationName(QStringLiteral("Quillane"));
    // Lets the desktop match the window to its menu entry (task bar, pinning).
    QGuiApplication::setDesktopFileName(QStringLiteral("example.kelvardy.Quillane"));

    // Declared before the window, so the dialogs outlive it; they are modal to the window.
    quillane::QtDialogHost dialogs(nullptr);
    quillane::Form1Services services;
    services.dialogs = &dialogs;
    quillane::Form1 window(services);
    dialogs.SetOwner(&window);

    window.Form_Load();
    if (const QScreen* screen = window.screen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
    window.show();
    return app.exec();
}
