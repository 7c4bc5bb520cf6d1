#pragma once
// Small helpers for the reader's tests: wrap a body in a document header and look at what the
// reader made of it.

#include <string>
#include <vector>

#include "doclib/Document.h"
#include "doclib/rtf/RtfReader.h"

namespace quillane::test {

// A document with the header a word processor writes: code page 1252, a font table with a
// Latin font (0), a Cyrillic font (1) and a Japanese font (2).
inline std::string RtfDocument(const std::string& body) {
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Serif One;}"
           "{\\f1\\fswiss\\fcharset204 Sans Two;}{\\f2\\fnil\\fcharset128 Mincho Three;}}\n" +
           body + "}";
}

inline Tessaly::Docs::Document ReadBody(const std::string& body) {
    return Tessaly::Docs::ReadRtf(RtfDocument(body));
}

inline std::vector<std::string> BlockTexts(const Tessaly::Docs::Document& doc) {
    std::vector<std::string> texts;
    for (const auto& block : doc.blocks) {
        texts.push_back(doc.BlockText(block));
    }
    return texts;
}

// The text of the whole body, blocks joined by '|'.
inline std::string BodyText(const Tessaly::Docs::Document& doc) {
    std::string out;
    for (std::size_t i = 0; i < doc.blocks.size(); ++i) {
        if (i > 0) {
            out += '|';
        }
        out += doc.BlockText(doc.blocks[i]);
    }
    return out;
}

}  // namespace quillane::test
