#pragma once
// A picture in memory with the records a measurement works on.

#include "photometry/measure_target.h"
#include "support/fake_host.h"
#include "support/memory_image.h"

namespace corvane::test {

struct Scene {
    MemoryImage picture;
    HeaderRecord header{};
    PhotometryParameters params;
    ObjectList objects;
    FakeHost host;
    int boxSide = 32;

    Scene(int width, int height, std::int16_t fill, std::int32_t bzero = 0)
        : picture(width, height, fill, bzero) {
        BuildSpanTables(params);
        header.exposure = 10;  // 1.0 s
        header.electronGain = 2;
    }
    MeasureTarget Target() { return {picture.image, header, params, objects, boxSide, host}; }

    // Only star 1 is measured, from `reference`, with `boxes` boxes (all offsets 0 until set).
    void SingleStar(PixelPoint reference, int boxes = 1) {
        objects.asteroidSelected = false;
        params.numberOfStars = 1;
        params.numberOfBoxes = boxes;
        objects.referencePosition = reference;
    }

    // Sets every pixel of the square of side `side` whose top-left pixel is (left, top).
    void FillSquare(int left, int top, int side, std::int16_t value) {
        for (int r = top; r < top + side; ++r) {
            for (int c = left; c < left + side; ++c) {
                picture.At(c, r) = value;
            }
        }
    }
};

}  // namespace corvane::test
