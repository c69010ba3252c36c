#include "lightcurve/alcdef_export.h"

#include <algorithm>
#include <ctime>

#include "platform/append_format.h"

namespace corvane {

namespace {

void Line(std::string& out, const char* keyword, const std::string& value) {
    out += keyword;
    out += '=';
    out += value;
    out += "\r\n";
}

void OptionalLine(std::string& out, const char* keyword, const std::optional<std::string>& value) {
    if (value) {
        Line(out, keyword, *value);
    }
}

// Metadata numbers: a sign always, a point, no exponent.
std::string SignedNumber(double value, int decimals) {
    std::string text;
    AppendFormat(text, "%+.*f", decimals, value);
    return text;
}

// A DATA value with a minus sign only where negative; a value that rounds to zero is
// written without one.
std::string DataNumber(double value, int decimals) {
    std::string text;
    AppendFormat(text, "%.*f", decimals, value);
    if (text.find_first_not_of("-0.") == std::string::npos && text[0] == '-') {
        text.erase(0, 1);
    }
    return text;
}

// Floor of a / 2 for any sign.
std::int64_t HalfDown(std::int64_t a) {
    return a >= 0 ? a / 2 : -((-a + 1) / 2);
}

// The named ensemble stars of the session, in star order, at most ten.
std::vector<AlcdefComparison> NamedComparisons(const AlcdefMetadata& meta,
                                               const LightcurveSession& session) {
    const std::size_t index = static_cast<std::size_t>(session.number - 1);
    const std::vector<AlcdefComparison>& given =
        index < meta.sessionComparisons.size() && meta.sessionComparisons[index]
            ? *meta.sessionComparisons[index]
            : meta.comparisons;
    std::vector<AlcdefComparison> named;
    for (int star : session.comps) {
        auto entry = std::find_if(given.begin(), given.end(), [star](const AlcdefComparison& c) {
            return c.star == star && !c.name.empty();
        });
        if (entry != given.end() && named.size() < kMaxAlcdefComparisons) {
            named.push_back(*entry);
        }
    }
    return named;
}

std::string Block(const RecordSet& set, const LightcurveSession& session,
                  const std::vector<LightcurvePoint>& points, const AlcdefMetadata& meta) {
    const ListRecord& first = set.records[session.recordIndices.front()];
    const AlcdefSessionTime mid = SessionMidTime(points.front().time, points.back().time);
    std::string out = "STARTMETADATA\r\n";
    if (meta.revised) {
        Line(out, "REVISEDDATA", *meta.revised ? "TRUE" : "FALSE");
    }
    if (meta.objectNumber) {
        Line(out, "OBJECTNUMBER", std::to_string(*meta.objectNumber));
    }
    Line(out, "OBJECTNAME", meta.objectName.value_or(first.object));
    OptionalLine(out, "MPCDESIG", meta.mpcDesignation);
    Line(out, "SESSIONDATE", mid.date);
    Line(out, "SESSIONTIME", mid.time);
    OptionalLine(out, "CONTACTNAME", meta.contactName);
    OptionalLine(out, "CONTACTINFO", meta.contactInfo);
    OptionalLine(out, "OBSERVERS", meta.observers);
    OptionalLine(out, "FILTER", meta.filter ? meta.filter : AlcdefFilterOfCode(first.filter));
    OptionalLine(out, "MAGBAND", meta.magBand);
    Line(out, "DIFFERMAGS", "TRUE");
    Line(out, "STANDARD", "NONE");
    if (session.ltcDays != 0) {
        // One distance for the whole session: the same correction on every point.
        Line(out, "LTCAPP", "AVERAGE");
        Line(out, "LTCTYPE", "LIGHTTIME");
        Line(out, "LTCDAYS", SignedNumber(session.ltcDays, 6));
    } else {
        Line(out, "LTCAPP", "NONE");
        Line(out, "LTCTYPE", "NONE");
    }
    Line(out, "REDUCEDMAGS", "NONE");
    Line(out, "DELIMITER", "PIPE");
    const std::vector<AlcdefComparison> comps = NamedComparisons(meta, session);
    for (std::size_t i = 0; i < comps.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        Line(out, ("COMPNAME" + n).c_str(), comps[i].name);
        OptionalLine(out, ("COMPRA" + n).c_str(), comps[i].ra);
        OptionalLine(out, ("COMPDEC" + n).c_str(), comps[i].dec);
        if (comps[i].mag) {
            Line(out, ("COMPMAG" + n).c_str(), SignedNumber(*comps[i].mag, 3));
        }
    }
    for (auto [keyword, value] :
         {std::pair{"PUBLICATION", &meta.publication}, std::pair{"BIBCODE", &meta.bibcode},
          std::pair{"COMMENT", &meta.comment}}) {
        if (!value->empty()) {
            Line(out, keyword, *value);
        }
    }
    out += "ENDMETADATA\r\n";
    for (const LightcurvePoint& p : points) {
        Line(out, "DATA",
             DataNumber(p.jd, 6) + "|" + DataNumber(p.mag, 3) + "|" + DataNumber(p.err, 3));
    }
    out += "ENDDATA\r\n";
    return out;
}

}  // namespace

std::optional<std::string> AlcdefFilterOfCode(int code) {
    static constexpr const char* kNames[] = {"U", "B", "V", "R", "I"};
    if (code >= 1 && code <= 5) {
        return kNames[code - 1];
    }
    return std::nullopt;
}

AlcdefSessionTime SessionMidTime(std::int32_t first, std::int32_t last) {
    const std::time_t mid = static_cast<std::time_t>(
        HalfDown(static_cast<std::int64_t>(first) + static_cast<std::int64_t>(last) + 1));
    std::tm utc{};
    gmtime_r(&mid, &utc);
    char date[32], time[32];
    std::strftime(date, sizeof date, "%Y-%m-%d", &utc);
    std::strftime(time, sizeof time, "%H:%M:%S", &utc);
    return {date, time};
}

AlcdefExport BuildAlcdef(const RecordSet& set, const Lightcurve& curve,
                         const AlcdefMetadata& meta) {
    AlcdefExport alcdef;
    for (const LightcurveSession& session : curve.sessions) {
        const std::vector<LightcurvePoint> points = PointsOfSession(curve, session.number);
        if (points.size() < 2) {
            alcdef.tooFewPoints.push_back(session.number);
            continue;
        }
        alcdef.blocks.push_back({session.number, Block(set, session, points, meta)});
    }
    return alcdef;
}

std::string AlcdefFileText(const AlcdefExport& alcdef) {
    std::string text;
    for (const AlcdefBlock& block : alcdef.blocks) {
        text += block.text;
    }
    return text;
}

}  // namespace corvane
