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
    ++reports_;
    host_.MessageBox(ErrorReportText(DescribeFailure(failure), location_, step_),
                     MessageButtons::Ok, MessageIcon::Exclamation, kErrorReportTitle);
}

}  // namespace quillane
