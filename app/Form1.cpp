#include "app/Form1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "convert/StagingText.h"
#include "filelist/FileList.h"
#include "filelist/FileListView.h"

namespace quillane {

Form1::Form1(Form1Services services, QWidget* parent)
    : QWidget(parent), services_(std::move(services)) {
    programFolder_ = services_.programFolder.empty()
                         ? QCoreApplication::applicationDirPath().toStdString()
                         : services_.programFolder;
    CreateControls();
    list_ = std::make_unique<FileList>(*ListView1);
    RichTextBox1 = std::make_unique<StagingText>();
}

Form1::~Form1() = default;

FileList& Form1::List() { return *list_; }

void Form1::CreateControls() {
    Frame1 = new QGroupBox(QStringLiteral("Save Option"), this);
    Option2 = new QRadioButton(QStringLiteral("Save results in folder of original file"), Frame1);
    Option1 = new QRadioButton(QStringLiteral("Save results to this folder:"), Frame1);
    Frame4 = new QGroupBox(Frame1);
    Text1 = new QLineEdit(Frame4);
    ListView1 = new FileListView(this);
    ProgressBar1 = new QProgressBar(this);
    PushButton1 = new QPushButton(QStringLiteral("Add Text File(s)"), this);
    PushButton4 = new QPushButton(QStringLiteral("Add All Text File(s) In Folder"), this);
    PushButton2 = new QPushButton(QStringLiteral("Start Converting"), this);
    PushButton6 = new QPushButton(QStringLiteral("Clear List"), this);
    PushButton7 = new QPushButton(QStringLiteral("Load Sample/Example Files"), this);
    PushButton9 = new QPushButton(QStringLiteral("..."), Frame4);
}

void Form1::Form_Load() {}

void Form1::SetMousePointer(int style) { mousePointer_ = style; }

void Form1::Option1_Click() {}
void Form1::Option2_Click() {}
void Form1::Text1_Change() {}
void Form1::Form_MouseMove() {}
void Form1::Frame1_MouseMove() {}
void Form1::Frame4_MouseMove() {}
void Form1::PushButton1_MouseMove() {}
void Form1::PushButton2_MouseMove() {}
void Form1::PushButton4_MouseMove() {}
void Form1::PushButton6_MouseMove() {}
void Form1::PushButton7_MouseMove() {}
void Form1::PushButton9_MouseMove() {}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    Form_Unload();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    return QWidget::eventFilter(watched, event);
}

void Form1::Form_Unload() { QCoreApplication::quit(); }

}  // namespace quillane
