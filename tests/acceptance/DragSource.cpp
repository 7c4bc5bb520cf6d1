// A drag source for the window test, standing in for a file manager: a small window at the
// top left of the screen that, when the pointer presses on it, drags the files and folders
// named on its command line. Ends a few seconds after the drop: 0 when the drop was taken, 1
// when it was refused.
//
//   quillane_test_drag_source PATH...

#include <QApplication>
#include <QDrag>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <cstdio>

namespace {

class DragSourceWindow : public QWidget {
  public:
    explicit DragSourceWindow(QList<QUrl> urls) : urls_(std::move(urls)) {
        setWindowTitle(QStringLiteral("Quillane test drag source"));
    }

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) {
            return;
        }
        auto* mime = new QMimeData;
        mime->setUrls(urls_);
        auto* drag = new QDrag(this);
        drag->setMimeData(mime);
        const Qt::DropAction action =
            drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::CopyAction);
        std::printf("drop %s\n", action == Qt::IgnoreAction ? "refused" : "taken");
        std::fflush(stdout);
        // The target fetches the dropped data from us after the drop, so we stay a while.
        const int code = action == Qt::IgnoreAction ? 1 : 0;
        QTimer::singleShot(3000, qApp, [code] { QCoreApplication::exit(code); });
    }

  private:
    QList<QUrl> urls_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QList<QUrl> urls;
    for (const QString& path : app.arguments().mid(1)) {
        urls << QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    }
    if (urls.isEmpty()) {
        std::fprintf(stderr, "usage: quillane_test_drag_source PATH...\n");
        return 2;
    }
    DragSourceWindow window(urls);
    window.setGeometry(0, 0, 160, 120);
    window.show();
    return app.exec();
}
