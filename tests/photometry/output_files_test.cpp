// The two output files: every byte of a record, choosing the files, and appending that
// never leaves half a record behind.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "photometry/output_files.h"
#include "platform/directories.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

using Press = FakeHost::OutputDialogPress;

HeaderRecord Header(const char* object, std::int32_t time) {
    HeaderRecord h{};
    ClearHeader(h);
    SetHeaderText(h.object, object);
    h.observationTime = time;
    h.filter = 3;
    h.preflash = 12;
    h.electronGain = 2.3f;
    h.exposure = 600;
    return h;
}

TEST(ListRecordHead, ObjectFieldAndTimeLines) {
    struct Case {
        const char* object;
        std::int32_t time;
        const char* objectLine;
        const char* mjdLine;
        const char* unixLine;
    };
    const Case cases[] = {
        {"Ceres", 979596245, "Ceres            \t\t       Taken at Mon Jan 15 22:04:05 2001\r\n",
         "Filter          3\t\t       MJD       51924.91950\r\n",
         "Preflash       12\t\t       Unix Time   979596245\r\n"},
        {"", 0, "                 \t\t       Taken at \r\n",
         "Filter          3\t\t       MJD       40587.00000\r\n",
         "Preflash       12\t\t       Unix Time           0\r\n"},
        // Seventeen characters fill the field; a longer name is cut to them.
        {"1998 QE2 (285263)", 86399,
         "1998 QE2 (285263)\t\t       Taken at Thu Jan  1 23:59:59 1970\r\n",
         "Filter          3\t\t       MJD       40587.99999\r\n",
         "Preflash       12\t\t       Unix Time       86399\r\n"},
        {"Comet C/2020 F3 NEOWISE", 1, "Comet C/2020 F3 N\t\t       Taken at Thu Jan  1 00:00:01 1970\r\n",
         "Filter          3\t\t       MJD       40587.00001\r\n",
         "Preflash       12\t\t       Unix Time           1\r\n"},
        // A time before 1970 is no time: nothing after "Taken at ".
        {"Vesta", -5, "Vesta            \t\t       Taken at \r\n",
         "Filter          3\t\t       MJD       40586.99994\r\n",
         "Preflash       12\t\t       Unix Time          -5\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.object);
        std::string expected = std::string("/data/night1/field001.fit\r\n\r\n") + c.objectLine +
                               c.mjdLine + c.unixLine +
                               "Gain(el/DN)  2.30\t\t       Exp. Time      60.0 s\r\n" +
                               std::string(77, '*') + "\r\n" +
                               "  Obj       x      y    flux(DN/s) bckgnd(DN)  sigma(DN)  SNR"
                               "    npix   clip\r\n";
        EXPECT_EQ(ListRecordHead("/data/night1/field001.fit", Header(c.object, c.time)),
                  expected);
    }
}

TEST(ListRecordHead, ExposureInTenthsAndGainRounding) {
    HeaderRecord h = Header("X", 0);
    h.exposure = 10;
    h.electronGain = 12.345f;
    std::string head = ListRecordHead("p", h);
    EXPECT_NE(head.find("Gain(el/DN) 12.35\t\t       Exp. Time       1.0 s\r\n"), std::string::npos)
        << head;
}

TEST(ListRecordRow, AsteroidAndStarRows) {
    struct Case {
        int star;
        FloatPoint at;
        ObjectResult result;  // mean, sigma, count, fluxRate, snr, npix, clip
        std::int32_t bzero;
        const char* bytes;
    };
    const Case cases[] = {
        {-1, {312.0f, 88.0f}, {1000.25, 12.3456, 64, 1234.567, 45.5, 709, 0}, 0,
         "Asteroid  312.00   88.00  1234.57   1000.25     12.35      46     709     0\r\n"},
        // The level is printed with bzero; a tie in SNR goes to the even neighbour.
        {1, {45.126f, 1023.5f}, {0.0, 0.0, 3, -3.0, 44.5, 12, 3}, 32768,
         "Star   1   45.13 1023.50    -3.00  32768.00      0.00      44      12     3\r\n"},
        {16, {4.0f, 5.0f}, {-1000.0, 5.5, 9, 123456.0, -0.4, 0, 0}, 0,
         "Star  16    4.00    5.00123456.00  -1000.00      5.50      -0       0     0\r\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ListRecordRow(c.star, c.at, c.result, c.bzero), c.bytes);
    }
}

TEST(ListRecordTail, BoxSizesAndClosingLines) {
    PhotometryParameters params;
    params.asteroid.a = 15;
    params.asteroid.b = 12;
    params.asteroid.theta = -45;
    params.star.a = 9;
    params.star.b = 9;
    params.star.theta = 90;
    EXPECT_EQ(ListRecordTail(params),
              "\r\nAsteroid box size    15   12  -45       Star box size     9    9   90\r\n"
              "\r\n" +
                  std::string(77, '*') + "\r\n\r\n\r\n");
}

// Four stars with star 2 deselected, the asteroid measured or not.
struct FourStars {
    PhotometryParameters params;
    ObjectList objects;
    FourStars(bool asteroid) {
        params.numberOfStars = 4;
        objects.asteroidSelected = asteroid;
        objects.asteroidCentroid = {100.5f, 200.25f};
        objects.asteroidResult = {10, 2, 100, 55.556, 20, 709, 1};
        for (int i = 0; i < 4; ++i) {
            const auto k = static_cast<float>(i + 1);
            objects.starPosition[i] = {10.0f * k, 20.0f * k};
            objects.starResults[i] = {11, 3, 100, 100.0 * (i + 1), 30.0 + i, 709, 0};
        }
        objects.starSelected[1] = false;
        objects.starResults[4].fluxRate = 999;  // beyond n: never written
    }
};

TEST(BuildListRecord, RowsOfTheSelectedObjectsOnly) {
    HeaderRecord header = Header("Ceres", 979596245);
    for (bool asteroid : {true, false}) {
        SCOPED_TRACE(asteroid);
        FourStars f(asteroid);
        std::string rows =
            std::string(asteroid ? "Asteroid  100.50  200.25    55.56     10.00      2.00      20     709     1\r\n"
                                 : "") +
            "Star   1   10.00   20.00   100.00     11.00      3.00      30     709     0\r\n"
            "Star   3   30.00   60.00   300.00     11.00      3.00      32     709     0\r\n"
            "Star   4   40.00   80.00   400.00     11.00      3.00      33     709     0\r\n";
        EXPECT_EQ(BuildListRecord("/d/f.fit", header, 0, f.params, f.objects),
                  ListRecordHead("/d/f.fit", header) + rows + ListRecordTail(f.params));
    }
}

TEST(BuildFluxLine, EveryStarColumnStaysInPlace) {
    HeaderRecord header = Header("Ceres", 979596245);
    FourStars measured(true);
    EXPECT_EQ(BuildFluxLine(header, measured.params, measured.objects),
              "979596245    55.56  100.00    0.00  300.00  400.00\r\n");
    EXPECT_EQ(measured.objects.starResults[1].fluxRate, 0.0);

    FourStars without(false);
    EXPECT_EQ(BuildFluxLine(Header("", 0), without.params, without.objects),
              "0     0.00  100.00    0.00  300.00  400.00\r\n");
    EXPECT_EQ(without.objects.asteroidResult.fluxRate, 0.0);
}

TEST(AppendBoxText, NameBetweenTheSpaces) {
    EXPECT_EQ(AppendBoxText("night1.lis"), "File   night1.lis   already exists. ");
}

// --- Choosing the files ---

Press Ok(const std::string& prefix) { return {Press::Ok, 0, prefix}; }
Press Cancel() { return {Press::Cancel, 0, {}}; }
Press Enter(std::size_t entry) { return {Press::Enter, entry, {}}; }

TEST(ChooseOutputFiles, NewPrefixCreatesBothFilesEmptyWithFullPaths) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("sub"));
    const std::string cwd = CurrentDirectory();
    FakeHost host;
    OutputFiles files;
    host.outputDialogScript = {Enter(1), Ok("night1")};
    ASSERT_TRUE(ChooseOutputFilesIn(dir.Path(), files, host));
    EXPECT_EQ(host.outputDialogViews.front().entries,
              (std::vector<std::string>{"[..]", "[sub]", "/"}));
    const std::string sub = std::filesystem::canonical(dir.File("sub")).string();
    EXPECT_EQ(host.outputDialogViews.back().directory, sub);
    EXPECT_EQ(host.outputDialogViews.back().entries, (std::vector<std::string>{"[..]", "/"}));
    EXPECT_EQ(files.listPath, sub + "/night1.lis");
    EXPECT_EQ(files.fluxPath, sub + "/night1.heu");
    EXPECT_EQ(ReadBytes(files.listPath), "");
    EXPECT_EQ(ReadBytes(files.fluxPath), "");
    EXPECT_TRUE(host.appendTexts.empty());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(CurrentDirectory(), cwd);
}

