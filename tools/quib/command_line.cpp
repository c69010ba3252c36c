#include "command_line.h"

#include <QCommandLineParser>
#include <QDir>

#include "folder_watch.h"
#include "frame_names.h"
#include "platform/acquisition_process.h"

namespace quib {

namespace {

QStringList DefaultPatternList() {
    QStringList defaults;
    for (const std::string& pattern : DefaultPatterns()) {
        defaults << QString::fromStdString(pattern);
    }
    return defaults;
}

// The number in `option`'s value when it lies in [low, high].
bool Number(const QCommandLineParser& parser, const QString& option, double low, double high,
            double& value, QString& error) {
    bool ok = false;
    value = parser.value(option).toDouble(&ok);
    if (!ok || !(value >= low && value <= high)) {
        error = "--" + option + " wants a number from " + QString::number(low) + " to " +
                QString::number(high) + ", not '" + parser.value(option) + "'";
        return false;
    }
    return true;
}

bool Whole(const QCommandLineParser& parser, const QString& option, int low, int high, int& value,
           QString& error) {
    double number = 0;
    if (!Number(parser, option, low, high, number, error)) {
        return false;
    }
    if (number != static_cast<int>(number)) {
        error = "--" + option + " wants a whole number, not '" + parser.value(option) + "'";
        return false;
    }
    value = static_cast<int>(number);
    return true;
}

bool ReadIndi(const QCommandLineParser& parser, QuibOptions& options, QString& error) {
    const std::optional<IndiServer> server = ParseIndiServer(parser.value("indi").toStdString());
    if (!server) {
        error = "--indi wants HOST:PORT, not '" + parser.value("indi") + "'";
        return false;
    }
    IndiRun& run = options.indi;
    run.server = *server;
    run.device = parser.value("device").toStdString();
    if (run.device.empty()) {
        error = "--indi needs --device NAME, the camera's INDI name";
        return false;
    }
    run.prefix = parser.value("prefix").toStdString();
    if (!ValidPrefix(run.prefix)) {
        error = "--prefix wants a file name start without '/' that is not hidden";
        return false;
    }
    if (parser.isSet("single-file")) {
        error = "--single-file belongs to the folder watch, not to --indi";
        return false;
    }
    const bool capture = parser.isSet("capture");
    if (capture && parser.isSet("listen")) {
        error = "--capture and --listen exclude each other";
        return false;
    }
    run.mode = capture ? IndiMode::Capture : IndiMode::Listen;
    for (const char* setting : {"exposure", "count", "delay", "bin", "filter"}) {
        if (!capture && parser.isSet(setting)) {
            error = QString("--") + setting + " needs --capture";
            return false;
        }
    }
    CaptureSettings& settings = run.capture;
    int count = 0;
    if (!Number(parser, "exposure", 0.001, 86400, settings.exposureS, error) ||
        !Whole(parser, "count", 0, 999999, count, error) ||
        !Number(parser, "delay", 0, 86400, settings.delayS, error)) {
        return false;
    }
    settings.count = count;
    int value = 0;
    if (parser.isSet("bin")) {
        if (!Whole(parser, "bin", 1, 64, value, error)) {
            return false;
        }
        settings.binning = value;
    }
    if (parser.isSet("filter")) {
        if (!Whole(parser, "filter", 1, 99, value, error)) {
            return false;
        }
        settings.filterSlot = value;
    }
    options.source = SourceKind::Indi;
    return true;
}

}  // namespace

QuibOptions ReadCommandLine(const QStringList& arguments, QString& error) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Hands new frames to the Corvane32 main window: the image files another program "
        "writes into a folder, once each has stopped growing, or the frames of an INDI "
        "camera. Closing the window ends the session.");
    parser.addHelpOption();
    parser.addOptions({
        {"folder",
         "The session folder: watched, or where the camera's frames are written "
         "(default: the current directory).",
         "dir", QDir::currentPath()},
        {"single-file", "Single-file mode: the camera overwrites this one file in the folder.",
         "name"},
        {"patterns", "Image file names to watch for.", "globs", DefaultPatternList().join(' ')},
        {"settle-ms",
         "How long a file must stay unchanged before it is handed over; also "
         "the pause before a failed hand-over is tried again.",
         "ms", "1000"},
        {"poll-ms", "How often the folder is looked at.", "ms", "250"},
        {"scope", "Names the link to the main window (default: the user name).", "name",
         QString::fromStdString(corvane::CurrentUserName())},
        {"indi", "Take the frames from a camera on this INDI server instead of the folder.",
         "host:port"},
        {"device", "The camera's INDI device name.", "name"},
        {"capture", "Drive the camera: take --count exposures of --exposure seconds."},
        {"listen", "Only keep the frames other INDI clients take (the default)."},
        {"exposure", "Exposure time in seconds.", "s", "1"},
        {"count", "Frames to take; 0 takes them until stopped.", "n", "0"},
        {"delay", "Seconds between one frame and the next exposure.", "s", "0"},
        {"bin", "Binning of both axes (default: as the camera is set).", "b"},
        {"filter", "Filter-wheel slot, from 1 (default: the wheel is left alone).", "slot"},
        {"prefix", "Frames are written as PREFIX0001.fits, PREFIX0002.fits, ...", "p", "frame"},
    });
    parser.process(arguments);

    QuibOptions options;
    options.folder = parser.value("folder");
    options.singleFile = parser.value("single-file");
    for (const std::string& pattern : SplitPatterns(parser.value("patterns").toStdString())) {
        options.patterns << QString::fromStdString(pattern);
    }
    options.scope = parser.value("scope");
    options.settleMs = std::max(0, parser.value("settle-ms").toInt());
    options.pollMs = std::max(10, parser.value("poll-ms").toInt());
    options.indi.prefix = parser.value("prefix").toStdString();

    if (parser.isSet("indi")) {
        ReadIndi(parser, options, error);
        return options;
    }
    for (const char* indiOnly :
         {"device", "capture", "listen", "exposure", "count", "delay", "bin", "filter", "prefix"}) {
        if (parser.isSet(indiOnly)) {
            error = QString("--") + indiOnly + " belongs to --indi";
            break;
        }
    }
    return options;
}

}  // namespace quib
