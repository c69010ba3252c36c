// corvane-cli info and pixels: the records and the true values of a loaded image.

#include <cstdint>
#include <iostream>

#include "cli/cli_common.h"

namespace corvane::cli {

void RegisterInfoCommands(CLI::App& app, int& exitCode) {
    struct InfoArgs {
        std::string file;
        RawArguments raw;
    };
    auto info = std::make_shared<InfoArgs>();
    CLI::App* infoCmd = app.add_subcommand(
        "info", "Load FILE and print its image record, header record, region centre and a "
                "summary of the stored pixels as JSON");
    infoCmd->add_option("FILE", info->file, "image file")->required();
    AddRawOptions(*infoCmd, info->raw);
    infoCmd->callback([info, &exitCode] {
        Program program;
        ConsoleHost host;
        if (!LoadForCli(program, host, info->file, info->raw)) {
            exitCode = 1;
            return;
        }
        PrintJson(ImageJson(program));
    });

    struct PixelArgs {
        std::string file;
        int x = 0, y = 0, w = 1, h = 1;
        RawArguments raw;
    };
    auto px = std::make_shared<PixelArgs>();
    CLI::App* pixelsCmd = app.add_subcommand(
        "pixels", "Load FILE and print the true values (stored + bzero) of the block of W x H "
                  "pixels at column X, row Y, one row per line");
    pixelsCmd->add_option("FILE", px->file, "image file")->required();
    pixelsCmd->add_option("X", px->x, "first column")->required();
    pixelsCmd->add_option("Y", px->y, "first row")->required();
    pixelsCmd->add_option("W", px->w, "columns")->required()->check(CLI::PositiveNumber);
    pixelsCmd->add_option("H", px->h, "rows")->required()->check(CLI::PositiveNumber);
    AddRawOptions(*pixelsCmd, px->raw);
    pixelsCmd->callback([px, &exitCode] {
        Program program;
        ConsoleHost host;
        if (!LoadForCli(program, host, px->file, px->raw)) {
            exitCode = 1;
            return;
        }
        const ImageRecord& im = program.image;
        // In 64 bits: X + W of two large arguments passes the int range.
        if (px->x < 0 || px->y < 0 || std::int64_t{px->x} + px->w > im.width ||
            std::int64_t{px->y} + px->h > im.height) {
            std::cerr << "pixels: the block lies outside the " << im.width << " x " << im.height
                      << " image\n";
            exitCode = 2;
            return;
        }
        for (int row = px->y; row < px->y + px->h; ++row) {
            for (int col = px->x; col < px->x + px->w; ++col) {
                std::cout << (col > px->x ? " " : "") << TruePixel(im, col, row);
            }
            std::cout << '\n';
        }
    });
}

}  // namespace corvane::cli
