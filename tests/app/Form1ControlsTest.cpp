// The main window's controls as designed: names, captions, fonts, places and tab order.

#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include "convert/ProgressBarDisplay.h"
#include "filelist/FileList.h"
#include "filelist/FileListView.h"
#include "tests/app/Form1Fixture.h"

namespace quillane {
namespace {

using test::Form1Fixture;
using Form1Controls = Form1Fixture;

struct Placed {
    const char* name;
    QRect pixels;  // twips / 15
};

TEST_F(Form1Controls, EveryControlHasItsNameCaptionAndPlace) {
    auto form = NewForm();
    EXPECT_EQ(form->objectName(), "Form1");
    EXPECT_EQ(form->size(), QSize(536, 446));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());  // fixed size

    const Placed table[] = {
        {"Frame1", {8, 247, 520, 121}},       {"Option2", {16, 94, 241, 17}},
        {"Option1", {16, 20, 241, 17}},       {"Frame4", {32, 34, 456, 54}},
        {"Text1", {16, 18, 378, 23}},         {"ListView1", {8, 8, 520, 169}},
        {"ProgressBar1", {8, 411, 520, 27}},  {"PushButton1", {8, 183, 256, 27}},
        {"PushButton4", {272, 183, 256, 27}}, {"PushButton2", {8, 376, 520, 27}},
        {"PushButton6", {8, 217, 256, 27}},   {"PushButton7", {272, 217, 256, 27}},
        {"PushButton9", {400, 20, 40, 23}},
    };
    for (const Placed& p : table) {
        auto* w = form->findChild<QWidget*>(p.name);
        ASSERT_NE(w, nullptr) << p.name;
        EXPECT_EQ(w->geometry(), p.pixels) << p.name;
    }
    EXPECT_EQ(form->Option1->parentWidget(), form->Frame1);
    EXPECT_EQ(form->Option2->parentWidget(), form->Frame1);
    EXPECT_EQ(form->Frame4->parentWidget(), form->Frame1);
    EXPECT_EQ(form->Text1->parentWidget(), form->Frame4);
    EXPECT_EQ(form->PushButton9->parentWidget(), form->Frame4);

