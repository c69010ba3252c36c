#pragma once
// One record of a list file as the lightcurve work reads it back: the numbers exactly as
// they were printed, so that records read from a file later and records of a run accepted
// a moment ago give the same results.

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

// One object row. Positions in pixels as printed (two decimals), flux rate F in DN/s,
// background level and sigma in DN, SNR S printed without decimals.
struct ListRow {
    int star = 0;  // 0 for the asteroid, else the star's number 1 to 16
    double x = 0;
    double y = 0;
    double fluxRate = 0;
    double background = 0;
    double sigma = 0;
    double snr = 0;
    long npix = 0;
    long clip = 0;
};

// The aperture line: semi-axes and angle of both apertures.
struct ListBoxSizes {
    int asteroidA = 0, asteroidB = 0, asteroidTheta = 0;
    int starA = 0, starB = 0, starTheta = 0;
};

// Which record a point came from, stable for as long as the records are held: the image,
// its time, and how many earlier records (in reading order) had the same two.
struct RecordKey {
    std::string image;
    std::int32_t time = 0;
    int repeat = 0;
    auto operator<=>(const RecordKey&) const = default;
};

struct ListRecord {
    std::string image;      // the measured image's path
    std::string object;     // header object text, trailing blanks removed
    std::int32_t time = 0;  // Unix time t, mid-exposure, whole seconds; 0: none
    int filter = 0;         // header filter code
    int preflash = 0;
    double gain = 0;      // electrons per DN
    double exposure = 0;  // seconds
    std::optional<ListRow> asteroid;
    std::vector<ListRow> stars;  // in star-number order
    ListBoxSizes boxes;

    std::string source;  // the file it was read from, or what the caller named
    int line = 0;        // where the record starts in `source`, from 1
    int repeat = 0;      // see RecordKey

    RecordKey Key() const { return {image, time, repeat}; }
    // The row of star `number`, or null when the star was not measured.
    const ListRow* Star(int number) const;
};

}  // namespace corvane
