#include "util/ErrorReport.h"

#include <gtest/gtest.h>

#include "tests/support/ScriptedDialogHost.h"
#include "util/AppError.h"

namespace quillane {
namespace {

TEST(ErrorReportText, LaysOutDescriptionLocationStepAndRequest) {
    EXPECT_EQ(ErrorReportText("Type mismatch", "in Quillane2021/08/31.Form1.Form_Load ", 136),
              "Type mismatch\r\nin Quillane2021/08/31.Form1.Form_Load at line 136\r\r"
              "Please email screenshot of this message to support@kelvardy.example");
}

TEST(StepScope, ReportsEachFailingStepAndGoesOn) {
    test::ScriptedDialogHost host;
    StepScope scope(host, "in Quillane2021/08/31.Form1.Form_Load ");
    std::vector<int> ran;
    scope.Step(100, [&] { Raise(errc::kFileNotFound); });
    scope.Step(102, [&] { ran.push_back(102); });
    scope.Step(104, [&] { throw std::runtime_error("boom"); });
    scope.Step(106, [&] { ran.push_back(106); });

    EXPECT_EQ(ran, (std::vector<int>{102, 106}));
    const auto reports = host.ErrorReports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].rfind("File not found\r\n", 0), 0u);
    EXPECT_NE(reports[0].find("at line 100\r\r"), std::string::npos);
    EXPECT_NE(reports[1].find("boom\r\n"), std::string::npos);
    EXPECT_NE(reports[1].find("at line 104\r\r"), std::string::npos);
    EXPECT_EQ(host.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(host.messages[0].buttons, MessageButtons::Ok);
}

TEST(StepScope, FailuresHandedBackAreReportedEachAtItsOwnStep) {
    test::ScriptedDialogHost host;
    StepScope scope(host, "in DravikTitle2021/08/31.AddFolder.GetSubDirectories2016 ");
    scope.Step(100, [] {});
    scope.Report(std::vector<StepFailure>{{152, "Path not found"}, {106, "Out of memory"}});
    const auto reports = host.ErrorReports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0],
              "Path not found\r\n"
              "in DravikTitle2021/08/31.AddFolder.GetSubDirectories2016 at line 152\r\r"
              "Please email screenshot of this message to support@kelvardy.example");
    EXPECT_NE(reports[1].find("GetSubDirectories2016 at line 106\r\r"), std::string::npos);
    EXPECT_EQ(host.messages[1].title, "Application Error");
    EXPECT_EQ(
        FailureAt(130, std::make_exception_ptr(AppError(70, "Permission denied"))).description,
        "Permission denied");
}

TEST(StepScope, FailingTestOfAConditionalEntersItsBody) {
    test::ScriptedDialogHost host;
    StepScope scope(host, "in X ");
    const bool taken = scope.If(102, []() -> bool { throw AppError(53, "File not found"); });
    EXPECT_TRUE(taken);
    EXPECT_FALSE(scope.If(104, [] { return false; }));
    EXPECT_EQ(scope.reportCount(), 1);
}

}  // namespace
}  // namespace quillane