    EXPECT_EQ(form->Frame1->title(), "Save Option");
    EXPECT_EQ(form->Frame4->title(), "");
    EXPECT_EQ(form->Option1->text(), "Save results to this folder:");
    EXPECT_EQ(form->Option2->text(), "Save results in folder of original file");
    EXPECT_EQ(form->PushButton1->text(), "Add Text File(s)");
    EXPECT_EQ(form->PushButton4->text(), "Add All Text File(s) In Folder");
    EXPECT_EQ(form->PushButton2->text(), "Start Converting");
    EXPECT_EQ(form->PushButton6->text(), "Clear List");
    EXPECT_EQ(form->PushButton7->text(), "Load Sample/Example Files");
    EXPECT_EQ(form->PushButton9->text(), "...");
    EXPECT_EQ(form->Text1->text(), "");
    EXPECT_TRUE(form->Option1->isChecked());  // selected at design
    EXPECT_FALSE(form->Option2->isChecked());
    EXPECT_EQ(form->ListView1->toolTip(),
              "Drag and drop files here. Double-click item to remove it. Move | line to right and "
              "out of window to reveal full names.");
}

TEST_F(Form1Controls, WindowHasAMinimiseBoxButNoMaximiseBox) {
    auto form = NewForm();
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
}

TEST_F(Form1Controls, FontsAreArialBoldAtTheirSizes) {
    auto form = NewForm();
    for (QWidget* w : std::initializer_list<QWidget*>{form.get(), form->ListView1, form->Frame1,
                                                      form->Frame4, form->Option1, form->Text1}) {
        EXPECT_EQ(w->font().family(), "Arial") << w->objectName().toStdString();
        EXPECT_DOUBLE_EQ(w->font().pointSizeF(), 9.0) << w->objectName().toStdString();
        EXPECT_TRUE(w->font().bold()) << w->objectName().toStdString();
    }
    for (QPushButton* b : {form->PushButton1, form->PushButton2, form->PushButton4,
                           form->PushButton6, form->PushButton7, form->PushButton9}) {
        EXPECT_DOUBLE_EQ(b->font().pointSizeF(), 11.25) << b->objectName().toStdString();
        EXPECT_TRUE(b->font().bold());
    }
}

TEST_F(Form1Controls, TabOrderFollowsTheDesign) {
    auto form = NewForm();
    const QStringList designed = {"ListView1",   "ProgressBar1", "PushButton1", "PushButton4",
                                  "PushButton2", "PushButton6",  "PushButton7", "Frame1",
                                  "Frame4",      "Text1",        "PushButton9", "Option1",
                                  "Option2"};
    QStringList chain;
    QWidget* w = form->ListView1;
    do {
        if (designed.contains(w->objectName()) && !chain.contains(w->objectName())) {
            chain << w->objectName();
        }
        w = w->nextInFocusChain();
    } while (w != form->ListView1 && chain.size() < designed.size());
    EXPECT_EQ(chain, designed);
}

TEST_F(Form1Controls, LoadedWindowHasItsColumnCaptionAndFocusOnTheList) {
    auto form = LoadedForm();
    ASSERT_EQ(form->ListView1->columnCount(), 1);
    EXPECT_EQ(form->ListView1->headerItem()->text(0), "Text File(s)");
    EXPECT_FALSE(form->ListView1->header()->isHidden());
    EXPECT_EQ(form->windowTitle(), "Quillane");
    EXPECT_FALSE(form->windowIcon().isNull());
    EXPECT_FALSE(form->windowIcon().pixmap(256, 256).isNull());

    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(QApplication::focusWidget(), form->ListView1);
}

// A share past the end fills the bar: Qt alone would ignore the value and keep the last one.
TEST_F(Form1Controls, ProgressBarShowsItsTextAtRestAndFillsForASharePastTheEnd) {
    auto form = LoadedForm();
    EXPECT_EQ(form->ProgressBar1->text(), "Progress Bar");
    EXPECT_EQ(form->ProgressBar1->value(), 0);
    ProgressBarDisplay bar(*form->ProgressBar1);
    bar.SetValue(40);
    EXPECT_EQ(form->ProgressBar1->value(), 40);
    bar.SetValue(150);
    EXPECT_EQ(form->ProgressBar1->value(), 100);
    bar.SetValue(-3);
    EXPECT_EQ(form->ProgressBar1->value(), 0);
}

// The column is laid out when the window is shown, so it is measured after show().
TEST_F(Form1Controls, ColumnKeepsItsSevenThousandTwipsAndLongPathsRunPastIt) {
    auto form = LoadedForm();
    const std::string longPath = "/" + std::string(40, 'x') + "/" + std::string(60, 'y') + ".txt";
    form->List().Add(longPath);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    FileListView* view = form->ListView1;
    EXPECT_GT(view->viewport()->width(), 467);
    EXPECT_EQ(view->columnWidth(0), 467);  // 7000 twips, not stretched to the view
    EXPECT_EQ(view->horizontalScrollBar()->maximum(), 0);
    // The row holds the whole path, not a shortened one.
    EXPECT_GT(view->fontMetrics().horizontalAdvance(QString::fromStdString(longPath)), 467);
    EXPECT_EQ(view->textElideMode(), Qt::ElideNone);

    // Dragging the divider to the right widens the column past the view, which then scrolls.
    view->header()->resizeSection(0, 1200);
    QApplication::processEvents();
    EXPECT_EQ(view->columnWidth(0), 1200);
    EXPECT_GT(view->horizontalScrollBar()->maximum(), 0);
}

}  // namespace
}  // namespace quillane
