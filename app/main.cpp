#include <QApplication>

#include "app/Form1.h"
#include "util/QtDialogHost.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    quillane::QtDialogHost dialogs(nullptr);
    quillane::Form1Services services;
    services.dialogs = &dialogs;
    quillane::Form1 window(services);
    window.Form_Load();
    window.show();
    return app.exec();
}
