#include "util/ErrorReport.h"

#include "util/AppError.h"
#include "util/DialogHost.h"

namespace quillane {

std::string ErrorReportText(const std::string& description, const std::string& location, int step) {
    return description + "\r\n" + location + "at line " + std::to_string(step) + "\r\r" +
           "Please email screenshot of this message to " + kSupportAddress;
}

std::string DescribeFailure(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const AppError& e) {
        return e.description();
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return StandardDescription(0);
    }
}

void StepScope::Report(std::exception_ptr failure) {
    Report(StepFailure{step_, DescribeFailure(failure)});
}

void StepScope::Report(const StepFailure& failure) {
    ++reports_;
    step_ = failure.step;
    host_.MessageBox(ErrorReportText(failure.description, location_, failure.step),
                     MessageButtons::Ok, MessageIcon::Exclamation, kErrorReportTitle);
}

void StepScope::Report(const std::vector<StepFailure>& failures) {
    for (const StepFailure& failure : failures) {
        Report(failure);
    }
}

}  // namespace quillane
