#pragma once
// The document library's one exception type.

#include <stdexcept>

namespace Tessaly::Docs {

// A clear, one-line description of why a document could not be opened, read or saved.
class DocumentError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace Tessaly::Docs
