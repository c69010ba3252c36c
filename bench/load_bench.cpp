// Loading a 4096 x 4096 16-bit FITS image, beside two baselines on the same file in the
// same run:
//   Load/MemcpySwap     memcpy of the data bytes from memory into a fresh buffer, then
//                       their byte pairs exchanged there: the least any loader must do;
//   Load/CfitsioReadImg cfitsio opening the file, reading the image into a fresh short
//                       array and closing it;
//   Load/LoadImageFile  the program's loader: header, the pixels into a fresh temporary
//                       pixel file, the display buffer, and the release of it all.
// And a 4096 x 4096 PC frame, whose little-endian pixels need no conversion at all:
//   LoadPc/Memcpy       memcpy of the pixel bytes from memory into freshly mapped memory;
//   LoadPc/LoadImageFile the loader on the PC file, as above.
// The files stay in the page cache throughout. The baselines write into memory they have
// just been given, so each pays for bringing in new pages; the "faults" counter shows the
// page faults taken per iteration. The loader writes its pixels through the temporary
// file into the page cache: its mapping takes them in on the first read after the load
// (a few hundred faults for the whole image), which is not timed here. The loader's
// times over the baselines appear as its "x_..." counters (elapsed time; "_cpu":
// processor time) and in closing summary lines.
#include <benchmark/benchmark.h>
#include <fitsio.h>
#include <sys/mman.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "image/loader.h"
#include "support/fake_host.h"
#include "support/fits_writer.h"
#include "support/hk_pc_writer.h"
#include "support/temp_dir.h"

namespace {

constexpr int kSide = 4096;
constexpr std::size_t kPixels = static_cast<std::size_t>(kSide) * kSide;

// Seconds per iteration: elapsed, and the process's processor time (user and system,
// page faults included), which other work on a shared machine disturbs much less.
struct Timing {
    double wall = 0, cpu = 0;
    bool Valid() const { return wall > 0 && cpu > 0; }
};

// The one test file, written on first use and shared by the three benchmarks, with the
// timing each of them measured last, for the ratios.
struct LoadBenchFile {
    corvane::test::TempDir dir;  // also the temporary directory of the pixel files
    std::string path = dir.File("load_bench.fit");
    std::vector<std::uint16_t> dataBytes;  // the data part as stored: big-endian samples
    Timing memcpySwap, cfitsio, loader;

    LoadBenchFile() {
        corvane::test::FitsImage image;
        image.bitpix = 16;
        image.width = kSide;
        image.height = kSide;
        image.values.resize(kPixels);
        for (std::size_t i = 0; i < kPixels; ++i) {
            // A sky of about 1000 counts with every bit of both bytes in use somewhere.
            image.values[i] = static_cast<double>(1000 + (i * 2654435761u >> 20) % 4000) -
                              (i % 97 == 0 ? 30000.0 : 0.0);
        }
        corvane::test::WriteFits(path, image);
        std::string bytes = corvane::test::ReadBytes(path);  // and so into the page cache
        dataBytes.resize(kPixels);
        std::memcpy(dataBytes.data(), bytes.data() + 2880, kPixels * 2);
    }

    ~LoadBenchFile() {
        if (memcpySwap.Valid() && cfitsio.Valid() && loader.Valid()) {
            std::printf(
                "LoadImageFile %.2f ms (cpu %.2f); memcpy+swap %.2f ms (cpu %.2f), x%.2f "
                "(cpu x%.2f); cfitsio %.2f ms (cpu %.2f), x%.2f (cpu x%.2f)\n",
                loader.wall * 1e3, loader.cpu * 1e3, memcpySwap.wall * 1e3, memcpySwap.cpu * 1e3,
                loader.wall / memcpySwap.wall, loader.cpu / memcpySwap.cpu, cfitsio.wall * 1e3,
                cfitsio.cpu * 1e3, loader.wall / cfitsio.wall, loader.cpu / cfitsio.cpu);
        }
    }
};

// Shared by the benchmarks of this file only; built on the first benchmark that runs.
LoadBenchFile& BenchFile() {
    static LoadBenchFile file;
    return file;
}

long MinorFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// Runs `body` once per iteration; records its timing, the bytes and the faults.
template <class Body>
Timing Measure(benchmark::State& state, Body body) {
    long faults = MinorFaults();
    std::clock_t cpuStart = std::clock();
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        if (!body())
            return {};
    }
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kPixels * 2));
    state.counters["faults"] = benchmark::Counter(static_cast<double>(MinorFaults() - faults),
                                                  benchmark::Counter::kAvgIterations);
    double iterations = static_cast<double>(state.iterations());
    return {elapsed.count() / iterations, cpu / iterations};
}

void MemcpySwap(benchmark::State& state) {
    LoadBenchFile& file = BenchFile();
    const std::uint16_t* source = file.dataBytes.data();
    file.memcpySwap = Measure(state, [&] {
        std::unique_ptr<std::uint16_t[]> buffer(new std::uint16_t[kPixels]);
        std::uint16_t* target = buffer.get();
        std::memcpy(target, source, kPixels * 2);
        // In place after the copy: on this machine two passes beat one fused loop, which
        // the compiler does not vectorise at -O2.
        for (std::size_t i = 0; i < kPixels; ++i) {
            target[i] = static_cast<std::uint16_t>(target[i] << 8 | target[i] >> 8);
        }
        benchmark::DoNotOptimize(target);
        benchmark::ClobberMemory();
        return true;
    });
}

