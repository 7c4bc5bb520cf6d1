#include "doclib/structure/TableRule.h"

namespace Tessaly::Docs {

bool IsColumnRule(std::string_view content) {
    if (content.empty() || (content.front() != '-' && content.front() != '=')) {
        return false;
    }
    const char mark = content.front();
    int runs = 0;
    char before = ' ';
    for (const char c : content) {
        if (c != mark && c != ' ') {
            return false;
        }
        runs += c == mark && before == ' ' ? 1 : 0;
        before = c;
    }
    return runs >= 2;
}

}  // namespace Tessaly::Docs
