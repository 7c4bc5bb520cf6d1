// Speed of the structure step on plain text: a generated hard-wrapped manual (chapters,
// numbered sections, bullet lists, indented paragraphs) of 10 and 100 MB, staged the way the
// reader hands it over (one paragraph a line), refined in memory. Beside it, `gzip -1` on the
// same text as a yardstick of what one pass over the bytes costs on this machine.
//
//   structure_bench                  10 and 100 MB
//   --sizes 1,10                     other sizes, in MB
//   --hostile                        shapes that tempt the heading rules, each beside a manual
//                                    of the same size: a million underlined titles, a million
//                                    lines in capitals, a contents list of 100,000 entries,
//                                    a million star-framed titles, a million numbered
//                                    sections without blank lines, and 100,000 sections of
//                                    numbered steps and literal blocks
//   --hostile --scale 0.5            the same shapes at another size, to see the time is linear
//   --file TEXT [--epub BOOK]        refine one UTF-8 text file, print what it became, and
//                                    optionally write the book
//   --dump N                         with --file: print the first N blocks
//   --file STAGED.rtf --dump N       the same for a staged document, read as the converter does
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "doclib/Document.h"
#include "doclib/rtf/RtfReader.h"
#include "doclib/structure/DocumentShape.h"
#include "doclib/structure/LineFacts.h"
#include "doclib/structure/Refine.h"

using Tessaly::Docs::BlockKind;
using Tessaly::Docs::Document;

namespace {

constexpr double kMB = 1024.0 * 1024.0;

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

class Words {
  public:
    std::string Sentence() {
        static const char* const kWords[] = {"the",     "package", "system", "shell", "command",
                                             "archive", "network", "user",   "file",  "to",
                                             "and",     "of",      "a",      "with",  "kernel",
                                             "is",      "config",  "mount",  "disk",  "boot"};
        std::string s;
        const int count = 6 + static_cast<int>(Next() % 12);
        for (int w = 0; w < count; ++w) {
            std::string word = kWords[Next() % 20];
            if (w == 0) {
                word[0] = static_cast<char>(word[0] - 'a' + 'A');
            }
            s += (w == 0 ? "" : " ") + word;
        }
        return s + ".";
    }
    unsigned Next() {
        state_ = state_ * 1103515245u + 12345u;
        return (state_ >> 16) & 0x7fff;
    }

  private:
    unsigned state_ = 7;
};

void Wrap(std::string& out, const std::string& text, const std::string& first,
          const std::string& rest, std::size_t width) {
    std::string line = first;
    bool empty = true;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find(' ', at);
        end = end == std::string::npos ? text.size() : end;
        const std::string_view word(text.data() + at, end - at);
        if (!empty && line.size() + 1 + word.size() > width) {
            out += line + "\n";
            line = rest;
            empty = true;
        }
        line += empty ? std::string(word) : " " + std::string(word);
        empty = false;
        at = end + 1;
    }
    out += line + "\n";
}

// A manual in the shape of the documentation texts we meet: numbered chapters and sections,
// indented hard-wrapped paragraphs, bullet lists with continuation lines.
std::string Manual(std::size_t bytes) {
    Words words;
    std::string out = "A Generated Manual\n\n";
    for (int chapter = 1; out.size() < bytes; ++chapter) {
        out += "Chapter " + std::to_string(chapter) + ". Working with the system\n\n";
        for (int section = 1; section <= 12 && out.size() < bytes; ++section) {
            out += std::to_string(chapter) + "." + std::to_string(section) +
                   ". Notes on the shell\n\n";
            for (int p = 0; p < 6; ++p) {
                std::string paragraph;
                for (int s = 0; s < 5; ++s) {
                    paragraph += (s ? " " : "") + words.Sentence();
                }
                Wrap(out, paragraph, "    ", "    ", 72);
                out += "\n";
            }
            for (int item = 0; item < 4; ++item) {
                Wrap(out, words.Sentence() + " " + words.Sentence(), "      * ", "        ", 72);
                out += "\n";
            }
        }
    }
    return out;
}

