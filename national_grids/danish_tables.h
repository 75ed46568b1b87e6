// The ten polynomial tables of the Danish local grids (data in danish_tables.cpp, which
// generate_danish_tables.py writes from the table file).
//
// A table is a flat run of doubles: the degree d, the n = (d + 1)(d + 2)/2 coefficients
// of the first output, the origin u0 of the first input, the n coefficients of the
// second output and the origin w0 of the second input.
#ifndef KELVANE_NATIONAL_GRIDS_DANISH_TABLES_H
#define KELVANE_NATIONAL_GRIDS_DANISH_TABLES_H

#include <cstddef>

namespace kelvane::danish {

// The regions with tables of their own: the three local grids and the two regions of
// the UTM zone 32 / ED50 correction (east of easting 775000 and west of it).
enum Region { kJylland, kSjaelland, kBornholm, kUtm32East, kUtm32West, kRegionCount };

// Index of a direction within a region's pair of tables.
enum TableDirection { kForward = 0, kBack = 1 };

struct PolynomialTable {
    const double* values;
    std::size_t size;
};

// [region][kForward]: UTM zone 32 / ED50 -> local; [region][kBack]: local -> UTM.
extern const PolynomialTable kPolynomialTables[kRegionCount][2];

} // namespace kelvane::danish

#endif
