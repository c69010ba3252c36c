#include "support/fuzz_entries.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <memory>

#include "app/paint_geometry.h"
#include "app/program.h"
#include "app/window_layout.h"
#include "image/loader.h"
#include "image/raw_dialog.h"
#include "image/readers.h"
#include "support/fake_host.h"

namespace corvane::test {

namespace {

constexpr std::array<std::pair<FuzzTarget, std::string_view>, 9> kNames{{
    {FuzzTarget::Fits, "fits"},
    {FuzzTarget::KvrFits, "kvr_fits"},
    {FuzzTarget::St6, "st6"},
    {FuzzTarget::St6Compressed, "st6_compressed"},
    {FuzzTarget::Tiff, "tiff"},
    {FuzzTarget::Hk, "hk"},
    {FuzzTarget::Pc, "pc"},
    {FuzzTarget::Raw, "raw"},
    {FuzzTarget::Loader, "loader"},
}};

// The raw dialog's answers from 8 bytes: columns and rows up to a little past the
// dialog's limits, so that the OK logic refuses some.
RawDialogFields RawAnswer(const std::uint8_t* b) {
    RawDialogFields f;
    f.columns = std::to_string((b[0] | (b[1] << 8)) % 20100);
    f.rows = std::to_string((b[2] | (b[3] << 8)) % 65500);
    f.headerBytes = std::to_string(b[4] * 37);
    f.skipRows = std::to_string(b[5] % 64);
    f.bzero = std::to_string(b[6] * 129);
    f.eightBit = (b[7] & 1) != 0;
    f.swapBytes = (b[7] & 2) != 0;
    return f;
}

bool WriteInput(const std::string& path, const std::uint8_t* data, std::size_t size) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0) {
            ::close(fd);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return true;
}

// Every stored pixel read once, so that a wrong size shows as a bad read.
void TouchPixels(const ImageRecord& image) {
    volatile long sum = 0;
    const std::size_t count =
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    for (std::size_t i = 0; i < count; ++i) {
        sum = sum + image.pixels[i];
    }
    // The display geometry must describe the image that loaded.
    if (static_cast<long long>(image.height) * image.paddedWidth + 4 != image.displayBufferSize) {
        __builtin_trap();
    }
}

// What a load sets off on screen: the window fitted around the image at every zoom from
// 1:8 to 16:1, and the geometry of a whole repaint scrolled to the far corner, which must
// stay inside the image.
void ShowAtEveryZoom(Program& program, FakeHost& host) {
    host.metrics = DesktopMetrics();
    ViewState& view = program.shell.view;
    for (int zoom = 1; zoom <= kMaxZoom; zoom *= 2) {
        view.zoom = zoom;
        FitWindowToImage(program, host, LoadFitRectangle(program, host.metrics));
        LayoutChildren(program, host);
    }
    view.horizontalOffset = view.maxHorizontalOffset;
    view.verticalOffset = view.maxVerticalOffset;
    const PaintGeometry g = ComputePaintGeometry(view, {0, 0, view.visibleWidth, view.visibleHeight});
    const ImageRecord& image = program.image;
    if (g.sourceX < 0 || g.sourceY < 0 ||
        static_cast<long long>(g.sourceX) + g.sourceWidth > image.width ||
        static_cast<long long>(g.sourceY) + g.sourceHeight > image.height) {
        __builtin_trap();
    }
}

ImageReader ReaderOf(FuzzTarget target) {
    switch (target) {
        case FuzzTarget::Fits: return ReadFits;
        case FuzzTarget::KvrFits: return ReadKvrFits;
        case FuzzTarget::St6: return ReadSt6;
        case FuzzTarget::St6Compressed: return ReadSt6Compressed;
        case FuzzTarget::Tiff: return ReadTiff;
        case FuzzTarget::Hk: return ReadHk;
        case FuzzTarget::Pc: return ReadPc;
        case FuzzTarget::Raw: return ReadRaw;
        case FuzzTarget::Loader: return nullptr;
    }
    return nullptr;
}

}  // namespace

std::string_view FuzzTargetName(FuzzTarget target) {
    for (const auto& [t, name] : kNames) {
        if (t == target) return name;
    }
    return {};
}

std::optional<FuzzTarget> FuzzTargetNamed(std::string_view name) {
    for (const auto& [t, n] : kNames) {
        if (n == name) return t;
    }
    return std::nullopt;
}

std::vector<FuzzTarget> AllFuzzTargets() {
    std::vector<FuzzTarget> all;
    for (const auto& entry : kNames) all.push_back(entry.first);
    return all;
}

std::string RawFuzzPrefix(int columns, int rows, int headerBytes, int skipRows, bool eightBit,
                          bool swapBytes) {
    std::string b(8, '\0');
    b[0] = static_cast<char>(columns & 0xFF);
    b[1] = static_cast<char>(columns >> 8);
    b[2] = static_cast<char>(rows & 0xFF);
    b[3] = static_cast<char>(rows >> 8);
    b[4] = static_cast<char>(headerBytes / 37);
    b[5] = static_cast<char>(skipRows);
    b[6] = 0;
    b[7] = static_cast<char>((eightBit ? 1 : 0) | (swapBytes ? 2 : 0));
    return b;
}

bool RunFuzzInput(FuzzTarget target, const std::uint8_t* data, std::size_t size,
                  const std::string& directory) {
    // The whole program's records, as the desktop program holds them while it loads.
    auto program = std::make_unique<Program>();
    ImageRecord& image = program->image;
    HeaderRecord& header = program->header;
    RegionOfInterest& roi = program->roi;
    RawOptions& raw = program->raw;
    // Every question is answered Yes ("Open as raw?"), the raw dialog at most once.
    FakeHost host;
    host.answers.assign(4, MessageAnswer::Yes);

    const std::uint8_t* file = data;
    std::size_t fileSize = size;
    if (target == FuzzTarget::Raw) {
        if (size < 8) {
            return false;
        }
        if (!AcceptRawDialog(RawAnswer(data), image, raw)) {
            return false;
        }
        file += 8;
        fileSize -= 8;
    }
    if (target == FuzzTarget::Loader && size >= 8) {
        host.rawDialogScript.push_back(RawAnswer(data + size - 8));
    }
    image.path = directory + "/input";
    if (!WriteInput(image.path, file, fileSize)) {
        return false;
    }

    bool loaded = false;
    if (target == FuzzTarget::Loader) {
        LoadContext context{image, header, roi, raw, host};
        loaded = LoadImageFile(context, image.path) == LoadOutcome::Loaded;
    } else {
        if (target == FuzzTarget::Tiff) {
            image.formatCode = fileSize > 0 && file[0] == 'M' ? kFormatTiffBig : kFormatTiffLittle;
        }
        ReadTarget readTarget{image, header, roi, raw, host};
        loaded = ReaderOf(target)(readTarget);
    }
    if (loaded) {
        TouchPixels(image);
        if (target == FuzzTarget::Loader) {
            ShowAtEveryZoom(*program, host);
        }
    }
    ReleaseImage(image);
    ::unlink((directory + "/input").c_str());
    return loaded;
}

}  // namespace corvane::test
