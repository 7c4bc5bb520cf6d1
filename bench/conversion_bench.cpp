// "Start Converting" end to end, through the real window off screen and the real embedded
// converter: 1,000 generated text files of about 5 KB, then one of 50 MB. Prints the total
// time, the time per small file, the large file's throughput, the converter's peak memory and
// the longest stretch the window's event loop was kept waiting.
//
// Usage: conversion_bench [small-count] [large-megabytes]

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "app/Form1.h"
#include "convert/StagingText.h"
#include "convert/TextChunks.h"
#include "filelist/FileList.h"
#include "util/DialogHost.h"

namespace fs = std::filesystem;
using quillane::MessageButtons;
using quillane::MessageIcon;
using quillane::MessageResult;

namespace {

// Answers every box at once and remembers the last message.
class AnsweringDialogs : public quillane::DialogHost {
  public:
    MessageResult MessageBox(const std::string& text, MessageButtons, MessageIcon,
                             const std::string&) override {
        last = text;
        ++count;
        return MessageResult::Ok;
    }
    std::string InputBox(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    std::vector<std::string> ShowOpen(const quillane::OpenDialogRequest&) override { return {}; }
    std::string BrowseForFolder(const std::string&, const std::string&) override { return {}; }
    void OpenUrl(const std::string&) override {}
    void OpenFolder(const std::string&) override {}

    std::string last;
    int count = 0;
};

// Prose-like text: words of a small vocabulary in sentences and paragraphs.
std::string GeneratedText(std::size_t bytes, std::mt19937& random) {
    static const char* const kWords[] = {
        "the", "harbour", "lantern", "evening", "quietly",  "village", "river",   "stone",
        "she", "walked",  "along",   "under",   "bright",   "winter",  "long",    "letters",
        "and", "a",       "old",     "bridge",  "garden",   "window",  "road",    "listened",
        "to",  "of",      "wind",    "boat",    "children", "market",  "morning", "story"};
    std::uniform_int_distribution<std::size_t> word(0, std::size(kWords) - 1);
    std::uniform_int_distribution<int> sentenceLength(6, 18), paragraphLength(3, 7);
    std::string text;
    text.reserve(bytes + 256);
    while (text.size() < bytes) {
        const int sentences = paragraphLength(random);
        for (int s = 0; s < sentences; ++s) {
            const int n = sentenceLength(random);
            for (int w = 0; w < n; ++w) {
                std::string next = kWords[word(random)];
                if (w == 0) {
                    next[0] = static_cast<char>(next[0] - 'a' + 'A');
                }
                text += next;
                text += w + 1 == n ? ". " : " ";
            }
        }
        text += "\n\n";
    }
    return text;
}

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Measures the longest gap between two firings of a 20 ms timer: how long the window waited.
class Responsiveness {
  public:
    Responsiveness() {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.elapsed();
            longest_ = std::max(longest_, now - last_);
            last_ = now;
            ++ticks_;
        });
    }
    void Start() {
        clock_.start();
        last_ = 0;
        longest_ = 0;
        ticks_ = 0;
        timer_.start();
    }
    qint64 LongestGapMs() const { return longest_; }
    int Ticks() const { return ticks_; }

  private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0, longest_ = 0;
    int ticks_ = 0;
};

// A small process forked before the bench grows: the converters it starts inherit its small
// memory, so the peak that wait4 reports is the converter's own.
class MemoryProbe {
  public:
    MemoryProbe() {
        int toProbe[2], fromProbe[2];
        if (pipe(toProbe) != 0 || pipe(fromProbe) != 0) {
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            close(toProbe[1]);
            close(fromProbe[0]);
            Serve(toProbe[0], fromProbe[1]);
            _exit(0);
        }
        close(toProbe[0]);
        close(fromProbe[1]);
        out_ = toProbe[1];
        in_ = fromProbe[0];
    }
    ~MemoryProbe() {
        if (pid_ > 0) {
            close(out_);
            close(in_);
            waitpid(pid_, nullptr, 0);
        }
    }

    // Runs `program a b` and returns its peak resident memory in kilobytes (-1 on failure).
    long PeakOf(const std::string& program, const std::string& a, const std::string& b) {
        const std::string request = program + '\n' + a + '\n' + b + '\n';
        if (pid_ <= 0 || write(out_, request.data(), request.size()) < 0) {
            return -1;
        }
        long kilobytes = -1;
        return read(in_, &kilobytes, sizeof kilobytes) == sizeof kilobytes ? kilobytes : -1;
    }

  private:
    static std::string ReadLine(int fd, bool& ok) {
        std::string line;
        char c;
        while ((ok = read(fd, &c, 1) == 1) && c != '\n') {
            line += c;
        }
        return line;
    }
    static void Serve(int in, int out) {
        while (true) {
            bool ok = true;
            const std::string program = ReadLine(in, ok);
            const std::string a = ok ? ReadLine(in, ok) : "";
            const std::string b = ok ? ReadLine(in, ok) : "";
            if (!ok) {
                return;
            }
            long kilobytes = -1;
            const pid_t child = fork();
            if (child == 0) {
                execl(program.c_str(), program.c_str(), a.c_str(), b.c_str(), nullptr);
                _exit(127);
            }
            int status = 0;
            rusage usage{};
            if (child > 0 && wait4(child, &status, 0, &usage) == child && WIFEXITED(status) &&
                WEXITSTATUS(status) == 0) {
                kilobytes = usage.ru_maxrss;
            }
            if (write(out, &kilobytes, sizeof kilobytes) < 0) {
                return;
            }
        }
    }

