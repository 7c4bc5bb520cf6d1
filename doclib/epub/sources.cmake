list(APPEND DOCLIB_SOURCES
    epub/BookIdentity.cpp
    epub/BookMetadata.cpp
    epub/ChapterSplitter.cpp
    epub/ContainerMarkup.cpp
    epub/ContentWriter.cpp
    epub/EpubWriter.cpp
    epub/FileSink.cpp
    epub/LinkTarget.cpp
    epub/Navigation.cpp
    epub/PackageDocument.cpp
    epub/Stylesheet.cpp
    epub/TocTree.cpp
    epub/XhtmlText.cpp
    epub/ZipWriter.cpp
)
