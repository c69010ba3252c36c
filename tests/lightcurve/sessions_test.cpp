// Where sessions start: more than six hours between records, or the star list entered
// anew, decided on the printed positions.

#include <gtest/gtest.h>

#include "lightcurve/sessions.h"

namespace corvane::test {
namespace {

ListRecord At(std::int32_t time, std::vector<ListRow> stars) {
    ListRecord r;
    r.time = time;
    r.stars = std::move(stars);
    return r;
}

ListRow Star(int number, double x, double y) {
    ListRow row;
    row.star = number;
    row.x = x;
    row.y = y;
    return row;
}

TEST(Sessions, StartAfterTheGapOrWhereTheStarListWasEnteredAnew) {
    const ListRecord before =
        At(1000, {Star(1, 100.00, 200.00), Star(2, 250.00, 180.00), Star(3, 40.00, 90.00)});
    struct Case {
        const char* what;
        ListRecord after;
        bool starts;
    };
    const Case cases[] = {
        {"six hours exactly", At(1000 + 21600, before.stars), false},
        {"a second more", At(1000 + 21601, before.stars), true},
        {"the field drifted 50 px",
         At(1100, {Star(1, 150.00, 250.00), Star(2, 300.00, 230.00), Star(3, 90.00, 140.00)}),
         false},
        {"star 2 moved 10.00 px",
         At(1100, {Star(1, 100.00, 200.00), Star(2, 260.00, 170.00), Star(3, 40.00, 90.00)}),
         false},
        {"star 2 moved 10.01 px in x",
         At(1100, {Star(1, 100.00, 200.00), Star(2, 260.01, 180.00), Star(3, 40.00, 90.00)}), true},
        {"star 3 moved 10.01 px in y against star 2, star 1 gone",
         At(1100, {Star(2, 250.00, 180.00), Star(3, 40.00, 100.01)}), true},
        {"star 3 moved against star 1, star 2 gone",
         At(1100, {Star(1, 100.00, 200.00), Star(3, 40.00, 110.00)}), true},
        {"one star in common tells nothing", At(1100, {Star(3, 400.00, 400.00)}), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StartsSession(before, c.after), c.starts) << c.what;
    }
}

TEST(Sessions, NumberedInTimeOrderWithoutTheRecordsThatHaveNoTime) {
    const std::vector<ListRecord> records = {At(90000, {}), At(0, {}), At(1000, {}), At(2000, {}),
                                             At(60000, {})};
    const std::vector<Session> sessions = FormSessions(records, {1, 2, 3, 4, 0});
    ASSERT_EQ(sessions.size(), 3u);
    EXPECT_EQ(sessions[0].records, (std::vector<std::size_t>{2, 3}));
    EXPECT_EQ(sessions[1].records, (std::vector<std::size_t>{4}));
    EXPECT_EQ(sessions[2].number, 3);
    EXPECT_EQ(sessions[2].records, (std::vector<std::size_t>{0}));
}

}  // namespace
}  // namespace corvane::test
