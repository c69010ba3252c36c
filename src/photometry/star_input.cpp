#include "photometry/star_input.h"

#include <algorithm>

#include "photometry/format_text.h"

namespace corvane {

namespace {

void Draw(StarInput& in, MarkKind kind, PixelPoint at) {
    if (in.draw) {
        in.draw(Mark{kind, at});
    }
}

void Prompt(StarInput& in, const std::string& text) { in.host.SetPaneText(Pane::Prompt, text); }

// A shown overlay vanishes before a new sequence starts.
void ClearOverlay(StarInput& in) {
    if (in.overlaysShown) {
        in.overlaysShown = false;
        in.host.InvalidateAll();
    }
}

void Finish(StarInput& in) {
    in.host.SetCursor(CursorShape::Cross);
    Prompt(in, in.idlePrompt);
}

}  // namespace

CursorShape BoxCursor(int boxSide) {
    return boxSide == 16 ? CursorShape::SmallBox : CursorShape::LargeBox;
}

void BeginStarListInput(StarInput& in) {
    ClearOverlay(in);
    in.state.star = 0;
    in.state.box = 0;
    in.state.expectingStar = true;
    for (int i = 0; i < in.params.numberOfStars && i < kMaxStars; ++i) {
        in.objects.starSelected[i] = true;
    }
    in.objects.asteroidSelected = true;
    in.objects.referenceStar = 0;
    Prompt(in, "Input Ref. Star");
}

SequenceStep StarListClick(StarInput& in, PixelPoint at) {
    StarInputState& s = in.state;
    ObjectList& list = in.objects;
    const int n = in.params.numberOfStars;
    const int nB = in.params.numberOfBoxes;
    if (s.star < 0 || s.star >= kMaxStars || s.box < 0 || s.box >= kMaxBackgroundBoxes) {
        return SequenceStep::Ends;  // a state no sequence leaves behind
    }

    if (s.box == 0 && s.expectingStar) {
        s.expectingStar = false;
        if (s.star == 0) {
            list.referencePosition = at;
        }
        list.starOffset[s.star] = OffsetBetween(at, list.referencePosition);
        Draw(in, MarkKind::StarAperture, at);
        in.overlaysShown = true;
        in.host.SetCursor(BoxCursor(in.boxSide));
        Prompt(in, FormatText("Input Bckgnd 1 of Star %d", s.star + 1));
        return SequenceStep::Continues;
    }

    list.starBoxOffsets[s.box][s.star] = OffsetBetween(at, list.referencePosition);
    Draw(in, MarkKind::BackgroundBox, at);
    ++s.box;
    if (s.box < nB) {
        in.host.SetCursor(BoxCursor(in.boxSide));
        Prompt(in, FormatText("Input Bckgnd %d of Star %d", s.box + 1, s.star + 1));
        return SequenceStep::Continues;
    }
    s.box = 0;
    s.expectingStar = true;
    ++s.star;
    if (s.star < n) {
        in.host.SetCursor(CursorShape::Circle);
        Prompt(in, FormatText("Input Star %d  (%d)", s.star + 1, n));
        return SequenceStep::Continues;
    }
    s.star = 0;
    Finish(in);
    list.initialised = true;
    in.host.InvalidateAll();
    return SequenceStep::Ends;
}

bool ObjectInputAllowed(const ObjectList& objects, bool outputFilesChosen, Host& host) {
    if (!objects.initialised) {
        host.ShowMessage("MSG 28", "Please complete initialization", MessageIcon::Warning);
        return false;
    }
    if (!outputFilesChosen) {
        host.ShowMessage("MSG 28", "Please open output files", MessageIcon::Warning);
        return false;
    }
    return true;
}

void BeginObjectInput(StarInput& in) {
    ClearOverlay(in);
    in.state.referenceClicked = false;
    in.state.asteroidClicked = false;
    in.state.newStarClicked = false;
    BuildSpanTables(in.params);
    Prompt(in, "Input Ref. Star");
}

void PlaceReferenceStar(StarInput& in, PixelPoint at) {
    ObjectList& list = in.objects;
    const int n = std::clamp(in.params.numberOfStars, 0, kMaxStars);
    const int nB = std::clamp(in.params.numberOfBoxes, 0, kMaxBackgroundBoxes);
    list.referencePosition = at;
    in.state.referenceClicked = true;
    for (int i = 0; i < n; ++i) {
        if (!list.starSelected[i]) {
            continue;
        }
        Draw(in, MarkKind::StarAperture, MoveBy(list.referencePosition, list.starOffset[i]));
        for (int j = 0; j < nB; ++j) {
            Draw(in, MarkKind::BackgroundBox,
                 MoveBy(list.referencePosition, list.starBoxOffsets[j][i]));
        }
    }
    in.overlaysShown = true;
}

SequenceStep AddStarClick(StarInput& in, PixelPoint at) {
    StarInputState& s = in.state;
    ObjectList& list = in.objects;
    const int n = in.params.numberOfStars;
    const int nB = in.params.numberOfBoxes;
    if (n < 0 || n >= kMaxStars || s.box < 0 || s.box >= kMaxBackgroundBoxes) {
        return SequenceStep::Ends;  // the list is full: "Add star" never starts then
    }

    if (!s.referenceClicked) {
        PlaceReferenceStar(in, at);
        Prompt(in, "Input New Star");
        in.host.SetCursor(CursorShape::Circle);
        return SequenceStep::Continues;
    }

    if (!s.newStarClicked) {
        list.starOffset[n] = OffsetBetween(at, list.referencePosition);
        Draw(in, MarkKind::StarAperture, at);
        in.host.SetCursor(BoxCursor(in.boxSide));
        in.overlaysShown = true;
        Prompt(in, "Input Bckgnd 1 of New Star");
        s.newStarClicked = true;
        s.box = 0;
        return SequenceStep::Continues;
    }

    list.starBoxOffsets[s.box][n] = OffsetBetween(at, list.referencePosition);
    Draw(in, MarkKind::BackgroundBox, at);
    ++s.box;
    if (s.box < nB) {
        in.host.SetCursor(BoxCursor(in.boxSide));
        Prompt(in, FormatText("Input Bckgnd %d of New Star", s.box + 1));
        return SequenceStep::Continues;
    }
    s.box = 0;
    list.starSelected[n] = true;
    in.params.numberOfStars = n + 1;
    Finish(in);
    in.host.InvalidateAll();
    return SequenceStep::Ends;
}

void CancelStarInput(StarInput& in, bool wasInitialising) {
    if (wasInitialising) {
        in.objects.initialised = false;
    }
    in.state.referenceClicked = false;
    in.state.asteroidClicked = false;
    in.state.newStarClicked = false;
    in.overlaysShown = false;
    in.host.SetCursor(CursorShape::Cross);
    in.host.InvalidateAll();
    Prompt(in, in.idlePrompt);
}

}  // namespace corvane
