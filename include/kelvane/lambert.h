/* Lambert conformal conic on zone constants. */
#ifndef KELVANE_LAMBERT_H
#define KELVANE_LAMBERT_H

#include "kelvane/core.h"

#endif /* KELVANE_LAMBERT_H */
