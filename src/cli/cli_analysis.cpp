// corvane-cli stats, psf, histogram and median: the statistics, the star profile, the bit
// histogram file and the median filter of a loaded image.

#include <cmath>
#include <cstdio>
#include <iostream>

#include "analysis/median_filter.h"
#include "analysis/psf.h"
#include "analysis/statistics.h"
#include "cli/cli_common.h"
#include "platform/file_lookup.h"
#include "platform/output_file.h"

namespace corvane::cli {

namespace {

nlohmann::json ExtremesJson(const Extremes& e, std::int32_t bzero) {
    return {
        {"text", ExtremesText(e, bzero)}, {"min", e.minimum + bzero}, {"max", e.maximum + bzero}};
}

std::string HashText(const ImageRecord& image) {
    char hash[24];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(PixelHash(image)));
    return hash;
}

// A 16-bit PGM of the stored values: each value's two's-complement bit pattern, most
// significant byte first, under maxval 65535.
std::string StoredValuesPgm(const ImageRecord& image) {
    std::string bytes =
        "P5\n" + std::to_string(image.width) + " " + std::to_string(image.height) + "\n65535\n";
    const std::size_t n =
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    bytes.reserve(bytes.size() + 2 * n);
    for (std::size_t i = 0; i < n; ++i) {
        const auto v = static_cast<std::uint16_t>(image.pixels[i]);
        bytes += static_cast<char>(v >> 8);
        bytes += static_cast<char>(v & 0xFF);
    }
    return bytes;
}

}  // namespace

