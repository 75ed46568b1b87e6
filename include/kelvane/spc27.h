/* State plane coordinates of 1927: the 130 zones, in US survey feet. */
#ifndef KELVANE_SPC27_H
#define KELVANE_SPC27_H

#include "kelvane/core.h"

#endif /* KELVANE_SPC27_H */
