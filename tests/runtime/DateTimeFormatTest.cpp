#include <gtest/gtest.h>

#include "runtime/PictureFormat.h"

namespace dv {
namespace {

// Two-digit years depend on today's year: the tests fix it at 15 June 2024.
class DateTimeFormat : public ::testing::Test {
  protected:
    void SetUp() override { setFixedToday(dayNumber(2024, 6, 15)); }
    void TearDown() override { setFixedToday(0); }
};

TEST_F(DateTimeFormat, ShowsDatesInEveryStyle) {
    const DayNumber day = dayNumber(2024, 2, 1);
    const std::pair<const char*, const char*> cases[] = {
        {"@D1", "2/1/24"},        {"@D2", "2/1/2024"},        {"@D02", "02/01/2024"},
        {"@D3", "feb 1, 2024"},   {"@D4", "februar 1, 2024"}, {"@D5.", "1.2.24"},
        {"D6.", "1.2.2024"},      {"D06.B", "01.02.2024"},    {"@D7", "1 feb 24"},
        {"@D8", "1 feb 2024"},    {"@D9", "24/2/1"},          {"@D10-", "2024-2-1"},
        {"@D010-", "2024-02-01"}, {"@D11", "240201"},         {"@D12", "20240201"},
        {"@D13", "2/24"},         {"@D14", "2/2024"},         {"@D15", "24/2"},
        {"@D16", "2024/2"},       {"@D17", "01.02.2024"},     {"@D18", "1. februar 2024"},
        {"@D6`", "1,2,2024"},     {"@D6_", "1 2 2024"},       {"@D05.", "01.02.24"},
    };
    for (const auto& [picture, expected] : cases)
        EXPECT_EQ(formatDate(day, Picture::of(picture)), expected) << picture;
    EXPECT_EQ(formatDate(dayNumber(1905, 11, 30), Picture::of("@D5.")), "30.11.05");
    EXPECT_EQ(formatDate(dayNumber(2024, 9, 3), Picture::of("@D4")), "september 3, 2024");
}

TEST_F(DateTimeFormat, NoDateIsBlankAndAnImpossibleOneIsHashes) {
    EXPECT_EQ(formatDate(0, Picture::of("D06.B")), "");
    EXPECT_EQ(formatDate(0, Picture::of("D06.")), "");
    EXPECT_EQ(formatDate(lastValidDay + 1, Picture::of("D06.")), "##########");
    EXPECT_EQ(formatDate(-7, Picture::of("@D1")), "########");
}

TEST_F(DateTimeFormat, ReadsDatesAsUsersTypeThem) {
    const DayNumber expected = dayNumber(2024, 2, 1);
    const Picture picture = Picture::of("@D06.");
    for (const char* typed :
         {"1.2.2024", "01.02.2024", "1.2.24", "1/2/2024", "1-2-2024", " 1. 2. 2024 ", "01022024",
          "010224", "1.2", "0102", "1 feb 2024", "1. februar 2024", "1 FEB 24", "1 Feb. 2024"}) {
        const auto read = deformatDate(typed, picture);
        ASSERT_TRUE(read.ok()) << typed;
        EXPECT_EQ(read.value, expected) << typed;
    }
    EXPECT_EQ(deformatDate("", picture).value, 0);
    EXPECT_TRUE(deformatDate("  ", picture).ok());
}

TEST_F(DateTimeFormat, ReadsQueryDatesInThePicturesOrder) {
    const DayNumber expected = dayNumber(2024, 2, 1);
    EXPECT_EQ(deformatDate("2/1/2024", Picture::of("@D2")).value, expected);
    EXPECT_EQ(deformatDate("2024-02-01", Picture::of("@D10-")).value, expected);
}

TEST_F(DateTimeFormat, RefusesWhatIsNotADate) {
    const Picture picture = Picture::of("@D06.");
    for (const char* typed : {"31.2.2024", "29.2.2023", "32.1.2024", "1.13.2024", "0.1.2024", "abc",
                              "1.2.2024.5", "1.2.123", "1#2#2024", "1 foo 2024", "1 feb mar 2024",
                              "1", "0102202", "1.1.1800", "1.1.10000", "1.2.20245"}) {
        const auto read = deformatDate(typed, picture);
        EXPECT_EQ(read.error, InputError::notDate) << typed;
    }
    EXPECT_NE(inputErrorMessage(InputError::notDate, picture).find("31.12.2024"),
              std::string::npos);
}

TEST_F(DateTimeFormat, TwoDigitYearsFallInThePicturesWindow) {
    const Picture standard = Picture::of("@D6.");  // 1944 .. 2043 while it is 2024
    EXPECT_EQ(civilDate(deformatDate("1.2.44", standard).value).year, 1944);
    EXPECT_EQ(civilDate(deformatDate("1.2.43", standard).value).year, 2043);
    EXPECT_EQ(civilDate(deformatDate("1.2.00", standard).value).year, 2000);
    EXPECT_EQ(civilDate(deformatDate("1.2.5", standard).value).year, 2005);
    const Picture future = Picture::of("@D6.>40");  // 1964 .. 2063
    EXPECT_EQ(civilDate(deformatDate("1.2.63", future).value).year, 2063);
    EXPECT_EQ(civilDate(deformatDate("1.2.64", future).value).year, 1964);
}

TEST_F(DateTimeFormat, EveryStyleReadsBackWhatItShows) {
    for (int style = 1; style <= 18; ++style) {
        for (const char* flags : {"", "0"}) {
            const Picture picture = Picture::of("@D" + std::string(flags) + std::to_string(style));
            const bool monthly = style >= 13 && style <= 16;
            for (DayNumber day = dayNumber(1950, 1, 1); day < dayNumber(2040, 1, 1); day += 37) {
                const std::string shown = formatDate(day, picture);
                const auto read = deformatDate(shown, picture);
                ASSERT_TRUE(read.ok()) << shown << " in " << picture.text();
                CivilDate expected = civilDate(day);
                if (monthly) expected.day = 1;
                ASSERT_EQ(civilDate(read.value), expected) << shown << " in " << picture.text();
            }
        }
    }
}

TEST_F(DateTimeFormat, ShowsTimesInEveryStyle) {
    const TimeValue morning = timeValue(8, 5, 30);
    const std::pair<const char*, const char*> cases[] = {
        {"@T1", "8:05"},    {"@T01", "08:05"},    {"@T2", "0805"},   {"@T3", "8:05AM"},
        {"@T4", "8:05:30"}, {"@T04", "08:05:30"}, {"@T5", "080530"}, {"@T6", "8:05:30AM"},
        {"@T7", "8:05"},    {"@T8", "8:05:30"},   {"@T1.", "8.05"},  {"@T01-", "08-05"},
    };
    for (const auto& [picture, expected] : cases)
        EXPECT_EQ(formatTime(morning, Picture::of(picture)), expected) << picture;
    EXPECT_EQ(formatTime(timeValue(20, 5), Picture::of("@T3")), "8:05PM");
    EXPECT_EQ(formatTime(timeValue(0, 5), Picture::of("@T3")), "12:05AM");
    EXPECT_EQ(formatTime(timeValue(12, 5), Picture::of("@T3")), "12:05PM");
    EXPECT_EQ(formatTime(0, Picture::of("@T1")), "");
    EXPECT_EQ(formatTime(lastValidTime + 1, Picture::of("@T4")), "########");
}

TEST_F(DateTimeFormat, ReadsTimesAsUsersTypeThem) {
    const Picture picture = Picture::of("@T4");
    const std::pair<const char*, TimeValue> cases[] = {
        {"8:05", timeValue(8, 5)},
        {"08:05:30", timeValue(8, 5, 30)},
        {"0805", timeValue(8, 5)},
        {"805", timeValue(8, 5)},
        {"8", timeValue(8, 0)},
        {"08:05:30.25", timeValue(8, 5, 30, 25)},
        {"8:05:30.5", timeValue(8, 5, 30, 50)},
        {"8:05 pm", timeValue(20, 5)},
        {"12:00 AM", timeValue(0, 0)},
        {"12:00PM", timeValue(12, 0)},
    };
    for (const auto& [typed, expected] : cases) {
        const auto read = deformatTime(typed, picture);
        ASSERT_TRUE(read.ok()) << typed;
        EXPECT_EQ(read.value, expected) << typed;
    }
    EXPECT_EQ(deformatTime(" ", picture).value, 0);
}

TEST_F(DateTimeFormat, RefusesWhatIsNotATime) {
    const Picture picture = Picture::of("@T1");
    for (const char* typed : {"24:00", "8:60", "8:00:60", "13:00 pm", "0:30 am", "8:5:3:2:1", "abc",
                              "1234567", "8;05", "008:05"}) {
        EXPECT_EQ(deformatTime(typed, picture).error, InputError::notTime) << typed;
    }
    EXPECT_NE(inputErrorMessage(InputError::notTime, picture).find("14:30"), std::string::npos);
}

TEST_F(DateTimeFormat, EveryTimeStyleReadsBackWhatItShows) {
    for (int style = 1; style <= 8; ++style) {
        const Picture picture = Picture::of("@T" + std::to_string(style));
        const bool seconds = picture.layout().find('s') != std::string_view::npos;
        for (int hour = 0; hour < 24; ++hour) {
            const TimeValue time = timeValue(hour, (hour * 7) % 60, seconds ? (hour * 13) % 60 : 0);
            const std::string shown = formatTime(time, picture);
            const auto read = deformatTime(shown, picture);
            ASSERT_TRUE(read.ok()) << shown << " in " << picture.text();
            EXPECT_EQ(read.value, time) << shown << " in " << picture.text();
        }
    }
}

}  // namespace
}  // namespace dv