TEST(ChooseOutputFiles, ExistingFilesAppendOverwriteOrCancel) {
    struct Case {
        std::vector<AppendChoice> answers;
        std::vector<Press> presses;
        bool accepted;
        const char* list;   // contents afterwards
        const char* flux;
        bool listChosen;    // the list path was taken over
        bool fluxChosen;
    };
    const Case cases[] = {
        {{AppendChoice::Append, AppendChoice::Append}, {Ok("n")}, true, "old lis", "old heu", true, true},
        {{AppendChoice::Overwrite, AppendChoice::Append}, {Ok("n")}, true, "", "old heu", true, true},
        {{AppendChoice::Append, AppendChoice::Overwrite}, {Ok("n")}, true, "old lis", "", true, true},
        // Cancel on the list file: the dialog stays open; Cancel then leaves all as it was.
        {{AppendChoice::Cancel}, {Ok("n"), Cancel()}, false, "old lis", "old heu", false, false},
        // The list file's step passed, the flux table's did not: only the list path moves.
        {{AppendChoice::Append, AppendChoice::Cancel}, {Ok("n"), Cancel()}, false, "old lis",
         "old heu", true, false},
        {{AppendChoice::Overwrite, AppendChoice::Cancel, AppendChoice::Append, AppendChoice::Append},
         {Ok("n"), Ok("n")}, true, "", "old heu", true, true},
    };
    for (const Case& c : cases) {
        TempDir dir;
        WriteBytes(dir.File("n.lis"), "old lis");
        WriteBytes(dir.File("n.heu"), "old heu");
        FakeHost host;
        host.appendAnswers.assign(c.answers.begin(), c.answers.end());
        host.outputDialogScript.assign(c.presses.begin(), c.presses.end());
        OutputFiles files{"/earlier/a.lis", "/earlier/a.heu"};
        EXPECT_EQ(ChooseOutputFilesIn(dir.Path(), files, host), c.accepted);
        EXPECT_EQ(ReadBytes(dir.File("n.lis")), c.list);
        EXPECT_EQ(ReadBytes(dir.File("n.heu")), c.flux);
        EXPECT_EQ(files.listPath, c.listChosen ? dir.File("n.lis") : "/earlier/a.lis");
        EXPECT_EQ(files.fluxPath, c.fluxChosen ? dir.File("n.heu") : "/earlier/a.heu");
        ASSERT_FALSE(host.appendTexts.empty());
        EXPECT_EQ(host.appendTexts[0], "File   n.lis   already exists. ");
        EXPECT_TRUE(host.messages.empty());
    }
}

