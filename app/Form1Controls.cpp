// The main window's controls: creation, places, fonts, tab order and the wiring of their
// events to the handlers.

#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "app/ArialFont.h"
#include "app/Form1.h"
#include "app/Twips.h"
#include "filelist/FileListView.h"

namespace quillane {

namespace {

QPushButton* NewPushButton(const char* name, const char* caption, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setFont(ArialBold(11.25));
    // Hover feedback over a button must not travel on to the surface that resets it.
    button->setMouseTracking(true);
    button->setAttribute(Qt::WA_NoMousePropagation);
    // Enter presses the focused button as Space does; outside a dialog Qt needs this to be said.
    button->setAutoDefault(true);
    return button;
}

void Place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(Twips(left), Twips(top), Twips(width), Twips(height));
}

}  // namespace

void Form1::CreateControls() {
    setObjectName(QStringLiteral("Form1"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(ArialBold(9));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    setMouseTracking(true);

    Frame1 = new QGroupBox(QStringLiteral("Save Option"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setMouseTracking(true);
    Option2 = new QRadioButton(QStringLiteral("Save results in folder of original file"), Frame1);
    Option2->setObjectName(QStringLiteral("Option2"));
    Option1 = new QRadioButton(QStringLiteral("Save results to this folder:"), Frame1);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option1->setChecked(true);
    Frame4 = new QGroupBox(Frame1);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    Frame4->setMouseTracking(true);
    Text1 = new QLineEdit(Frame4);
    Text1->setObjectName(QStringLiteral("Text1"));
    ListView1 = new FileListView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setToolTip(
        QStringLiteral("Drag and drop files here. Double-click item to remove it. Move | line to "
                       "right and out of window to reveal full names."));
    ListView1->viewport()->setMouseTracking(true);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(true);
    ProgressBar1->setAlignment(Qt::AlignCenter);
    ProgressBar1->setFormat(QStringLiteral("Progress Bar"));
    PushButton1 = NewPushButton("PushButton1", "Add Text File(s)", this);
    PushButton4 = NewPushButton("PushButton4", "Add All Text File(s) In Folder", this);
    PushButton2 = NewPushButton("PushButton2", "Start Converting", this);
    PushButton6 = NewPushButton("PushButton6", "Clear List", this);
    PushButton7 = NewPushButton("PushButton7", "Load Sample/Example Files", this);
    PushButton9 = NewPushButton("PushButton9", "...", Frame4);

    // Controls without a pointer handler keep the window's pointer as it is: a move over them
    // must not reach the frame or window behind, which would reset it.
    for (QWidget* w : std::initializer_list<QWidget*>{Option1, Option2, Text1, ProgressBar1}) {
        w->setAttribute(Qt::WA_NoMousePropagation);
    }

    PlaceControls();
    SetTabOrder();
    WireEvents();
}

void Form1::PlaceControls() {
    setFixedSize(Twips(8040), Twips(6690));
    Place(Frame1, 120, 3700, 7800, 1815);
    Place(Option2, 240, 1410, 3615, 255);
    Place(Option1, 240, 300, 3615, 255);
    Place(Frame4, 480, 510, 6840, 810);
    Place(Text1, 240, 270, 5670, 345);
    Place(ListView1, 120, 120, 7800, 2535);
    Place(ProgressBar1, 120, 6165, 7800, 405);
    Place(PushButton1, 120, 2750, 3840, 405);
    Place(PushButton4, 4080, 2750, 3840, 405);
    Place(PushButton2, 120, 5640, 7800, 405);
    Place(PushButton6, 120, 3260, 3840, 405);
    Place(PushButton7, 4080, 3260, 3840, 405);
    Place(PushButton9, 6000, 300, 600, 345);
}

void Form1::SetTabOrder() {
    // The staging control between PushButton7 and Frame1 in the designed order is not a widget.
    QWidget* const order[] = {ListView1,   ProgressBar1, PushButton1, PushButton4, PushButton2,
                              PushButton6, PushButton7,  Frame1,      Frame4,      Text1,
                              PushButton9, Option1,      Option2};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void Form1::WireEvents() {
    for (QWidget* w :
         std::initializer_list<QWidget*>{this, Frame1, Frame4, PushButton1, PushButton2,
                                         PushButton4, PushButton6, PushButton7, PushButton9}) {
        w->installEventFilter(this);
    }
    connect(Option1, &QRadioButton::clicked, this, [this] { Option1_Click(); });
    connect(Option2, &QRadioButton::clicked, this, [this] { Option2_Click(); });
    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
    connect(PushButton1, &QPushButton::clicked, this, [this] { PushButton1_Click(); });
    connect(PushButton2, &QPushButton::clicked, this, [this] { PushButton2_Click(); });
    connect(PushButton4, &QPushButton::clicked, this, [this] { PushButton4_Click(); });
    connect(PushButton6, &QPushButton::clicked, this, [this] { PushButton6_Click(); });
    connect(PushButton7, &QPushButton::clicked, this, [this] { PushButton7_Click(); });
    connect(PushButton9, &QPushButton::clicked, this, [this] { PushButton9_Click(); });

    FileListEvents events;
    events.keyDown = [this](int keyCode, int shift) { ListView1_KeyDown(keyCode, shift); };
    events.dblClick = [this] { ListView1_DblClick(); };
    events.itemClick = [this] { ListView1_ItemClick(); };
    events.mouseDown = [this](int x, int y) { ListView1_MouseDown(x, y); };
    events.mouseMove = [this](int x, int y, int screenY) { ListView1_MouseMove(x, y, screenY); };
    events.mouseUp = [this] { ListView1_MouseUp(); };
    events.dragOver = [this](bool holdsFiles) { return ListView1_OLEDragOver(holdsFiles); };
    events.dragDrop = [this](const std::vector<std::string>& files) {
        ListView1_OLEDragDrop(files);
    };
    ListView1->SetEvents(std::move(events));
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        if (watched == this) {
            Form_MouseMove();
        } else if (watched == Frame1) {
            Frame1_MouseMove();
        } else if (watched == Frame4) {
            Frame4_MouseMove();
        } else if (watched == PushButton1) {
            PushButton1_MouseMove();
        } else if (watched == PushButton2) {
            PushButton2_MouseMove();
        } else if (watched == PushButton4) {
            PushButton4_MouseMove();
        } else if (watched == PushButton6) {
            PushButton6_MouseMove();
        } else if (watched == PushButton7) {
            PushButton7_MouseMove();
        } else if (watched == PushButton9) {
            PushButton9_MouseMove();
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace quillane
