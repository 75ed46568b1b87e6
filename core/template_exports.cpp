// Exports with no coordinate work that hosts of earlier releases look up by name.
#include "kelvane/core.h"

int nKelvane = 0;

int fnKelvane(void)
{
    return 42;
}

CKelvane::CKelvane() = default;
