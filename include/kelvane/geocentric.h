/* Geographic <-> Earth-centred Cartesian coordinates and local east/north/up frames. */
#ifndef KELVANE_GEOCENTRIC_H
#define KELVANE_GEOCENTRIC_H

#include "kelvane/core.h"

#endif /* KELVANE_GEOCENTRIC_H */
