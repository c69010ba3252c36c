#include "support/st6_writer.h"

namespace corvane::test {

namespace {

void PutLe16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

}  // namespace

std::vector<std::string> St6HeaderLines(const St6File& f) {
    return {
        f.compressed ? "ST-6 Compressed Image" : "ST-6 Image",
        "  " + f.version,
        "  Data_version = 1",
        "  Exposure = " + f.exposure,
        "  Focal_length = 80",
        "  Aperture = 5",
        "  Response_factor = 1.0",
        "  Note = " + f.note,
        "  Background = 0",
        "  Range = 4095",
        "  Height = " + std::to_string(f.rows),
        "  Width = " + std::to_string(f.columns),
        "  Date = " + f.date,
        "  Time = " + f.time,
        "  Exposure_state = 0",
        "  Temperature = " + f.temperature,
        "  Number_exposures = 1",
        "  Each_exposure = " + f.exposure,
        "  History = 0",
        "  Observer = " + f.observer,
        "  X_pixel_size = 0.0234",
        "  Y_pixel_size = 0.0270",
        "  Pedestal = " + f.pedestal,
        "  E_gain = " + f.gain,
        "End",
    };
}

std::string St6HeaderBytes(const St6File& f, const std::vector<std::string>& lines) {
    std::string header;
    for (const std::string& line : lines) {
        header += line + f.lineEnd;
    }
    header.resize(2048, '\0');
    return header;
}

std::vector<std::uint16_t> St6Values(const St6File& f) {
    if (!f.values.empty()) {
        return f.values;
    }
    std::vector<std::uint16_t> values;
    for (int row = 0; row < f.rows; ++row) {
        for (int column = 0; column < f.columns; ++column) {
            values.push_back(static_cast<std::uint16_t>(1000 + 10 * row + column));
        }
    }
    return values;
}

std::string St6CompressedRecord(const std::uint16_t* row, int width) {
    std::string data;
    PutLe16(data, row[0]);
    for (int i = 1; i < width; ++i) {
        int step = static_cast<int>(row[i]) - static_cast<int>(row[i - 1]);
        if (step >= -127 && step <= 127) {
            data += static_cast<char>(static_cast<signed char>(step));
        } else {
            data += static_cast<char>(0x80);
            PutLe16(data, row[i]);
        }
    }
    std::string record;
    PutLe16(record, static_cast<std::uint16_t>(data.size()));
    return record + data;
}

std::string St6RawRecord(const std::uint16_t* row, int width) {
    std::string record;
    PutLe16(record, static_cast<std::uint16_t>(2 * width));
    for (int i = 0; i < width; ++i) {
        PutLe16(record, row[i]);
    }
    return record;
}

std::string St6Bytes(const St6File& f) {
    std::string bytes = St6HeaderBytes(f, St6HeaderLines(f));
    std::vector<std::uint16_t> values = St6Values(f);
    if (f.compressed) {
        for (std::size_t at = 0; at + static_cast<std::size_t>(f.columns) <= values.size();
             at += static_cast<std::size_t>(f.columns)) {
            bytes += St6CompressedRecord(values.data() + at, f.columns);
        }
    } else {
        for (std::uint16_t v : values) {
            PutLe16(bytes, v);
        }
    }
    return bytes;
}

}  // namespace corvane::test
