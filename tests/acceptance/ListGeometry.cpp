// Prints where the rows of the main window's file list stand, so the window test can point at
// a row as a hand does. It lays out a real main window (the same controls, fonts and style as
// the program under the same X server) with a few rows and prints, for rows 1 to 4, the centre
// of the row's text in pixels from the window's client origin:
//
//   quillane_test_list_geometry      ->  "row 1 X Y" ... "row 4 X Y"
//
// Run it with a scratch HOME: the window's load sequence reads and writes settings.

#include <QApplication>
#include <QTreeWidgetItem>
#include <cstdio>

#include "app/Form1.h"
#include "filelist/FileList.h"
#include "filelist/FileListView.h"
#include "util/QtDialogHost.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    quillane::QtDialogHost dialogs(nullptr);
    quillane::Form1Services services;
    services.dialogs = &dialogs;
    services.randomFraction = [] { return 0.5; };
    quillane::Form1 window(services);
    window.Form_Load();
    for (const char* path : {"/a.txt", "/b.txt", "/c.txt", "/d.txt"}) {
        window.List().Add(path);
    }
    window.show();
    QApplication::processEvents();
    for (int i = 1; i <= 4; ++i) {
        const QRect rect = window.ListView1->visualItemRect(window.List().Item(i));
        // A point well inside the path's text, where a hand would click.
        const QPoint at = window.ListView1->viewport()->mapTo(
            &window, QPoint(rect.left() + 30, rect.center().y()));
        std::printf("row %d %d %d\n", i, at.x(), at.y());
    }
    return 0;
}