TEST(ChooseOutputFiles, CreationFailureKeepsTheDialogOpenSilently) {
    TempDir dir;
    FakeHost host;
    OutputFiles files;
    OutputFilesDialogFields fields = OutputFieldsFor(dir.Path());
    fields.prefix = "missing/dir/n";
    EXPECT_FALSE(AcceptOutputPrefix(fields, files, host));
    EXPECT_TRUE(files.listPath.empty());
    EXPECT_TRUE(host.messages.empty());
    // A name the list file can take but the flux table cannot: a directory n.heu.
    std::filesystem::create_directory(dir.File("n.heu"));
    fields.prefix = "n";
    EXPECT_FALSE(AcceptOutputPrefix(fields, files, host));
    EXPECT_EQ(files.listPath, dir.File("n.lis"));
    EXPECT_TRUE(files.fluxPath.empty());
}

TEST(ChooseOutputFiles, PrefixIsCutTo79Characters) {
    TempDir dir;
    FakeHost host;
    OutputFiles files;
    OutputFilesDialogFields fields = OutputFieldsFor(dir.Path());
    fields.prefix = std::string(79, 'p') + "qqq";
    ASSERT_TRUE(AcceptOutputPrefix(fields, files, host));
    EXPECT_EQ(files.listPath, dir.File(std::string(79, 'p') + ".lis"));
}

TEST(ChooseOutputFiles, CancelBeforeAnyPrefixChoosesNothing) {
    FakeHost host;
    host.outputDialogScript = {Cancel()};
    OutputFiles files;
    EXPECT_FALSE(ChooseOutputFiles(files, host));
    EXPECT_TRUE(files.listPath.empty());
    EXPECT_TRUE(files.fluxPath.empty());
    ASSERT_EQ(host.outputDialogViews.size(), 1u);
    EXPECT_EQ(host.outputDialogViews[0].directory, CurrentDirectory());
}

