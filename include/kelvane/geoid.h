/* Geoid heights from text grid files of the 39 geoid models.
 *
 * The host opens one model by naming the folder that holds its ".grd" files, then asks
 * for the geoid height (ellipsoid minus geoid separation, in the unit of the grid files)
 * at any point. The library picks the file (tile) that covers the point, loads it at the
 * first query that needs it and interpolates. Angles are decimal DEGREES here, longitude
 * positive EAST; a negative longitude is taken as west and 360 is added before use.
 *
 * There is one geoid context per process and it has no lock: the host serialises every
 * call of this header. */
#ifndef KELVANE_GEOID_H
#define KELVANE_GEOID_H

#include "kelvane/core.h"

/* Model identifiers run from 1 to 39 (see get_geoid_name for the names). */
enum {
    kvGeoidFirstModel = 1,
    kvGeoidLastModel = 39,
    kvGeoidEGM96 = 4,
    /* Bytes a name buffer of get_geoid_name needs: the longest name,
     * "Spain (EGM08 Canarias)", with its terminator. */
    kvGeoidNameSize = 23,
    /* Longest folder string openGeoidGrid accepts (characters, terminator excluded). */
    kvGeoidMaxFolderLength = 259
};

/* Return codes of getElevFromGeoidGrid and getGeoidElev. */
enum {
    kvGeoidOk = 0,            /* the height was written */
    kvGeoidOutsideTiles = -1, /* the point lies in none of the tiles of a tiled model */
    kvGeoidNoFile = -2,       /* no model open, or the grid file cannot be opened or read
                                 (missing, or no regular file: a folder, a pipe, a device) */
    kvGeoidBadModel = -3,     /* the open model is outside 1 to 39 */
    kvGeoidNoMemory = -4,     /* no grid can be built from the file: its header is invalid,
                                 or memory and scratch space ran out (getGeoidLoadFailure
                                 tells which) */
    kvGeoidNoData = -5        /* the loaded grid has no value at the point */
};

KELVANE_C_BEGIN

/* Chooses model (1 to 39) and folder. The folder is a bare prefix of every file name:
 * pass it WITH its trailing separator ("/data/geoid/"). Returns 0 when the folder holds
 * at least one file of the model; otherwise 1 and the context is unchanged (also for a
 * model outside 1 to 39, a null folder or one longer than kvGeoidMaxFolderLength). */
KELVANE_API int openGeoidGrid(const char* folder, int model);

/* Releases the loaded grid (and its scratch file) and closes the model. */
KELVANE_API void closeGeoidGrid(void);

/* Geoid height at (lat, lon) in degrees, loading the model's file for the point when
 * needed. Writes 0.0 first, then the height on success; returns one of the codes above.
 * A null geoidHeight returns kvGeoidNoFile without doing anything. */
KELVANE_API int getElevFromGeoidGrid(double lat, double lon, double* geoidHeight);

/* The height on the grid already loaded, without choosing a file: kvGeoidNoData and
 * geoidHeight untouched when no grid is loaded; kvGeoidNoData and 0.0 when the grid has
 * no value at the point. A null geoidHeight returns kvGeoidNoFile. */
KELVANE_API int getGeoidElev(double lat, double lon, double* geoidHeight);

/* Why the last grid file load failed, in more detail than the codes above give:
 * kvGeoidNoFile covers a file that cannot be read, kvGeoidNoMemory both an invalid
 * header and a lack of memory or scratch space. A file that gave no grid although it
 * could be read is not read again while it is unchanged, until the model is opened again
 * or closed: the query returns the same code at once. */
enum {
    kvGeoidLoadOk = 0,         /* the last load succeeded, or none has been tried */
    kvGeoidLoadUnreadable = 1, /* the file is missing, no regular file, or cannot be read */
    kvGeoidLoadBadHeader = 2,  /* the header is cut short, its counts are negative, not
                                  finite or too large, or it promises more nodes than the
                                  file can hold (every node past the first 4096 needs two
                                  bytes of text) */
    kvGeoidLoadNoSpace = 3     /* neither memory nor scratch space for the grid */
};
KELVANE_API int getGeoidLoadFailure(void);

/* Writes the display name of the model, or "NONE" for an id outside 1 to 39, into name,
 * which must hold kvGeoidNameSize bytes. A null name is ignored. */
KELVANE_API void get_geoid_name(int model, char* name);

KELVANE_C_END

#endif /* KELVANE_GEOID_H */
