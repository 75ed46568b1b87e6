/* State plane coordinates of 1983: the 124 zones. */
#ifndef KELVANE_SPC83_H
#define KELVANE_SPC83_H

#include "kelvane/core.h"

#endif /* KELVANE_SPC83_H */
