#pragma once
// The book's one small stylesheet.

#include <string_view>

namespace Tessaly::Docs {

std::string_view Stylesheet();

}  // namespace Tessaly::Docs
