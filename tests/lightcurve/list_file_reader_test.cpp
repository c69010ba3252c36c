// Reading list files back: every field of what the writer wrote, damaged files refused
// with line and expectation, and a last record cut short left out.

#include <gtest/gtest.h>

#include "lightcurve/list_file_reader.h"
#include "photometry/output_files.h"
#include "support/lightcurve_scene.h"

namespace corvane::test {
namespace {

ObjectResult Result(double mean, double sigma, double flux, double snr, int npix, int clip) {
    ObjectResult r;
    r.mean = mean;
    r.sigma = sigma;
    r.fluxRate = flux;
    r.snr = snr;
    r.npix = npix;
    r.clip = clip;
    return r;
}

// Two records: one with an asteroid, star 1 and star 16 (whose flux overflows its column),
// one without a time or asteroid.
std::string TwoRecords() {
    PhotometryParameters params;
    params.numberOfStars = 16;
    params.asteroid.a = 15;
    params.asteroid.b = 12;
    params.asteroid.theta = -45;
    params.star.a = 9;
    params.star.b = 9;
    params.star.theta = 90;
    alignas(4) HeaderRecord h;
    ClearHeader(h);
    SetHeaderText(h.object, "Ceres");
    h.observationTime = 979596245;
    h.filter = 3;
    h.preflash = 12;
    h.electronGain = 2.3f;
    h.exposure = 600;
    ObjectList list;
    list.starSelected.fill(false);
    list.starSelected[0] = list.starSelected[15] = true;
    list.asteroidCentroid = {312.0f, 88.0f};
    list.asteroidResult = Result(1000.25, 12.3456, 1234.567, 45.5, 709, 0);
    list.starPosition[0] = {45.126f, 1023.5f};
    list.starResults[0] = Result(0, 0, -3, 44.5, 12, 3);
    list.starPosition[15] = {4.0f, 5.0f};
    list.starResults[15] = Result(-1000, 5.5, 123456, -0.4, 0, 0);
    std::string text = BuildListRecord("/data/night1/f001.fit", h, 0, params, list);
    h.observationTime = 0;
    SetHeaderText(h.object, "A very long object name");
    list.asteroidSelected = false;
    list.starSelected.fill(false);
    list.starSelected[1] = true;
    list.starPosition[1] = {-1.5f, 2.25f};
    list.starResults[1] = Result(7, 1, 50, 3, 100, 1);
    return text + BuildListRecord("f002.fit", h, 0, params, list);
}

std::string WithLf(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.erase(at, 1);
    }
    return text;
}

void ExpectRow(const ListRow& row, int star, double x, double y, double flux, double bg,
               double sigma, double snr, long npix, long clip) {
    SCOPED_TRACE(star);
    EXPECT_EQ(row.star, star);
    EXPECT_DOUBLE_EQ(row.x, x);
    EXPECT_DOUBLE_EQ(row.y, y);
    EXPECT_DOUBLE_EQ(row.fluxRate, flux);
    EXPECT_DOUBLE_EQ(row.background, bg);
    EXPECT_DOUBLE_EQ(row.sigma, sigma);
    EXPECT_DOUBLE_EQ(row.snr, snr);
    EXPECT_EQ(row.npix, npix);
    EXPECT_EQ(row.clip, clip);
}

TEST(ListFileReader, ReadsBackEveryFieldAsPrintedWithEitherLineEnd) {
    for (const std::string& text : {TwoRecords(), WithLf(TwoRecords())}) {
        ListFileContents read;
        ListFileProblem problem;
        ASSERT_TRUE(ReadListText(text, "n.lis", read, problem)) << problem.Text();
        ASSERT_EQ(read.records.size(), 2u);
        EXPECT_TRUE(read.cutOff.empty());
        const ListRecord& a = read.records[0];
        EXPECT_EQ(a.image, "/data/night1/f001.fit");
        EXPECT_EQ(a.object, "Ceres");
        EXPECT_EQ(a.time, 979596245);
        EXPECT_EQ(a.filter, 3);
        EXPECT_EQ(a.preflash, 12);
        EXPECT_DOUBLE_EQ(a.gain, 2.3);
        EXPECT_DOUBLE_EQ(a.exposure, 60);
        EXPECT_EQ(a.source, "n.lis");
        EXPECT_EQ(a.line, 1);
        ASSERT_TRUE(a.asteroid);
        ExpectRow(*a.asteroid, 0, 312, 88, 1234.57, 1000.25, 12.35, 46, 709, 0);
        ASSERT_EQ(a.stars.size(), 2u);
        ExpectRow(a.stars[0], 1, 45.13, 1023.5, -3, 0, 0, 44, 12, 3);
        ExpectRow(a.stars[1], 16, 4, 5, 123456, -1000, 5.5, -0.0, 0, 0);
        EXPECT_EQ(a.boxes.asteroidTheta, -45);
        EXPECT_EQ(a.boxes.starB, 9);

        const ListRecord& b = read.records[1];
        EXPECT_EQ(b.line, 18);
        EXPECT_EQ(b.object, "A very long objec");
        EXPECT_EQ(b.time, 0);
        EXPECT_FALSE(b.asteroid);
        ASSERT_EQ(b.stars.size(), 1u);
        ExpectRow(b.stars[0], 2, -1.5, 2.25, 50, 7, 1, 3, 100, 1);
    }
}

TEST(ListFileReader, RefusesDamageWithLineAndExpectation) {
    struct Case {
        const char* what;
        std::string from, to;
        int line;
        const char* expected;
    };
    const Case cases[] = {
        {"no empty line after the path", "f001.fit\r\n\r\n", "f001.fit\r\nx\r\n", 2,
         "expected an empty line"},
        {"MJD against Unix time", "51924.91950", "51924.91951", 4,
         "expected \"Filter          3\\t\\t       MJD       51924.91950\""},
        {"taken at against Unix time", "Mon Jan 15", "Tue Jan 15", 3, "Taken at Mon Jan 15"},
        {"a word for a number", "Star   1   45.13", "Star   1   forty", 10,
         "expected an object row"},
        {"stars out of order", "Star  16", "Star   1", 11, "stars in increasing order"},
        {"a flux with three decimals", "1234.57", "1234.567", 9, "expected an object row"},
        {"the second record's heading",
         "flux(DN/s) bckgnd(DN)  sigma(DN)  SNR    npix   clip\r\n"
         "Star   2",
         "flux bckgnd sigma SNR npix clip\r\nStar   2", 25, "expected \"  Obj       x"},
        {"a foreign file", TwoRecords(), "SIMPLE  =                    T\r\nBITPIX  =  16\r\n", 2,
         "expected an empty line"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text = TwoRecords();
        std::size_t at = c.from == text ? 0 : text.rfind(c.from);
        ASSERT_NE(at, std::string::npos);
        text.replace(at, c.from.size(), c.to);
        ListFileContents read;
        ListFileProblem problem;
        ASSERT_FALSE(ReadListText(text, "n.lis", read, problem));
        EXPECT_TRUE(read.records.empty());
        EXPECT_EQ(problem.file, "n.lis");
        EXPECT_EQ(problem.line, c.line) << problem.Text();
        EXPECT_NE(problem.what.find(c.expected), std::string::npos) << problem.what;
    }
}

TEST(ListFileReader, LeavesOutOnlyALastRecordCutShort) {
    LightcurveScene scene = ThreeNightScene();
    scene.nights.resize(1);
    scene.nights[0].frames = 3;
    const std::vector<std::string> records = SceneRecords(scene);
    const std::string first2 = records[0] + records[1];
    const std::string& last = records[2];
    const int lastLine = 1 + 2 * 18;  // every record here is 18 lines long
    struct Case {
        const char* what;
        std::size_t keep;  // bytes of the last record
        bool cut;
    };
    const std::size_t closing = last.find(std::string(77, '*') + "\r\n\r\n\r\n", 100);
    const Case cases[] = {
        {"after its path", last.find('\n') + 1, true},
        {"inside a row", last.find("Star   2") + 20, true},
        {"after a whole row", last.find("Star   2"), true},
        {"between CR and LF", last.find("Star   2") - 1, true},
        {"inside the closing asterisks", closing + 40, true},
        {"without its two empty lines", closing + 79, false},
        {"whole", last.size(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ListFileContents read;
        ListFileProblem problem;
        ASSERT_TRUE(ReadListText(first2 + last.substr(0, c.keep), "n.lis", read, problem))
            << problem.Text();
        EXPECT_EQ(read.records.size(), c.cut ? 2u : 3u);
        ASSERT_EQ(read.cutOff.size(), c.cut ? 1u : 0u);
        if (c.cut) {
            EXPECT_EQ(read.cutOff[0].line, lastLine);
        }
    }
    // A record cut short in the middle of a file is damage, not a cut-off.
    ListFileContents read;
    ListFileProblem problem;
    const std::string middle = records[0].substr(0, records[0].find("Star   2")) + first2;
    EXPECT_FALSE(ReadListText(middle, "n.lis", read, problem));
    EXPECT_EQ(problem.line, 11);
}

}  // namespace
}  // namespace corvane::test
