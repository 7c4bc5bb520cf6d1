// The main window used from the keyboard alone, and its texts at the window's designed sizes:
// the Tab order is the designed one, Space and Enter press the focused button, Delete removes
// the selected entry, and no caption is cut off. The suite also runs with QT_SCALE_FACTOR=2, and
// always under a font configuration that holds only the fonts scripts/install-deps.sh installs
// (FONTCONFIG_FILE), so the captions cannot fit because of a font that only one machine has.

#include <gtest/gtest.h>
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>
#include <QStyleOptionProgressBar>
#include <QTest>

#include <iostream>
#include <memory>

#include "app/ArialFont.h"
#include "app/Form1.h"
#include "filelist/FileList.h"
#include "filelist/FileListView.h"
#include "tests/support/ScriptedDialogHost.h"
#include "tests/support/TempHome.h"

namespace quillane::test {
namespace {

class MainWindowKeyboard : public testing::Test {
  protected:
    void SetUp() override {
        Form1Services services;
        services.dialogs = &dialogs_;
        services.randomFraction = [] { return 0.5; };  // no home-page visit
        services.programFolder = programFolder_.path();
        window_ = std::make_unique<Form1>(services);
        window_->Form_Load();
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }

    QWidget* Focused() const { return QApplication::focusWidget(); }
    QString FocusedName() const { return Focused() ? Focused()->objectName() : QString(); }

    // The names of the focused controls while Tab (or Shift+Tab) is pressed from the list
    // until the focus comes back to it.
    QStringList TabCycle(Qt::KeyboardModifiers modifiers) {
        window_->ListView1->setFocus(Qt::OtherFocusReason);
        QStringList cycle{FocusedName()};
        for (int i = 0; i < 30; ++i) {
            QTest::keyClick(Focused(), Qt::Key_Tab, modifiers);
            if (Focused() == window_->ListView1) {
                return cycle;
            }
            cycle << FocusedName();
        }
        ADD_FAILURE() << "the focus never came back to ListView1: "
                      << cycle.join(QStringLiteral(", ")).toStdString();
        return cycle;
    }

    QList<QPushButton*> PushButtons() const {
        return {window_->PushButton1, window_->PushButton4, window_->PushButton2,
                window_->PushButton6, window_->PushButton7, window_->PushButton9};
    }

