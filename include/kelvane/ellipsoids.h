/* The named reference ellipsoids that the library and its command-line program know,
 * defined by the semi-major axis and the flattening. GRS 80 is the first entry. Names are
 * short lower-case words ("grs80", "wgs84", "airy1830", "intl1924", "clarke1866", ...).
 *
 * Clarke 1866 is defined by its two axes, a = 6378206.4 m and b = 6356583.8 m; its
 * flattening is stored as (a - b)/a. GRS 80 carries the flattening the state plane 1983
 * conversions build it with, 0.0033528106811836675 (1/f = 298.257222101). */
#ifndef KELVANE_ELLIPSOIDS_H
#define KELVANE_ELLIPSOIDS_H

#include "kelvane/core.h"

typedef struct namedEllipsoid {
    const char* name;        /* lower-case key, e.g. "grs80" */
    const char* description; /* e.g. "GRS 1980" */
    double semiMajor;        /* a, m */
    double flattening;       /* f */
} namedEllipsoid;

KELVANE_C_BEGIN

/* The number of named ellipsoids. */
KELVANE_API int namedEllipsoidCount(void);

/* The entry at position index (0 to namedEllipsoidCount() - 1), or NULL out of range. */
KELVANE_API const namedEllipsoid* namedEllipsoidAt(int index);

/* The entry whose name is exactly name (case matters), or NULL (also for a null name). */
KELVANE_API const namedEllipsoid* findNamedEllipsoid(const char* name);

/* Fills ell with initEllipsoid from the named entry and returns 0; returns 1 and leaves
 * ell untouched for an unknown name or a null pointer. */
KELVANE_API int initNamedEllipsoid(ellipsoid* ell, const char* name);

KELVANE_C_END

#endif /* KELVANE_ELLIPSOIDS_H */
