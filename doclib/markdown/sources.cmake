list(APPEND DOCLIB_SOURCES
    markdown/CharacterReferences.cpp
    markdown/FrontMatter.cpp
    markdown/HtmlTag.cpp
    markdown/LocalImage.cpp
    markdown/MarkdownBuilder.cpp
    markdown/MarkdownReader.cpp
    markdown/RawHtml.cpp
)