    TempDir programFolder_;
    ScriptedDialogHost dialogs_;
    std::unique_ptr<Form1> window_;
};

// The designed order; the progress bar, the frames and the hidden staging box are in it but
// take no focus.
const QStringList kDesignedOrder = {
    QStringLiteral("ListView1"),   QStringLiteral("ProgressBar1"), QStringLiteral("PushButton1"),
    QStringLiteral("PushButton4"), QStringLiteral("PushButton2"),  QStringLiteral("PushButton6"),
    QStringLiteral("PushButton7"), QStringLiteral("Frame1"),       QStringLiteral("Frame4"),
    QStringLiteral("Text1"),       QStringLiteral("PushButton9"),  QStringLiteral("Option1"),
    QStringLiteral("Option2")};

// True when every name of `cycle` stands in `order`, in the same order.
bool FollowsOrder(const QStringList& cycle, const QStringList& order) {
    qsizetype at = 0;
    for (const QString& name : cycle) {
        at = order.indexOf(name, at);
        if (at < 0) {
            return false;
        }
        ++at;
    }
    return true;
}

TEST_F(MainWindowKeyboard, TabVisitsTheControlsInTheDesignedOrderAndShiftTabGoesBack) {
    EXPECT_EQ(FocusedName(), QStringLiteral("ListView1"))
        << "the focus is not on the list at start";

    const QStringList forward = TabCycle(Qt::NoModifier);
    const std::string shown = forward.join(QStringLiteral(", ")).toStdString();
    EXPECT_TRUE(FollowsOrder(forward, kDesignedOrder)) << shown;
    for (QPushButton* button : PushButtons()) {
        EXPECT_TRUE(forward.contains(button->objectName()))
            << button->objectName().toStdString() << " is not reachable by Tab: " << shown;
    }
    EXPECT_TRUE(forward.contains(QStringLiteral("Text1"))) << shown;
    EXPECT_TRUE(forward.contains(QStringLiteral("Option1"))) << shown;

    QStringList backward = TabCycle(Qt::ShiftModifier);
    // Backwards from the list, then reversed: the same walk as forwards.
    std::reverse(backward.begin() + 1, backward.end());
    EXPECT_EQ(backward, forward);
}

TEST_F(MainWindowKeyboard, SpaceAndEnterPressTheFocusedButton) {
    struct Key {
        Qt::Key key;
        const char* name;
    };
    for (const Key key : {Key{Qt::Key_Space, "Space"}, Key{Qt::Key_Return, "Enter"},
                          Key{Qt::Key_Enter, "keypad Enter"}}) {
        for (QPushButton* button : PushButtons()) {
            button->setFocus(Qt::TabFocusReason);
            ASSERT_EQ(Focused(), button) << button->objectName().toStdString();
            QSignalSpy clicked(button, &QPushButton::clicked);
            QTest::keyClick(button, key.key);
            EXPECT_EQ(clicked.count(), 1)
                << key.name << " does not press " << button->objectName().toStdString() << " \""
                << button->text().toStdString() << "\"";
        }
    }
    // The pressed buttons only met the scripted answers: no error report came of it.
    EXPECT_TRUE(dialogs_.ErrorReports().empty());
}

TEST_F(MainWindowKeyboard, DeleteRemovesTheSelectedEntryOnly) {
    FileList& list = window_->List();
    for (const char* path : {"/books/one.txt", "/books/two.txt", "/books/three.txt"}) {
        list.Add(path);
    }
    window_->ListView1->setFocus(Qt::TabFocusReason);
    window_->ListView1->setCurrentItem(list.Item(2));
    ASSERT_EQ(list.SelectedIndex(), 2);

    QTest::keyClick(window_->ListView1, Qt::Key_Delete);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Text(1), "/books/one.txt");
    EXPECT_EQ(list.Text(2), "/books/three.txt");

    // Arrow keys move the selection; Delete then removes the newly selected row.
    window_->ListView1->setCurrentItem(list.Item(1));
    QTest::keyClick(window_->ListView1, Qt::Key_Down);
    QTest::keyClick(window_->ListView1, Qt::Key_Delete);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Text(1), "/books/one.txt");
}

// --- captions at the designed sizes ----------------------------------------------------------

class MainWindowCaptions : public MainWindowKeyboard {
  protected:
    // The room a caption has inside its control against the room the caption needs: its
    // advance across, and the height of its ink (what would be cut off).
    static std::string Clipped(const QWidget* control, const QRect& room, const QString& text) {
        const QFontMetrics metrics(control->font());
        const QSize needs(metrics.horizontalAdvance(text),
                          metrics.tightBoundingRect(text).height());
        if (needs.width() <= room.width() && needs.height() <= room.height()) {
            return {};
        }
        return control->objectName().toStdString() + " \"" + text.toStdString() + "\" needs " +
               std::to_string(needs.width()) + "x" + std::to_string(needs.height()) + " px, has " +
               std::to_string(room.width()) + "x" + std::to_string(room.height());
    }
};

TEST_F(MainWindowCaptions, CaptionsAreSetInArialOrAMetricTwin) {
    const QStringList seen = QFontDatabase::families();
    // The log of every run names the fonts the captions were measured against.
    std::cout << "fonts seen (FONTCONFIG_FILE="
              << qEnvironmentVariable("FONTCONFIG_FILE").toStdString()
              << "): " << seen.join(QStringLiteral(", ")).toStdString() << std::endl;
    RecordProperty("fonts_seen", seen.join(QStringLiteral(", ")).toStdString());
    if (qEnvironmentVariable("FONTCONFIG_FILE").endsWith(QStringLiteral("/limited-fonts.conf"))) {
        // The limit is in force: fonts-liberation2 is the only font package the set-up installs.
        ASSERT_FALSE(seen.isEmpty());
        for (const QString& family : seen) {
            // Qt lists its generic names beside the real families; they name no font file.
            const bool generic = family == QStringLiteral("Sans Serif") ||
                                 family == QStringLiteral("Serif") ||
                                 family == QStringLiteral("Monospace");
            EXPECT_TRUE(generic || family.startsWith(QStringLiteral("Liberation")))
                << family.toStdString();
        }
    }
    QList<QWidget*> controls{window_.get(),        window_->ListView1, window_->Frame1,
                             window_->Option1,     window_->Option2,   window_->Text1,
                             window_->ProgressBar1};
    for (QPushButton* button : PushButtons()) {
        controls << button;
    }
    for (QWidget* control : controls) {
        const QFontInfo used(control->font());
        EXPECT_TRUE(ArialFamilies().contains(used.family()))
            << control->objectName().toStdString() << " is set in " << used.family().toStdString();
        EXPECT_TRUE(used.bold()) << control->objectName().toStdString();
    }
}

