// The numbered names of the camera's frames, and the INDI server address.

#include <gtest/gtest.h>

#include "frame_names.h"
#include "indi_settings.h"
#include "support/temp_dir.h"

namespace quib {
namespace {

using corvane::test::TempDir;
using corvane::test::WriteBytes;

TEST(FrameNames, NumberingGoesOnAfterTheHighestFrameOfThePrefix) {
    struct Case {
        std::vector<std::string> present;
        int next;
    };
    const Case cases[] = {
        {{}, 1},
        {{"vesta0001.fits", "vesta0007.fits", "vesta0003.fits"}, 8},
        {{"vesta9999.fits"}, 10000},
        {{"vesta12345.fits"}, 12346},
        // Not frames of "vesta": too few digits, other prefix or extension, hidden.
        {{"vesta012.fits", "vestas0050.fits", "vesta0060.fit", ".vesta0070.fits", "xvesta0080.fits",
          "vesta00a9.fits"},
         1},
    };
    for (const Case& c : cases) {
        TempDir dir;
        for (const std::string& name : c.present) {
            WriteBytes(dir.File(name), "x");
        }
        EXPECT_EQ(NextFrameNumber(dir.Path(), "vesta"), c.next)
            << ::testing::PrintToString(c.present);
    }
    EXPECT_EQ(FrameName("vesta", 7), "vesta0007.fits");
    EXPECT_EQ(FrameName("vesta", 10000), "vesta10000.fits");
}

TEST(IndiSettings, ServerAddresses) {
    EXPECT_EQ(ParseIndiServer("observatory:7625")->Text(), "observatory:7625");
    EXPECT_EQ(ParseIndiServer("127.0.0.1")->Text(), "127.0.0.1:7624");
    for (const char* bad : {"", ":7624", "host:", "host:0", "host:65536", "host:76x", "a b:1"}) {
        EXPECT_FALSE(ParseIndiServer(bad)) << bad;
    }
}

}  // namespace
}  // namespace quib
