/* Zone dispatch (one entry pair for every projection kind) and arc-to-chord corrections. */
#ifndef KELVANE_DISPATCH_H
#define KELVANE_DISPATCH_H

#include "kelvane/core.h"

#endif /* KELVANE_DISPATCH_H */
