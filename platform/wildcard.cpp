// The wild-card matcher shared by every platform.
#include "platform/platform.h"

namespace kelvane::platform {

// Greedy matching with one backtracking point: on a mismatch after a '*', the '*'
// swallows one more character and matching resumes just after it. A later '*'
// replaces the backtracking point, since whatever the earlier '*' could still take
// the later one can take as well; so the work stays O(pattern * name).
bool wildcardMatch(const char* pattern, const char* name)
{
    if (pattern == nullptr || name == nullptr) return false;
    const char* p = pattern;
    const char* n = name;
    const char* starP = nullptr; // just after the last '*' seen
    const char* starN = nullptr; // where that '*' match resumes
    while (*n != '\0') {
        if (*p == '*') {
            starP = ++p;
            starN = n;
        } else if (*p != '\0' && (*p == '?' || *p == *n)) {
            ++p;
            ++n;
        } else if (starP != nullptr) {
            p = starP;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (*p == '*') ++p;
    return *p == '\0';
}

} // namespace kelvane::platform
