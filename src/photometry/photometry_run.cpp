#include "photometry/photometry_run.h"

#include <algorithm>

#include "photometry/format_text.h"
#include "photometry/measuring.h"
#include "platform/progress.h"

namespace corvane {

namespace {

void Prompt(StarInput& in, const std::string& text) { in.host.SetPaneText(Pane::Prompt, text); }

void Draw(StarInput& in, MarkKind kind, PixelPoint at) {
    if (in.draw) {
        in.draw(Mark{kind, at});
    }
}

// The end of every run, written or not: the run's flags and the overlay go.
void EndRun(StarInput& in) {
    in.state.referenceClicked = false;
    in.state.asteroidClicked = false;
    in.overlaysShown = false;
}

std::string ResultRow(int star, FloatPoint at, const ObjectResult& r, std::int32_t bzero) {
    const double x = at.x, y = at.y;
    const long npix = r.npix;
    if (star < 0) {
        return FormatText("Asteroid%7.1f%7.1f%9.2lf%8.2lf%6.lf%5ld", x, y, r.fluxRate,
                          r.mean + bzero, r.snr, npix);
    }
    return FormatText("Star %2d%8.1f%7.1f%9.2lf%8.2lf%6.lf%5ld", star, x, y, r.fluxRate,
                      r.mean + bzero, r.snr, npix);
}

}  // namespace

std::vector<std::string> ResultRows(const ObjectList& objects, const PhotometryParameters& params,
                                    std::int32_t bzero) {
    std::vector<std::string> rows;
    if (objects.asteroidSelected) {
        rows.push_back(ResultRow(-1, objects.asteroidCentroid, objects.asteroidResult, bzero));
    }
    for (int i = 0; i < params.numberOfStars && i < kMaxStars; ++i) {
        if (objects.starSelected[i]) {
            rows.push_back(ResultRow(i + 1, objects.starPosition[i], objects.starResults[i], bzero));
        }
    }
    // The list box sorts its rows; "Asteroid" comes first and the star field's padding
    // keeps the stars in their order.
    std::sort(rows.begin(), rows.end());
    return rows;
}

namespace {

// The measuring steps up to the record, ending at the first step that fails or is declined.
RunEnd LocateMeasureAndWrite(PhotometryRun& run) {
    StarInput& in = run.input;
    ObjectList& list = in.objects;
    Host& host = in.host;
    MeasureTarget target{run.image, run.header, in.params, list, in.boxSide, host};
    // The two boxes run event loops. Should the image be closed or replaced meanwhile, its
    // pixels are gone or belong to another frame, and a record would put these fluxes
    // under another frame's path and time.
    const std::uint64_t generation = run.image.generation;
    auto imageKept = [&] {
        if (run.image.loaded && run.image.generation == generation) {
            return true;
        }
        host.ShowMessage(kDoCaption, kImageChangedText, MessageIcon::Warning);
        return false;
    };

    host.SetCursor(CursorShape::Cross);
    Prompt(in, in.idlePrompt);
    if (in.params.centringMode == CentringMode::Automatic) {
        // The clicked marks vanish before the centred ones are drawn.
        in.overlaysShown = false;
        host.InvalidateAll();
        host.UpdateWindow();
    }
    if (!LocateObjects(target)) {
        return RunEnd::Failed;
    }
    // The overlay now shows the apertures to be confirmed, centred or as clicked.
    in.overlaysShown = true;
    host.InvalidateAll();
    const bool go = host.RunConfirmBox();
    host.UpdateWindow();
    if (!go) {
        return RunEnd::NotWritten;
    }
    if (!imageKept()) {
        return RunEnd::Failed;
    }
    bool measured = false;
    {
        WaitCursor wait(host);
        measured = MeasureObjects(target);
    }
    if (!measured) {
        return RunEnd::Failed;
    }
    if (!host.RunResultsBox(ResultRows(list, in.params, run.image.bzero))) {
        return RunEnd::NotWritten;
    }
    if (!imageKept()) {
        return RunEnd::Failed;
    }
    std::string record =
        BuildListRecord(run.image.path, run.header, run.image.bzero, in.params, list);
    std::string line = BuildFluxLine(run.header, in.params, list);
    if (!WriteRecord(run.files, record, line, host)) {
        return RunEnd::WriteFailed;
    }
    if (run.recordWritten) {
        run.recordWritten(run.files.listPath, record);
    }
    return RunEnd::Written;
}

}  // namespace

RunEnd MeasureAndRecord(PhotometryRun& run) {
    const RunEnd end = LocateMeasureAndWrite(run);
    EndRun(run.input);
    return end;
}

SequenceStep PhotometryClick(PhotometryRun& run, PixelPoint at, RunEnd* end) {
    StarInput& in = run.input;
    StarInputState& s = in.state;
    ObjectList& list = in.objects;
    const int nB = std::clamp(in.params.numberOfBoxes, 1, kMaxBackgroundBoxes);
    list.centred = false;

    bool measure = false;
    if (!s.referenceClicked) {
        PlaceReferenceStar(in, at);
        if (list.asteroidSelected) {
            Prompt(in, "Input Asteroid");
        } else {
            measure = true;
        }
    } else if (!s.asteroidClicked) {
        list.asteroidPosition = at;
        Draw(in, MarkKind::AsteroidAperture, at);
        s.asteroidClicked = true;
        in.host.SetCursor(BoxCursor(in.boxSide));
        Prompt(in, "Input Bckgnd 1 for Asteroid");
        s.box = 0;
    } else {
        const int j = std::clamp(s.box, 0, kMaxBackgroundBoxes - 1);
        list.asteroidBoxOffsets[j] = OffsetBetween(at, list.asteroidPosition);
        Draw(in, MarkKind::BackgroundBox, at);
        s.box = j + 1;
        if (s.box < nB) {
            Prompt(in, FormatText("Input Bckgnd %d for Asteroid", s.box + 1));
        } else {
            // The box count stays at nB: the overlay keeps every box of the run in view.
            measure = true;
        }
    }
    if (!measure) {
        return SequenceStep::Continues;
    }
    RunEnd result = MeasureAndRecord(run);
    if (end != nullptr) {
        *end = result;
    }
    return SequenceStep::Ends;
}

}  // namespace corvane
