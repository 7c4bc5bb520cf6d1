// Speed and memory of the converter: generated RTF documents of 1, 10 and 100 MB in the shape
// the program's staging writes, converted by the built tool as a process (wall time, MB/s,
// peak resident memory), beside pandoc on the same 1 and 10 MB files when it is installed, and
// beside gzip -1 on the same file.
//
//   converter_bench            the tool on 1, 10, 100 MB, pandoc on 1 and 10 MB
//   converter_bench --writer   the EPUB writer alone on in-memory documents of the same sizes
//   --sizes 1,10               other sizes, in MB
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "doclib/Document.h"
#include "doclib/epub/EpubWriter.h"

namespace fs = std::filesystem;
using Tessaly::Docs::BlockKind;
using Tessaly::Docs::Document;

namespace {

constexpr double kMB = 1024.0 * 1024.0;

struct Measure {
    bool ok = false;
    double seconds = 0;
    double cpuSeconds = 0;  // user + system: what the work costs on an idle machine
    double peakMB = 0;
};

double CpuSeconds(const rusage& usage) {
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Sentences from a small word stock, reproducible from the seed.
class Prose {
  public:
    std::string Sentence() {
        static const char* const kWords[] = {"the",    "harbour", "lantern", "quiet", "morning",
                                             "letter", "crossed", "slowly",  "under", "window",
                                             "bright", "river",   "stone",   "of",    "and",
                                             "a",      "keeper",  "weather", "bell",  "road"};
        std::string s;
        const int words = 6 + static_cast<int>(Next() % 12);
        for (int w = 0; w < words; ++w) {
            std::string word = kWords[Next() % 20];
            if (w == 0) {
                word[0] = static_cast<char>(word[0] - 'a' + 'A');
            }
            s += word;
            s += w + 1 < words ? " " : ". ";
        }
        return s;
    }
    unsigned Next() {
        seed_ = seed_ * 1103515245u + 12345u;
        return seed_ >> 16;
    }

  private:
    unsigned seed_ = 7;
};

// The staged shape: one \par-terminated paragraph per line of the text, blank lines between
// paragraphs, chapter lines, and accented letters as \'hh and \uN escapes.
void WriteStagedRtf(const std::string& path, std::size_t bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        std::perror(path.c_str());
        std::exit(1);
    }
    std::string out =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
        "{\\info{\\title bench_story.txt}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    Prose prose;
    std::size_t written = 0;
    int chapter = 0;
    int line = 0;
    while (written + out.size() < bytes) {
        if (line % 400 == 0) {
            out += "Chapter " + std::to_string(++chapter) + "\\par\r\n\\par\r\n";
        }
        std::string paragraph;
        const int sentences = 2 + static_cast<int>(prose.Next() % 5);
        for (int s = 0; s < sentences; ++s) {
            paragraph += prose.Sentence();
        }
        if (line % 3 == 0) {
            paragraph += "Caf\\'e9 na\\u239?ve \\u8220?quoted\\u8221? \\'97 d\\u233?j\\u224? vu.";
        }
        out += paragraph + "\\par\r\n\\par\r\n";
        ++line;
        if (out.size() > (1 << 20)) {
            written += std::fwrite(out.data(), 1, out.size(), f);
            out.clear();
        }
    }
    out += "}\r\n";
    written += std::fwrite(out.data(), 1, out.size(), f);
    if (std::fclose(f) != 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
}

Document MakeDocument(std::size_t bytes) {
    Document doc;
    doc.metadata.title = "Bench Story";
    doc.metadata.language = "en";
    Prose prose;
    int line = 0;
    int chapter = 0;
    while (doc.text.size() < bytes) {
        if (line % 400 == 0) {
            doc.BeginBlock(BlockKind::Heading, 1);
            doc.AppendText("Chapter " + std::to_string(++chapter));
        }
        doc.BeginBlock();
        const int sentences = 2 + static_cast<int>(prose.Next() % 5);
        for (int s = 0; s < sentences; ++s) {
            doc.AppendText(prose.Sentence());
        }
        if (line % 3 == 0) {
            doc.AppendText("Café naïve “quoted” — déjà vu.");
        }
        ++line;
    }
    return doc;
}

// Runs the command as a child process; wall time and the child's peak resident memory.
Measure RunProcess(const std::vector<std::string>& args, int timeoutSeconds) {
    Measure m;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        std::vector<char*> argv;
        for (const std::string& a : args) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        alarm(static_cast<unsigned>(timeoutSeconds));  // survives exec: a hung run ends
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) < 0) {
        return m;
    }
    m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    m.peakMB = static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
    m.cpuSeconds = CpuSeconds(usage);
    m.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return m;
}

