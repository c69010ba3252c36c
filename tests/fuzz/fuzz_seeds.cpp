// Writes the seed corpus of every fuzz target with the test writers:
//   fuzz_seeds DIRECTORY   creates DIRECTORY/<target>/<seed> files.

#include <filesystem>
#include <iostream>

#include "support/fits_writer.h"
#include "support/fuzz_entries.h"
#include "support/hk_pc_writer.h"
#include "support/kvr_writer.h"
#include "support/st6_writer.h"
#include "support/temp_dir.h"
#include "support/tiff_writer.h"

using namespace corvane::test;

namespace {

void Put(const std::filesystem::path& dir, const std::string& target, const std::string& name,
         const std::string& bytes) {
    std::filesystem::create_directories(dir / target);
    WriteBytes((dir / target / name).string(), bytes);
    std::filesystem::create_directories(dir / "loader");
    WriteBytes((dir / "loader" / (target + "-" + name)).string(), bytes);
}

std::string Written(const std::filesystem::path& scratch, const auto& write) {
    const std::string path = (scratch / "seed").string();
    write(path);
    std::string bytes = ReadBytes(path);
    std::filesystem::remove(path);
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz_seeds DIRECTORY\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    const std::filesystem::path scratch = dir / ".scratch";
    std::filesystem::create_directories(scratch);

    for (int bitpix : {8, 16, 32, -32}) {
        FitsImage fits;
        fits.bitpix = bitpix;
        fits.values.assign(64 * 4, 3);
        Put(dir, "fits", "bitpix" + std::to_string(bitpix),
            Written(scratch, [&](const std::string& p) {
                WriteFits(p, fits, {FitsKey::Str("OBJECT", "M 67"), FitsKey::Dbl("EXPTIME", 60.0)});
            }));
    }

    KvrFile kvr;
    Put(dir, "kvr_fits", "plain", KvrFitsBytes(kvr));
    kvr.binColumns = 2;
    kvr.mjd = "";
    Put(dir, "kvr_fits", "binned-no-time", KvrFitsBytes(kvr));

    St6File st6;
    Put(dir, "st6", "plain", St6Bytes(st6));
    st6.compressed = true;
    st6.values = St6Values(st6);
    st6.values[5] = 60000;
    Put(dir, "st6_compressed", "escapes", St6Bytes(st6));
    st6.rows = 8;
    Put(dir, "st6_compressed", "missing-rows", St6Bytes(st6).substr(0, 2048 + 200));

    for (bool big : {false, true}) {
        for (int bits : {8, 16}) {
            for (int rowsPerStrip : {0, 1}) {
                TiffImage tiff;
                tiff.bigEndian = big;
                tiff.bitsPerSample = bits;
                tiff.rowsPerStrip = rowsPerStrip;
                std::string name = std::string(big ? "mm" : "ii") + std::to_string(bits) +
                                   (rowsPerStrip ? "-strips" : "-one");
                Put(dir, "tiff", name, Written(scratch, [&](const std::string& p) { WriteTiff(p, tiff); }));
            }
        }
    }
    TiffImage pages;
    pages.pages = 2;
    Put(dir, "tiff", "pages", Written(scratch, [&](const std::string& p) { WriteTiff(p, pages); }));

    Put(dir, "hk", "plain", HkBytes(CameraHeader(true, 128, 8, 2, 2), RampPixels(64, 4)));
    Put(dir, "pc", "plain", PcBytes(CameraHeader(false, 64, 4), RampPixels(64, 4)));
    Put(dir, "pc", "cut", PcBytes(CameraHeader(false, 64, 8), RampPixels(64, 5)));

    std::string rawData(512 + 64 * 6 * 2, '\x11');
    std::filesystem::create_directories(dir / "raw");
    WriteBytes((dir / "raw" / "sixteen").string(), RawFuzzPrefix(64, 6, 512, 0, false, true) + rawData);
    WriteBytes((dir / "raw" / "eight").string(), RawFuzzPrefix(64, 10, 37, 1, true, false) + rawData);
    Put(dir, "raw", "unknown", std::string("PCX") + rawData + RawFuzzPrefix(64, 6, 0, 0, false, false));

    std::filesystem::remove_all(scratch);
    return 0;
}