// The caption checks mean something at 200% only when the window is really drawn at 200%: its
// picture has the designed size (8040 x 6690 twips, 536 x 446 pixels at 100%) times the scale
// this run was started with.
TEST_F(MainWindowCaptions, TheWindowIsDrawnAtTheScaleOfTheRun) {
    const int scale = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                          ? qEnvironmentVariableIntValue("QT_SCALE_FACTOR")
                          : 1;
    EXPECT_EQ(window_->size(), QSize(536, 446));
    const QImage picture = window_->grab().toImage();
    EXPECT_EQ(picture.size(), QSize(536, 446) * scale);
}

TEST_F(MainWindowCaptions, PushButtonCaptionsFit) {
    for (QPushButton* button : PushButtons()) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect room =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        EXPECT_EQ(Clipped(button, room, button->text()), "");
    }
}

TEST_F(MainWindowCaptions, OptionButtonAndFrameCaptionsFit) {
    for (QRadioButton* option : {window_->Option1, window_->Option2}) {
        QStyleOptionButton style;
        style.initFrom(option);
        style.text = option->text();
        const QRect room =
            option->style()->subElementRect(QStyle::SE_RadioButtonContents, &style, option);
        EXPECT_EQ(Clipped(option, room, option->text()), "");
        // The option's row lies inside its frame.
        EXPECT_TRUE(window_->Frame1->rect().contains(option->geometry()))
            << option->objectName().toStdString();
    }

    QGroupBox* frame = window_->Frame1;
    QStyleOptionGroupBox style;
    style.initFrom(frame);
    style.text = frame->title();
    style.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    const QRect label = frame->style()->subControlRect(QStyle::CC_GroupBox, &style,
                                                       QStyle::SC_GroupBoxLabel, frame);
    EXPECT_EQ(Clipped(frame, label.intersected(frame->rect()), frame->title()), "");
}

TEST_F(MainWindowCaptions, ListHeaderAndBarTextFit) {
    QHeaderView* header = window_->ListView1->header();
    const QString heading = window_->ListView1->headerItem()->text(0);
    EXPECT_EQ(heading, QStringLiteral("Text File(s)"));
    const QRect section(0, 0, header->sectionSize(0), header->height());
    EXPECT_EQ(Clipped(header, section, heading), "");

    QProgressBar* bar = window_->ProgressBar1;
    QStyleOptionProgressBar style;
    style.initFrom(bar);
    style.minimum = bar->minimum();
    style.maximum = bar->maximum();
    style.progress = bar->value();
    style.text = bar->text();
    style.textVisible = true;
    const QRect room = bar->style()->subElementRect(QStyle::SE_ProgressBarLabel, &style, bar);
    EXPECT_EQ(Clipped(bar, room, bar->text()), "");
}

TEST_F(MainWindowCaptions, FolderBoxShowsAWholeLineOfText) {
    // The box scrolls a long folder sideways, but its line must be whole in height.
    QLineEdit* box = window_->Text1;
    QStyleOptionFrame style;
    style.initFrom(box);
    style.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &style, box);
    const QRect room = box->style()->subElementRect(QStyle::SE_LineEditContents, &style, box);
    EXPECT_GE(room.height(), QFontMetrics(box->font()).height()) << room.height();
}

}  // namespace
}  // namespace quillane::test
