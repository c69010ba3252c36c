// A full repaint of the main window's image view of a 4096 × 4096 image, beside the plain
// loop that turns the same number of display bytes into 32-bit colours through the palette.
#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <memory>
#include <vector>

#include "app/program.h"
#include "gui/image_view.h"

namespace {

using namespace corvane;

constexpr int kImageSide = 4096;
constexpr int kViewWidth = 1600;
constexpr int kViewHeight = 1000;

QApplication& Application() {
    static int argc = 1;
    static char name[] = "paint_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// The image in memory, its display bytes a pattern; the 1600 × 1000 view at `zoom`, on the
// middle of the image. At 1:8 the whole image covers 512 × 512 of the view and the rest
// is the window's white background.
struct Scene {
    Program program;
    std::vector<std::int16_t> pixels;
    int width = kViewWidth;
    int height = kViewHeight;

    explicit Scene(int zoom) {
        ImageRecord& image = program.image;
        image.width = kImageSide;
        image.height = kImageSide;
        SetDisplayGeometry(image);
        pixels.assign(static_cast<std::size_t>(kImageSide) * kImageSide, 0);
        image.pixels = pixels.data();
        image.displayImage.resize(static_cast<std::size_t>(image.displayBufferSize));
        for (std::size_t i = 0; i < image.displayImage.size(); ++i) {
            image.displayImage[i] = static_cast<std::uint8_t>((i * 7 + i / 4099) % 193);
        }
        image.loaded = true;
        ViewState& view = program.shell.view;
        view.zoom = zoom;
        view.visibleWidth = std::min(kViewWidth, kImageSide * zoom / 8);
        view.visibleHeight = std::min(kViewHeight, kImageSide * zoom / 8);
        view.visibleImageWidth = 8 * view.visibleWidth / zoom;
        view.visibleImageHeight = 8 * view.visibleHeight / zoom;
        view.horizontalOffset = (kImageSide - view.visibleImageWidth) / 2;
        view.verticalOffset = (kImageSide - view.visibleImageHeight) / 2;
    }
};

void Repaint(benchmark::State& state) {
    Application();
    Scene scene(static_cast<int>(state.range(0)));
    ImageView view(scene.program, nullptr);
    view.resize(scene.width, scene.height);
    QImage target(scene.width, scene.height, QImage::Format_RGB32);
    for (auto _ : state) {
        // An opaque widget paints no background of its own.
        view.render(&target, QPoint(), QRegion(), QWidget::DrawChildren);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["pixels"] = static_cast<double>(scene.width) * scene.height;
    state.SetItemsProcessed(state.iterations() * scene.width * scene.height);
}

// The baseline: as many display bytes as the view has pixels, through the palette, in order.
void PaletteLoop(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)));
    const ColourTable colours = MakeColourTable(scene.program);
    const std::size_t count = static_cast<std::size_t>(scene.width) * scene.height;
    const std::uint8_t* bytes = scene.program.image.displayImage.data();
    std::vector<std::uint32_t> out(count);
    for (auto _ : state) {
        for (std::size_t i = 0; i < count; ++i) {
            out[i] = colours[bytes[i]];
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] = static_cast<double>(count);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(count));
}

BENCHMARK(Repaint)->Arg(1)->Arg(8)->Arg(128)->Unit(benchmark::kMillisecond);
BENCHMARK(PaletteLoop)->Arg(1)->Arg(8)->Arg(128)->Unit(benchmark::kMillisecond);

}  // namespace
