#include "doclib/structure/Refine.h"

#include <algorithm>
#include <string>

#include "doclib/structure/ChapterDetector.h"
#include "doclib/structure/ContentsList.h"
#include "doclib/structure/DeclaredBook.h"
#include "doclib/structure/DocumentRebuilder.h"
#include "doclib/structure/DocumentShape.h"
#include "doclib/structure/LanguageDetector.h"
#include "doclib/structure/LineFacts.h"
#include "doclib/structure/LineRoles.h"
#include "doclib/structure/ListFinder.h"
#include "doclib/structure/LiteralBlocks.h"
#include "doclib/structure/NumeralChapters.h"
#include "doclib/structure/OutlineDetector.h"
#include "doclib/structure/PageHeader.h"
#include "doclib/structure/ParagraphShaper.h"
#include "doclib/structure/PlainHeadings.h"
#include "doclib/structure/SceneBreaks.h"
#include "doclib/structure/ShapedHeadings.h"
#include "doclib/structure/TitleFinder.h"

namespace Tessaly::Docs {

namespace {

// The chapter lines, judged again by what each says: a Roman numeral alone needs others of its
// kind, a section counted within a chapter sits below it.
std::vector<ChapterHeading> ChaptersOf(const Document& doc, const LineScan& scan,
                                       const DocumentShape& shape) {
    return WithSectionsNested(doc, WithoutStrayNumerals(doc, DetectChapters(doc, scan, shape)));
}

}  // namespace

void RefineForReading(Document& doc) {
    LineScan scan = ScanLines(doc);
    MarkLiteralBlocks(doc, scan);
    // A source that formats its own paragraphs keeps them; only plain text is reshaped.
    DocumentShape shape = doc.hasParagraphFormatting ? DocumentShape{} : JudgeShape(scan);

    const DeclaredBook declared = ReadDeclaredBook(doc, scan, shape);
    ApplyDeclaredBook(declared, doc.metadata);

    LineMarks marks(scan.lines.size());
    MarkSceneBreaks(scan, shape, marks);
    const bool hasHeadings = std::any_of(doc.blocks.begin(), doc.blocks.end(), [](const Block& b) {
        return b.kind == BlockKind::Heading;
    });
    if (!hasHeadings && !doc.hasParagraphFormatting) {
        const std::vector<ContentsList> contents = FindContentsLists(doc, scan);
        MarkChapters(WithoutContentsLines(ChaptersOf(doc, scan, shape), contents), marks);
        MarkOutline(doc, scan, shape, contents, marks);
        shape.markdownParagraphs = MarkShapedHeadings(doc, scan, marks);
        const std::string stagedTitle = doc.metadata.title;
        DecideTitle(doc, scan, shape, marks);
        MarkPlainHeadings(doc, scan, shape, contents, marks);
        MarkLists(doc, scan, shape, contents, marks);
        MarkFrontAndBackMatter(declared, scan, marks);
        UnmarkNavigationTitles(doc, scan, marks);
        TitleByFirstHeading(doc, scan, marks, stagedTitle);
    } else {
        if (!hasHeadings) {
            MarkChapters(ChaptersOf(doc, scan, shape), marks);
        }
        DecideTitle(doc, scan, shape, marks);
    }

    // The language of a framed book is read from the book, not from the licence around it.
    const bool framed = declared.frame.HasStart() || declared.frame.HasEnd();
    const std::string bookLanguage =
        doc.metadata.language.empty() && framed ? DetectLanguage(BodyText(doc, declared)) : "";

    const std::vector<Unit> units = ShapeParagraphs(scan, shape, marks, doc.hasParagraphFormatting);
    RebuildDocument(doc, scan, units);

    if (doc.metadata.language.empty()) {
        doc.metadata.language =
            ChooseLanguage(declared.language, framed ? bookLanguage : DetectDocumentLanguage(doc));
    }
}

}  // namespace Tessaly::Docs
