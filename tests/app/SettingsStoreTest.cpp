#include "app/SettingsStore.h"

#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <filesystem>

#include "tests/app/Form1Fixture.h"
#include "util/AppError.h"

namespace quillane {
namespace {

using SettingsStoreTest = test::Form1Fixture;

std::string ConfigFolder() {
    return qgetenv("XDG_CONFIG_HOME").toStdString() + "/Kelvardy";
}

// Stands a plain file where the store's folder belongs, so nothing can be written there.
class BlockedStore {
  public:
    BlockedStore() {
        std::filesystem::remove_all(ConfigFolder());
        test::WriteFile(ConfigFolder(), "in the way");
    }
    ~BlockedStore() { std::filesystem::remove(ConfigFolder()); }
};

TEST_F(SettingsStoreTest, ValuesRoundTripAsTextUnderKelvardyQuillane) {
    SettingsStore store;
    store.Write("LastFolder", "/home/ann/My Books, old");
    store.Write("Extension", "txt");
    EXPECT_EQ(store.Read("LastFolder", ""), "/home/ann/My Books, old");
    EXPECT_EQ(SettingsStore().Read("Extension", "doc"), "txt");
    EXPECT_EQ(QSettings("Kelvardy", "Quillane").value("Extension").toString(), "txt");
    // Text in any script and characters the store's file format must escape.
    store.Write("Text1", "/home/\xd0\xb0\xd0\xbd\xd1\x8f/=;#[x]\\n\"q\"/");
    EXPECT_EQ(store.Read("Text1", ""), "/home/\xd0\xb0\xd0\xbd\xd1\x8f/=;#[x]\\n\"q\"/");
}

TEST_F(SettingsStoreTest, PathsWithBytesThatAreNotUtf8KeepEveryByte) {
    // Names from an older system: Latin-1 and Shift_JIS bytes, a byte that only ever continues
    // a sequence, and a lone byte at the end.
    const std::vector<std::string> paths = {
        "/home/ann/Fran\xe7"
        "ais/",
        "/srv/\x93\xfa\x96\x7b/x", "/tmp/\x80\xbf folder/", "/data/end\xff"};
    for (const std::string& path : paths) {
        SettingsStore().Write("LastFolder", path);
        EXPECT_EQ(SettingsStore().Read("LastFolder", ""), path);
    }
    // A valid name is still stored as text others can read.
    SettingsStore().Write("LastFolder",
                          "/home/ann/Fran\xc3\xa7"
                          "ais/");
    EXPECT_EQ(QSettings("Kelvardy", "Quillane").value("LastFolder").toString(),
              QString::fromUtf8("/home/ann/Fran\xc3\xa7"
                                "ais/"));
}

TEST_F(SettingsStoreTest, MissingKeyGivesTheDefaultAndAnEmptyValueStaysEmpty) {
    SettingsStore store;
    EXPECT_EQ(store.Read("Option1", "1"), "1");
    EXPECT_EQ(store.Read("Snapshot", ""), "");
    store.Write("Snapshot", "");
    EXPECT_EQ(store.Read("Snapshot", "False"), "");
    // Reading creates nothing.
    EXPECT_FALSE(QSettings("Kelvardy", "Quillane").contains("Option1"));
}

TEST_F(SettingsStoreTest, HandEditedListValueReadsAsItsText) {
    {
        QSettings settings("Kelvardy", "Quillane");
        settings.setValue("Text1", QStringList{"a", "b"});
    }
    EXPECT_EQ(SettingsStore().Read("Text1", ""), "a, b");
}

TEST_F(SettingsStoreTest, BooleanTextAndItsReading) {
    EXPECT_EQ(BooleanText(true), "True");
    EXPECT_EQ(BooleanText(false), "False");
    for (const char* yes :
         {"True", "true", "TRUE", "tRuE", "1", "-1", "2", "0.5", " True ", "+3"}) {
        EXPECT_TRUE(ToBoolean(yes)) << yes;
    }
    for (const char* no : {"False", "false", "FALSE", "0", "-0", "0.0", " 0 "}) {
        EXPECT_FALSE(ToBoolean(no)) << no;
    }
}

TEST_F(SettingsStoreTest, AnyOtherTextIsATypeMismatch) {
    for (const char* odd : {"", " ", "yes", "no", "Tru", "True1", "1x", "0x1", "--1", "nan?",
                            "\xff\xfe", "True False", "nan", "inf", "-inf", "infinity"}) {
        try {
            ToBoolean(odd);
            ADD_FAILURE() << "no error for \"" << odd << "\"";
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), errc::kTypeMismatch) << odd;
            EXPECT_EQ(e.description(), "Type mismatch");
        }
    }
}

TEST_F(SettingsStoreTest, WriteThatCannotReachTheStoreRaises) {
    BlockedStore blocked;
    try {
        SettingsStore().Write("Extension", "txt");
        ADD_FAILURE() << "write reported as done";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), errc::kPermissionDenied);
    }
}

TEST_F(SettingsStoreTest, OptionClickThatCannotBeStoredIsToldOnce) {
    auto form = LoadedForm();
    BlockedStore blocked;
    form->Option2->click();
    form->Option1->click();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("could not be saved"), std::string::npos);
    EXPECT_TRUE(host.ErrorReports().empty());
    EXPECT_TRUE(form->Frame4->isEnabled());  // the window itself still follows the choice
}

}  // namespace
}  // namespace quillane