Document Staged(std::string_view text) {
    Document doc;
    doc.metadata.title = "manual.txt";
    doc.text.reserve(text.size());
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end;
        doc.BeginBlock();
        doc.AppendText(text.substr(start, end - start));
        start = end + 1;
    }
    return doc;
}

// Processor time of this process: on a machine that others share, steadier than the clock on
// the wall.
double ProcessorSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double ChildProcessorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct GzipTime {
    double wall = -1;
    double processor = -1;
};

GzipTime GzipSeconds(const std::string& text) {
    const std::string path = "/tmp/structure_bench_gzip.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    const auto start = std::chrono::steady_clock::now();
    const double childrenBefore = ChildProcessorSeconds();
    const int status = std::system(("gzip -1 -c " + path + " > /dev/null").c_str());
    GzipTime time;
    if (status == 0) {
        time.wall = Seconds(start);
        time.processor = ChildProcessorSeconds() - childrenBefore;
    }
    std::remove(path.c_str());
    return time;
}

int RunSizes(const std::vector<int>& sizes) {
    std::printf("%8s %12s %10s %12s %10s %14s %12s\n", "MB", "structure s", "MB/s", "gzip -1 s",
                "ratio", "processor s", "gzip -1 cpu");
    for (int mb : sizes) {
        const std::string text = Manual(static_cast<std::size_t>(mb) * 1024 * 1024);
        Document doc = Staged(text);
        const auto start = std::chrono::steady_clock::now();
        const double processorStart = ProcessorSeconds();
        Tessaly::Docs::RefineForReading(doc);
        const double processor = ProcessorSeconds() - processorStart;
        const double seconds = Seconds(start);
        const GzipTime gzip = GzipSeconds(text);
        std::printf("%8.1f %12.3f %10.1f %12.3f %10.2f %14.3f %12.3f\n",
                    static_cast<double>(text.size()) / kMB, seconds,
                    static_cast<double>(text.size()) / kMB / seconds, gzip.wall,
                    gzip.wall > 0 ? seconds / gzip.wall : 0.0, processor, gzip.processor);
    }
    return 0;
}

// A million titles, each over its rule: every line pair is a heading candidate.
std::string UnderlinedTitles(double scale) {
    std::string out;
    for (int i = 0; i < static_cast<int>(1000000 * scale); ++i) {
        const std::string title = "Title " + std::to_string(i);
        out += title + "\n" + std::string(title.size(), i % 2 ? '-' : '=') + "\n\n";
    }
    return out;
}

// A million lines in capitals between blank lines, with mixed-case prose around them.
std::string CapitalLines(double scale) {
    Words words;
    std::string out;
    for (int i = 0; i < static_cast<int>(1000000 * scale); ++i) {
        out += "HARBOUR LOG " + std::to_string(i) + "\n\n";
        if (i % 4 == 0) {
            out += words.Sentence() + " " + words.Sentence() + "\n\n";
        }
    }
    return out;
}

// A contents list of 100,000 entries, then the body whose headings it lists.
std::string LongContents(double scale) {
    Words words;
    std::string out = "Contents\n\n";
    for (int i = 0; i < static_cast<int>(100000 * scale); ++i) {
        out += "Section " + std::to_string(i) + " of the log\n";
    }
    out += "\n";
    for (int i = 0; i < static_cast<int>(100000 * scale); ++i) {
        out += "Section " + std::to_string(i) + " of the log\n\n" + words.Sentence() + "\n\n";
    }
    return out;
}

