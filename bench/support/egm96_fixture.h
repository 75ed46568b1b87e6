// The EGM96 15' geoid grid as a host would have it: the published GTX file (Debian package
// proj-data) converted by "kelvane grid convert", as a user runs it, into egm96.grd in a
// scratch folder that is removed at exit. Shared by the geoid benchmarks.
#ifndef KELVANE_BENCH_EGM96_FIXTURE_H
#define KELVANE_BENCH_EGM96_FIXTURE_H

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>


namespace kelvane_bench {

class Egm96Folder {
public:
    static const Egm96Folder& instance()
    {
        static const Egm96Folder folder;
        return folder;
    }
    bool ready() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    // The folder with its trailing separator, as openGeoidGrid takes it.
    const std::string& path() const { return folder_; }
    // Nodes of the converted grid, (E + 1)(F + 1) from its header.
    double nodeCount() const
    {
        std::ifstream in(folder_ + "egm96.grd");
        double header[6] = {0, 0, 0, 0, 0, 0};
        for (double& v : header) in >> v;
        return (header[4] + 1.0) * (header[5] + 1.0);
    }

    ~Egm96Folder()
    {
        if (!folder_.empty()) std::filesystem::remove_all(folder_);
    }

private:
    Egm96Folder()
    {
        const char* const gtx = "/usr/share/proj/egm96_15.gtx";
        if (!std::filesystem::exists(gtx)) {
            error_ = std::string("skipped: ") + gtx + " is missing (Debian package proj-data)";
            return;
        }
        std::string tmpl = (std::filesystem::temp_directory_path() / "kelvane_geoid_XXXXXX").string();
        if (!mkdtemp(tmpl.data())) {
            error_ = "cannot create a scratch folder";
            return;
        }
        folder_ = tmpl + "/";
        const std::string command = std::string("\"") + KELVANE_CLI_PATH + "\" grid convert " + gtx + " \"" +
                                    folder_ + "egm96.grd\" >/dev/null";
        if (std::system(command.c_str()) != 0) error_ = "kelvane grid convert could not convert " + std::string(gtx);
    }

    std::string folder_;
    std::string error_;
};

} // namespace kelvane_bench

#endif
