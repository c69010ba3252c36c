// ALCDEF blocks: what the export writes from the records and the user's metadata, and a
// validator that refuses one mutated block per rule, naming the rule and the keyword.

#include <gtest/gtest.h>

#include "lightcurve/alcdef_export.h"
#include "lightcurve/alcdef_validator.h"
#include "lightcurve/differential.h"
#include "support/lightcurve_scene.h"

namespace corvane::test {
namespace {

AlcdefMetadata Meta() {
    AlcdefMetadata meta;
    meta.objectNumber = 0;
    meta.objectName = "1999 CZ1";
    meta.mpcDesignation = "1999 CZ1";
    meta.contactName = "A. Observer";
    meta.contactInfo = "[observer@example.org] 1 Dome Road";
    meta.observers = "Observer, A.; Helper, B.";
    meta.magBand = "R";
    // Star 2 has no name, so the names of stars 1 and 3 close up to COMPNAME1 and 2.
    meta.comparisons = {{1, "GSC 1234-0567", "07:12:33.45", "+21:03:12.3", 13.37},
                        {3, "GSC 1234-0999", std::nullopt, std::nullopt, std::nullopt}};
    meta.sessionComparisons = {std::nullopt,
                               std::vector<AlcdefComparison>{{4, "UCAC4 555-1", {}, {}, {}}}};
    return meta;
}

AlcdefExport SceneExport(const AlcdefMetadata& meta, std::vector<double> ltc = {}) {
    LightcurveScene scene = ThreeNightScene();
    scene.failedFrames = {239};  // the last frame of night 2
    RecordSet set;
    ListFileProblem problem;
    EXPECT_TRUE(AddListText(set, SceneListText(scene), "scene.lis", problem));
    LightcurveOptions options;
    options.ltcDays = std::move(ltc);
    Lightcurve curve;
    std::string error;
    EXPECT_TRUE(ComputeLightcurve(set, options, curve, error));
    return BuildAlcdef(set, curve, meta);
}

bool Has(const std::string& block, const std::string& line) {
    return block.find(line + "\r\n") != std::string::npos;
}

TEST(AlcdefExport, OneValidBlockPerSessionFromRecordsAndMetadata) {
    const AlcdefExport out = SceneExport(Meta(), {0, LtcDaysOfDelta(1.2), 0});
    ASSERT_EQ(out.blocks.size(), 3u);
    std::size_t bad = 0;
    EXPECT_FALSE(
        ValidateAlcdefBlocks({out.blocks[0].text, out.blocks[1].text, out.blocks[2].text}, bad));
    const std::string& night1 = out.blocks[0].text;
    const std::string& night2 = out.blocks[1].text;
    // Night 1: 19:00 to 02:56 UT, so the middle is 22:58; the filter from code 4.
    for (const char* line : {"STARTMETADATA",
                             "OBJECTNUMBER=0",
                             "MPCDESIG=1999 CZ1",
                             "SESSIONDATE=2001-01-15",
                             "SESSIONTIME=22:58:00",
                             "FILTER=R",
                             "MAGBAND=R",
                             "DIFFERMAGS=TRUE",
                             "STANDARD=NONE",
                             "LTCAPP=NONE",
                             "LTCTYPE=NONE",
                             "REDUCEDMAGS=NONE",
                             "DELIMITER=PIPE",
                             "COMPNAME1=GSC 1234-0567",
                             "COMPRA1=07:12:33.45",
                             "COMPDEC1=+21:03:12.3",
                             "COMPMAG1=+13.370",
                             "COMPNAME2=GSC 1234-0999",
                             "ENDMETADATA",
                             "ENDDATA"}) {
        EXPECT_TRUE(Has(night1, line)) << line;
    }
    EXPECT_FALSE(Has(night1, "COMPRA2"));
    // Night 2: its own star, the light-time correction, and the middle of its points
    // without the failed last frame (19:10 to 03:02 UT).
    for (const char* line :
         {"COMPNAME1=UCAC4 555-1", "LTCAPP=AVERAGE", "LTCTYPE=LIGHTTIME", "LTCDAYS=-0.006931",
          "SESSIONDATE=2001-01-16", "SESSIONTIME=23:06:00"}) {
        EXPECT_TRUE(Has(night2, line)) << line;
    }
    EXPECT_EQ(night2.find("COMPNAME2"), std::string::npos);
}

TEST(AlcdefExport, SessionTimeIsTheMiddleRoundedHalfASecondUp) {
    const struct {
        std::int32_t first, last;
        const char* date;
        const char* time;
    } cases[] = {
        {979596245, 979596245, "2001-01-15", "22:04:05"},
        {979596245, 979596246, "2001-01-15", "22:04:06"},
        {979596244, 979596246, "2001-01-15", "22:04:05"},
        {-3, 0, "1969-12-31", "23:59:59"},
        {979603199, 979603200, "2001-01-16", "00:00:00"},
    };
    for (const auto& c : cases) {
        const AlcdefSessionTime mid = SessionMidTime(c.first, c.last);
        EXPECT_EQ(mid.date, c.date) << c.first;
        EXPECT_EQ(mid.time, c.time) << c.first;
    }
}

TEST(AlcdefExport, FilterFromTheHeaderCodeOrRefused) {
    AlcdefMetadata meta = Meta();
    std::size_t bad = 0;
    for (const auto& [code, filter] : {std::pair{2, "B"}, {3, "V"}, {4, "R"}, {5, "I"}}) {
        EXPECT_EQ(AlcdefFilterOfCode(code), filter);
    }
    // Code 1 is U, which ALCDEF does not name; 0 names no filter at all.
    for (const auto& [code, rule] :
         {std::pair{1, "FILTER is one of B, V, R, I, SU, SG, SR, SI, SZ, C"},
          {0, "FILTER is required"}}) {
        LightcurveScene scene = ThreeNightScene();
        scene.filterCode = code;
        RecordSet set;
        ListFileProblem problem;
        ASSERT_TRUE(AddListText(set, SceneListText(scene), "s.lis", problem));
        Lightcurve curve;
        std::string error;
        ASSERT_TRUE(ComputeLightcurve(set, {}, curve, error));
        const AlcdefExport out = BuildAlcdef(set, curve, meta);
        std::optional<AlcdefViolation> v = ValidateAlcdefBlocks({out.blocks[0].text}, bad);
        ASSERT_TRUE(v) << code;
        EXPECT_EQ(v->rule, rule);
        EXPECT_EQ(v->keyword, "FILTER");
    }
}

// One mutation of a valid block per rule: the rule and keyword the validator names.
TEST(AlcdefValidator, RefusesOneMutatedBlockPerRule) {
    const std::string valid = SceneExport(Meta()).blocks[0].text;
    ASSERT_FALSE(ValidateAlcdefBlock(valid));
    const std::string firstData = "DATA=2451925.291667|3.817|0.013\r\n";
    ASSERT_NE(valid.find(firstData), std::string::npos);
    const std::string oneData =
        valid.substr(0, valid.find(firstData) + firstData.size()) + "ENDDATA\r\n";
    struct Case {
        std::string from, to;  // the first `from` becomes `to`
        const char* rule;
        const char* keyword;
    };
    const std::string x31(31, 'x');
    const Case cases[] = {
        {"OBJECTNAME=1999 CZ1", "OBJECTNAME=1999 CZ1 \xc3\xa9", "ASCII only", "OBJECTNAME"},
        {"CONTACTINFO=", "CONTACTINFO=" + std::string(250, 'x'), "a line is at most 255 characters",
         "CONTACTINFO"},
        {"STARTMETADATA\r\n", "", "a block starts with STARTMETADATA", "STARTMETADATA"},
        {"FILTER=R", "Filter=R", "metadata lines are KEYWORD=value, the keyword in upper case",
         "Filter"},
        {"FILTER=R", "FILTER=R\r\nOBSERVERSNAMES1=x", "a keyword has at most 14 characters",
         "OBSERVERSNAMES1"},
        {"FILTER=R", "FILTER=R\r\nFILTER=V", "a keyword is given once in a block", "FILTER"},
        {"ENDMETADATA\r\n", "", "ENDMETADATA closes the metadata", "ENDMETADATA"},
        {"ENDMETADATA\r\n", "ENDMETADATA\r\nCOMMENT=late\r\n",
         "only DATA lines between ENDMETADATA and ENDDATA", "COMMENT"},
        {"ENDDATA\r\n", "", "ENDDATA closes the data", "ENDDATA"},
        {"ENDDATA\r\n", "ENDDATA\r\nCOMMENT=after\r\n", "nothing follows ENDDATA in a block",
         "COMMENT"},
        {valid, oneData, "a block has at least two DATA lines", "DATA"},
        {"CONTACTNAME=A. Observer\r\n", "", "CONTACTNAME is required", "CONTACTNAME"},
        {"OBSERVERS=Observer, A.; Helper, B.", "OBSERVERS=", "OBSERVERS is required", "OBSERVERS"},
        {"OBJECTNUMBER=0", "OBJECTNUMBER=+5", "OBJECTNUMBER is an integer without sign",
         "OBJECTNUMBER"},
        {"OBJECTNAME=1999 CZ1", "OBJECTNAME=" + x31, "OBJECTNAME has at most 30 characters",
         "OBJECTNAME"},
        {"SESSIONDATE=2001-01-15", "SESSIONDATE=2001-02-29", "SESSIONDATE is yyyy-mm-dd",
         "SESSIONDATE"},
        {"SESSIONTIME=22:58:00", "SESSIONTIME=24:00:00", "SESSIONTIME is hh:mm:ss, 24 h UT",
         "SESSIONTIME"},
        {"CONTACTNAME=A. Observer", "CONTACTNAME=" + std::string(81, 'x'),
         "CONTACTNAME has at most 80 characters", "CONTACTNAME"},
        {"CONTACTINFO=", "CONTACTINFO=" + std::string(87, 'x'),  // 121 in all
         "CONTACTINFO has at most 120 characters", "CONTACTINFO"},
        {"Observer, A.; Helper, B.", "Observer, A.;; Helper, B.",
         "OBSERVERS are names separated by ;", "OBSERVERS"},
        {"FILTER=R", "FILTER=Rc", "FILTER is one of B, V, R, I, SU, SG, SR, SI, SZ, C", "FILTER"},
        {"MAGBAND=R", "MAGBAND=C", "MAGBAND is one of B, V, R, I, SU, SG, SR, SI, SZ", "MAGBAND"},
        {"DELIMITER=PIPE", "DELIMITER=COMMA", "DELIMITER is PIPE or TAB", "DELIMITER"},
        {"DIFFERMAGS=TRUE", "DIFFERMAGS=YES", "booleans are TRUE or FALSE", "DIFFERMAGS"},
        {"LTCAPP=NONE", "LTCAPP=SOME", "LTCAPP is NONE, AVERAGE or POINT", "LTCAPP"},
        {"REDUCEDMAGS=NONE", "REDUCEDMAGS=ALL", "REDUCEDMAGS is NONE, AVERAGE or POINT",
         "REDUCEDMAGS"},
        {"COMPMAG1=+13.370", "COMPMAG1=13.370",
         "metadata numbers have a sign and a decimal point, no exponent", "COMPMAG1"},
        {"MPCDESIG=1999 CZ1\r\n", "", "MPCDESIG is required when OBJECTNUMBER is 0", "MPCDESIG"},
        {"STANDARD=NONE", "STANDARD=TRANSFORMED", "DIFFERMAGS=TRUE requires STANDARD=NONE",
         "STANDARD"},
        {"LTCTYPE=NONE", "LTCTYPE=LIGHTTIME", "LTCAPP=NONE goes with LTCTYPE=NONE", "LTCTYPE"},
        {"LTCAPP=NONE", "LTCAPP=AVERAGE", "LTCAPP=AVERAGE or POINT requires LTCTYPE=LIGHTTIME",
         "LTCTYPE"},
        {"LTCAPP=NONE\r\nLTCTYPE=NONE", "LTCAPP=POINT\r\nLTCTYPE=LIGHTTIME\r\nLTCDAYS=-0.000000",
         "LTCAPP=AVERAGE or POINT requires a non-zero LTCDAYS", "LTCDAYS"},
        {"REDUCEDMAGS=NONE", "REDUCEDMAGS=AVERAGE",
         "REDUCEDMAGS=AVERAGE or POINT requires a non-zero UCORMAG", "UCORMAG"},
        {"COMPNAME2=", "COMPNAME11=x\r\nCOMPNAME2=", "at most 10 comparison stars, numbered from 1",
         "COMPNAME11"},
        {"COMPNAME2=GSC 1234-0999", "COMPNAME3=GSC 1234-0999",
         "at most 10 comparison stars, numbered from 1", "COMPNAME2"},
        {"COMPNAME2=", "COMPRA3=01:02:03.45\r\nCOMPNAME2=",
         "COMPNAMEn is required for each comparison star given", "COMPNAME3"},
        {"COMPNAME2=GSC 1234-0999", "COMPNAME2=" + x31, "COMPNAMEn has at most 30 characters",
         "COMPNAME2"},
        {"COMPRA1=07:12:33.45", "COMPRA1=7:12:33.45", "COMPRAn is hh:mm:ss.ss", "COMPRA1"},
        {"COMPDEC1=+21:03:12.3", "COMPDEC1=21:03:12.3", "COMPDECn is +dd:mm:ss.s or -dd:mm:ss.s",
         "COMPDEC1"},
        {"|3.817|", "|+3.817|", "DATA is JD|MAG|MAGERR: JD with 6 decimals, MAG and MAGERR with 3",
         "DATA"},
        {"|3.817|0.013", "||0.013",
         "DATA is JD|MAG|MAGERR: JD with 6 decimals, MAG and MAGERR with 3", "DATA"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        std::string block = valid;
        const std::size_t at = block.find(c.from);
        ASSERT_NE(at, std::string::npos) << c.from;
        block.replace(at, c.from.size(), c.to);
        const std::optional<AlcdefViolation> v = ValidateAlcdefBlock(block);
        ASSERT_TRUE(v) << block.substr(0, 600);
        EXPECT_EQ(v->rule, c.rule);
        EXPECT_EQ(v->keyword, c.keyword);
    }

    // The same session twice is a duplicate unless the second says it revises the first.
    std::size_t index = 0;
    const std::optional<AlcdefViolation> twice = ValidateAlcdefBlocks({valid, valid}, index);
    ASSERT_TRUE(twice);
    EXPECT_EQ(index, 1u);
    EXPECT_EQ(twice->keyword, "REVISEDDATA");
    std::string revised = valid;
    revised.insert(revised.find("OBJECTNUMBER"), "REVISEDDATA=TRUE\r\n");
    EXPECT_FALSE(ValidateAlcdefBlocks({valid, revised}, index));
}

}  // namespace
}  // namespace corvane::test
