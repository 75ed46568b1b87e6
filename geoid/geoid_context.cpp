#include "geoid/geoid_context.h"

#include <cstring>

#include "geoid/geoid_tiles.h"
#include "kelvane/geoid.h"

namespace kelvane::geoid {
namespace {

// Static storage, zero at load: state closed, model 0, empty folders, no grid.
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

void forgetFailedLoad()
{
    g_context.failedPath[0] = '\0';
    g_context.failedStamp = platform::FileStamp{-1, -1};
    g_context.failedStatus = GridFileStatus::ok;
}

// The code of a load that failed, remembered when the file could be read, so that the
// same unchanged file is not read again.
int failLoad(GridFileStatus status, const char* path, const platform::FileStamp* stamp)
{
    g_context.lastFailure = status;
    const std::size_t length = std::strlen(path);
    if (stamp != nullptr && length < sizeof g_context.failedPath) {
        std::memcpy(g_context.failedPath, path, length + 1);
        g_context.failedStamp = *stamp;
        g_context.failedStatus = status;
    }
    return status == GridFileStatus::unreadable ? kvGeoidNoFile : kvGeoidNoMemory;
}

bool failedBefore(const char* path, const platform::FileStamp& stamp)
{
    return g_context.failedStatus != GridFileStatus::ok && std::strcmp(path, g_context.failedPath) == 0 &&
           stamp == g_context.failedStamp;
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

namespace kelvane {

using geoid::g_context;

int loadGeoidGridFile(const char* path)
{
    using geoid::failLoad;
    if (path == nullptr) return failLoad(GridFileStatus::unreadable, "", nullptr);
    platform::FileStamp stamp{};
    std::FILE* file = platform::openRegularFile(path, &stamp);
    if (file == nullptr) return failLoad(GridFileStatus::unreadable, path, nullptr);
    if (geoid::failedBefore(path, stamp)) {
        std::fclose(file);
        g_context.lastFailure = g_context.failedStatus;
        return g_context.failedStatus == GridFileStatus::unreadable ? kvGeoidNoFile : kvGeoidNoMemory;
    }
    GridFileHeader h{};
    const GridFileStatus header = readGridFileHeader(file, stamp.size, &h);
    if (header != GridFileStatus::ok) {
        std::fclose(file);
        return failLoad(header, path, header == GridFileStatus::unreadable ? nullptr : &stamp);
    }
    releaseGeoidGrid();
    g_context.grid = readTextGrid(file, h.lonIntervals, h.latIntervals, h.west, h.south, h.lonStep, h.latStep,
                                  nullptr, g_context.scratchFolder);
    if (g_context.grid == nullptr) return failLoad(GridFileStatus::noSpace, path, &stamp);
    g_context.lastFailure = GridFileStatus::ok;
    return kvGeoidOk;
}

GeoidGrid* geoidContextGrid() { return g_context.grid; }

void releaseGeoidGrid() { destroyGeoidGrid(&g_context.grid); }

int setGeoidScratchFolder(const char* folder)
{
    const long length = geoid::boundedLength(folder);
    if (length < 0) return 1;
    std::memcpy(g_context.scratchFolder, folder, static_cast<std::size_t>(length) + 1);
    return 0;
}

const char* geoidScratchFolder() { return g_context.scratchFolder; }

} // namespace kelvane

KELVANE_C_BEGIN

using kelvane::geoid::g_context;

int openGeoidGrid(const char* folder, int model)
{
    using namespace kelvane::geoid;
    const long length = boundedLength(folder);
    if (length < 0 || !findGeoidFiles(folder, model)) return 1;
    kelvane::setGeoidScratchFolder(folder);
    std::memcpy(g_context.folder, folder, static_cast<std::size_t>(length) + 1);
    g_context.model = model;
    g_context.state = kGeoidOpened;
    g_context.loadedPath[0] = '\0';
    forgetFailedLoad();
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
    forgetFailedLoad();
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
            g_context.grid && g_context.loadedPath[0] != '\0' &&
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

int getGeoidLoadFailure(void)
{
    switch (g_context.lastFailure) {
    case kelvane::GridFileStatus::unreadable: return kvGeoidLoadUnreadable;
    case kelvane::GridFileStatus::badHeader: return kvGeoidLoadBadHeader;
    case kelvane::GridFileStatus::noSpace: return kvGeoidLoadNoSpace;
    default: return kvGeoidLoadOk;
    }
}

void get_geoid_name(int model, char* name)
{
    if (!name) return;
    const char* text = kelvane::geoid::geoidModelName(model);
    std::memcpy(name, text, std::strlen(text) + 1);
}

KELVANE_C_END