// The writer alone, in a child so each size's peak memory is its own.
Measure RunWriter(std::size_t bytes, const std::string& out) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        return {};
    }
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeFds[0]);
        const Document doc = MakeDocument(bytes);
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        const auto start = std::chrono::steady_clock::now();
        try {
            Tessaly::Docs::WriteEpub(doc, out);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
            _exit(1);
        }
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        const double seconds[2] = {
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            CpuSeconds(after) - CpuSeconds(before)};
        if (write(pipeFds[1], seconds, sizeof seconds) != sizeof seconds) {
            _exit(1);
        }
        _exit(0);
    }
    close(pipeFds[1]);
    Measure m;
    double seconds[2] = {0, 0};
    const bool got = read(pipeFds[0], seconds, sizeof seconds) == sizeof seconds;
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    m.ok = got && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    m.seconds = seconds[0];
    m.cpuSeconds = seconds[1];
    m.peakMB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return m;
}

std::string SelfFolder() {
    return fs::read_symlink("/proc/self/exe").parent_path().string();
}

bool HavePandoc() {
    return std::system("pandoc --version >/dev/null 2>&1") == 0;
}

void PrintCell(const Measure& m, double sizeMB) {
    if (!m.ok) {
        std::printf(" %8s %6s %7s %8s %5s", "failed", "-", "-", "-", "-");
        return;
    }
    std::printf(" %8.3f %6.3f %7.1f %8.1f %5.2f", m.seconds, m.cpuSeconds, sizeMB / m.seconds,
                m.peakMB, m.peakMB / sizeMB);
}

}  // namespace

int main(int argc, char** argv) {
    bool writerOnly = false;
    std::vector<int> sizes = {1, 10, 100};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--writer") == 0) {
            writerOnly = true;
        } else if (std::strcmp(argv[i], "--sizes") == 0 && i + 1 < argc) {
            sizes.clear();
            for (char* p = argv[++i]; *p != '\0';) {
                sizes.push_back(static_cast<int>(std::strtol(p, &p, 10)));
                if (*p == ',') {
                    ++p;
                }
            }
        } else {
            std::fprintf(stderr, "usage: %s [--writer] [--sizes 1,10,100]\n", argv[0]);
            return 2;
        }
    }
    char folderTemplate[] = "/tmp/converter-bench-XXXXXX";
    const char* tmp = mkdtemp(folderTemplate);
    if (tmp == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string folder = tmp;

    if (writerOnly) {
        std::printf("EPUB writer alone (document built in memory)\n");
        std::printf("%8s %8s %6s %7s %8s %5s\n", "text MB", "wall s", "cpu s", "MB/s", "peak MB",
                    "x doc");
        for (int size : sizes) {
            const Measure m =
                RunWriter(static_cast<std::size_t>(size) * (1 << 20), folder + "/writer.epub");
            std::printf("%8d", size);
            PrintCell(m, size);
            std::printf("\n");
            fs::remove(folder + "/writer.epub");
        }
        fs::remove_all(folder);
        return 0;
    }

    const std::string tool = SelfFolder() + "/ZOD2UVOV.exe";
    const bool pandoc = HavePandoc();
    std::printf("RTF to EPUB, one process per document (peak = resident set of the process)\n");
    std::printf("%8s |%8s %6s %7s %8s %5s |%8s %6s %7s %8s %5s\n", "RTF MB", "ours s", "cpu s",
                "MB/s", "peak MB", "x doc", "pandoc s", "cpu s", "MB/s", "peak MB", "x doc");
    std::optional<double> tenMBSeconds;
    for (int size : sizes) {
        const std::string rtf = folder + "/bench" + std::to_string(size) + ".rtf";
        WriteStagedRtf(rtf, static_cast<std::size_t>(size) * (1 << 20));
        const double sizeMB = static_cast<double>(fs::file_size(rtf)) / kMB;
        const Measure ours = RunProcess({tool, rtf, folder + "/ours.epub"}, 600);
        if (size == 10 && ours.ok) {
            tenMBSeconds = ours.seconds;
        }
        std::printf("%8.1f |", sizeMB);
        PrintCell(ours, sizeMB);
        std::printf(" |");
        if (pandoc && size <= 10) {
            const Measure theirs = RunProcess(
                {"pandoc", "-f", "rtf", "-t", "epub", "-o", folder + "/pandoc.epub", rtf}, 1200);
            PrintCell(theirs, sizeMB);
        } else {
            std::printf(" %8s", pandoc ? "(skipped)" : "(none)");
        }
        // A yardstick of one pass over the same bytes on this machine at this moment.
        const Measure gzip = RunProcess({"gzip", "-1", "-k", "-f", rtf}, 600);
        std::printf(" | gzip -1 %.3f s", gzip.ok ? gzip.seconds : -1.0);
        fs::remove(rtf + ".gz");
        std::printf("\n");
        std::fflush(stdout);
        if (size == 100 && ours.ok && tenMBSeconds) {
            std::printf("         100 MB / 10 MB time: %.1f x (target at most 12 x)\n",
                        ours.seconds / *tenMBSeconds);
        }
        fs::remove(rtf);
        fs::remove(folder + "/ours.epub");
        fs::remove(folder + "/pandoc.epub");
    }
    std::printf("targets: 10 MB under 0.5 s; peak under 4 x the document size\n");
    fs::remove_all(folder);
    return 0;
}
