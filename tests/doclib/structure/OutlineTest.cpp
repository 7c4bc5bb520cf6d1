// The heading hierarchy of documentation texts: chapter lines at level 1, numbered sections
// below them, a document's own contents list kept as a list, and the lines it lists found again
// in the body. The manuals here are our own, written in the shape text dumps of documentation
// take: a title, a contents list, indented hard-wrapped paragraphs, no-break spaces after the
// numbers.

#include <gtest/gtest.h>

#include <cctype>
#include <functional>

#include "doclib/structure/ContentsList.h"
#include "doclib/structure/Refine.h"
#include "doclib/structure/SectionNumber.h"
#include "tests/doclib/structure/StagedText.h"

namespace {

using Tessaly::Docs::BlockKind;
using Tessaly::Docs::Document;
using namespace quillane::test;

std::size_t CountKind(const Document& doc, BlockKind kind) {
    std::size_t n = 0;
    for (const auto& block : doc.blocks) {
        n += block.kind == kind ? 1 : 0;
    }
    return n;
}

const std::string kNbsp = "\u00A0";

std::string Paragraph(int seed) {
    const std::vector<std::string> sentences = {
        "The tool keeps a list of the files it has seen and skips the ones that did not change.",
        "When the list grows large, the tool writes it to disk and reads it back on the next run.",
        "A setting in the preferences decides how many old copies are kept before any is removed.",
        "Nothing is deleted without asking, and every question can be answered from the keyboard.",
    };
    std::string text;
    for (int i = 0; i < 3; ++i) {
        text += sentences[static_cast<std::size_t>(seed + i) % sentences.size()] + " ";
    }
    return HardWrap({text}, 66, false, "    ");
}

// A manual with two chapters of numbered sections, the way a text dump writes them.
std::string Manual(const std::string& chapterWord, const std::string& space) {
    std::string text = "The Archive Keeper Handbook\n\nContents\n\n";
    text += "1. Getting started\n    1.1. Installing\n    1.2. First run\n";
    text +=
        "2. Daily use\n    2.1. Keeping files\n        2.1.1. Old copies\n    2.2. Restoring\n\n";
    const auto section = [&](const std::string& number, const std::string& title, int seed) {
        return number + space + title + "\n\n" + Paragraph(seed) + "\n";
    };
    text += chapterWord + space + "1." + space + "Getting started\n\n" + Paragraph(0) + "\n";
    text += section("1.1.", "Installing", 1) + section("1.2.", "First run", 2);
    text += chapterWord + space + "2." + space + "Daily use\n\n" + Paragraph(3) + "\n";
    text += section("2.1.", "Keeping files", 0) + section("2.1.1.", "Old copies", 1) +
            section("2.2.", "Restoring", 2);
    return text;
}

TEST(SectionLines, NumbersAndTitlesAreRead) {
    const auto depth = [](std::string_view line) {
        const auto match = Tessaly::Docs::MatchSectionLine(line);
        return match ? static_cast<int>(match->path.depth) : 0;
    };
    EXPECT_EQ(depth("1. Overview"), 1);
    EXPECT_EQ(depth("2.3. Installing the program"), 2);
    EXPECT_EQ(depth("4.1.2 Options"), 3);
    EXPECT_EQ(depth("A.1. The archive"), 2);
    EXPECT_EQ(depth("1.1. What is this guide?"), 2);
    // Prose, initials, amounts and contents lines with leader dots are no section titles.
    EXPECT_EQ(depth("3 apples were left on the table."), 0);
    EXPECT_EQ(depth("A. Smith"), 0);
    EXPECT_EQ(depth("2024. It was a good year."), 0);
    EXPECT_EQ(depth("1.2. Installing ........ 4"), 0);
    EXPECT_EQ(depth("1.2.Installing"), 0);
}

TEST(SectionLines, NumberingRunsOnOrNot) {
    const auto path = [](std::string_view line) {
        return Tessaly::Docs::MatchSectionLine(line)->path;
    };
    using Tessaly::Docs::FollowsInNumbering;
    EXPECT_TRUE(FollowsInNumbering(path("1. A"), path("1.1. B")));
    EXPECT_TRUE(FollowsInNumbering(path("1.1.4. A"), path("1.2. B")));
    EXPECT_TRUE(FollowsInNumbering(path("1.2. A"), path("2. B")));
    EXPECT_TRUE(FollowsInNumbering(path("9.3. A"), path("A.1. B")) == false);
    EXPECT_FALSE(FollowsInNumbering(path("1.2. A"), path("1.2.2. B")));
    EXPECT_FALSE(FollowsInNumbering(path("3.2. A"), path("1. B")));
    EXPECT_FALSE(FollowsInNumbering(path("3.2. A"), path("3.7. B")));
}

TEST(Outline, ChaptersAndNumberedSectionsNestInEveryForm) {
    // English and French dumps write a no-break space after the numbers; German a plain one.
    for (const auto& [word, space] : std::vector<std::pair<std::string, std::string>>{
             {"Chapter", kNbsp}, {"Chapitre", kNbsp}, {"Kapitel", " "}, {"Capítulo", " "}}) {
        const std::string text = Manual(word, space);
        const Document doc = Refined(text, "handbook.txt");
        const std::vector<Heading> headings = Headings(doc);
        ASSERT_EQ(headings.size(), 8u) << word;
        EXPECT_EQ(headings[0], (Heading{"The Archive Keeper Handbook", 1}));
        EXPECT_EQ(headings[1].level, 1) << word;
        EXPECT_EQ(headings[2], (Heading{"1.1." + space + "Installing", 2}));
        EXPECT_EQ(headings[5], (Heading{"2.1." + space + "Keeping files", 2}));
        EXPECT_EQ(headings[6], (Heading{"2.1.1." + space + "Old copies", 3}));
        EXPECT_EQ(doc.metadata.title, "The Archive Keeper Handbook");
        // The contents list stays, as a list nested like the entries.
        EXPECT_EQ(CountKind(doc, BlockKind::ListItem), 7u);
        EXPECT_EQ(WordsOf(text), WordsOf(doc));
    }
}

TEST(Outline, CjkChapterLinesWithSpacesAroundTheNumber) {
    std::string text = "手册\n\n";
    for (int c = 1; c <= 3; ++c) {
        const std::string n = std::to_string(c);
        text += "第" + kNbsp + n + kNbsp + "章" + kNbsp + "概述\n\n    这是正文。\n\n";
        text += n + ".1." + kNbsp + "安装\n\n    这也是正文。\n\n";
    }
    const std::vector<Heading> headings = Headings(Refined(text));
    ASSERT_EQ(headings.size(), 7u);
    EXPECT_EQ(headings[1].level, 1);
    EXPECT_EQ(headings[2].level, 2);
}

TEST(Outline, NumbersThatDoNotRunOnStayText) {
    // A numbered list inside a section, and prose that opens with a number, are no headings.
    std::string text = "1. Setting up\n\n" + Paragraph(0) + "\n";
    text += "1.1. Before you begin\n\n" + Paragraph(1) + "\n";
    text += "    1. Unpack the archive\n\n    2. Run the installer\n\n    3. Restart\n\n";
    text += "1.2. After the first run\n\n" + Paragraph(2) + "\n";
    text += "7. The seventh day is for backups, which take about an hour on most machines.\n\n";
    text += "2. Using it\n\n" + Paragraph(3);
    const Document doc = Refined(text);
    EXPECT_EQ(Headings(doc), (std::vector<Heading>{{"1. Setting up", 1},
                                                   {"1.1. Before you begin", 2},
                                                   {"1.2. After the first run", 2},
                                                   {"2. Using it", 1}}));
    EXPECT_EQ(CountKind(doc, BlockKind::ListItem), 4u);  // the three steps and the prose line
    EXPECT_EQ(WordsOf(text), WordsOf(doc));
}

// Some renders indent each level of sections further than the one above: every level keeps its
// own indentation, and a numbered line deeper than its level's is still a list item.
TEST(Outline, SectionsIndentedByTheirDepthNestAndStepsStayItems) {
    const std::string steps = "      1. Unpack the archive\n\n      2. Run the installer\n\n";
    const struct {
        const char* name;
        std::string text;
        std::vector<Heading> headings;
    } cases[] = {
        {"two levels",
         "1. Setting up\n\n" + Paragraph(0) + "\n  1.1. Before you begin\n\n" + Paragraph(1) +
             "\n  1.2. After the first run\n\n" + Paragraph(2) + "\n2. Using it\n\n" + Paragraph(3),
         {{"1. Setting up", 1},
          {"1.1. Before you begin", 2},
          {"1.2. After the first run", 2},
          {"2. Using it", 1}}},
        {"three levels and a list of steps",
         "1. Setting up\n\n" + Paragraph(0) + "\n  1.1. Before you begin\n\n" + Paragraph(1) +
             "\n    1.1.1. Space on the disk\n\n" + Paragraph(2) + "\n" + steps +
             "  1.2. After the first run\n\n" + Paragraph(3),
         {{"1. Setting up", 1},
          {"1.1. Before you begin", 2},
          {"1.1.1. Space on the disk", 3},
          {"1.2. After the first run", 2}}},
        {"a text cut from a longer manual opens mid-numbering",
         "4.2. Keeping files\n\n" + Paragraph(0) + "\n4.2.1. Old copies\n\n" + Paragraph(1) +
             "\n4.3. Restoring\n\n" + Paragraph(2),
         {{"4.2. Keeping files", 2}, {"4.2.1. Old copies", 3}, {"4.3. Restoring", 2}}},
        {"its contents one entry a paragraph stay text",
         "Storage\n\n4.2. Keeping files\n\n4.2.1. Old copies\n\n4.3. Restoring\n\n4.2. Keeping "
         "files\n\n" +
             Paragraph(0) + "\n4.2.1. Old copies\n\n" + Paragraph(1) + "\n4.3. Restoring\n\n" +
             Paragraph(2),
         {{"Storage", 1},
          {"4.2. Keeping files", 2},
          {"4.2.1. Old copies", 3},
          {"4.3. Restoring", 2}}},
        {"a contents list spaced by blank lines, its long entries wordy or wrapped",
         "   Contents\n\n   1. [2]Setting up\n\n   1.1. [3]Before you begin\n\n"
         "   1.1.1. [4]Space on the disk\n\n"
         "   1.2. [5]Keeping the machine up to date when the school has only a slow line to "
         "the world\n\n"
         "   1.3. [6]Installing from a stick instead of from a disc or from a\n   Blu-ray "
         "disc\n\n   1.3.1. [7]Sticks\n\n   2. [8]Using it\n\n"
         "1. Setting up\n\n" +
             Paragraph(0) + "\n  1.1. Before you begin\n\n" + Paragraph(1) +
             "\n    1.1.1. Space on the disk\n\n" + Paragraph(2) +
             "\n  1.2. Keeping the machine up to date when the school has only a slow line to "
             "the world\n\n" +
             Paragraph(3) +
             "\n  1.3. Installing from a stick instead of from a disc or from a Blu-ray "
             "disc\n\n" +
             Paragraph(4) + "\n    1.3.1. Sticks\n\n" + Paragraph(0) + "\n2. Using it\n\n" +
             Paragraph(1),
         {{"1. Setting up", 1},
          {"1.1. Before you begin", 2},
          {"1.1.1. Space on the disk", 3},
          {"1.2. Keeping the machine up to date when the school has only a slow line to the "
           "world",
           2},
          {"1.3. Installing from a stick instead of from a disc or from a Blu-ray disc", 2},
          {"1.3.1. Sticks", 3},
          {"2. Using it", 1}}},
        {"a contents list in bold over links, its first entry wrapped",
         "**Table of Contents**\n\n1. [Setting up the machines for the\nschool](#setup)\n\n"
         "1.1. [Before you begin](#begin)\n\n1.2. [After the first run](#after)\n\n"
         "2. [Using it](#use)\n\n1. Setting up the machines for the school\n\n" +
             Paragraph(0) + "\n1.1. Before you begin\n\n" + Paragraph(1) +
             "\n1.2. After the first run\n\n" + Paragraph(2) + "\n2. Using it\n\n" + Paragraph(3),
         {{"1. Setting up the machines for the school", 1},
          {"1.1. Before you begin", 2},
          {"1.2. After the first run", 2},
          {"2. Using it", 1}}},
        {"titles that end in a mark, where their numbers run on",
         "1. Alerts\n\n" + Paragraph(0) + "\n1.1. DISK CRITICAL: free space on /usr low:\n\n" +
             Paragraph(1) + "\n1.2. The queue holds 61 jobs.\n\n" + Paragraph(2) +
             "\n3.4. The price rose again.\n\n" + Paragraph(3),
         {{"1. Alerts", 1},
          {"1.1. DISK CRITICAL: free space on /usr low:", 2},
          {"1.2. The queue holds 61 jobs.", 2}}},
        {"numbers that run on from nothing stay prose",
         "2.5. The price rose again\n\n" + Paragraph(0) + "\n7.1. Nobody answered\n\n" +
             Paragraph(1),
         {}},
        {"a deeper level indented less keeps the one least indentation",
         "  1. Setting up\n\n" + Paragraph(0) + "\n1.1. Before you begin\n\n" + Paragraph(1) +
             "\n1.2. After the first run\n\n" + Paragraph(2),
         {{"1.1. Before you begin", 2}, {"1.2. After the first run", 2}}},
    };
    for (const auto& c : cases) {
        const Document doc = Refined(c.text);
        EXPECT_EQ(Headings(doc), c.headings) << c.name;
        EXPECT_EQ(WordsOf(c.text), WordsOf(doc)) << c.name;
    }
}

TEST(Outline, ALongSectionTitleWrappedOntoASecondLineIsOneHeading) {
    // Its end in words, or in brackets.
    for (const std::string end : {"creates", "(before the upgrade)"}) {
        std::string text = "1. Basics\n\n" + Paragraph(0) + "\n";
        text +=
            "1.1. Control of the permissions given to the files that a program\n" + end + "\n\n";
        text += Paragraph(1) + "\n1.2. Links\n\n" + Paragraph(2);
        const std::vector<Heading> headings = Headings(Refined(text));
        ASSERT_EQ(headings.size(), 3u) << end;
        EXPECT_EQ(
            headings[1],
            (Heading{"1.1. Control of the permissions given to the files that a program " + end,
                     2}));
    }
}

TEST(Outline, AListOfTablesIsNoRunOfHeadings) {
    std::string text = "Notes\n\n" + Paragraph(3) +
                       "\nList of Tables\n\n1.1. Packages\n1.2. "
                       "Commands\n2.1. Options\n\n";
    text += "1. Basics\n\n" + Paragraph(0) + "\n1.1. Packages\n\n" + Paragraph(1);
    const std::vector<Heading> headings = Headings(Refined(text));
    EXPECT_EQ(headings,
              (std::vector<Heading>{{"Notes", 1}, {"1. Basics", 1}, {"1.1. Packages", 2}}));
}

// Several lists in one text: each run is dropped, and the headings between them stay, in order.
TEST(Outline, EveryListOfNumberedLinesIsDroppedAndTheHeadingsBetweenStay) {
    std::string text = "Notes\n\n" + Paragraph(3);
    text += "\nList of Tables\n\n1.1. Packages\n1.2. Commands\n2.1. Options\n\n";
    text += "1. Basics\n\n" + Paragraph(0);
    text += "\nList of Figures\n\n1.1. Boot\n1.2. Disk\n1.3. Net\n1.4. Users\n\n";
    text += "1.1. Packages\n\n" + Paragraph(1);
    text += "\nList of Examples\n\n2.1. Shell\n2.2. Editor\n2.3. Mail\n\n";
    text += "2. Commands\n\n" + Paragraph(2) + "\n2.1. Shell\n\n" + Paragraph(0);
    const std::vector<Heading> headings = Headings(Refined(text));
    EXPECT_EQ(headings, (std::vector<Heading>{{"Notes", 1},
                                              {"1. Basics", 1},
                                              {"1.1. Packages", 2},
                                              {"2. Commands", 1},
                                              {"2.1. Shell", 2}}));
}

TEST(Outline, AppendixLettersFollowTheChapters) {
    std::string text = "Chapter 1. Basics\n\n" + Paragraph(0) + "\n1.1. Setup\n\n" + Paragraph(1);
    text += "\nAppendix A. Reference\n\n" + Paragraph(2) + "\nA.1. History\n\n" + Paragraph(3);
    const std::vector<Heading> headings = Headings(Refined(text));
    ASSERT_EQ(headings.size(), 4u);
    EXPECT_EQ(headings[2].level, 1);
    EXPECT_EQ(headings[3], (Heading{"A.1. History", 2}));
}

// The second kind of real text: a software guide saved as plain text, one paragraph a line,
// a title, a by-line, a contents list, then headings without numbers.
struct Guide {
    std::string by;
    std::string contents;
    std::vector<std::string> headings;
    std::string sentence;
};

std::string GuideText(const Guide& g, const std::string& title) {
    std::string text = title + "\n" + g.by + "\n\n" + g.contents + "\n";
    for (const std::string& h : g.headings) {
        text += h + "\n";
    }
    text += "\n";
    for (const std::string& h : g.headings) {
        text += h + "\n" + g.sentence + " " + g.sentence + "\n" + g.sentence + "\n\n";
    }
    return text;
}

TEST(Outline, ASoftwareGuideFindsItsListedHeadingsAndAuthorInEveryLanguage) {
    const std::vector<std::pair<Guide, std::string>> guides = {
        {{"By: Mara Lindqvist",
          "Contents",
          {"Introduction", "Installing the program", "Task 1: Sorting", "Task 2: Conversion",
           "Troubleshooting"},
          "The program reads each file once and writes the result beside it."},
         "Mara Lindqvist"},
        {{"Von: Jonas Feldberg",
          "Inhalt",
          {"Einleitung", "Das Programm installieren", "Aufgabe 1: Sortieren", "Fehlersuche"},
          "Das Programm liest jede Datei einmal und schreibt das Ergebnis daneben."},
         "Jonas Feldberg"},
        {{"Par : Claire Dumoulin",
          "Sommaire",
          {"Introduction", "Installer le programme", "Tâche 1 : Conversion", "Dépannage"},
          "Le programme lit chaque fichier une fois et écrit le résultat à côté."},
         "Claire Dumoulin"},
        {{"di Paolo Serrani",
          "Indice",
          {"Introduzione", "Installare il programma", "Compito 1: Conversione", "Problemi"},
          "Il programma legge ogni file una volta e scrive il risultato accanto."},
         "Paolo Serrani"},
        {{"Por: Lucía Carranza",
          "Índice",
          {"Introducción", "Instalar el programa", "Tarea 1: Conversión", "Solución de problemas"},
          "El programa lee cada archivo una vez y escribe el resultado a su lado."},
         "Lucía Carranza"},
        {{"Por Tiago Mourão",
          "Sumário",
          {"Introdução", "Instalar o programa", "Tarefa 1: Conversão", "Resolução de problemas"},
          "O programa lê cada ficheiro uma vez e escreve o resultado ao lado."},
         "Tiago Mourão"},
        {{"Door: Femke de Wilde",
          "Inhoud",
          {"Inleiding", "Het programma installeren", "Taak 1: Conversie", "Problemen oplossen"},
          "Het programma leest elk bestand één keer en schrijft het resultaat ernaast."},
         "Femke de Wilde"},
        {{"Автор: Ирина Соколова",
          "Содержание",
          {"Введение", "Установка программы", "Задача 1: Преобразование", "Устранение неполадок"},
          "Программа читает каждый файл один раз и записывает результат рядом с ним."},
         "Ирина Соколова"},
        {{"著者：山本 花子",
          "目次",
          {"はじめに", "プログラムのインストール", "作業 1：変換", "困ったときは"},
          "このプログラムは各ファイルを一度だけ読み、結果をその隣に書き出します。"},
         "山本 花子"},
        {{"oleh Budi Santoso",
          "Daftar Isi",
          {"Pendahuluan", "Memasang program", "Tugas 1: Konversi", "Pemecahan masalah"},
          "Program membaca setiap berkas satu kali dan menulis hasilnya di sebelahnya."},
         "Budi Santoso"},
        {{"Yazan: Ayşe Demir",
          "İçindekiler",
          {"Giriş", "Programın kurulması", "Görev 1: Dönüştürme", "Sorun giderme"},
          "Program her dosyayı bir kez okur ve sonucu yanına yazar."},
         "Ayşe Demir"},
        {{"山本 花子 著",
          "目次",
          {"概要", "導入の手順", "作業 2：一括変換", "よくある質問"},
          "変換した本は元のファイルと同じフォルダーに保存されます。"},
         "山本 花子"},
        {{"作者：王小明",
          "目录",
          {"简介", "安装程序", "任务 1：转换", "故障排除"},
          "本程序对每个文件只读取一次，并把结果写在它的旁边。"},
         "王小明"},
    };
    for (const auto& [guide, author] : guides) {
        const std::string text = GuideText(guide, "Quill Sorter 3");
        const Document doc = Refined(text, "quill_sorter.txt");
        std::vector<Heading> expected = {{"Quill Sorter 3", 1}};
        for (const std::string& h : guide.headings) {
            expected.push_back({h, 1});
        }
        EXPECT_EQ(Headings(doc), expected) << guide.contents;
        EXPECT_EQ(doc.metadata.title, "Quill Sorter 3");
        EXPECT_EQ(doc.metadata.author, author);
        // The contents list is still there, once, as a list.
        EXPECT_EQ(CountKind(doc, BlockKind::ListItem), guide.headings.size());
        // Japanese and Chinese join their lines without a space; every other script keeps its
        // words apart.
        auto withoutBlanks = [](std::vector<std::string> words) {
            std::string all;
            for (const std::string& w : words) {
                all += w;
            }
            return all;
        };
        EXPECT_EQ(withoutBlanks(WordsOf(text)), withoutBlanks(WordsOf(doc))) << guide.contents;
        if (static_cast<unsigned char>(guide.sentence[0]) < 0xE0) {
            EXPECT_EQ(WordsOf(text), WordsOf(doc)) << guide.contents;
        }
    }
}

TEST(Outline, ListedEntriesWithMarkersOrHeadingsInCapitalsStillMatch) {
    const std::vector<std::string> headings = {"Introduction", "Installing the program",
                                               "Task 1: Sorting", "Troubleshooting"};
    const std::string sentence =
        "The program reads each file once and writes the result beside it.";
    struct Form {
        std::function<std::string(std::size_t, const std::string&)> entry;
        std::function<std::string(const std::string&)> heading;
    };
    const std::vector<Form> forms = {
        {[](std::size_t, const std::string& h) { return "- " + h; },
         [](const std::string& h) { return h; }},
        {[](std::size_t i, const std::string& h) { return std::to_string(i + 1) + ". " + h; },
         [](const std::string& h) { return h; }},
        {[](std::size_t, const std::string& h) { return "\u2022 " + h + " ....... 7"; },
         [](const std::string& h) {
             std::string upper = h;
             for (char& c : upper) {
                 c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
             }
             return upper;
         }},
    };
    for (const Form& form : forms) {
        std::string text = "Quill Sorter 3\nBy: Mara Lindqvist\n\nContents\n";
        for (std::size_t i = 0; i < headings.size(); ++i) {
            text += form.entry(i, headings[i]) + "\n";
        }
        std::vector<Heading> expected = {{"Quill Sorter 3", 1}};
        for (const std::string& h : headings) {
            text += "\n" + form.heading(h) + "\n" + sentence + " " + sentence + "\n";
            expected.push_back({form.heading(h), 1});
        }
        const Document doc = Refined(text, "quill_sorter.txt");
        EXPECT_EQ(Headings(doc), expected) << form.entry(0, headings[0]);
        EXPECT_EQ(CountKind(doc, BlockKind::ListItem), headings.size());
        EXPECT_EQ(WordsOf(text), WordsOf(doc));
    }
}

TEST(Outline, ListedSubentriesNestByTheirIndentation) {
    const std::string text =
        "Contents\n"
        "Introduction\n"
        "  What the tool does\n"
        "Setup . . . . . . 4\n"
        "  On a laptop ........ 5\n\n"
        "Introduction\nSome words about it.\n"
        "What the tool does\nIt sorts.\n"
        "Setup\nPlug it in.\n"
        "On a laptop\nCharge it first.\n";
    EXPECT_EQ(
        Headings(Refined(text)),
        (std::vector<Heading>{
            {"Introduction", 1}, {"What the tool does", 2}, {"Setup", 1}, {"On a laptop", 2}}));
}

TEST(Outline, AListOfItemsThatComeBackAsLinesIsTheContents) {
    // A page's list of its sections, with no "Contents" over it, as renders and READMEs set
    // it: bullets, a renderer's link numbers, links of Markdown.
    const std::string body =
        "Sorting the ledgers\n\nThe tool sorts the harbour's ledgers by date.\n\n"
        "Design goals\n\nIt must be fast on a slow machine.\n\n"
        "Using the tool\n\nRun it from the harbour office.\n";
    const struct {
        const char* shape;
        std::string list;
        std::vector<Heading> headings;
    } cases[] = {
        {"bullets",
         "-   Sorting the ledgers\n    -   Design goals\n-   Using the tool\n\n",
         {{"Sorting the ledgers", 1}, {"Design goals", 2}, {"Using the tool", 1}}},
        {"link numbers",
         "   * [1]Sorting the ledgers\n        + [2]Design goals\n   * [3]Using the tool\n\n",
         {{"Sorting the ledgers", 1}, {"Design goals", 2}, {"Using the tool", 1}}},
        {"a renderer's own sign for nested entries, spaces written as underscores",
         "    * Sorting_the_ledgers\n          o Design_goals\n    * Using_the_tool\n\n",
         {{"Sorting the ledgers", 1}, {"Design goals", 2}, {"Using the tool", 1}}},
        {"groups of entries parted by blank lines",
         "     \u2022 [1]Sorting the ledgers\n\n          \u2022 [2]Design goals\n\n"
         "     \u2022 [3]Using the tool\n\n",
         {{"Sorting the ledgers", 1}, {"Design goals", 2}, {"Using the tool", 1}}},
        {"a contents title over entries spaced by blank lines",
         "\u3082\u304f\u3058\n\nSorting the ledgers\n\nDesign goals\n\nUsing the tool\n\n",
         {{"Sorting the ledgers", 1}, {"Design goals", 1}, {"Using the tool", 1}}},
        {"links of Markdown",
         "- [Sorting the ledgers](#sorting-the-ledgers)\n- [Design goals](#design-goals)\n"
         "- [Using the tool](#using-the-tool)\n\n",
         {{"Sorting the ledgers", 1}, {"Design goals", 1}, {"Using the tool", 1}}},
        {"items that do not come back", "- Oars\n- Rope\n- Lamp oil\n\n", {}},
        {"names of a program's parts",
         "- ``Sorting the ledgers``\n- ``Design goals``\n- ``Using the tool``\n\n",
         {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Headings(Refined(c.list + body)), c.headings) << c.shape;
    }
}

TEST(Outline, ContentsKeysDropLeadersAndPageNumbers) {
    using Tessaly::Docs::ContentsKey;
    EXPECT_EQ(ContentsKey("  Installing   the  program  "), "installing the program");
    EXPECT_EQ(ContentsKey("Installing ........ 12"), "installing");
    EXPECT_EQ(ContentsKey("Installing      12"), "installing");
    EXPECT_EQ(ContentsKey("Task 2"), "task 2");  // a number that belongs to the title stays
    // Markers of a listed entry go, and letter case does not count.
    EXPECT_EQ(ContentsKey("- Installing"), "installing");
    EXPECT_EQ(ContentsKey("\u2022 Installing .... 4"), "installing");
    EXPECT_EQ(ContentsKey("12) INSTALLING"), "installing");
    EXPECT_EQ(ContentsKey("1.2. Installing"), "1.2. installing");
    EXPECT_EQ(ContentsKey("1.2._Installing_the_program"), "1.2. installing the program");
    EXPECT_EQ(ContentsKey("3._Getting_the_program"), ContentsKey("3. Getting the program"));
    EXPECT_TRUE(Tessaly::Docs::IsContentsTitle("Table of Contents"));
    EXPECT_TRUE(Tessaly::Docs::IsContentsTitle("Inhaltsverzeichnis:"));
    EXPECT_TRUE(Tessaly::Docs::IsContentsTitle("目次"));
    EXPECT_TRUE(Tessaly::Docs::IsContentsTitle("**Table of Contents**"));
    EXPECT_FALSE(Tessaly::Docs::IsContentsTitle("Contents of the box"));
}

TEST(Outline, AContentsTitleUnderAPrefaceIsNoSubtitle) {
    std::string text = "Preface\n\nTable of Contents\n\n1. Disclaimer\n2. Thanks\n\n";
    text += "1. Disclaimer\n\n" + Paragraph(0) + "\n2. Thanks\n\n" + Paragraph(1);
    const std::vector<Heading> headings = Headings(Refined(text));
    ASSERT_FALSE(headings.empty());
    EXPECT_EQ(headings[0], (Heading{"Preface", 1}));
}

// Entries the width cut go on at their own indentation, in a line that opens with no number:
// a digit ("32_bit") or a capital ("PXE") that is no entry of its own.
TEST(Outline, AContentsEntryTheWidthCutGoesOnUnderItsNumber) {
    const std::string text =
        "Contents\n  1._Setting_up\n"
        "        1.1._Adding_a_second_archive_for_the_clients_that_still_run_on_old\n"
        "        32_bit_machines\n"
        "        1.2._Choosing_what_the_boot_menu_offers_to_clients_that_start_from_the\n"
        "        PXE\n  2._Using_it\n\n"
        "1. Setting up\n\n" +
        Paragraph(0) +
        "\n1.1. Adding a second archive for the clients that still run on old 32 bit "
        "machines\n\n" +
        Paragraph(1) +
        "\n1.2. Choosing what the boot menu offers to clients that start from the PXE\n\n" +
        Paragraph(2) + "\n2. Using it\n\n" + Paragraph(3);
    const Document doc = Refined(text);
    EXPECT_EQ(CountKind(doc, BlockKind::ListItem), 4u);
    EXPECT_EQ(Headings(doc).size(), 4u);
    EXPECT_EQ(WordsOf(text), WordsOf(doc));
}

TEST(Outline, PlainProseGetsNoHeadings) {
    std::string text;
    for (int p = 0; p < 6; ++p) {
        text += Paragraph(p) + "\n";
    }
    text += "2 people came.\n\n3.5 Kilograms of flour\n\n" + Paragraph(1);
    EXPECT_TRUE(Headings(Refined(text)).empty());
}

}  // namespace