// --- Writing ---

struct Pair {
    TempDir dir;
    OutputFiles files{dir.File("n.lis"), dir.File("n.heu")};
    Pair() {
        WriteBytes(files.listPath, "record 1\r\n");
        WriteBytes(files.fluxPath, "1 2\r\n");
    }
};

TEST(WriteRecord, TwoRunsAppendToBothFiles) {
    Pair p;
    FakeHost host;
    ASSERT_TRUE(WriteRecord(p.files, "record 2\r\n", "3 4\r\n", host));
    ASSERT_TRUE(WriteRecord(p.files, "record 3\r\n", "5 6\r\n", host));
    EXPECT_EQ(ReadBytes(p.files.listPath), "record 1\r\nrecord 2\r\nrecord 3\r\n");
    EXPECT_EQ(ReadBytes(p.files.fluxPath), "1 2\r\n3 4\r\n5 6\r\n");
    EXPECT_TRUE(host.messages.empty());
}

TEST(WriteRecord, AMissingFileWritesNeither) {
    for (int missing = 0; missing < 2; ++missing) {
        Pair p;
        std::filesystem::remove(missing == 0 ? p.files.listPath : p.files.fluxPath);
        FakeHost host;
        EXPECT_FALSE(WriteRecord(p.files, "record 2\r\n", "3 4\r\n", host));
        EXPECT_EQ(host.MessageLines(), (std::vector<std::string>{"Corvane: Could not open list file"}));
        EXPECT_EQ(host.messages[0].icon, MessageIcon::Warning);
        // Writing never creates a file that has gone.
        if (missing == 0) {
            EXPECT_FALSE(std::filesystem::exists(p.files.listPath));
            EXPECT_EQ(ReadBytes(p.files.fluxPath), "1 2\r\n");
        } else {
            EXPECT_EQ(ReadBytes(p.files.listPath), "record 1\r\n");
            EXPECT_FALSE(std::filesystem::exists(p.files.fluxPath));
        }
    }
}

// Runs `body` with a file-size limit of `limit` bytes, the signal of the limit ignored so
// that the write fails with an error instead.
template <class Body>
void WithFileSizeLimit(rlim_t limit, Body body) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = limit;
    ::setrlimit(RLIMIT_FSIZE, &small);
    body();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, SIG_DFL);
}

TEST(WriteRecord, AFullDiskCutsBothFilesBackToTheirOldLength) {
    // The list file starts 10 bytes long, the flux table 5; the limit stands in for the
    // end of the disk.
    struct Case {
        rlim_t limit;
        std::size_t listBytes;
        std::size_t fluxBytes;
        const char* message;
    };
    const Case cases[] = {
        {100, 600, 5, "Corvane: Could not write list file: File too large"},   // short write
        {10, 600, 5, "Corvane: Could not write list file: File too large"},    // none at all
        {100, 20, 800, "Corvane: Could not write flux table: File too large"}, // list undone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit);
        Pair p;
        FakeHost host;
        bool ok = true;
        WithFileSizeLimit(c.limit, [&] {
            ok = WriteRecord(p.files, std::string(c.listBytes, 'L'), std::string(c.fluxBytes, 'F'),
                             host);
        });
        EXPECT_FALSE(ok);
        EXPECT_EQ(host.MessageLines(), (std::vector<std::string>{c.message}));
        EXPECT_EQ(ReadBytes(p.files.listPath), "record 1\r\n");
        EXPECT_EQ(ReadBytes(p.files.fluxPath), "1 2\r\n");
    }
}

TEST(WriteRecord, PermissionLostIsOpenFailure) {
    // Root writes read-only files, so the check runs in a child without privileges.
    Pair p;
    ::chmod(p.dir.Path().c_str(), 0777);
    ::chmod(p.files.listPath.c_str(), 0444);
    ::chmod(p.files.fluxPath.c_str(), 0666);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) _exit(3);
        FakeHost host;
        bool ok = WriteRecord(p.files, "record 2\r\n", "3 4\r\n", host);
        bool message = host.MessageLines() ==
                       std::vector<std::string>{"Corvane: Could not open list file"};
        _exit(!ok && message ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadBytes(p.files.listPath), "record 1\r\n");
    EXPECT_EQ(ReadBytes(p.files.fluxPath), "1 2\r\n");
}

}  // namespace
}  // namespace corvane::test