// A page's own untitled contents at its top, 100,000 entries written as plain lines, all coming
// back below as headings, and as many written as links with underscores.
std::string UntitledContents(double scale) {
    Words words;
    const int entries = static_cast<int>(100000 * scale);
    std::string out =
        "Harbour log\nPrev   Harbour   Next\n\n" + std::string(78, '=') + "\n\nHarbour log\n\n";
    for (int i = 0; i < entries; ++i) {
        out += "Night watch " + std::to_string(i) + " at the quay\n";
    }
    out += "\n";
    for (int i = 0; i < entries; ++i) {
        out += "  Night_watch_" + std::to_string(i) + "_at_the_mole\n";
    }
    for (int i = 0; i < entries; ++i) {
        out += "Night watch " + std::to_string(i) + " at the quay\n\n" + words.Sentence() +
               "\n\nNight watch " + std::to_string(i) + " at the mole\n\n";
    }
    return out;
}

// A million titles framed by stars among the lines of the text, every other one closed on
// the next line, no blank line anywhere.
std::string StarFramedTitles(double scale) {
    Words words;
    std::string out;
    for (int i = 0; i < static_cast<int>(1000000 * scale); ++i) {
        const std::string number = "1." + std::to_string(i + 1) + ". ";
        out += i % 2 ? "**** " + number + "Harbour log ****\n"
                     : "**** " + number + "Harbour log of the " + std::to_string(i) +
                           "th night\nwatch ****\n";
        out += words.Sentence() + "\n";
    }
    return out;
}

// A million numbered sections right under the line of text above them, no blank line
// anywhere, each under a line that ends a sentence.
std::string SectionsAmongLines(double scale) {
    Words words;
    std::string out;
    for (int i = 0; i < static_cast<int>(1000000 * scale); ++i) {
        out += "1." + std::to_string(i + 1) + ". Harbour log\n" + words.Sentence() + "\n";
    }
    return out;
}

// 100,000 sections, each with numbered steps between it and the next and a literal block
// after a line that ends in "::": every step is a candidate looked around and ahead of.
std::string StepsAndLiterals(double scale) {
    Words words;
    std::string out;
    for (int i = 1; i <= static_cast<int>(100000 * scale); ++i) {
        out += "1." + std::to_string(i) + ". Section " + std::to_string(i) + "\n\n";
        out += words.Sentence() + " For example::\n\n    Title\n    =====\n\n";
        for (int step = 1; step <= 4; ++step) {
            out += std::to_string(step) + ". Step " + std::to_string(step) + "\n\n";
        }
    }
    return out;
}

double RefineSeconds(const std::string& text) {
    Document doc = Staged(text);
    const double start = ProcessorSeconds();
    Tessaly::Docs::RefineForReading(doc);
    return ProcessorSeconds() - start;
}

int RunHostile(double scale) {
    std::printf("%-24s %8s %14s %16s %12s\n", "shape", "MB", "processor s", "manual same MB",
                "gzip -1 cpu");
    const struct {
        const char* name;
        std::string (*make)(double);
    } shapes[] = {{"underlined titles 1M", UnderlinedTitles},
                  {"capital lines 1M", CapitalLines},
                  {"contents 100k entries", LongContents},
                  {"untitled contents 200k", UntitledContents},
                  {"star-framed titles 1M", StarFramedTitles},
                  {"sections among lines 1M", SectionsAmongLines},
                  {"steps and literals 100k", StepsAndLiterals}};
    for (const auto& shape : shapes) {
        const std::string text = shape.make(scale);
        const double seconds = RefineSeconds(text);
        const std::string manual = Manual(text.size());
        const double plain = RefineSeconds(manual);
        const GzipTime gzip = GzipSeconds(text);
        std::printf("%-24s %8.1f %14.3f %16.3f %12.3f\n", shape.name,
                    static_cast<double>(text.size()) / kMB, seconds, plain, gzip.processor);
    }
    return 0;
}

