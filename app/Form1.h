#pragma once
// The main window: every control of the program and every user action. The handlers keep
// the names of the events they answer (control, underscore, event) and stay short: the work
// is done by plain functions in filelist/, convert/ and util/.
//
// The handlers are defined in one file per room:
//   Form1.cpp           construction, load sequence, output options, closing
//   Form1Controls.cpp   the controls, their places, fonts and tab order, event wiring
//   Form1Pointer.cpp    the window-wide pointer and its hover handlers
//   Form1FileList.cpp   removing, clearing and reordering list entries
//   Form1Intake.cpp     the Open dialog, the folder intake, drag and drop, sample files
//   Form1Conversion.cpp the conversion run and the output-folder browse button

#include <QPersistentModelIndex>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "app/Form1Services.h"
#include "filelist/ReorderGesture.h"
#include "util/PointerStyle.h"

class QGroupBox;
class QRadioButton;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeWidgetItem;
class QCursor;

namespace quillane {

class FileListView;
class FileList;
class StagingText;

class Form1 : public QWidget {
    Q_OBJECT

  public:
    explicit Form1(Form1Services services, QWidget* parent = nullptr);
    ~Form1() override;

    // The load sequence, run once before the window is first shown.
    void Form_Load();

    // True once the window is closing: work in progress stops at its next yield.
    bool IsClosing() const { return closing_; }
    // Lets the window repaint and react while long work runs; false once it is closing.
    bool Yield();

    // The window-wide pointer style: default, hourglass (busy) or the custom hand.
    PointerStyle MousePointer() const { return mousePointer_; }
    void SetMousePointer(PointerStyle style);
    bool IsBusy() const { return mousePointer_ == PointerStyle::Hourglass; }

    // The file list with its 1-based operations.
    FileList& List();

    // Controls, named as the designer named them.
    QGroupBox* Frame1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option1 = nullptr;
    QGroupBox* Frame4 = nullptr;
    QLineEdit* Text1 = nullptr;
    FileListView* ListView1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* PushButton1 = nullptr;
    QPushButton* PushButton4 = nullptr;
    QPushButton* PushButton2 = nullptr;
    QPushButton* PushButton6 = nullptr;
    QPushButton* PushButton7 = nullptr;
    QPushButton* PushButton9 = nullptr;

    // --- Form1.cpp: load, output options, pointer feedback --------------------------------
    void Option1_Click();
    void Option2_Click();
    void Text1_Change();
    void Form_MouseMove();
    void Frame1_MouseMove();
    void Frame4_MouseMove();
    void PushButton1_MouseMove();
    void PushButton2_MouseMove();
    void PushButton4_MouseMove();
    void PushButton6_MouseMove();
    void PushButton7_MouseMove();
    void PushButton9_MouseMove();

    // --- Form1FileList.cpp: the list's own operations -------------------------------------
    void PushButton6_Click();
    void ListView1_KeyDown(int keyCode, int shift);
    void ListView1_DblClick();
    void ListView1_ItemClick();
    // x and y in the list viewport's pixels.
    void ListView1_MouseDown(int x, int y);
    // x and y in the list viewport's pixels; screenY the pointer's vertical screen position.
    void ListView1_MouseMove(int x, int y, int screenY);
    void ListView1_MouseUp();

    // --- Form1Intake.cpp: filling the list ------------------------------------------------
    void PushButton1_Click();
    void PushButton4_Click();
    void PushButton7_Click();
    // True when the dragged data holds files (a drop is accepted).
    bool ListView1_OLEDragOver(bool holdsFiles);
    // The dropped paths in the drag source's order.
    void ListView1_OLEDragDrop(const std::vector<std::string>& files);
    // Records the sample files in the "Snapshot" setting (called by the load sequence).
    void SampleSetup();

    // --- Form1Conversion.cpp: the run and the output folder -------------------------------
    void PushButton2_Click();
    void PushButton9_Click();

    const Form1Services& services() const { return services_; }
    DialogHost& dialogs() const { return *services_.dialogs; }
    const std::string& programFolder() const { return programFolder_; }

    // The list's own pointer: default (none of its own), the arrow, or the "drag.ico" image.
    PointerStyle ListMousePointer() const { return listPointer_; }
    // True when the hand from "HAND-M.CUR" was loaded at start.
    bool HasMouseIcon() const { return mouseIcon_ != nullptr; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateControls();
    void PlaceControls();
    void SetTabOrder();
    void WireEvents();
    void ApplySkin();
    void ApplyPointers();
    void HoverPointer(PointerStyle style);
    void RemoveSelectedEntry();
    void SetListPointer(PointerStyle style, const QCursor* image);
    void SaveSetting(const std::string& key, const std::string& value);
    void Form_Unload();

    Form1Services services_;
    std::string programFolder_;
    bool closing_ = false;
    PointerStyle mousePointer_ = PointerStyle::Default;
    std::unique_ptr<QCursor> mouseIcon_;  // the hand from "HAND-M.CUR", when loaded

    // Reorder gesture state (Form1FileList.cpp). The armed entry is a persistent index, so an
    // entry removed by any path simply stops being armed.
    QPersistentModelIndex armedEntry_;
    bool buttonHeld_ = false;
    DragThreshold dragThreshold_;
    PointerStyle listPointer_ = PointerStyle::Default;
    std::unique_ptr<QCursor> listIcon_;  // the list's "drag.ico" pointer, when loaded
    // A settings write that failed is told once, not at every keystroke.
    bool settingsWriteFailed_ = false;
    std::unique_ptr<FileList> list_;

    // Conversion run state (Form1Conversion.cpp).
    bool runInProgress_ = false;
    std::unique_ptr<StagingText> RichTextBox1;
};

}  // namespace quillane