void RegisterAnalysisCommands(CLI::App& app, int& exitCode) {
    struct StatsArgs {
        std::string file;
        std::vector<int> roi;
        bool small = false;
        RawArguments raw;
    };
    auto st = std::make_shared<StatsArgs>();
    CLI::App* statsCmd = app.add_subcommand(
        "stats",
        "Load FILE and print as JSON the texts and true values of Stats (over the "
        "region of interest, centred on the image unless --roi is given), Max Min "
        "and Global Max Min. Exit code 2 when Stats cannot evaluate the RMS");
    statsCmd->add_option("FILE", st->file, "image file")->required();
    statsCmd->add_option("--roi", st->roi, "region centre: column XC and row YC")->expected(2);
    statsCmd->add_flag("--small", st->small, "the 16 x 16 region of Small ROI instead of 32 x 32");
    AddRawOptions(*statsCmd, st->raw);
    statsCmd->callback([st, &exitCode] {
        Program program;
        ConsoleHost host;
        if (!LoadForCli(program, host, st->file, st->raw)) {
            exitCode = 1;
            return;
        }
        const ImageRecord& im = program.image;
        SetSmallRoi(program.roi, st->small);
        if (st->roi.size() == 2) {
            program.roi.xc = st->roi[0];
            program.roi.yc = st->roi[1];
        }
        nlohmann::json j;
        j["roi"] = {{"xc", program.roi.xc},
                    {"yc", program.roi.yc},
                    {"width", program.roi.width},
                    {"height", program.roi.height}};
        const RegionStats s = ComputeRegionStats(im, program.roi);
        if (VarianceUsable(s.variance)) {
            j["stats"] = {{"text", StatsText(s, im.bzero)}, {"count", s.count},
                          {"min", s.minimum + im.bzero},    {"max", s.maximum + im.bzero},
                          {"mean", s.mean + im.bzero},      {"rms", std::sqrt(s.variance)}};
        } else {
            ShowStats(im, program.roi, host);
            j["stats"] = {{"error", "error in evaluating RMS"}, {"count", s.count}};
            exitCode = 2;
        }
        j["maxMin"] = ExtremesJson(InnerExtremes(im), im.bzero);
        j["globalMaxMin"] = ExtremesJson(GlobalExtremes(im), im.bzero);
        PrintJson(j);
    });

    struct PsfArgs {
        std::string file;
        int xs = 0, ys = 0, xb = 0, yb = 0;
        bool small = false;
        RawArguments raw;
    };
    auto pa = std::make_shared<PsfArgs>();
    CLI::App* psfCmd = app.add_subcommand(
        "psf",
        "Load FILE and print as JSON the star profile of the source region around "
        "(XS, YS) above the mean of the background region around (XB, YB): the text "
        "of the PSF box, the centroid and the two widths. Exit code 2 when the "
        "measurement is undefined (no background pixel in the image, or a source "
        "region whose weights sum to zero)");
    psfCmd->add_option("FILE", pa->file, "image file")->required();
    psfCmd->add_option("XS", pa->xs, "source column")->required();
    psfCmd->add_option("YS", pa->ys, "source row")->required();
    psfCmd->add_option("XB", pa->xb, "background column")->required();
    psfCmd->add_option("YB", pa->yb, "background row")->required();
    psfCmd->add_flag("--small", pa->small, "16 x 16 regions (Small ROI) instead of 32 x 32");
    AddRawOptions(*psfCmd, pa->raw);
    psfCmd->callback([pa, &exitCode] {
        Program program;
        ConsoleHost host;
        if (!LoadForCli(program, host, pa->file, pa->raw)) {
            exitCode = 1;
            return;
        }
        SetSmallRoi(program.roi, pa->small);
        const int size = program.roi.width;
        const PsfMeasurement m =
            MeasurePsf(program.image, pa->xs, pa->ys, pa->xb, pa->yb, size, size);
        nlohmann::json j;
        j["sourcePixels"] = m.sourcePixels;
        j["backgroundPixels"] = m.backgroundPixels;
        if (m.Defined()) {
            j["text"] = PsfText(m);
            j["x"] = m.x;
            j["y"] = m.y;
            j["sigmaX"] = m.sigmaX;
            j["sigmaY"] = m.sigmaY;
            j["background"] = m.background + program.image.bzero;
            j["weightSum"] = m.weightSum;
        } else {
            ShowPsf(program.image, pa->xs, pa->ys, pa->xb, pa->yb, size, size, host);
            j["error"] = host.shown.empty() ? std::string() : Utf8Text(host.shown.back());
            exitCode = 2;
        }
        PrintJson(j);
    });

    struct FileArgs {
        std::string file;
        std::string out;
        RawArguments raw;
    };
    auto hi = std::make_shared<FileArgs>();
    CLI::App* histCmd = app.add_subcommand(
        "histogram",
        "Load FILE and write the bit histogram \"hist.out\" into the current "
        "directory, as F2 does; print the file's path and the bit counts as JSON");
    histCmd->add_option("FILE", hi->file, "image file")->required();
    AddRawOptions(*histCmd, hi->raw);
    histCmd->callback([hi, &exitCode] {
        Program program;
        ConsoleHost host;
        if (!LoadForCli(program, host, hi->file, hi->raw)) {
            exitCode = 1;
            return;
        }
        if (!WriteBitHistogram(program.image, "hist.out", host)) {
            exitCode = 1;
            return;
        }
        const BitCounts counts = CountBits(program.image);
        PrintJson({{"file", Utf8Text(AbsolutePath("hist.out"))},
                   {"pixels", counts.pixels},
                   {"bitsSet", counts.set}});
    });

    auto me = std::make_shared<FileArgs>();
    CLI::App* medianCmd = app.add_subcommand(
        "median",
        "Load FILE, run the three-pixel horizontal median filter over it in memory "
        "and print the FNV-1a hash of the filtered stored pixels as JSON; with --out "
        "also write them as a 16-bit PGM (each stored value's two's-complement bit "
        "pattern, most significant byte first, maxval 65535)");
    medianCmd->add_option("FILE", me->file, "image file")->required();
    medianCmd->add_option("--out", me->out, "PGM file to write");
    AddRawOptions(*medianCmd, me->raw);
    medianCmd->callback([me, &exitCode] {
        Program program;
        ConsoleHost host;
        if (!LoadForCli(program, host, me->file, me->raw)) {
            exitCode = 1;
            return;
        }
        MedianFilter(program.image, host);
        if (!me->out.empty() && !WriteFileBytes(me->out, StoredValuesPgm(program.image))) {
            std::cerr << "median: cannot write " << me->out << "\n";
            exitCode = 1;
            return;
        }
        PrintJson({{"width", program.image.width},
                   {"height", program.image.height},
                   {"fnv1a64", HashText(program.image)}});
    });
}

}  // namespace corvane::cli
