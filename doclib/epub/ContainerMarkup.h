#pragma once
// The markup of the containers blocks sit in (quotes, lists, tables, code blocks, disclosure
// blocks): which to close and open between two blocks, and their tags. A content file that
// starts inside a container opens it again, so every file is well-formed on its own.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "doclib/Document.h"

namespace Tessaly::Docs {

// The containers from the body down to `container`, outermost first (the body not included).
// A model whose parents do not lead to the body within a few dozen steps is cut there.
std::vector<std::uint32_t> ContainerPath(const Document& doc, std::uint32_t container);

// The most markup the containers around `block` add (opened once and closed once).
std::size_t ContainerMarkupBound(const Document& doc, const Block& block);

// Tracks the containers open in one content file and writes the tags that move it to the next
// block's.
class ContainerStack {
  public:
    // Closes and opens containers so that block `b` (starting in its text at `from`) sits in
    // the containers the model gives it.
    void MoveTo(const Document& doc, std::uint32_t b, std::uint64_t from, std::string& out);
    // Closes every open container.
    void CloseAll(std::string& out);
    // The check box of a task item that was just opened, for its first text; empty once taken.
    std::string_view TakeTaskMark();

  private:
    struct Open {
        std::uint32_t container = 0;
        std::string_view close;
    };
    void OpenOne(const Document& doc, const std::vector<std::uint32_t>& path, std::size_t i,
                 bool fresh, std::string& out);

    std::vector<Open> open_;
    std::string_view taskMark_;
};

}  // namespace Tessaly::Docs
