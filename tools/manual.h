// The kelvane(1) manual page.
#ifndef KELVANE_TOOLS_MANUAL_H
#define KELVANE_TOOLS_MANUAL_H

#include <iosfwd>

namespace kelvane::cli {

// Writes the manual page in roff (man macros): every registered command with its
// synopsis, text, options and examples, then the exit statuses.
void printManual(std::ostream& out);

} // namespace kelvane::cli

#endif