    pid_t pid_ = -1;
    int out_ = -1, in_ = -1;
};

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int smallCount = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int largeMegabytes = argc > 2 ? std::atoi(argv[2]) : 50;
    MemoryProbe probe;
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const fs::path work =
        fs::temp_directory_path() / ("quillane-bench-" + std::to_string(getpid()));
    fs::create_directories(work / "home");
    fs::create_directories(work / "small");
    fs::create_directories(work / "large");
    // Settings and the desktop of this run are its own.
    setenv("HOME", (work / "home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (work / "home").c_str(), 1);
    QApplication app(argc, argv);

    std::mt19937 random(20210831);
    std::printf("generating %d files of about 5 KB and one of %d MB...\n", smallCount,
                largeMegabytes);
    for (int k = 0; k < smallCount; ++k) {
        Write((work / "small" / ("story" + std::to_string(k) + ".txt")).string(),
              GeneratedText(5 * 1024, random));
    }
    const std::string largeText = GeneratedText(std::size_t(largeMegabytes) << 20, random);
    const fs::path largePath = work / "large" / "big.txt";
    Write(largePath.string(), largeText);

    AnsweringDialogs dialogs;
    quillane::Form1Services services;
    services.dialogs = &dialogs;
    services.randomFraction = [] { return 0.5; };
    services.programFolder = (work / "home").string();
    quillane::Form1 form(services);
    form.show();
    form.Option2->setChecked(true);
    Responsiveness responsiveness;

    // The small batch.
    for (int k = 0; k < smallCount; ++k) {
        form.List().Add((work / "small" / ("story" + std::to_string(k) + ".txt")).string());
    }
    responsiveness.Start();
    auto start = std::chrono::steady_clock::now();
    form.PushButton2->click();
    const double smallSeconds = Seconds(start);
    const qint64 smallGap = responsiveness.LongestGapMs();
    int books = 0;
    for (const auto& entry : fs::directory_iterator(work / "small")) {
        books += entry.path().extension() == ".epub" && entry.file_size() > 0;
    }
    std::printf(
        "small files: %d books of %d in %.2f s, %.2f ms per file (target < 10 ms); "
        "closing message \"%s\"\n",
        books, smallCount, smallSeconds, smallSeconds * 1000.0 / smallCount, dialogs.last.c_str());
    std::printf("  longest wait of the window's event loop: %lld ms\n",
                static_cast<long long>(smallGap));

    // The large file.
    form.List().Clear();
    form.List().Add(largePath.string());
    responsiveness.Start();
    start = std::chrono::steady_clock::now();
    form.PushButton2->click();
    const double largeSeconds = Seconds(start);
    const qint64 largeGap = responsiveness.LongestGapMs();
    const double megabytes = double(largeText.size()) / (1 << 20);
    const fs::path largeBook = work / "large" / "big.epub";
    std::printf("large file: %.1f MB in %.2f s, %.1f MB/s (target < 3 s); book %s, %.1f MB\n",
                megabytes, largeSeconds, megabytes / largeSeconds,
                fs::exists(largeBook) ? "written" : "MISSING",
                fs::exists(largeBook) ? double(fs::file_size(largeBook)) / (1 << 20) : 0.0);
    // The converter once more on the same text, staged as the run stages it, for its memory.
    start = std::chrono::steady_clock::now();
    quillane::StagingText staging;
    for (const std::string& chunk : quillane::ReadTextChunks(largePath.string())) {
        staging.Append(chunk);
    }
    const std::string staged = (work / "large" / "staged.rtf").string();
    staging.SaveFile(staged, "big.txt");
    const double stagingSeconds = Seconds(start);
    std::printf("  of which staging (read, decode, chunks, RTF): %.2f s\n", stagingSeconds);
    const char* bin = std::getenv("QUILLANE_BIN_DIR");
    const std::string converter =
        (bin ? fs::path(bin) : fs::path(argv[0]).parent_path()) / "ZOD2UVOV.exe";
    const long peak = probe.PeakOf(converter, staged, (work / "large" / "again.epub").string());
    if (peak > 0) {
        std::printf("  converter peak memory: %.1f MB (%.2f x the file; target < 4 x)\n",
                    peak / 1024.0, peak / 1024.0 / megabytes);
    } else {
        std::printf("  converter peak memory: not measured (%s did not run)\n", converter.c_str());
    }
    rusage self{};
    getrusage(RUSAGE_SELF, &self);
    std::printf("  program peak memory: %.1f MB\n", self.ru_maxrss / 1024.0);
    std::printf("  longest wait of the window's event loop: %lld ms\n",
                static_cast<long long>(largeGap));
    std::printf("total: %.2f s\n", smallSeconds + largeSeconds);

    // For comparison, where another converter is installed.
    if (std::system("command -v ebook-convert >/dev/null 2>&1") == 0) {
        const int sample = std::min(smallCount, 5);
        start = std::chrono::steady_clock::now();
        for (int k = 0; k < sample; ++k) {
            const std::string source =
                (work / "small" / ("story" + std::to_string(k) + ".txt")).string();
            const std::string command =
                "ebook-convert '" + source + "' '" + source + ".other.epub' >/dev/null 2>&1";
            if (std::system(command.c_str()) != 0) {
                std::printf("ebook-convert failed on %s\n", source.c_str());
            }
        }
        std::printf("ebook-convert: %.1f ms per small file (ours %.2f ms)\n",
                    Seconds(start) * 1000.0 / sample, smallSeconds * 1000.0 / smallCount);
    } else {
        std::printf("ebook-convert is not installed: no comparison\n");
    }

    std::error_code ec;
    fs::remove_all(work, ec);
    return books == smallCount && fs::exists(largeBook) ? 0 : 1;
}
