#include "geoid/geoid_tiles.h"

#include <cstdio>
#include <cstring>

#include "geoid/geoid_catalogue.h"
#include "geoid/geoid_context.h"
#include "platform/platform.h"

namespace kelvane::geoid {
namespace {

// File names of one United States model: eight conterminous tiles, four Alaska tiles,
// Hawaii, then the model's own island boxes.
struct UnitedStatesFiles {
    const char* conus;  // numbered 1 to 8
    const char* alaska; // numbered 1 to 4
    const char* hawaii;
    const char* alaskaAlt; // older names tried when the first is absent, or nullptr
    const char* hawaiiAlt;
    std::vector<GeoidTileBox> islands;
};

// Boxes 1 to 13 share their extent in all three models; a box tested later wins, so a
// point on latitude 41 belongs to the southern row and a point on a shared meridian to
// the eastern column.
std::vector<GeoidTileBox> unitedStatesBoxes(const UnitedStatesFiles& f)
{
    std::vector<GeoidTileBox> boxes;
    const double bands[2][2] = {{41, 58}, {24, 41}};
    const double columns[4][2] = {{230, 248}, {248, 265}, {265, 282}, {282, 300}};
    int n = 1;
    for (const auto& band : bands) {
        for (const auto& col : columns) {
            boxes.push_back({band[0], band[1], col[0], col[1], f.conus, n++, nullptr});
        }
    }
    const double alaska[4][4] = {
        {60, 72, 172, 204}, {60, 72, 202, 234}, {49, 61, 172, 204}, {49, 61, 202, 234}};
    for (int i = 0; i < 4; ++i) {
        boxes.push_back({alaska[i][0], alaska[i][1], alaska[i][2], alaska[i][3], f.alaska, i + 1,
                         f.alaskaAlt});
    }
    boxes.push_back({18, 24, 199, 206, f.hawaii, 0, f.hawaiiAlt});
    boxes.insert(boxes.end(), f.islands.begin(), f.islands.end());
    return boxes;
}

bool fileExists(const char* path)
{
    std::FILE* f = platform::openRegularFile(path, nullptr);
    if (!f) return false;
    std::fclose(f);
    return true;
}

bool insideClosed(const GeoidTileBox& b, double lat, double lon)
{
    return lat >= b.south && lat <= b.north && lon >= b.west && lon <= b.east;
}

int chooseBoxFile(const std::vector<GeoidTileBox>& boxes, const char* folder, double lat,
                  double lon, char* path, std::size_t size)
{
    const GeoidTileBox* chosen = nullptr;
    for (const GeoidTileBox& b : boxes) {
        if (insideClosed(b, lat, lon)) chosen = &b; // the last box that holds the point wins
    }
    if (!chosen) return -1;
    if (!formatGeoidPattern(chosen->pattern, folder, chosen->number, path, size)) return -2;
    if (chosen->altPattern && !fileExists(path)) {
        char alt[kGeoidPathSize];
        if (formatGeoidPattern(chosen->altPattern, folder, chosen->number, alt, sizeof alt) &&
            fileExists(alt)) {
            formatGeoidPattern(chosen->altPattern, folder, chosen->number, path, size);
        }
    }
    return 0;
}

// The first four header lines of a grid file (south, west, north, east), read exactly as
// the loader reads them; a line the file lacks reads as 0. Returns false when the file
// cannot be opened.
bool readTileExtent(const char* path, double extent[4])
{
    std::FILE* f = platform::openRegularFile(path, nullptr);
    if (!f) return false;
    for (int i = readGridHeader(f, extent, 4); i < 4; ++i) extent[i] = 0.0;
    std::fclose(f);
    return true;
}

// AUSGeoid98 tiles are found by their headers: sheet numbers 49 to 57 (outer loop),
// letters c to l (inner loop), first tile whose open extent holds the point. A point on
// the edge shared by two tiles belongs to neither.
int chooseAusGeoidFile(const char* folder, double lat, double lon, char* path, std::size_t size)
{
    static const char* const kLetters[] = {
        "%sau_sc%d.grd", "%sau_sd%d.grd", "%sau_se%d.grd", "%sau_sf%d.grd", "%sau_sg%d.grd",
        "%sau_sh%d.grd", "%sau_si%d.grd", "%sau_sj%d.grd", "%sau_sk%d.grd", "%sau_sl%d.grd"};
    bool missing = false;
    for (int sheet = 49; sheet <= 57; ++sheet) {
        for (const char* pattern : kLetters) {
            double e[4];
            if (!formatGeoidPattern(pattern, folder, sheet, path, size)) return -2;
            if (!readTileExtent(path, e)) {
                missing = true;
                continue;
            }
            if (e[0] < lat && lat < e[2] && e[1] < lon && lon < e[3]) return 0;
        }
    }
    if (size > 0) path[0] = '\0';
    return missing ? -2 : -1;
}

} // namespace

// The tables are built at their first use, so loading the library runs no code.
const std::vector<GeoidTileBox>& geoidTileBoxes(int model)
{
    static const std::vector<GeoidTileBox> geoid99 = unitedStatesBoxes(
        {"%sg1999u0%d.grd", "%sg1999a0%d.grd", "%sg1999h01.grd", nullptr, nullptr,
         {{20, 26, 291, 296, "%sg1999p01.grd", 0, nullptr}}});
    static const std::vector<GeoidTileBox> geoid03 = unitedStatesBoxes(
        {"%sg2003u0%d.grd", "%sg2003a0%d.grd", "%sg2003h01.grd", nullptr, nullptr,
         {{15, 21, 291, 296, "%sg2003p01.grd", 0, nullptr}}});
    // GEOID09 names its tiles outside the conterminous states "g2009..." first, as its
    // own conterminous tiles and its presence pattern do, and falls back to the older
    // "g2003..." name when that file is absent. So a folder holding the GEOID09
    // distribution answers from GEOID09 everywhere, and a folder whose Alaska, Hawaii,
    // Guam and Samoa tiles carry the older names still works.
    static const std::vector<GeoidTileBox> geoid09 = unitedStatesBoxes(
        {"%sg2009u0%d.grd", "%sg2009a0%d.grd", "%sg2009h01.grd", "%sg2003a0%d.grd",
         "%sg2003h01.grd",
         {{11, 18, 143, 146, "%sg2009g01.grd", 0, "%sg2003g01.grd"},
          {-17, -11, 186, 192, "%sg2009s01.grd", 0, "%sg2003s01.grd"}}});
    // The western box is tested last, so longitude 288 (72 W) loads the western file.
    static const std::vector<GeoidTileBox> carib97 = {
        {9, 28, 288, 302, "%scarib97e.grd", 0, nullptr},
        {9, 28, 274, 288, "%scarib97w.grd", 0, nullptr}};
    // The box is compared with the longitude after the shift into [0, 360), so only the
    // part of France east of the prime meridian is served: a point west of it (-2 is
    // tested as 358) lies outside the box and gets -1, just as the grid's negative node
    // longitudes could never match a shifted query either.
    static const std::vector<GeoidTileBox> france = {
        {42, 51.5, -5.5, 8.5, "%sfrance.grd", 0, nullptr}};
    static const std::vector<GeoidTileBox> none;
    switch (model) {
    case kGeoid99: return geoid99;
    case kGeoid03: return geoid03;
    case kGeoid09: return geoid09;
    case kCarib97: return carib97;
    case kFranceRaf98: return france;
    default: return none;
    }
}

double eastLongitude(double lon)
{
    return lon < 0.0 ? lon + 360.0 : lon;
}

int chooseGeoidFile(const char* folder, int model, double lat, double lon, char* path,
                    std::size_t size)
{
    if (!isGeoidModel(model)) return -3;
    if (model == kAusGeoid98) return chooseAusGeoidFile(folder, lat, lon, path, size);
    const std::vector<GeoidTileBox>& boxes = geoidTileBoxes(model);
    if (!boxes.empty()) return chooseBoxFile(boxes, folder, lat, lon, path, size);
    return formatGeoidPattern(findGeoidModel(model)->pattern, folder, 0, path, size) ? 0 : -2;
}

int selectGeoidFile(const char* folder, int model, double lat, double lon, char* loadedPath,
                    std::size_t size)
{
    if (loadedPath && size > 0) loadedPath[0] = '\0';
    lon = eastLongitude(lon);
    releaseGeoidGrid();
    char path[kGeoidPathSize];
    const int chosen = chooseGeoidFile(folder, model, lat, lon, path, sizeof path);
    if (chosen != 0) return chosen;
    const int loaded = loadGeoidGridFile(path);
    if (loaded == 0 && loadedPath && size > std::strlen(path)) {
        std::memcpy(loadedPath, path, std::strlen(path) + 1);
    }
    return loaded;
}

} // namespace kelvane::geoid
