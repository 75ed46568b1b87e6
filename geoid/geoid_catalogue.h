// The catalogue of the 39 geoid models: identifier, display name and the file-name
// pattern that tells whether a folder holds the model, plus the formatting of those
// patterns into file names.
#ifndef KELVANE_GEOID_GEOID_CATALOGUE_H
#define KELVANE_GEOID_GEOID_CATALOGUE_H

#include <cstddef>

namespace kelvane::geoid {

// Room for any file name built from an accepted folder (at most 259 characters) and the
// longest file name of the catalogue.
constexpr std::size_t kGeoidPathSize = 320;

// Identifiers of the models whose file is chosen per point.
constexpr int kGeoid99 = 1;
constexpr int kGeoid03 = 2;
constexpr int kGeoid09 = 3;
constexpr int kAusGeoid98 = 6;
constexpr int kCarib97 = 12;
constexpr int kFranceRaf98 = 15;

// Identifier, display name and presence pattern of one model. In a pattern "%s" stands
// for the folder and "%d" for a tile number; "*" and "?" are wild cards of the
// presence check only.
struct GeoidModel {
    int id;
    const char* name;
    const char* pattern;
};

bool isGeoidModel(int model);

// The catalogue row of a model, or nullptr for an id outside 1 to 39.
const GeoidModel* findGeoidModel(int model);

// The display name, or "NONE" for an id outside 1 to 39.
const char* geoidModelName(int model);

// Replaces "%s" by folder and "%d" by number in pattern, writing at most size bytes with
// the terminator. Returns false, leaving out as an empty string when size > 0, when the
// result does not fit; nothing is ever truncated silently.
bool formatGeoidPattern(const char* pattern, const char* folder, int number, char* out,
                        std::size_t size);

// Whether the folder holds at least one file matching the model's presence pattern.
bool findGeoidFiles(const char* folder, int model);

} // namespace kelvane::geoid

#endif
