#include "tests/convert/BookText.h"

#include <array>
#include <cstdio>
#include <map>
#include <regex>
#include <sstream>
#include <stdexcept>

#include "text/Windows1252.h"

namespace quillane::test {

namespace {

std::string ShellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

std::string Capture(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        throw std::runtime_error("cannot run " + command);
    }
    std::string out;
    std::array<char, 65536> buffer{};
    std::size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        out.append(buffer.data(), n);
    }
    pclose(pipe);
    return out;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string DecodeEntities(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '&') {
            out += s[i];
            continue;
        }
        const auto semi = s.find(';', i);
        if (semi == std::string::npos) {
            out += s[i];
            continue;
        }
        const std::string name = s.substr(i + 1, semi - i - 1);
        static const std::map<std::string, std::string> named = {
            {"amp", "&"},   {"lt", "<"},   {"gt", ">"},
            {"quot", "\""}, {"apos", "'"}, {"nbsp", "\xC2\xA0"}};
        if (auto it = named.find(name); it != named.end()) {
            out += it->second;
        } else if (!name.empty() && name[0] == '#') {
            const bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
            AppendUtf8(out, static_cast<char32_t>(
                                std::stoul(name.substr(hex ? 2 : 1), nullptr, hex ? 16 : 10)));
        } else {
            out += s.substr(i, semi - i + 1);
        }
        i = semi;
    }
    return out;
}

}  // namespace

std::string TextOfStagingRtf(const std::string& rtf, std::string* title) {
    std::string text, titleText;
    std::string* sink = &text;
    int depth = 0;
    int skipDepth = -1;  // inside a group that carries no body text
    int titleDepth = -1;
    std::u16string pendingHigh;
    int fallbackToSkip = 0;
    auto emit = [&](const std::string& utf8) {
        if (skipDepth < 0 || titleDepth >= 0) {
            *sink += utf8;
        }
    };
    std::size_t i = 0;
    while (i < rtf.size()) {
        const char c = rtf[i];
        if (fallbackToSkip > 0 && c != '\\' && c != '{' && c != '}' && c != '\r' && c != '\n') {
            --fallbackToSkip;
            ++i;
            continue;
        }
        if (c == '{') {
            ++depth;
            ++i;
        } else if (c == '}') {
            if (depth == titleDepth) {
                titleDepth = -1;
                sink = &text;
            }
            if (depth == skipDepth) {
                skipDepth = -1;
            }
            --depth;
            ++i;
        } else if (c == '\r' || c == '\n') {
            ++i;
        } else if (c == '\\') {
            const char next = i + 1 < rtf.size() ? rtf[i + 1] : '\0';
            if (next == '\\' || next == '{' || next == '}') {
                emit(std::string(1, next));
                i += 2;
            } else if (next == '*') {
                if (skipDepth < 0) {
                    skipDepth = depth;  // an ignorable destination, such as a Markdown source
                }
                i += 2;
            } else if (next == '\'') {
                const std::string byte(
                    1, static_cast<char>(std::stoi(rtf.substr(i + 2, 2), nullptr, 16)));
                emit(text::FromWindows1252(byte));
                i += 4;
            } else {
                std::size_t j = i + 1;
                while (j < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[j]))) {
                    ++j;
                }
                const std::string word = rtf.substr(i + 1, j - i - 1);
                std::size_t k = j;
                if (k < rtf.size() && (rtf[k] == '-' || std::isdigit((unsigned char)rtf[k]))) {
                    ++k;
                    while (k < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[k]))) {
                        ++k;
                    }
                }
                const std::string param = rtf.substr(j, k - j);
                if (k < rtf.size() && rtf[k] == ' ') {
                    ++k;
                }
                i = k;
                if (word == "par") {
                    emit("\n");
                } else if (word == "tab") {
                    emit("\t");
                } else if (word == "u") {
                    int n = std::stoi(param);
                    const char16_t unit = static_cast<char16_t>(n < 0 ? n + 65536 : n);
                    if (unit >= 0xD800 && unit <= 0xDBFF) {
                        pendingHigh = std::u16string(1, unit);
                    } else if (unit >= 0xDC00 && unit <= 0xDFFF && !pendingHigh.empty()) {
                        AppendUtf8(*sink,
                                   0x10000 + ((pendingHigh[0] - 0xD800) << 10) + (unit - 0xDC00));
                        pendingHigh.clear();
                    } else {
                        std::string utf8;
                        AppendUtf8(utf8, unit);
                        emit(utf8);
                    }
                    fallbackToSkip = 1;
                } else if (word == "fonttbl" || word == "info") {
                    skipDepth = depth;
                } else if (word == "title") {
                    titleDepth = depth;
                    sink = &titleText;
                }
            }
        } else {
            emit(std::string(1, c));
            ++i;
        }
    }
    if (title != nullptr) {
        *title = titleText;
    }
    return text;
}

std::string ZipMember(const std::string& epubPath, const std::string& member) {
    return Capture("unzip -p " + ShellQuote(epubPath) + " " + ShellQuote(member));
}

std::vector<std::string> WordsOf(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    std::string w;
    while (in >> w) {
        words.push_back(w);
    }
    return words;
}

std::vector<std::string> WordsOfBook(const std::string& epubPath) {
    const std::string container = ZipMember(epubPath, "META-INF/container.xml");
    std::smatch m;
    if (!std::regex_search(container, m, std::regex("full-path=\"([^\"]+)\""))) {
        return {};
    }
    const std::string opfPath = m[1];
    const std::string opfFolder =
        opfPath.find('/') == std::string::npos ? "" : opfPath.substr(0, opfPath.rfind('/') + 1);
    const std::string opf = ZipMember(epubPath, opfPath);
    std::map<std::string, std::string> hrefs;
    const std::regex item("<item\\b[^>]*>");
    for (auto it = std::sregex_iterator(opf.begin(), opf.end(), item); it != std::sregex_iterator();
         ++it) {
        const std::string tag = it->str();
        std::smatch id, href;
        if (std::regex_search(tag, id, std::regex("\\bid=\"([^\"]+)\"")) &&
            std::regex_search(tag, href, std::regex("\\bhref=\"([^\"]+)\""))) {
            hrefs[id[1]] = href[1];
        }
    }
    std::string text;
    const std::regex itemref("<itemref\\b[^>]*idref=\"([^\"]+)\"");
    for (auto it = std::sregex_iterator(opf.begin(), opf.end(), itemref);
         it != std::sregex_iterator(); ++it) {
        std::string doc = ZipMember(epubPath, opfFolder + hrefs[(*it)[1]]);
        // Only the body is read; the head's title is not part of the text.
        const auto body = doc.find("<body");
        doc = body == std::string::npos ? doc : doc.substr(body);
        std::string plain;
        bool inTag = false;
        for (char c : doc) {
            if (c == '<') {
                inTag = true;
                plain += ' ';
            } else if (c == '>') {
                inTag = false;
            } else if (!inTag) {
                plain += c;
            }
        }
        text += DecodeEntities(plain) + " ";
    }
    return WordsOf(text);
}

bool ContainsRun(const std::vector<std::string>& whole, const std::vector<std::string>& part) {
    if (part.empty()) {
        return true;
    }
    for (std::size_t start = 0; start + part.size() <= whole.size(); ++start) {
        bool all = true;
        for (std::size_t k = 0; k < part.size() && all; ++k) {
            all = whole[start + k] == part[k];
        }
        if (all) {
            return true;
        }
    }
    return false;
}

}  // namespace quillane::test
