#include "photometry/output_files.h"

#include <cstdio>
#include <ctime>
#include <optional>

#include "photometry/list_record_format.h"
#include "platform/append_file.h"
#include "platform/append_format.h"
#include "platform/directories.h"
#include "platform/file_lookup.h"

namespace corvane {

namespace {

constexpr const char* kCaption = "Corvane";

// Entry texts of the list box: subdirectories in brackets, ".." as "[..]", roots as
// they are written.
std::string EntryForSubdirectory(const std::string& name) { return "[" + name + "]"; }

std::optional<std::string> SubdirectoryOfEntry(const std::string& entry) {
    if (entry.size() >= 2 && entry.front() == '[' && entry.back() == ']') {
        return entry.substr(1, entry.size() - 2);
    }
    return std::nullopt;
}

// One file's step of OK: ask about an existing file, create a missing one. The name is
// shown as typed; the path is `name` under the dialog's directory.
bool PrepareOutputFile(const std::string& directory, const std::string& name, Host& host,
                       std::string& chosenPath) {
    const std::string path = PathUnder(directory, name);
    if (FileExists(path)) {
        switch (host.AskAppend(AppendBoxText(name))) {
            case AppendChoice::Append:
                break;
            case AppendChoice::Overwrite:
                if (!CreateEmptyFile(path)) {
                    return false;
                }
                break;
            case AppendChoice::Cancel:
                return false;
        }
    } else if (!CreateEmptyFile(path)) {
        return false;
    }
    chosenPath = path;
    return true;
}

}  // namespace

OutputFilesDialogFields OutputFieldsFor(const std::string& directory) {
    OutputFilesDialogFields fields;
    fields.directory = directory;
    for (const std::string& name : Subdirectories(directory)) {
        fields.entries.push_back(EntryForSubdirectory(name));
    }
    for (const std::string& root : FileSystemRoots()) {
        fields.entries.push_back(root);
    }
    return fields;
}

void EnterOutputEntry(OutputFilesDialogFields& fields, std::size_t index) {
    if (index >= fields.entries.size()) {
        return;
    }
    const std::string& entry = fields.entries[index];
    std::optional<std::string> sub = SubdirectoryOfEntry(entry);
    std::string target = EnterDirectory(fields.directory, sub ? *sub : entry);
    if (target.empty()) {
        return;
    }
    std::string prefix = std::move(fields.prefix);
    fields = OutputFieldsFor(target);
    fields.prefix = std::move(prefix);
}

std::string AppendBoxText(std::string_view name) {
    std::string text;
    const std::string n(name);
    AppendFormat(text, "%s%s%s", "File   ", n.c_str(), "   already exists. ");
    return text;
}

bool AcceptOutputPrefix(const OutputFilesDialogFields& fields, OutputFiles& files,
                        Host& host) {
    const std::string prefix = fields.prefix.substr(0, kMaxPrefixLength);
    return PrepareOutputFile(fields.directory, prefix + kListExtension, host,
                             files.listPath) &&
           PrepareOutputFile(fields.directory, prefix + kFluxExtension, host,
                             files.fluxPath);
}

bool ChooseOutputFiles(OutputFiles& files, Host& host) {
    return ChooseOutputFilesIn(CurrentDirectory(), files, host);
}

bool ChooseOutputFilesIn(const std::string& directory, OutputFiles& files, Host& host) {
    OutputFilesDialogFields fields = OutputFieldsFor(directory);
    return host.RunOutputFilesDialog(
        fields, [](OutputFilesDialogFields& f, std::size_t i) { EnterOutputEntry(f, i); },
        [&](const OutputFilesDialogFields& f) { return AcceptOutputPrefix(f, files, host); });
}

std::string ListTakenAtTime(std::int32_t secondsSince1970) {
    if (secondsSince1970 <= 0) {
        return {};
    }
    std::time_t t = secondsSince1970;
    std::tm utc{};
    char text[32] = {};
    if (gmtime_r(&t, &utc) == nullptr || asctime_r(&utc, text) == nullptr) {
        return {};
    }
    std::string s = text;
    if (!s.empty() && s.back() == '\n') {
        s.pop_back();
    }
    return s;
}

std::string ListRecordHead(std::string_view imagePath, const HeaderRecord& header) {
    // Fields of the packed record are copied before use.
    const std::int32_t time = header.observationTime;
    const int filter = header.filter;
    const int preflash = header.preflash;
    const double gain = header.electronGain;
    const std::int32_t exposure = header.exposure;
    const std::string object(HeaderText(header.object));
    const std::string path(imagePath);

    std::string out;
    AppendFormat(out, kListPathFormat, path.c_str());
    AppendFormat(out, kListObjectFormat, object.c_str());
    out += kListTakenAt;
    out += ListTakenAtTime(time);
    out += "\r\n";
    AppendFormat(out, kListFilterFormat, filter);
    AppendFormat(out, kListMjdFormat, 40587 + time / 86400.0);
    AppendFormat(out, kListPreflashFormat, preflash);
    AppendFormat(out, kListUnixTimeFormat, static_cast<long>(time));
    AppendFormat(out, kListGainFormat, gain);
    AppendFormat(out, kListExposureFormat, exposure * 0.1);
    out += kListAsterisks;
    out += "\r\n";
    out += kListColumnHeadings;
    return out;
}

std::string ListRecordRow(int star, FloatPoint at, const ObjectResult& r, std::int32_t bzero) {
    const double x = at.x, y = at.y;
    const double background = r.mean + bzero;
    const long npix = r.npix, clip = r.clip;
    std::string out;
    if (star < 0) {
        AppendFormat(out, kListAsteroidRowFormat, x, y, r.fluxRate, background, r.sigma, r.snr,
                     npix, clip);
    } else {
        AppendFormat(out, kListStarRowFormat, star, x, y, r.fluxRate, background, r.sigma,
                     r.snr, npix, clip);
    }
    return out;
}

std::string ListRecordTail(const PhotometryParameters& p) {
    std::string out = kListRowsEnd;
    AppendFormat(out, kListBoxSizesFormat, p.asteroid.a, p.asteroid.b, p.asteroid.theta, p.star.a,
                 p.star.b, p.star.theta);
    AppendFormat(out, kListClosingFormat, kListAsterisks);
    return out;
}

std::string BuildListRecord(std::string_view imagePath, const HeaderRecord& header,
                            std::int32_t bzero, const PhotometryParameters& params,
                            const ObjectList& objects) {
    std::string out = ListRecordHead(imagePath, header);
    if (objects.asteroidSelected) {
        out += ListRecordRow(-1, objects.asteroidCentroid, objects.asteroidResult, bzero);
    }
    for (int i = 0; i < params.numberOfStars && i < kMaxStars; ++i) {
        if (objects.starSelected[i]) {
            out += ListRecordRow(i + 1, objects.starPosition[i], objects.starResults[i], bzero);
        }
    }
    out += ListRecordTail(params);
    return out;
}

std::string BuildFluxLine(const HeaderRecord& header, const PhotometryParameters& params,
                          ObjectList& objects) {
    const std::int32_t time = header.observationTime;
    std::string out;
    AppendFormat(out, "%ld ", static_cast<long>(time));
    if (!objects.asteroidSelected) {
        objects.asteroidResult.fluxRate = 0;
    }
    AppendFormat(out, "%8.2lf", objects.asteroidResult.fluxRate);
    for (int i = 0; i < params.numberOfStars && i < kMaxStars; ++i) {
        if (!objects.starSelected[i]) {
            objects.starResults[i].fluxRate = 0;
        }
        AppendFormat(out, "%8.2lf", objects.starResults[i].fluxRate);
    }
    out += "\r\n";
    return out;
}

bool WriteRecord(const OutputFiles& files, std::string_view listRecord,
                 std::string_view fluxLine, Host& host) {
    int error = 0;
    std::optional<AppendFile> list = AppendFile::Open(files.listPath, error);
    if (!list) {
        host.ShowMessage(kCaption, "Could not open list file", MessageIcon::Warning);
        return false;
    }
    // The flux table is opened before anything is written, so that a missing table does
    // not leave a list record without its line.
    std::optional<AppendFile> flux = AppendFile::Open(files.fluxPath, error);
    if (!flux) {
        host.ShowMessage(kCaption, "Could not open list file", MessageIcon::Warning);
        return false;
    }
    auto fail = [&](const char* what) {
        std::string text;
        AppendFormat(text, "%s: %s", what, ErrorText(error).c_str());
        host.ShowMessage(kCaption, text, MessageIcon::Warning);
        return false;
    };
    if (!list->Append(listRecord, error)) {
        return fail("Could not write list file");
    }
    if (!flux->Append(fluxLine, error)) {
        list->Undo();
        return fail("Could not write flux table");
    }
    if (!list->Finish(error)) {
        flux->Undo();
        return fail("Could not write list file");
    }
    if (!flux->Finish(error)) {
        list->Undo();
        return fail("Could not write flux table");
    }
    return true;
}

}  // namespace corvane
