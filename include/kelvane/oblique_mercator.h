/* Hotine oblique Mercator on zone constants. */
#ifndef KELVANE_OBLIQUE_MERCATOR_H
#define KELVANE_OBLIQUE_MERCATOR_H

#include "kelvane/core.h"

#endif /* KELVANE_OBLIQUE_MERCATOR_H */
