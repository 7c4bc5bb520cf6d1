// Speed of the text room and of plain text end to end. The corpus is generated when the bench
// runs, from the real texts Debian installs (/usr/share/common-licenses), and never kept.
//
//   text_bench    language of a 100 MB text; decoding 10 MB (UTF-8 and Windows-1252); the
//                 converter tool on a 10 MB plain-text file; the window's path (staging, then
//                 the tool on the staged document) on the same file
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "convert/StagingText.h"
#include "convert/TextChunks.h"
#include "text/EncodingConversion.h"
#include "text/LanguageIdentifier.h"
#include "text/ProseLanguage.h"
#include "text/TextDecoder.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMB = 1024 * 1024;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The licences' text, repeated to `bytes`.
std::string Corpus(std::size_t bytes) {
    std::string seed;
    for (const auto& entry : fs::directory_iterator("/usr/share/common-licenses")) {
        if (entry.is_regular_file()) {
            seed += ReadAll(entry.path());
        }
    }
    if (seed.empty()) {
        seed = "No licence texts on this machine; a line of plain English stands in.\n";
    }
    std::string text;
    text.reserve(bytes + seed.size());
    while (text.size() < bytes) {
        text += seed;
    }
    text.resize(bytes);
    return text;
}

// The median of `runs` timings of `work`, in seconds.
double Median(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Waits for the child `pid`; its processor time (user + system) is added to `cpuSeconds`.
bool Finished(pid_t pid, double& cpuSeconds) {
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) {
        return false;
    }
    cpuSeconds += static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                  static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Runs the tool; its processor time (user + system), what the run costs on an idle machine,
// is added to `cpuSeconds`.
bool RunTool(const std::string& tool, const std::string& source, const std::string& book,
             double& cpuSeconds) {
    const pid_t pid = fork();
    if (pid == 0) {
        execl(tool.c_str(), tool.c_str(), source.c_str(), book.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    return Finished(pid, cpuSeconds);
}

// `gzip -1` on `source`, the yardstick of one pass over the bytes on this machine; its
// processor time is added to `cpuSeconds`.
bool RunGzip(const std::string& source, double& cpuSeconds) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null < 0 || dup2(null, STDOUT_FILENO) < 0) {
            _exit(127);
        }
        execlp("gzip", "gzip", "-1", "-c", source.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return Finished(pid, cpuSeconds);
}

}  // namespace

int main() {
    const std::string self = fs::canonical("/proc/self/exe").parent_path().string();
    const std::string tool = self + "/ZOD2UVOV.exe";
    const fs::path dir = fs::temp_directory_path() / ("text_bench." + std::to_string(getpid()));
    fs::create_directories(dir);

    {
        const std::string big = Corpus(100 * kMB);
        std::string tag;
        const double s = Median(5, [&] { tag = text::ProseLanguageOf(big); });
        std::printf("language of 100 MB:            %7.1f ms  (%s)\n", s * 1000, tag.c_str());
    }

    const std::string utf8 = Corpus(10 * kMB);
    {
        const double s = Median(5, [&] { text::DecodeText(utf8); });
        std::printf("decode 10 MB UTF-8:            %7.1f ms\n", s * 1000);
        const auto legacy = text::ConvertToUtf8(utf8, "UTF-8");  // same bytes, for the shape
        std::string cp1252 = legacy ? legacy->utf8 : utf8;
        // Accented letters make it a Windows-1252 file the decoder must choose for.
        for (std::size_t i = 0; i + 1 < cp1252.size(); i += 97) {
            if (cp1252[i] == 'e') {
                cp1252[i] = '\xE9';
            }
        }
        std::string decoded;
        const double s2 = Median(5, [&] { decoded = text::DecodeText(cp1252).encoding; });
        std::printf("decode 10 MB Windows-1252:     %7.1f ms  (read as %s)\n", s2 * 1000,
                    decoded.c_str());
    }

    const std::string source = (dir / "ten.txt").string();
    std::ofstream(source, std::ios::binary) << utf8;
    {
        bool ok = true;
        double cpu = 0;
        const double s = Median(3, [&] { ok = RunGzip(source, cpu) && ok; });
        std::printf("gzip -1 on the same 10 MB:     %7.3f s wall, %.3f s processor  %s\n", s,
                    cpu / 3, ok ? "" : "(FAILED)");
    }
    {
        bool ok = true;
        double cpu = 0;
        const double s =
            Median(3, [&] { ok = RunTool(tool, source, (dir / "ten.epub").string(), cpu) && ok; });
        std::printf("tool on 10 MB .txt:            %7.3f s wall, %.3f s processor  %s\n", s,
                    cpu / 3, ok ? "" : "(FAILED)");
    }
    {
        bool ok = true;
        double cpu = 0;
        const std::string staged = (dir / "temp.rtf").string();
        const double s = Median(3, [&] {
            quillane::StagingText staging;
            for (const std::string& chunk : quillane::ReadTextChunks(source)) {
                staging.Append(chunk);
            }
            staging.SaveFile(staged, "ten.txt");
            ok = RunTool(tool, staged, (dir / "ten-window.epub").string(), cpu) && ok;
        });
        std::printf(
            "window path on 10 MB .txt:     %7.3f s wall, %.3f s processor in the tool  %s\n", s,
            cpu / 3, ok ? "" : "(FAILED)");
    }
    fs::remove_all(dir);
    return 0;
}
