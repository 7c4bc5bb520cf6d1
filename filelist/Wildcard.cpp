#include "filelist/Wildcard.h"

#include "filelist/NameCharacters.h"

namespace quillane {

bool MatchesWildcard(const std::string& name, const std::string& pattern) {
    if (pattern == "*.*" || pattern == "*") {
        return true;
    }
    const std::u32string n = FoldedName(name);
    const std::u32string p = FoldedName(pattern);
    // Greedy matching that backs up to the last "*" on a mismatch.
    std::size_t ni = 0, pi = 0;
    std::size_t star = std::u32string::npos, resume = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == U'?' || p[pi] == n[ni])) {
            ++ni, ++pi;
        } else if (pi < p.size() && p[pi] == U'*') {
            star = pi++;
            resume = ni;
        } else if (star != std::u32string::npos) {
            pi = star + 1;
            ni = ++resume;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == U'*') {
        ++pi;
    }
    return pi == p.size();
}

}  // namespace quillane
