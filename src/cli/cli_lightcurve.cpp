// corvane-cli lightcurve: the list files read back into a lightcurve, its period searched,
// and the points exported as CSV and ALCDEF.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/alcdef_meta.h"
#include "cli/cli_common.h"
#include "cli/lightcurve_json.h"
#include "lightcurve/alcdef_file.h"
#include "lightcurve/differential.h"
#include "lightcurve/points_csv.h"
#include "photometry/photometry_parameters.h"
#include "platform/output_file.h"

namespace corvane::cli {

namespace {

constexpr const char* kHelp =
    "Read the list files LIST.lis (the records Corvane32 appends, CR LF or LF line ends; "
    "several files in any order, records sorted by time) and print the asteroid's "
    "lightcurve as one JSON object: sessions, differential magnitudes against each "
    "session's comparison ensemble, the comparison-star check, and the period search (a "
    "Fourier series of order M with one zero point per session, weighted least squares "
    "over the period range). A damaged file is refused with its name, line and what was "
    "expected; a record cut off by the end of a file is reported on stderr and left out.\n"
    "Sessions: a new one starts after more than 6 h without a record or where the star "
    "list was entered anew (a star moved more than 10 pixels against the lowest-numbered "
    "star). The default ensemble is every star measured (flux and SNR above 0) in every "
    "record of the session.\n"
    "JSON fields:\n"
    "  sessions: [{number (from 1 in time order), start_jd, end_jd (JD of the session's "
    "first and last record with a time), records (records with a time), comps (the "
    "ensemble's star numbers), zero_point (the session's zero point Z in the period fit; "
    "null without points or without a period), ltc_days (the light-time correction in "
    "days, 0 without one)}]\n"
    "  points: [{jd (Julian date, UTC, mid-exposure, light time applied), session, mag "
    "(-2.5 log10(F_asteroid / sum F_comps)), err (magnitudes, from the printed SNRs), "
    "image}] in time order\n"
    "  left_out: [{image (the image path, or FILE:LINE where a cut-off record starts), "
    "reason}]\n"
    "  comps: [{session, star, rms (mag, of the star against the rest of the ensemble), "
    "expected (mag, from its errors), ratio (scatter over errors; null with fewer than two "
    "points), variable (flagged when the ratio is above 3)}]; only sessions with three or "
    "more ensemble stars\n"
    "  period: {hours, sigma_hours (null where the fit has no curvature), amplitude (mag, "
    "max - min of the fitted Fourier sum), order, rms (weighted rms at the best period), "
    "zero_points (one per session in session order, null for a session without points), "
    "coefficients ([[A1, B1], ...], phases counted from the first point's JD), spectrum "
    "([[hours, rms], ...] over the search grid, periods rising), aliases ([{hours, rms}] at "
    "half and double the period)}, or null beside period_reason.\n"
    "META.json (with --alcdef): {\"objectNumber\": integer (0 when unnumbered), "
    "\"objectName\", \"mpcDesignation\" (unpacked, required when unnumbered), "
    "\"contactName\", \"contactInfo\", \"observers\" (names separated by ;), \"filter\" "
    "(B V R I SU SG SR SI SZ C; default from the header's filter code 2-5: B V R I), "
    "\"magBand\", \"comparisons\": [{\"star\": number in the list file, \"name\", \"ra\": "
    "\"hh:mm:ss.ss\", \"dec\": \"+dd:mm:ss.s\", \"mag\"}] for every session, \"sessions\": "
    "[{\"comparisons\": [...]}] overriding them session by session, \"revised\": "
    "true|false, \"publication\", \"bibcode\", \"comment\"}. Absent keys are absent "
    "keywords; objectName defaults to the header's object text. One block per session "
    "with at least two points; nothing is written when a block breaks an ALCDEF rule.\n"
    "Exit codes: 1 an unreadable or damaged list file (or an output that cannot be "
    "written), 2 unusable arguments or META.json, 3 an ALCDEF block refused.";

struct Args {
    std::vector<std::string> lists;
    std::string comps;
    std::string ltcDays;
    std::string deltaAu;
    int order = kDefaultOrder;
    std::string periods;
    std::string csv;
    std::string alcdef;
    std::string meta;
};

template <class T>
std::optional<T> Parse(std::string_view text) {
    T value{};
    const char* end = text.data() + text.size();
    auto [stop, rc] = std::from_chars(text.data(), end, value);
    if (rc != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

// "a,b,c" as numbers; nothing when any piece is not one.
template <class T>
std::optional<std::vector<T>> ParseList(std::string_view text, char separator) {
    std::vector<T> values;
    while (true) {
        const std::size_t at = text.find(separator);
        std::optional<T> v = Parse<T>(text.substr(0, at));
        if (!v) {
            return std::nullopt;
        }
        values.push_back(*v);
        if (at == std::string_view::npos) {
            return values;
        }
        text.remove_prefix(at + 1);
    }
}

class LightcurveCommand {
public:
    explicit LightcurveCommand(const Args& args) : args_(args) {}

    int Run();

private:
    int Usage(const std::string& message) {
        std::cerr << "lightcurve: " << message << "\n";
        return 2;
    }
    bool ReadArguments(std::string& message);
    int Export(const Lightcurve& curve);

    const Args& args_;
    LightcurveOptions options_;
    std::vector<double> light_;  // as given, before the session count is known
    bool lightIsDelta_ = false;
    double minHours_ = kDefaultMinHours, maxHours_ = kDefaultMaxHours;
    RecordSet set_;
};

bool LightcurveCommand::ReadArguments(std::string& message) {
    if (!args_.comps.empty()) {
        std::optional<std::vector<int>> comps = ParseList<int>(args_.comps, ',');
        if (!comps || std::any_of(comps->begin(), comps->end(),
                                  [](int s) { return s < 1 || s > kMaxStars; })) {
            message = "--comps " + args_.comps + " is not a list of star numbers 1 to 16";
            return false;
        }
        options_.comps = *comps;
    }
    const std::string& light = args_.ltcDays.empty() ? args_.deltaAu : args_.ltcDays;
    lightIsDelta_ = args_.ltcDays.empty();
    if (!light.empty()) {
        std::optional<std::vector<double>> values = ParseList<double>(light, ',');
        if (!values || std::any_of(values->begin(), values->end(),
                                   [](double v) { return !std::isfinite(v); })) {
            message = (lightIsDelta_ ? "--delta-au " : "--ltc-days ") + light +
                      " is not a list of numbers";
            return false;
        }
        light_ = *values;
    }
    if (!args_.periods.empty()) {
        const std::size_t colon = args_.periods.find(':');
        std::optional<double> low = Parse<double>(std::string_view(args_.periods).substr(0, colon));
        std::optional<double> high =
            colon == std::string::npos
                ? std::nullopt
                : Parse<double>(std::string_view(args_.periods).substr(colon + 1));
        if (!low || !high || !(*low > 0) || !(*high > *low) || !std::isfinite(*high)) {
            message = "--periods " + args_.periods + " is not PMIN:PMAX in hours, 0 < PMIN < PMAX";
            return false;
        }
        minHours_ = *low;
        maxHours_ = *high;
    }
    return true;
}

int LightcurveCommand::Run() {
    std::string message;
    if (!ReadArguments(message)) {
        return Usage(message);
    }
    for (const std::string& path : args_.lists) {
        ListFileProblem problem;
        if (!AddListFile(set_, path, problem)) {
            std::cerr << "lightcurve: " << problem.Text() << "\n";
            return 1;
        }
    }
    for (const CutOffRecord& c : set_.cutOff) {
        std::cerr << "lightcurve: " << c.file << ", line " << c.line
                  << ": the record starting here is cut off by the end of the file; left out\n";
    }
    const std::size_t sessions = SessionCount(set_);
    if (!light_.empty() && !LightTimeCountFits(light_.size(), sessions)) {
        return Usage(std::to_string(light_.size()) + " light-time values for " +
                     std::to_string(sessions) + " sessions: give one for all or one per session");
    }
    for (double v : light_) {
        options_.ltcDays.push_back(lightIsDelta_ ? LtcDaysOfDelta(v) : v);
    }
    Lightcurve curve;
    if (!ComputeLightcurve(set_, options_, curve, message)) {
        return Usage(message);
    }
    const PeriodResult period =
        SearchPeriod(PeriodInputOf(curve, args_.order, minHours_, maxHours_));
    PrintJson(LightcurveJson(curve, period));

    if (!args_.csv.empty() && !WriteFileBytes(args_.csv, PointsCsv(curve))) {
        std::cerr << "lightcurve: " << args_.csv << ": cannot be written\n";
        return 1;
    }
    return args_.alcdef.empty() ? 0 : Export(curve);
}

int LightcurveCommand::Export(const Lightcurve& curve) {
    AlcdefMetadata meta;
    std::string error;
    if (!ReadAlcdefMeta(args_.meta, meta, error)) {
        return Usage(error);
    }
    const CheckedAlcdef alcdef = CheckAlcdef(set_, curve, meta);
    for (int session : alcdef.tooFewPoints) {
        std::cerr << "lightcurve: session " << session
                  << " has fewer than two points: no ALCDEF block\n";
    }
    if (alcdef.blocks == 0) {
        std::cerr << "lightcurve: no session has two points: " << args_.alcdef << " not written\n";
        return 3;
    }
    if (alcdef.violation) {
        std::cerr << "lightcurve: ALCDEF block of session " << alcdef.violatingSession
                  << " refused: " << alcdef.violation->Text() << "; " << args_.alcdef
                  << " not written\n";
        return 3;
    }
    if (!WriteFileBytes(args_.alcdef, alcdef.text)) {
        std::cerr << "lightcurve: " << args_.alcdef << ": cannot be written\n";
        return 1;
    }
    return 0;
}

}  // namespace

void RegisterLightcurveCommands(CLI::App& app, int& exitCode) {
    auto args = std::make_shared<Args>();
    CLI::App* cmd = app.add_subcommand("lightcurve", kHelp);
    cmd->add_option("LIST", args->lists, "list files (PREFIX.lis)")->required();
    cmd->add_option("--comps", args->comps,
                    "1,2,3: the comparison ensemble of every session, star numbers as the list "
                    "file prints them (default: every star measured in every record)");
    CLI::Option* ltc = cmd->add_option(
        "--ltc-days", args->ltcDays,
        "D[,D...]: light-time correction LTCDAYS in days, one for all sessions or one per "
        "session (negative: JD' = JD + D)");
    CLI::Option* delta = cmd->add_option(
        "--delta-au", args->deltaAu,
        "A[,A...]: asteroid-observer distance in AU, one for all sessions or one per session "
        "(LTCDAYS = -A x 0.0057755183)");
    ltc->excludes(delta);
    cmd->add_option("--order", args->order, "order M of the Fourier series, 1 to 10 (default 4)")
        ->check(CLI::Range(kMinOrder, kMaxOrder));
    cmd->add_option("--periods", args->periods,
                    "PMIN:PMAX: the period range searched, hours (default 2:30)");
    cmd->add_option("--csv", args->csv, "write the points as CSV: jd, mag, err, session, image");
    CLI::Option* alcdef =
        cmd->add_option("--alcdef", args->alcdef, "write one ALCDEF block per session to OUT");
    CLI::Option* meta =
        cmd->add_option("--meta", args->meta, "META.json: what ALCDEF needs beyond the files");
    alcdef->needs(meta);
    meta->needs(alcdef);
    cmd->callback([args, &exitCode] { exitCode = LightcurveCommand(*args).Run(); });
}

}  // namespace corvane::cli
