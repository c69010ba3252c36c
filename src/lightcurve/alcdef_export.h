#pragma once
// ALCDEF export: one block per session with at least two points, in the plain ALCDEF 2
// form, differential magnitudes with the delimiter PIPE. What the list files cannot know
// comes from the user in AlcdefMetadata; a key left out is a keyword left out, and the
// validator (alcdef_validator.h) says which required one is missing.

#include <optional>
#include <string>
#include <vector>

#include "lightcurve/lightcurve.h"

namespace corvane {

inline constexpr int kMaxAlcdefComparisons = 10;

struct AlcdefComparison {
    int star = 0;                    // the star's number in the list file
    std::string name;                // COMPNAMEn; a star without a name is not written
    std::optional<std::string> ra;   // COMPRAn, "hh:mm:ss.ss"
    std::optional<std::string> dec;  // COMPDECn, "+dd:mm:ss.s"
    std::optional<double> mag;       // COMPMAGn
};

struct AlcdefMetadata {
    std::optional<long long> objectNumber;      // OBJECTNUMBER, 0 when unnumbered
    std::optional<std::string> objectName;      // OBJECTNAME; else the header's object text
    std::optional<std::string> mpcDesignation;  // MPCDESIG, unpacked
    std::optional<std::string> contactName;
    std::optional<std::string> contactInfo;
    std::optional<std::string> observers;       // names separated by ';'
    std::optional<std::string> filter;          // FILTER; else from the header's filter code
    std::optional<std::string> magBand;         // MAGBAND
    std::vector<AlcdefComparison> comparisons;  // for every session
    // Entry n - 1 replaces `comparisons` for session n (sessions without a block counted).
    std::vector<std::optional<std::vector<AlcdefComparison>>> sessionComparisons;
    std::optional<bool> revised;  // REVISEDDATA
    std::string publication;      // PUBLICATION, BIBCODE, COMMENT: empty is left out
    std::string bibcode;
    std::string comment;
};

// The ALCDEF filter of a header filter code: 2 to 5 are B, V, R, I; 1 (U) is written as
// "U", which ALCDEF does not name, and other codes have none.
std::optional<std::string> AlcdefFilterOfCode(int code);

// SESSIONDATE and SESSIONTIME: the observed UT halfway between the first and last point's
// times, rounded to the nearest second, a half second upward.
struct AlcdefSessionTime {
    std::string date;  // yyyy-mm-dd
    std::string time;  // hh:mm:ss
};
AlcdefSessionTime SessionMidTime(std::int32_t first, std::int32_t last);

struct AlcdefBlock {
    int session = 0;
    std::string text;  // STARTMETADATA ... ENDDATA, lines ending in CR LF
};

struct AlcdefExport {
    std::vector<AlcdefBlock> blocks;
    std::vector<int> tooFewPoints;  // sessions with fewer than two points: no block
};

AlcdefExport BuildAlcdef(const RecordSet& set, const Lightcurve& curve, const AlcdefMetadata& meta);

// The file: the blocks one after another.
std::string AlcdefFileText(const AlcdefExport& alcdef);

}  // namespace corvane
