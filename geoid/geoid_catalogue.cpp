#include "geoid/geoid_catalogue.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#include "platform/platform.h"

namespace kelvane::geoid {
namespace {

constexpr GeoidModel kModels[] = {
    {1, "GEOID99", "%sg1999*.grd"},
    {2, "GEOID03", "%sg2003???.grd"},
    {3, "GEOID09", "%sg2009???.grd"},
    {4, "EGM96", "%segm96.grd"},
    {5, "OSU91A", "%sosu91a.grd"},
    {6, "AUSGeoid98", "%sau_s???.grd"},
    {7, "Belgium03", "%shBG03.grd"},
    {8, "CGG2000", "%scngeoid.grd"},
    {9, "Canada HT2", "%sHT2_0.grd"},
    {10, "Canada HT1", "%sHT1_01.grd"},
    {11, "Canada GSD95", "%sGSD95.grd"},
    {12, "CARIB97", "%scarib97e.grd"}, // the eastern tile only
    {13, "Finland 2000", "%sfin2000.grd"},
    {14, "Finland 2005", "%sfin2005.grd"},
    {15, "FRANCE-RAF98", "%sfrance.grd"},
    {16, "French Guyana", "%sfr_guy00.grd"},
    {17, "Germany GCG05", "%sgcg05.grd"},
    {18, "OSGM02_GB", "%sosgm02.grd"},
    {19, "OSGM02_ROI", "%sosgm_roi.grd"},
    {20, "OSGM02_NI", "%sosgm_ni.grd"},
    {21, "Israel", "%sisrael.grd"},
    {22, "Latvia 98", "%slv98.grd"},
    {23, "Lithuania (GMATAS)", "%sltu_gmatas.grd"},
    {24, "Netherlands 2004", "%snl2004.grd"},
    {25, "Netherlands 2008", "%snl2008.grd"},
    {26, "New Caledonia-RANC00", "%snewcaldn.grd"},
    {27, "New Zealand 2005", "%snewz05.grd"},
    {28, "New Zealand 2009", "%snewz09.grd"},
    {29, "Norway 2007", "%snorway07.grd"},
    {30, "Norway 2008", "%snorway08.grd"},
    {31, "Poland", "%spoland.grd"},
    {32, "Portugal 2008", "%sportgl08.grd"},
    {33, "Spain (CAT10060)", "%scat10060.grd"},
    {34, "Spain (CAT70260)", "%scat70260.grd"},
    {35, "Spain (EGM08)", "%segm08_rednap.grd"},
    {36, "Spain (EGM08 Canarias)", "%segm08_rednap_canarias.grd"},
    {37, "Sweden05-RH70", "%sswen05_rh70.grd"},
    {38, "Sweden05-RH2000", "%sswen05_rh2000.grd"},
    {39, "Swiss 2004", "%sswiss04.grd"},
};
static_assert(std::size(kModels) == 39, "one row per model");

// Appends text to out[len..], keeping room for the terminator; false when it does not fit.
bool append(char* out, std::size_t size, std::size_t& len, const char* text, std::size_t n)
{
    if (n >= size - len) return false;
    std::memcpy(out + len, text, n);
    len += n;
    return true;
}

} // namespace

bool isGeoidModel(int model)
{
    return model >= 1 && model <= static_cast<int>(std::size(kModels));
}

const GeoidModel* findGeoidModel(int model)
{
    return isGeoidModel(model) ? &kModels[model - 1] : nullptr;
}

const char* geoidModelName(int model)
{
    const GeoidModel* m = findGeoidModel(model);
    return m ? m->name : "NONE";
}

bool formatGeoidPattern(const char* pattern, const char* folder, int number, char* out,
                        std::size_t size)
{
    if (size == 0) return false;
    out[0] = '\0';
    if (!pattern || !folder) return false;
    char digits[16];
    const int nd = std::snprintf(digits, sizeof digits, "%d", number);
    std::size_t len = 0;
    for (const char* p = pattern; *p; ++p) {
        bool ok;
        if (p[0] == '%' && p[1] == 's') {
            ok = append(out, size, len, folder, std::strlen(folder));
            ++p;
        } else if (p[0] == '%' && p[1] == 'd') {
            ok = append(out, size, len, digits, static_cast<std::size_t>(nd));
            ++p;
        } else {
            ok = append(out, size, len, p, 1);
        }
        if (!ok) {
            out[0] = '\0';
            return false;
        }
    }
    out[len] = '\0';
    return true;
}

bool findGeoidFiles(const char* folder, int model)
{
    const GeoidModel* m = findGeoidModel(model);
    char pattern[kGeoidPathSize];
    return m && formatGeoidPattern(m->pattern, folder, 0, pattern, sizeof pattern) &&
           platform::anyFileMatches(pattern);
}

} // namespace kelvane::geoid
