/* Four- and seven-parameter 3D similarity transformations (C++ classes and C functions). */
#ifndef KELVANE_TRANSFORM3D_H
#define KELVANE_TRANSFORM3D_H

#include "kelvane/core.h"

#endif /* KELVANE_TRANSFORM3D_H */
