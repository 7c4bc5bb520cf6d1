// Builds a tree of 20,000 files in 2,000 folders in a temporary folder, walks and lists it as
// the folder intake does, prints the times, and removes the tree.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "filelist/FolderWalk.h"
#include "filelist/WalkedFiles.h"
#include "util/DialogHost.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The bench has no window: a report it would show is printed instead.
class PrintingDialogHost : public quillane::DialogHost {
  public:
    quillane::MessageResult MessageBox(const std::string& text, quillane::MessageButtons,
                                       quillane::MessageIcon, const std::string&) override {
        std::fprintf(stderr, "report: %s\n", text.c_str());
        return quillane::MessageResult::Ok;
    }
    std::string InputBox(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    std::string ShowOpen(const quillane::OpenDialogRequest&) override { return {}; }
    std::string BrowseForFolder(const std::string&, const std::string&) override { return {}; }
    void OpenUrl(const std::string&) override {}
    void OpenFolder(const std::string&) override {}
};

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// 20 top folders, each with 9 sub-folders holding 10 sub-folders each: 2,000 folders in all
// below the root, 10 files in each.
int BuildTree(const fs::path& root) {
    int files = 0;
    auto fill = [&](const fs::path& folder) {
        fs::create_directories(folder);
        for (int f = 0; f < 10; ++f) {
            std::ofstream(folder / ("chapter " + std::to_string(f) + ".txt")) << "text\n";
            ++files;
        }
    };
    for (int a = 0; a < 20; ++a) {
        const fs::path top = root / ("Shelf " + std::to_string(a));
        fill(top);
        for (int b = 0; b < 9; ++b) {
            const fs::path mid = top / ("Book " + std::to_string(b));
            fill(mid);
            for (int c = 0; c < 10; ++c) {
                fill(mid / ("Volume " + std::to_string(c)));
            }
        }
    }
    return files;
}

}  // namespace

int main() {
    const char* tmp = std::getenv("TMPDIR");
    std::string templ = std::string(tmp && *tmp ? tmp : "/tmp") + "/quillane-walk-bench-XXXXXX";
    if (mkdtemp(templ.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path root = templ;
    auto start = Clock::now();
    const int files = BuildTree(root);
    std::printf("tree built: %d files in 2000 folders, %.2f s\n", files, Seconds(start));

    PrintingDialogHost host;
    long yields = 0;
    double longestGap = 0;
    start = Clock::now();
    auto lastYield = start;
    quillane::FolderList folders{root.string() + "/"};
    quillane::GetSubDirectories2016(folders, true, host, [&] {
        ++yields;
        const auto now = Clock::now();
        longestGap = std::max(longestGap, std::chrono::duration<double>(now - lastYield).count());
        lastYield = now;
    });
    const double walk = Seconds(start);
    long listed = 0;
    quillane::ListWalkedFiles(folders, "*.txt", quillane::QuietStep,
                              [&](const std::string&) { ++listed; });
    const double total = Seconds(start);

    std::printf(
        "folder walk: %zu folders, %ld yields, %.3f s, longest stretch without a yield "
        "%.1f ms\n",
        folders.size(), yields, walk, longestGap * 1000);
    std::printf("file listing (does not yield): %ld files, %.3f s\n", listed, total - walk);
    std::printf("walk and listing: %.3f s\n", total);
    std::error_code ec;
    fs::remove_all(root, ec);
    return listed == files ? 0 : 1;
}
