#pragma once
// What the measuring steps work on, and the pixel tests they share.

#include <cstdint>

#include "image/header_record.h"
#include "image/image_record.h"
#include "photometry/object_list.h"
#include "photometry/photometry_parameters.h"
#include "platform/host.h"

namespace corvane {

struct MeasureTarget {
    const ImageRecord& image;
    HeaderRecord& header;     // exposure T, electronGain G, biasLevel B
    const PhotometryParameters& params;
    ObjectList& objects;
    int boxSide;              // background box side: 32, or 16 with "Small ROI"
    Host& host;
};

// The caption of every measuring message.
inline constexpr const char* kDoCaption = "Do";

inline bool OutsidePicture(const ImageRecord& image, int column, int row) {
    return column < 0 || row < 0 || column >= image.width || row >= image.height;
}

// A stored value the camera cannot have delivered as a measurement: below -1000 as a true
// value, or at the saturation codes 32766 and 32767.
inline bool OutOfRange(const ImageRecord& image, std::int16_t stored) {
    return static_cast<std::int64_t>(stored) + image.bzero < -1000 || stored >= 32766;
}

// Calls visit(column, row) for every pixel of the aperture centred at `centre`, span row
// by span row in table order, until visit returns false. Returns false when it stopped.
template <class Visit>
bool WalkAperture(const ApertureSpans& spans, PixelPoint centre, Visit&& visit) {
    for (int i = 0; i < spans.count; ++i) {
        const SpanRow& s = spans.rows[i];
        const int row = centre.y - s.y;
        for (int column = centre.x + s.xmin; column <= centre.x + s.xmax; ++column) {
            if (!visit(column, row)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace corvane
