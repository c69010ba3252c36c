#pragma once
// What the commands of corvane-cli share: loading through the program's own loader, and
// the records as JSON.

#include <CLI/CLI.hpp>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

#include "app/program.h"
#include "cli/console_host.h"
#include "platform/utf8_text.h"

namespace corvane::cli {

// Options every loading command takes: how the raw dialog would be answered.
struct RawArguments {
    std::vector<int> geometry;  // --raw COLUMNS ROWS
    int headerBytes = 0;
    int skipRows = 0;
    int bzero = 0;
    int bits = 16;
    bool swap = false;
};

// Adds --raw and its companions to a command.
void AddRawOptions(CLI::App& command, RawArguments& raw);

// Loads `path` as the desktop program would; with --raw given, as a raw file answered from
// the options. Messages go to stderr. Returns false when the load failed.
bool LoadForCli(Program& program, ConsoleHost& host, const std::string& path,
                const RawArguments& raw);

// Every text from a file or a file name is put in through Utf8Text (platform/utf8_text.h):
// JSON must be UTF-8, and old headers carry Latin-1.
nlohmann::json ImageJson(const Program& program);
nlohmann::json HeaderJson(const HeaderRecord& header);

// 64-bit FNV-1a of the stored pixels as little-endian int16.
std::uint64_t PixelHash(const ImageRecord& image);

// "1998-07-06T12:00:00Z"
std::string IsoTime(std::int32_t secondsSince1970);

// Prints the JSON on stdout, indented.
void PrintJson(const nlohmann::json& value);
// The same with the keys in the order they were put in.
void PrintOrderedJson(const nlohmann::ordered_json& value);

// Each command file registers its commands here; the result code goes to `exitCode`.
void RegisterInfoCommands(CLI::App& app, int& exitCode);
// display: the display image and the palette
void RegisterDisplayCommands(CLI::App& app, int& exitCode);
// stats, psf, histogram, median
void RegisterAnalysisCommands(CLI::App& app, int& exitCode);
// aperture, measure: the aperture shapes and the measuring steps of a photometry run
void RegisterPhotometryCommands(CLI::App& app, int& exitCode);
// header: the header dialog's texts
void RegisterHeaderCommands(CLI::App& app, int& exitCode);
void RegisterBatchCommands(CLI::App& app, int& exitCode);
// lightcurve: the list files read back, the period search, CSV and ALCDEF
void RegisterLightcurveCommands(CLI::App& app, int& exitCode);

}  // namespace corvane::cli
