#include "geoid/geoid_context.h"

#include <cstring>

#include "geoid/geoid_catalogue.h"
#include "geoid/geoid_grid.h"
#include "kelvane/geoid.h"

namespace kelvane::geoid {
namespace {

// Static storage, zero at load: state closed, model 0, empty folder.
GeoidContext g_context;

// Length of a folder string, or -1 when it is null or longer than the buffers take. Reads
// no further than the first character past the limit.
long boundedLength(const char* text)
{
    if (!text) return -1;
    for (std::size_t n = 0; n <= kGeoidFolderMaxLength; ++n) {
        if (text[n] == '\0') return static_cast<long>(n);
    }
    return -1;
}

// Chooses and loads the file of the point (the loaded grid is released first) and
// remembers which file that was.
int selectAndRemember(double lat, double lon)
{
    return selectGeoidFile(g_context.folder, g_context.model, lat, lon, g_context.loadedPath,
                           sizeof g_context.loadedPath);
}

} // namespace

const GeoidContext& geoidContext()
{
    return g_context;
}

// GEOID99, GEOID03 and AUSGeoid98 change tiles when a point falls outside the loaded one.
// GEOID09 and CARIB97 are tiled the same way, so they change tiles too: otherwise a
// GEOID09 session that starts in Colorado could never answer in Alaska, nor a CARIB97
// session that starts in Puerto Rico answer in Jamaica, without opening the model again.
bool changesTileOnMiss(int model)
{
    return model == kGeoid99 || model == kGeoid03 || model == kGeoid09 || model == kAusGeoid98 ||
           model == kCarib97;
}

} // namespace kelvane::geoid

KELVANE_C_BEGIN

using kelvane::geoid::g_context;

int openGeoidGrid(const char* folder, int model)
{
    using namespace kelvane::geoid;
    const long length = boundedLength(folder);
    if (length < 0 || !findGeoidFiles(folder, model)) return 1;
    if (kelvane::setGeoidScratchFolder(folder) != 0) return 1;
    std::memcpy(g_context.folder, folder, static_cast<std::size_t>(length) + 1);
    g_context.model = model;
    g_context.state = kGeoidOpened;
    g_context.loadedPath[0] = '\0';
    return 0;
}

void closeGeoidGrid(void)
{
    using namespace kelvane::geoid;
    kelvane::releaseGeoidGrid();
    g_context.state = kGeoidClosed;
    g_context.model = 0;
    g_context.folder[0] = '\0';
    g_context.loadedPath[0] = '\0';
}

int getElevFromGeoidGrid(double lat, double lon, double* geoidHeight)
{
    using namespace kelvane::geoid;
    if (!geoidHeight) return kvGeoidNoFile;
    *geoidHeight = 0.0;
    if (g_context.state == kGeoidClosed) return kvGeoidNoFile;
    if (g_context.state == kGeoidOpened) {
        const int rc = selectAndRemember(lat, lon);
        if (rc != 0) return rc;
        g_context.state = kGeoidLoaded;
    }
    double h = 0.0;
    int rc = getGeoidElev(lat, lon, &h);
    if (rc == kvGeoidNoData && changesTileOnMiss(g_context.model)) {
        // The point lies outside the loaded tile: load the tile that covers it. When that
        // is the very file already loaded, the point merely has no data there, and the
        // grid is kept rather than read again.
        char path[kGeoidPathSize];
        const bool sameTile =
            kelvane::geoidContextGrid() && g_context.loadedPath[0] != '\0' &&
            chooseGeoidFile(g_context.folder, g_context.model, lat, eastLongitude(lon), path,
                            sizeof path) == 0 &&
            std::strcmp(path, g_context.loadedPath) == 0;
        if (sameTile) return kvGeoidNoData;
        const int selected = selectAndRemember(lat, lon);
        if (selected != 0) return selected;
        g_context.state = kGeoidLoaded;
        rc = getGeoidElev(lat, lon, &h);
    }
    if (rc == kvGeoidOk) *geoidHeight = h;
    return rc;
}

void get_geoid_name(int model, char* name)
{
    if (!name) return;
    const char* text = kelvane::geoid::geoidModelName(model);
    std::memcpy(name, text, std::strlen(text) + 1);
}

KELVANE_C_END
