#include "app/LocaleDateTimeFormatter.h"

#include <gtest/gtest.h>

namespace vantel {

TEST(LocaleDateTimeFormatter, FollowsTheRegionalFormatsWithSecondsAndNoZone)
{
    const LocalDateTime t{2026, 12, 6, 23, 15, 7};
    const LocaleDateTimeFormatter japanese(QLocale(QLocale::Japanese, QLocale::Japan));
    EXPECT_EQ(japanese.date(t), "2026/12/06");
    EXPECT_EQ(japanese.time(t), "23:15:07");

    const LocaleDateTimeFormatter german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(german.date(t), "06.12.26");
    EXPECT_EQ(german.time(t), "23:15:07");

    const LocaleDateTimeFormatter american(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(american.date(t).find(','), std::string::npos) << "a log field never holds a comma";
    EXPECT_EQ(american.time(t).find(','), std::string::npos);
    EXPECT_EQ(american.time(t).rfind("11:15:07", 0), 0u) << american.time(t);
}

} // namespace vantel
