/* The dense matrix class and its free functions (C++ only). */
#ifndef KELVANE_MATRIX_H
#define KELVANE_MATRIX_H

#include "kelvane/core.h"

#endif /* KELVANE_MATRIX_H */
