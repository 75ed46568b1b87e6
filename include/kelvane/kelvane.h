/* Kelvane: coordinate conversions for surveying and mapping software.
 *
 * The one header a host includes. Each family has a header of its own below, so a
 * reader finds an exported function by its family in one step. Every header compiles
 * as C as well as C++; the C++-only parts (Matrix and the classes) are hidden from C. */
#ifndef KELVANE_KELVANE_H
#define KELVANE_KELVANE_H

#include "kelvane/version.h"
#include "kelvane/export.h"
#include "kelvane/core.h"
#include "kelvane/batch.h"
#include "kelvane/ellipsoids.h"
#include "kelvane/transverse_mercator.h"
#include "kelvane/dispatch.h"
#include "kelvane/lambert.h"
#include "kelvane/oblique_mercator.h"
#include "kelvane/spc83.h"
#include "kelvane/spc27.h"
#include "kelvane/geocentric.h"
#include "kelvane/geoid.h"
#include "kelvane/matrix.h"
#include "kelvane/transform3d.h"
#include "kelvane/danish.h"
#include "kelvane/eov.h"
#include "kelvane/krovak.h"
#include "kelvane/cassini_soldner.h"
#include "kelvane/stereographic.h"

#endif /* KELVANE_KELVANE_H */
