#pragma once
// A real main window for widget tests: scripted dialogs, a program folder of its own (so the
// presence of the skin and the pointer files is up to the test) and an empty settings store.

#include <gtest/gtest.h>
#include <QSettings>

#include <memory>

#include "app/Form1.h"
#include "tests/support/ScriptedDialogHost.h"
#include "tests/support/TempHome.h"

namespace quillane::test {

class Form1Fixture : public ::testing::Test {
  protected:
    void SetUp() override { ClearSettings(); }
    void TearDown() override { ClearSettings(); }

    static void ClearSettings() {
        QSettings settings("Kelvardy", "Quillane");
        settings.clear();
        settings.sync();
    }
    static void Store(const char* key, const char* value) {
        QSettings settings("Kelvardy", "Quillane");
        settings.setValue(key, QString::fromUtf8(value));
        settings.sync();
    }
    static QString Stored(const char* key) {
        return QSettings("Kelvardy", "Quillane").value(key, "<missing>").toString();
    }

    // The window before its load sequence; the home page is never drawn unless asked.
    std::unique_ptr<Form1> NewForm(double fraction = 0.5) {
        Form1Services services;
        services.dialogs = &host;
        services.randomFraction = [fraction] { return fraction; };
        services.programFolder = programFolder.path();
        return std::make_unique<Form1>(services);
    }
    // The window after its load sequence, with the sample set-up already done before.
    std::unique_ptr<Form1> LoadedForm() {
        if (Stored("Snapshot") == "<missing>") {
            Store("Snapshot", "x");
        }
        auto form = NewForm();
        form->Form_Load();
        return form;
    }

    ScriptedDialogHost host;
    TempDir programFolder;
};

}  // namespace quillane::test
