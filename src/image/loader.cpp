#include "image/loader.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "image/readers.h"
#include "platform/file_access.h"
#include "platform/file_lookup.h"

namespace corvane {

namespace {

// The file name after the lookup: the directory of `path` (up to and including its last
// separator) and the name the lookup found. A path without a separator is warned about and
// the found name is used alone.
std::string ResolvedPath(const std::string& path, const std::string& foundName, Host& host) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        host.ShowMessage("MSG 217", "No path in file name");
        return foundName;
    }
    return path.substr(0, slash + 1) + foundName;
}

LoadOutcome Fail(LoadContext& context) {
    ReleaseImage(context.image);
    return LoadOutcome::FailedClosed;
}

// "RAW Options" stores the typed layout in the record, where the raw reader takes it.
bool AskRaw(LoadContext& context) {
    return RunRawOptionsDialog(context.image, context.raw, context.host);
}

}  // namespace

void SetImageGeometry(ReadTarget& target) {
    target.roi.xc = target.image.width / 2;
    target.roi.yc = target.image.height / 2;
    SetDisplayGeometry(target.image);
}

void ShortenImage(ReadTarget& target, std::int32_t rows) {
    target.image.height = rows;
    target.header.detectorRows =
        static_cast<std::uint16_t>(std::int64_t{rows} * target.header.binRows);
    target.roi.yc = rows / 2;
    SetDisplayGeometry(target.image);
}

void ShowPixelFileFull(Host& host) {
    host.ShowMessage("MSG 109d", "CreateFileMapping function failed.\nMaybe the disk is full.");
}

bool CreatePixelFile(ReadTarget& target) {
    ImageRecord& image = target.image;
    std::size_t bytes = 2 * static_cast<std::size_t>(image.width) *
                        static_cast<std::size_t>(image.height);
    TempFileResult made = TempPixelFile::Create(bytes);
    switch (made.error) {
        case TempFileError::None:
            break;
        case TempFileError::CreateFailed: {
            std::string text = "Cannot create a temporary pixel file in " + made.directory +
                               ":\n" + std::strerror(made.errorCode);
            target.host.ShowMessage("MSG 109d", text);
            return false;
        }
        case TempFileError::NoSpace:
            ShowPixelFileFull(target.host);
            return false;
        case TempFileError::MapFailed:
            target.host.ShowMessage("MSG 109d", "MapViewOfFile function failed");
            return false;
    }
    image.tempFile = std::move(made.file);
    image.pixels = image.tempFile->Pixels();
    return true;
}

LoadOutcome LoadImageFile(LoadContext& context, std::string path) {
    ImageRecord& image = context.image;
    Host& host = context.host;

    host.SetPaneText(Pane::Readout, "Loading image...");

    LookupResult found = FindFirstFile(path);
    if (!found.found) {
        char text[64];
        std::snprintf(text, sizeof text, "FindFirstFile function failed. Error %i.",
                      found.errorCode);
        host.ShowMessage("Msg 213", text);
        return LoadOutcome::FailedKept;
    }
    // The file exists: from here on the record describes the new image, and any failure
    // leaves the window empty.
    image.path = ResolvedPath(path, found.fileName, host);
    image.bzero = 0;

    if (image.path.size() > kMaxPathLength) {
        host.ShowMessage("MSG 207", "File Name cannot be longer than 128 characters");
        return Fail(context);
    }

    FirstBytes first{};
    {
        std::optional<InputFile> file = InputFile::Open(image.path);
        if (!file) {
            host.ShowMessage(image.path, "Cannot open file");
            return Fail(context);
        }
        std::size_t got = file->Read(first.data(), first.size());
        if (got < 2) {
            host.ShowMessage("MSG 27", "Invalid image format.");
            return Fail(context);
        }
    }
    image.formatCode = kFormatDetecting;

    ReadTarget target{image, context.header, context.roi, context.raw, host};
    ImageReader reader = nullptr;
    // The previous image goes before any question, so that nothing of it can be read while
    // a box is open; the raw dialog still proposes its size (RawOptions keeps it).
    ReleaseImage(image);
    if (context.openAsRaw) {
        host.SetPaneText(Pane::Prompt, context.acquisitionSession ? image.path : "");
        if (!AskRaw(context)) {
            return Fail(context);
        }
        image.formatCode = kFormatRaw;
        reader = ReadRaw;
    } else {
        for (const FormatRow& row : kFormatTable) {
            if (row.matches(first)) {
                image.formatCode = row.formatCode;
                reader = row.read;
                break;
            }
        }
        if (reader == nullptr) {
            host.SetPaneText(Pane::Readout, "");
            MessageAnswer answer = host.ShowMessage("MSG 20", "Unknown Image Format. Open as raw?",
                                                    MessageIcon::Warning, MessageButtons::YesNo);
            if (answer != MessageAnswer::Yes || !AskRaw(context)) {
                return Fail(context);
            }
            image.formatCode = kFormatRaw;
            reader = ReadRaw;
        }
    }

    if (!reader(target)) {
        return Fail(context);
    }

    try {
        image.displayImage.assign(static_cast<std::size_t>(image.displayBufferSize), 0);
    } catch (const std::bad_alloc&) {
        ReleaseImage(image);
        host.ShowMessage("MSG 2", "bitmap virtual memory not allocated");
        return LoadOutcome::FailedClosed;
    }

    image.loaded = true;
    ++image.generation;
    context.raw.proposedColumns = image.width;
    context.raw.proposedRows = image.height;
    host.SetPaneText(Pane::Readout, "");
    if (context.header.observationTime < 0) {
        context.header.observationTime = 0;
    }
    return LoadOutcome::Loaded;
}

}  // namespace corvane
