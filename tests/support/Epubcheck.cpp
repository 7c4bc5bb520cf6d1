#include "tests/support/Epubcheck.h"

#include <sys/wait.h>

#include <array>
#include <cctype>
#include <cstdio>

namespace quillane::test {

namespace {

std::string ShellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out += c;
        }
    }
    return out + "'";
}

int CountOf(const std::string& output, const std::string& what) {
    // The summary reads like "Messages: 0 fatals / 0 errors / 0 warnings / 0 infos".
    const std::string::size_type summary = output.rfind("Messages:");
    if (summary == std::string::npos) {
        return 0;
    }
    const std::string::size_type at = output.find(" " + what, summary);
    if (at == std::string::npos) {
        return 0;
    }
    std::string::size_type start = at;
    while (start > 0 && std::isdigit(static_cast<unsigned char>(output[start - 1]))) {
        --start;
    }
    return start == at ? 0 : std::stoi(output.substr(start, at - start));
}

}  // namespace

EpubcheckResult RunEpubcheck(const std::string& bookPath) {
    EpubcheckResult result;
    const std::string command =
        "java -jar /usr/share/java/epubcheck.jar " + ShellQuote(bookPath) + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        result.output = "cannot start epubcheck";
        return result;
    }
    std::array<char, 4096> buffer{};
    size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        result.output.append(buffer.data(), n);
    }
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.fatals = CountOf(result.output, "fatal");
    result.errors = CountOf(result.output, "error");
    result.warnings = CountOf(result.output, "warning");
    return result;
}

}  // namespace quillane::test