int RunFile(const std::string& path, const std::string& epub, std::size_t dump) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (path.ends_with(".rtf")) {
        // A staged document: read and refined as the converter does.
        const auto start = std::chrono::steady_clock::now();
        Document doc = Tessaly::Docs::ReadRtfFile(path);
        const auto shape = Tessaly::Docs::JudgeShape(Tessaly::Docs::ScanLines(doc));
        std::printf("shape: wrapped %d width %u blank-separated %d formatted %d\n",
                    shape.hardWrapped, shape.wrapWidth, shape.blankSeparated,
                    doc.hasParagraphFormatting);
        Tessaly::Docs::RefineForReading(doc);
        std::printf("%s: read and refined in %.3f s\n", path.c_str(), Seconds(start));
        for (std::size_t b = 0; b < doc.blocks.size() && b < dump; ++b) {
            const auto& block = doc.blocks[b];
            std::printf("[%zu] kind %d level %d: %s\n", b, static_cast<int>(block.kind),
                        block.level, doc.BlockText(block).substr(0, 160).c_str());
        }
        return 0;
    }
    Document doc = Staged(text);
    doc.metadata.title = path.substr(path.find_last_of('/') + 1);
    {
        const auto shape = Tessaly::Docs::JudgeShape(Tessaly::Docs::ScanLines(doc));
        std::printf("shape: wrapped %d width %u blank-separated %d indent-marked %d prose %d\n",
                    shape.hardWrapped, shape.wrapWidth, shape.blankSeparated, shape.indentMarked,
                    shape.prose);
    }
    const auto start = std::chrono::steady_clock::now();
    Tessaly::Docs::RefineForReading(doc);
    const double seconds = Seconds(start);
    int headings[7] = {};
    std::size_t items = 0;
    std::size_t paragraphs = 0;
    for (const auto& block : doc.blocks) {
        if (block.kind == BlockKind::Heading) {
            ++headings[block.level < 7 ? block.level : 0];
        }
        items += block.kind == BlockKind::ListItem ? 1 : 0;
        paragraphs += block.kind == BlockKind::Paragraph ? 1 : 0;
    }
    std::printf("%s: %.3f s, title \"%s\", author \"%s\", language %s\n", path.c_str(), seconds,
                doc.metadata.title.c_str(), doc.metadata.author.c_str(),
                doc.metadata.language.c_str());
    std::printf("  headings h1 %d h2 %d h3 %d h4 %d h5 %d h6 %d, list items %zu, paragraphs %zu\n",
                headings[1], headings[2], headings[3], headings[4], headings[5], headings[6], items,
                paragraphs);
    for (std::size_t b = 0; b < doc.blocks.size() && b < dump; ++b) {
        const auto& block = doc.blocks[b];
        std::printf("[%zu] kind %d level %d number %u: %s\n", b, static_cast<int>(block.kind),
                    block.level, block.listNumber, doc.BlockText(block).substr(0, 160).c_str());
    }
    if (!epub.empty()) {
        doc.Save(epub);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes = {10, 100};
    std::string file;
    std::string epub;
    std::size_t dump = 0;
    bool hostile = false;
    double scale = 1.0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--sizes" && i + 1 < argc) {
            sizes.clear();
            std::stringstream list(argv[++i]);
            for (std::string item; std::getline(list, item, ',');) {
                sizes.push_back(std::atoi(item.c_str()));
            }
        } else if (arg == "--file" && i + 1 < argc) {
            file = argv[++i];
        } else if (arg == "--dump" && i + 1 < argc) {
            dump = static_cast<std::size_t>(std::atol(argv[++i]));
        } else if (arg == "--epub" && i + 1 < argc) {
            epub = argv[++i];
        } else if (arg == "--hostile") {
            hostile = true;
        } else if (arg == "--scale" && i + 1 < argc) {
            scale = std::atof(argv[++i]);
        }
    }
    try {
        if (hostile) {
            return RunHostile(scale);
        }
        return file.empty() ? RunSizes(sizes) : RunFile(file, epub, dump);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