void CfitsioReadImg(benchmark::State& state) {
    LoadBenchFile& file = BenchFile();
    file.cfitsio = Measure(state, [&] {
        fitsfile* fits = nullptr;
        int status = 0, anyNull = 0;
        std::unique_ptr<short[]> target(new short[kPixels]);
        fits_open_file(&fits, file.path.c_str(), READONLY, &status);
        fits_read_img(fits, TSHORT, 1, static_cast<LONGLONG>(kPixels), nullptr, target.get(),
                      &anyNull, &status);
        fits_close_file(fits, &status);
        if (status != 0) {
            state.SkipWithError("cfitsio could not read the file");
            return false;
        }
        benchmark::DoNotOptimize(target.get());
        return true;
    });
}

// Times LoadImageFile of `path` and the release of its image, after one untimed load
// whose pixels `intact` must accept: the timing means something only if they arrive so.
template <class Intact>
Timing MeasureLoader(benchmark::State& state, const std::string& path, Intact intact) {
    corvane::ImageRecord image;
    corvane::HeaderRecord header{};
    corvane::RegionOfInterest roi;
    corvane::RawOptions raw;
    {
        corvane::test::FakeHost host;
        corvane::LoadContext context{image, header, roi, raw, host};
        corvane::LoadImageFile(context, path);
        const bool ok =
            image.loaded && image.width == kSide && image.height == kSide && intact(image);
        corvane::ReleaseImage(image);
        if (!ok) {
            std::string why = host.messages.empty() ? "the pixels did not load intact"
                                                    : host.messages.front().caption + ": " +
                                                          host.messages.front().text;
            state.SkipWithError(why.c_str());
            return {};
        }
    }
    return Measure(state, [&] {
        corvane::test::FakeHost host;
        corvane::LoadContext context{image, header, roi, raw, host};
        if (corvane::LoadImageFile(context, path) != corvane::LoadOutcome::Loaded) {
            state.SkipWithError("the load failed");
            return false;
        }
        benchmark::DoNotOptimize(image.pixels);
        corvane::ReleaseImage(image);
        return true;
    });
}

void LoadImageFile(benchmark::State& state) {
    LoadBenchFile& file = BenchFile();
    file.loader = MeasureLoader(state, file.path, [&](const corvane::ImageRecord& image) {
        for (std::size_t i = 0; i < kPixels; ++i) {
            std::uint16_t stored = file.dataBytes[i];
            if (static_cast<std::uint16_t>(image.pixels[i]) !=
                static_cast<std::uint16_t>(stored << 8 | stored >> 8)) {
                return false;
            }
        }
        return true;
    });
    if (file.loader.Valid() && file.memcpySwap.Valid() && file.cfitsio.Valid()) {
        state.counters["x_memcpy_swap"] = file.loader.wall / file.memcpySwap.wall;
        state.counters["x_cfitsio"] = file.loader.wall / file.cfitsio.wall;
        state.counters["x_memcpy_swap_cpu"] = file.loader.cpu / file.memcpySwap.cpu;
        state.counters["x_cfitsio_cpu"] = file.loader.cpu / file.cfitsio.cpu;
    }
}

// The PC frame, written on first use and shared by its two benchmarks.
struct PcBenchFile {
    corvane::test::TempDir dir;
    std::string path = dir.File("load_bench.pc");
    std::vector<std::int16_t> pixels = corvane::test::RampPixels(kSide, kSide);
    Timing memcpy, loader;

    PcBenchFile() {
        corvane::test::WriteBytes(
            path, corvane::test::PcBytes(corvane::test::CameraHeader(false, kSide, kSide), pixels));
        corvane::test::ReadBytes(path);  // into the page cache
    }

    ~PcBenchFile() {
        if (memcpy.Valid() && loader.Valid()) {
            std::printf("PC LoadImageFile %.2f ms (cpu %.2f); memcpy %.2f ms (cpu %.2f), x%.2f "
                        "(cpu x%.2f)\n",
                        loader.wall * 1e3, loader.cpu * 1e3, memcpy.wall * 1e3, memcpy.cpu * 1e3,
                        loader.wall / memcpy.wall, loader.cpu / memcpy.cpu);
        }
    }
};

PcBenchFile& PcFile() {
    static PcBenchFile file;
    return file;
}

void PcMemcpy(benchmark::State& state) {
    PcBenchFile& file = PcFile();
    file.memcpy = Measure(state, [&] {
        // Mapped afresh each time: the allocator might otherwise hand back pages already in.
        void* buffer = ::mmap(nullptr, kPixels * 2, PROT_READ | PROT_WRITE,
                              MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (buffer == MAP_FAILED) {
            state.SkipWithError("no memory");
            return false;
        }
        std::memcpy(buffer, file.pixels.data(), kPixels * 2);
        benchmark::DoNotOptimize(buffer);
        benchmark::ClobberMemory();
        ::munmap(buffer, kPixels * 2);
        return true;
    });
}

void PcLoadImageFile(benchmark::State& state) {
    PcBenchFile& file = PcFile();
    file.loader = MeasureLoader(state, file.path, [&](const corvane::ImageRecord& image) {
        return std::memcmp(image.pixels, file.pixels.data(), kPixels * 2) == 0;
    });
    if (file.loader.Valid() && file.memcpy.Valid()) {
        state.counters["x_memcpy"] = file.loader.wall / file.memcpy.wall;
        state.counters["x_memcpy_cpu"] = file.loader.cpu / file.memcpy.cpu;
    }
}

// Registered in this order so that the loader runs after the baselines it is compared with.
BENCHMARK(MemcpySwap)->Name("Load/MemcpySwap")->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(CfitsioReadImg)
    ->Name("Load/CfitsioReadImg")
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(LoadImageFile)->Name("Load/LoadImageFile")->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PcMemcpy)->Name("LoadPc/Memcpy")->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PcLoadImageFile)
    ->Name("LoadPc/LoadImageFile")
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
