/* Geoid heights from text grid files of the 39 geoid models. */
#ifndef KELVANE_GEOID_H
#define KELVANE_GEOID_H

#include "kelvane/core.h"

#endif /* KELVANE_GEOID_H */
