#pragma once
// "Select": which objects a run measures and which star is the reference.

#include "photometry/object_list.h"
#include "photometry/photometry_parameters.h"
#include "platform/dialogs.h"
#include "platform/host.h"

namespace corvane {

// The fields as the dialog opens: the asteroid position; for each star of the list its
// position (reference position + offset), enabled; the reference star's radio button; the
// selection flags. Rows beyond the list are disabled and unchecked in effect.
SelectDialogFields SelectDialogOpening(const ObjectList& objects,
                                       const PhotometryParameters& params);

// OK: the star flags are taken from the check boxes at once (disabled rows read as
// unchecked). Without a reference star, or with an unchecked one, returns false and the
// dialog stays open. Otherwise the asteroid flag is taken and, when the reference star
// changed, the list is re-based on it: the reference position moves by the new reference
// star's offset and every star and box offset moves back by it, so absolute positions are
// unchanged.
bool ApplySelectDialog(const SelectDialogFields& fields, ObjectList& objects,
                       const PhotometryParameters& params);

// "Select stars...": refuses an uninitialised list with "Please complete initialization",
// otherwise runs the dialog. Returns true when it was accepted.
bool RunSelectBox(ObjectList& objects, const PhotometryParameters& params, Host& host);

}  // namespace corvane
