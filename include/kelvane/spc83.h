/* State plane coordinates of 1983: the 124 zones on NAD 83 (GRS 80 ellipsoid).
 *
 * Zones are named by their integer code (101 for zone 0101, 5001 for Alaska Zone 1).
 * Latitudes and longitudes are radians with longitudes positive EAST (negative in the
 * United States); northings and eastings are metres.
 *
 * The zone table is built by init83ZoneConstants, which the host calls once before any
 * other operation here (and before several threads use them). Until then no zone is found
 * and every operation returns 1. Status: 0 success, 1 unknown zone code or null pointer. */
#ifndef KELVANE_SPC83_H
#define KELVANE_SPC83_H

#include "kelvane/batch.h"
#include "kelvane/core.h"

KELVANE_C_BEGIN

/* Builds the process-wide table of the 124 zones. Calling it again rewrites the same values. */
KELVANE_API void init83ZoneConstants(void);

/* 0 if zoneCode names a zone of the table, 1 otherwise. */
KELVANE_API int invalidSPC83Zone(int zoneCode);

/* Copies the zone's whole record into *zone and returns 0; 1 (and *zone untouched) for an
 * unknown code. */
KELVANE_API int initSPC83Zone(int zoneCode, zoneCnstnt* zone);

/* Writes the zone's position in the table (0 to 123) to *index and returns 0; 1 (and
 * *index untouched) for an unknown code. */
KELVANE_API int getSPC83ZoneIndex(int zoneCode, int* index);

/* Plane (northing, easting) to geographic: writes lat, lon (positive east), gridScale and
 * convergence. Returns 1, point untouched, for an unknown code. */
KELVANE_API int SPC83Grid2Geod(int zoneCode, geodCoord* point);

/* Geographic (lat, lon positive east) to plane: writes northing, easting, gridScale and
 * convergence; lon is left as given. Returns 1, point untouched, for an unknown code. */
KELVANE_API int SPC83Geod2Grid(int zoneCode, geodCoord* point);

/* SPC83Geod2Grid and SPC83Grid2Geod for n points of one zone (see kelvane/batch.h).
 * Forward: lat, lon (rad, positive east) in; northing, easting (m) out, gridScale and
 * convergence where not NULL. Inverse: northing, easting in; lat, lon (positive east) out,
 * gridScale and convergence where not NULL. Refused whole (-1): an unknown zone code (the
 * table not yet built included), a NULL status or required column. */
KELVANE_API int SPC83Geod2GridBatch(int zoneCode, size_t n, batchIn lat, batchIn lon, batchOut northing,
                                    batchOut easting, batchOut gridScale, batchOut convergence, int* status);
KELVANE_API int SPC83Grid2GeodBatch(int zoneCode, size_t n, batchIn northing, batchIn easting, batchOut lat,
                                    batchOut lon, batchOut gridScale, batchOut convergence, int* status);

/* Arc-to-chord correction (radians) of the angle observed at station 1 from backsight 2 to
 * foresight 3, the three given by plane coordinates of the zone (easting, then northing,
 * in metres): the correction of the line to the foresight less that of the line to the
 * backsight. Returns 1, *tT untouched, for an unknown code. */
KELVANE_API int computeSPC83TmT(int zoneCode, double easting1, double northing1, double easting2,
                                double northing2, double easting3, double northing3, double* tT);

/* Writes the 124 zone names ("0101 Alabama East", ...), each followed by a newline, into
 * buffer, zero-terminated. Returns 0 when the whole list fitted (it needs 2412 bytes), 1
 * when it stopped early: the buffer then holds the whole names that fitted. A buffer
 * smaller than 1 byte is not written at all. Usable before init83ZoneConstants. */
KELVANE_API int SPC83GetZoneLstS(char* buffer, int bufferSize);

KELVANE_C_END

#endif /* KELVANE_SPC83_H */
