/* Transverse Mercator on zone constants and the 120 UTM zones. */
#ifndef KELVANE_TRANSVERSE_MERCATOR_H
#define KELVANE_TRANSVERSE_MERCATOR_H

#include "kelvane/core.h"

#endif /* KELVANE_TRANSVERSE_MERCATOR_H */
