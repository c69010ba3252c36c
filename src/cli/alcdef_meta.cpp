#include "cli/alcdef_meta.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

namespace corvane::cli {

namespace {

using nlohmann::json;

class MetaReader {
public:
    std::string error;

    bool Read(const json& j, AlcdefMetadata& meta) {
        if (!j.is_object()) {
            return Fail("the file must hold one JSON object");
        }
        static constexpr const char* kKeys[] = {
            "objectNumber", "objectName",  "mpcDesignation", "contactName", "contactInfo",
            "observers",    "filter",      "magBand",        "comparisons", "sessions",
            "revised",      "publication", "bibcode",        "comment"};
        for (const auto& [key, value] : j.items()) {
            if (std::find(std::begin(kKeys), std::end(kKeys), key) == std::end(kKeys)) {
                return Fail("unknown key \"" + key + "\"");
            }
        }
        if (j.contains("objectNumber")) {
            if (!j["objectNumber"].is_number_integer()) {
                return Fail("objectNumber must be an integer");
            }
            meta.objectNumber = j["objectNumber"].get<long long>();
        }
        if (j.contains("revised")) {
            if (!j["revised"].is_boolean()) {
                return Fail("revised must be true or false");
            }
            meta.revised = j["revised"].get<bool>();
        }
        const std::pair<const char*, std::optional<std::string>*> optionalTexts[] = {
            {"objectName", &meta.objectName},   {"mpcDesignation", &meta.mpcDesignation},
            {"contactName", &meta.contactName}, {"contactInfo", &meta.contactInfo},
            {"observers", &meta.observers},     {"filter", &meta.filter},
            {"magBand", &meta.magBand}};
        for (auto [key, field] : optionalTexts) {
            if (j.contains(key)) {
                std::string text;
                if (!Text(j, key, text)) {
                    return false;
                }
                *field = text;
            }
        }
        for (auto [key, field] :
             {std::pair{"publication", &meta.publication}, std::pair{"bibcode", &meta.bibcode},
              std::pair{"comment", &meta.comment}}) {
            if (j.contains(key) && !Text(j, key, *field)) {
                return false;
            }
        }
        if (j.contains("comparisons") &&
            !Comparisons(j["comparisons"], "comparisons", meta.comparisons)) {
            return false;
        }
        if (j.contains("sessions")) {
            if (!j["sessions"].is_array()) {
                return Fail("sessions must be an array");
            }
            for (std::size_t n = 0; n < j["sessions"].size(); ++n) {
                const json& s = j["sessions"][n];
                const std::string where = "sessions[" + std::to_string(n) + "]";
                if (!s.is_object()) {
                    return Fail(where + " must be an object");
                }
                std::optional<std::vector<AlcdefComparison>> comps;
                if (s.contains("comparisons")) {
                    comps.emplace();
                    if (!Comparisons(s["comparisons"], where + ".comparisons", *comps)) {
                        return false;
                    }
                }
                meta.sessionComparisons.push_back(comps);
            }
        }
        return true;
    }

private:
    bool Fail(std::string what) {
        error = std::move(what);
        return false;
    }

    bool Text(const json& j, const std::string& key, std::string& out) {
        if (!j[key].is_string()) {
            return Fail(key + " must be a string");
        }
        out = j[key].get<std::string>();
        return true;
    }

    bool Comparisons(const json& list, const std::string& where,
                     std::vector<AlcdefComparison>& out) {
        if (!list.is_array()) {
            return Fail(where + " must be an array");
        }
        for (std::size_t i = 0; i < list.size(); ++i) {
            const json& c = list[i];
            const std::string at = where + "[" + std::to_string(i) + "]";
            if (!c.is_object() || !c.contains("star") || !c["star"].is_number_integer()) {
                return Fail(at + " needs \"star\", the star's number");
            }
            AlcdefComparison comp;
            comp.star = c["star"].get<int>();
            if (c.contains("name") && !Text(c, "name", comp.name)) {
                return Fail(at + ".name must be a string");
            }
            for (auto [key, field] : {std::pair{"ra", &comp.ra}, std::pair{"dec", &comp.dec}}) {
                if (c.contains(key)) {
                    std::string text;
                    if (!Text(c, key, text)) {
                        return Fail(at + "." + key + " must be a string");
                    }
                    *field = text;
                }
            }
            if (c.contains("mag")) {
                if (!c["mag"].is_number()) {
                    return Fail(at + ".mag must be a number");
                }
                comp.mag = c["mag"].get<double>();
            }
            out.push_back(comp);
        }
        return true;
    }
};

}  // namespace

bool ReadAlcdefMeta(const std::string& path, AlcdefMetadata& meta, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be read";
        return false;
    }
    const json j = json::parse(std::istreambuf_iterator<char>(in), {}, nullptr, false);
    if (j.is_discarded()) {
        error = path + ": not JSON";
        return false;
    }
    MetaReader reader;
    if (!reader.Read(j, meta)) {
        error = path + ": " + reader.error;
        return false;
    }
    return true;
}

}  // namespace corvane::cli
