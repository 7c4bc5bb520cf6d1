// Speed of the text room and of plain text end to end. The corpus is generated when the bench
// runs, from the real texts Debian installs (/usr/share/common-licenses), and never kept.
//
//   text_bench            language of a 100 MB text; decoding 10 MB (UTF-8 and Windows-1252);
//                         the converter tool on a 10 MB plain-text file; the window's path
//                         (staging, then the tool on the staged document) on the same file;
//                         then the Markdown figures below
//   text_bench markdown   only the Markdown figures: the same licences as 10 MB of generated
//                         Markdown (headings, emphasis, links, lists, code, tables), by the
//                         tool as a .md file and as the same bytes named .txt, by the window's
//                         path, beside gzip -1
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

// Prints the median wall time of three runs of `run` and its mean processor time; `run` adds
// the processor time of what it starts to its argument and says whether all went well.
// Returns the mean processor time.
double Report(const char* label, const std::function<bool(double&)>& run) {
    bool ok = true;
    double cpu = 0;
    const double s = Median(3, [&] { ok = run(cpu) && ok; });
    std::printf("%-32s %7.3f s wall, %.3f s processor  %s\n", label, s, cpu / 3,
                ok ? "" : "(FAILED)");
    return cpu / 3;
}

// The window's path: the source staged as "Start Converting" stages it, then the tool on the
// staged document.
bool RunWindowPath(const std::string& tool, const std::string& source, const fs::path& dir,
                   double& cpuSeconds) {
    const std::string staged = (dir / "temp.rtf").string();
    quillane::StagingText staging;
    for (const std::string& chunk : quillane::ReadTextChunks(source)) {
        staging.Append(chunk);
    }
    staging.SetSourcePath(source);
    staging.SaveFile(staged, fs::path(source).filename().string());
    return RunTool(tool, staged, (dir / "window.epub").string(), cpuSeconds);
}

// The licences' paragraphs dressed as Markdown: a heading every twelve paragraphs, emphasis,
// strong, inline code and a link in the prose, and in turn a list, a fenced code block, a
// quote and a table. About as much markup as a real README holds.
std::string MarkdownCorpus(std::size_t bytes) {
    const std::string prose = Corpus(bytes);
    std::string md;
    md.reserve(bytes + bytes / 8);
    std::size_t paragraph = 0;
    std::size_t start = 0;
    while (start < prose.size() && md.size() < bytes) {
        std::size_t end = prose.find("\n\n", start);
        end = end == std::string::npos ? prose.size() : end;
        std::string block = prose.substr(start, end - start);
        start = end + 2;
        if (block.find_first_not_of(" \n\t") == std::string::npos) {
            continue;
        }
        // Markdown-looking characters of the licences stay what they are: text.
        std::string text;
        for (const char c : block) {
            if (c == '*' || c == '_' || c == '`' || c == '[' || c == ']' || c == '<' || c == '#' ||
                c == '|' || c == '\\' || c == '&') {
                text += '\\';
            }
            text += c == '\t' ? ' ' : c;
        }
        const std::size_t open = text.find(' ', 30);
        const std::size_t close = open == std::string::npos ? open : text.find(' ', open + 12);
        if (close != std::string::npos) {
            text.insert(close, "** *see* `man page` and [the notes](https://example.org/notes)");
            text.insert(open + 1, "**");
        }
        if (paragraph % 12 == 0) {
            md += "## Section " + std::to_string(paragraph / 12 + 1) + "\n\n";
        }
        switch (paragraph % 8) {
            case 2:
                md += "- " + text.substr(0, 60) + "\n- second item\n  - nested item\n\n";
                break;
            case 4:
                md += "```c\nint main(void) {\n    return 0;\n}\n```\n\n";
                break;
            case 6:
                md += "| Term | Meaning |\n|:-----|--------:|\n| licence | " +
                      std::to_string(paragraph) + " |\n\n";
                break;
            case 7:
                md += "> ";
                break;
            default:
                break;
        }
        md += text + "\n\n";
        ++paragraph;
    }
    md.resize(std::min(md.size(), bytes));
    return md;
}

void MarkdownFigures(const std::string& tool, const fs::path& dir) {
    const std::string markdown = MarkdownCorpus(10 * kMB);
    const std::string asMarkdown = (dir / "ten.md").string();
    const std::string asText = (dir / "ten-md.txt").string();
    std::ofstream(asMarkdown, std::ios::binary) << markdown;
    std::ofstream(asText, std::ios::binary) << markdown;
    const double gzip = Report("gzip -1 on 10 MB of Markdown:",
                               [&](double& cpu) { return RunGzip(asMarkdown, cpu); });
    const double text = Report("tool on it named .txt:", [&](double& cpu) {
        return RunTool(tool, asText, (dir / "ten-md-txt.epub").string(), cpu);
    });
    const double md = Report("tool on it named .md:", [&](double& cpu) {
        return RunTool(tool, asMarkdown, (dir / "ten-md.epub").string(), cpu);
    });
    const double window = Report("window path on the .md:", [&](double& cpu) {
        return RunWindowPath(tool, asMarkdown, dir, cpu);
    });
    std::printf("Markdown / plain text: %.2f (window path %.2f); Markdown / gzip -1: %.1f\n",
                md / text, window / text, md / gzip);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string self = fs::canonical("/proc/self/exe").parent_path().string();
    const std::string tool = self + "/ZOD2UVOV.exe";
    const fs::path dir = fs::temp_directory_path() / ("text_bench." + std::to_string(getpid()));
    fs::create_directories(dir);
    if (argc > 1 && std::string(argv[1]) == "markdown") {
        MarkdownFigures(tool, dir);
        fs::remove_all(dir);
        return 0;
    }

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
    Report("gzip -1 on the same 10 MB:", [&](double& cpu) { return RunGzip(source, cpu); });
    Report("tool on 10 MB .txt:",
           [&](double& cpu) { return RunTool(tool, source, (dir / "ten.epub").string(), cpu); });
    Report("window path on 10 MB .txt:",
           [&](double& cpu) { return RunWindowPath(tool, source, dir, cpu); });
    MarkdownFigures(tool, dir);
    fs::remove_all(dir);
    return 0;
}
