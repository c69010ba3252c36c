#include "photometry/select_box.h"

#include <optional>
#include <string>

namespace corvane {

SelectDialogFields SelectDialogOpening(const ObjectList& objects,
                                       const PhotometryParameters& params) {
    SelectDialogFields f;
    f.asteroidX = std::to_string(objects.asteroidPosition.x);
    f.asteroidY = std::to_string(objects.asteroidPosition.y);
    f.asteroidChecked = objects.asteroidSelected;
    const int n = params.numberOfStars;
    for (int i = 0; i < kMaxStars; ++i) {
        SelectStarRow& row = f.stars[i];
        row.enabled = i < n;
        row.checked = objects.starSelected[i];
        row.reference = i == objects.referenceStar && i < n;
        if (row.enabled) {
            PixelPoint p = MoveBy(objects.referencePosition, objects.starOffset[i]);
            row.x = std::to_string(p.x);
            row.y = std::to_string(p.y);
        }
    }
    return f;
}

bool ApplySelectDialog(const SelectDialogFields& fields, ObjectList& objects,
                       const PhotometryParameters& params) {
    const int n = params.numberOfStars;
    std::optional<int> reference;
    for (int i = 0; i < n && i < kMaxStars; ++i) {
        if (fields.stars[i].reference) {
            reference = i;
            break;
        }
    }
    for (int i = 0; i < kMaxStars; ++i) {
        objects.starSelected[i] = i < n && fields.stars[i].checked;
    }
    if (!reference || !objects.starSelected[*reference]) {
        return false;
    }
    objects.asteroidSelected = fields.asteroidChecked;

    if (*reference != objects.referenceStar) {
        const PixelPoint d = objects.starOffset[*reference];
        objects.referencePosition = MoveBy(objects.referencePosition, d);
        for (int i = 0; i < n && i < kMaxStars; ++i) {
            objects.starOffset[i] = OffsetBetween(objects.starOffset[i], d);
            for (int j = 0; j < params.numberOfBoxes && j < kMaxBackgroundBoxes; ++j) {
                objects.starBoxOffsets[j][i] = OffsetBetween(objects.starBoxOffsets[j][i], d);
            }
        }
        objects.referenceStar = *reference;
    }
    return true;
}

bool RunSelectBox(ObjectList& objects, const PhotometryParameters& params, Host& host) {
    if (!objects.initialised) {
        host.ShowMessage("MSG 28", "Please complete initialization", MessageIcon::Warning);
        return false;
    }
    SelectDialogFields fields = SelectDialogOpening(objects, params);
    return host.RunSelectDialog(fields, [&](const SelectDialogFields& typed) {
        return ApplySelectDialog(typed, objects, params);
    });
}

}  // namespace corvane
