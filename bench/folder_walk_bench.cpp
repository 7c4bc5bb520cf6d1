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

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

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

    long yields = 0;
    double longestGap = 0;
    start = Clock::now();
    auto lastYield = start;
    quillane::FolderList folders{root.string() + "/"};
    const quillane::WalkOutcome walked = quillane::GetSubDirectories2016(folders, true, [&] {
        ++yields;
        const auto now = Clock::now();
        longestGap = std::max(longestGap, std::chrono::duration<double>(now - lastYield).count());
        lastYield = now;
        return true;
    });
    for (const auto& failure : walked.failures) {
        std::fprintf(stderr, "walk failure: %s\n", failure.description.c_str());
    }
    const double walk = Seconds(start);
    long listed = 0;
    quillane::ListWalkedFiles(folders, "*.txt", [&](const std::string&) { ++listed; });
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
