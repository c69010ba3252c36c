#include "lightcurve/points_csv.h"

#include <charconv>

namespace corvane {

namespace {

std::string Shortest(double value) {
    char text[32];
    auto [end, rc] = std::to_chars(text, text + sizeof text, value);
    return std::string(text, end);
}

// A field in double quotes when it holds a comma, a quote or a line break; quotes doubled.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string out = "\"";
    for (char c : text) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return out + "\"";
}

}  // namespace

std::string PointsCsv(const Lightcurve& curve) {
    std::string out = "jd,mag,err,session,image\r\n";
    for (const LightcurvePoint& p : curve.points) {
        out += Shortest(p.jd) + "," + Shortest(p.mag) + "," + Shortest(p.err) + "," +
               std::to_string(p.session) + "," + CsvField(p.key.image) + "\r\n";
    }
    return out;
}

}  // namespace corvane
