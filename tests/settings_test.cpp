// Settings against real profile files in the Wine prefix's Windows folder.
#include "colortext_cases.h"
#include "settings.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <limits.h>
#include <stdio.h>
#include <string.h>

#include <string>

static const char DEFAULT_FILE[] = "[Position]\n"
                                   "X=0\n"
                                   "Y=0\n"
                                   "OnTop=0\n"
                                   "ShowDate=0\n"
                                   "[Colors]\n"
                                   "Hours=255, 255, 192\n"
                                   "Minutes=255, 255, 192\n"
                                   "Seconds=255, 255, 192\n"
                                   "Date=255, 255, 192\n";

class Profile : public ::testing::Test
{
  protected:
    void SetUp() override { RemoveProfile(); }
    void TearDown() override { RemoveProfile(); }
};

static void ExpectSameSettings(const DialSettings& a, const DialSettings& b)
{
    EXPECT_EQ(a.X, b.X);
    EXPECT_EQ(a.Y, b.Y);
    EXPECT_EQ(a.OnTop, b.OnTop);
    EXPECT_EQ(a.ShowDate, b.ShowDate);
    EXPECT_EQ(a.Hours, b.Hours);
    EXPECT_EQ(a.Minutes, b.Minutes);
    EXPECT_EQ(a.Seconds, b.Seconds);
    EXPECT_EQ(a.Date, b.Date);
}

TEST_F(Profile, NoFileGivesTheDefaultsAndTheFirstSaveWritesEightKeysInOrder)
{
    DialSettings settings = LoadSettings();
    DialSettings defaults = {
        0, 0, 0, 0, DEFAULT_COLOR, DEFAULT_COLOR, DEFAULT_COLOR, DEFAULT_COLOR};
    ExpectSameSettings(settings, defaults);
    EXPECT_EQ(GetFileAttributesA(ProfilePath().c_str()), INVALID_FILE_ATTRIBUTES)
        << "loading must not create the file";

    SaveSettings(settings);
    EXPECT_EQ(WithoutCarriageReturns(ReadProfile()), DEFAULT_FILE);
}

TEST_F(Profile, ColourTextsReadThroughTheFile)
{
    for (const ColorTextCase& row : COLOR_TEXT_CASES) {
        if (strpbrk(row.text, "\r\n") != nullptr) {
            continue; // a line break ends the value in a file
        }
        ASSERT_TRUE(WriteProfile(std::string("[Colors]\r\nMinutes=") + row.text + "\r\n"));
        DialSettings settings = LoadSettings();
        EXPECT_EQ(settings.Minutes, row.color) << "text \"" << row.text << "\"";
        EXPECT_EQ(settings.Hours, DEFAULT_COLOR) << "an absent key gives the default";
    }
}

TEST_F(Profile, PresentKeyWithEmptyTextIsBlackNotTheDefault)
{
    ASSERT_TRUE(WriteProfile("[Colors]\r\nHours=\r\nSeconds=0, 0, 255\r\n"));
    DialSettings settings = LoadSettings();
    EXPECT_EQ(settings.Hours, 0x00000000u);
    EXPECT_EQ(settings.Minutes, DEFAULT_COLOR);
    EXPECT_EQ(settings.Seconds, 0x00FF0000u);
}

TEST_F(Profile, ColourTextIsCutToThirtyNineCharacters)
{
    // The blue part starts at character 40, past the cut: blue reads as 0.
    std::string text = "1, 2," + std::string(34, ' ') + "77";
    ASSERT_EQ(text.size(), 41u);
    ASSERT_TRUE(WriteProfile("[Colors]\r\nDate=" + text + "\r\n"));
    EXPECT_EQ(LoadSettings().Date, 0x00000201u);

    // Digits cut at character 39: "123" stands at 37..39 and the rest is dropped.
    text = "1, 2," + std::string(31, ' ') + "123456";
    ASSERT_TRUE(WriteProfile("[Colors]\r\nDate=" + text + "\r\n"));
    EXPECT_EQ(LoadSettings().Date, 0x00000201u | (123u << 16));
}

TEST_F(Profile, SwitchesReadAnyNonZeroAsOnAndAreWrittenBackAsOne)
{
    const struct {
        const char* text;
        uint8_t value;
    } rows[] = {{"7", 1}, {"-1", 1}, {"1", 1}, {"0", 0}, {"", 0}};
    for (const auto& row : rows) {
        ASSERT_TRUE(WriteProfile(std::string("[Position]\r\nOnTop=") + row.text +
                                 "\r\nShowDate=" + row.text + "\r\n"));
        DialSettings settings = LoadSettings();
        EXPECT_EQ(settings.OnTop, row.value) << row.text;
        EXPECT_EQ(settings.ShowDate, row.value) << row.text;
        SaveSettings(settings);
        std::string content = WithoutCarriageReturns(ReadProfile());
        std::string expected = row.value ? "OnTop=1\nShowDate=1\n" : "OnTop=0\nShowDate=0\n";
        EXPECT_NE(content.find(expected), std::string::npos) << content;
    }
}

TEST_F(Profile, PositionsRoundTripOverTheWholeIntegerRange)
{
    const int32_t values[] = {0, -20, 1, -1, 32767, -32768, 65536, INT_MAX, INT_MIN, INT_MIN + 1};
    for (int32_t x : values) {
        DialSettings settings = {x, -x / 2, 1, 0, 0x123456, 0, 0xFFFFFF, 0x00C0FFFF};
        SaveSettings(settings);
        DialSettings loaded = LoadSettings();
        ExpectSameSettings(loaded, settings);
    }
    ASSERT_TRUE(WriteProfile("[Position]\r\nX=-20\r\n"));
    DialSettings settings = LoadSettings();
    EXPECT_EQ(settings.X, -20);
    SaveSettings(settings);
    EXPECT_NE(WithoutCarriageReturns(ReadProfile()).find("X=-20\n"), std::string::npos);
}

TEST_F(Profile, SavedColoursReadBackWithoutTheirTopByte)
{
    uint32_t color = 0xFF000001;
    for (int i = 0; i < 200; i++) {
        DialSettings settings = {i, -i, 0, 1, color, color ^ 0xFFFFFFFF, color >> 3, color * 7};
        SaveSettings(settings);
        DialSettings loaded = LoadSettings();
        EXPECT_EQ(loaded.Hours, settings.Hours & 0x00FFFFFF);
        EXPECT_EQ(loaded.Minutes, settings.Minutes & 0x00FFFFFF);
        EXPECT_EQ(loaded.Seconds, settings.Seconds & 0x00FFFFFF);
        EXPECT_EQ(loaded.Date, settings.Date & 0x00FFFFFF);
        EXPECT_EQ(loaded.X, i);
        color = color * 2654435761u + 977u;
    }
    std::string content = ReadProfile();
    EXPECT_EQ(content.find("256"), std::string::npos) << "no part beyond 255 is written";
}

TEST_F(Profile, SaveOverAnOldFileKeepsOtherKeysAndSections)
{
    ASSERT_TRUE(WriteProfile("[Other]\r\nKeep=me\r\n[Position]\r\nX=5\r\nNote=mine\r\n"));
    DialSettings settings = LoadSettings();
    EXPECT_EQ(settings.X, 5);
    settings.X = 6;
    SaveSettings(settings);
    std::string content = WithoutCarriageReturns(ReadProfile());
    EXPECT_NE(content.find("[Other]\nKeep=me\n"), std::string::npos) << content;
    EXPECT_NE(content.find("Note=mine"), std::string::npos) << content;
    EXPECT_NE(content.find("X=6\n"), std::string::npos) << content;
}

TEST_F(Profile, ASaveThatCannotWriteCrashesNothingAndTheNextOneWritesAll)
{
    ASSERT_TRUE(CreateDirectoryA(ProfilePath().c_str(), nullptr));
    DialSettings settings = {-300, 400, 1, 1, 0x010203, 0x040506, 0x070809, 0x0A0B0C};
    SaveSettings(settings);
    EXPECT_TRUE(GetFileAttributesA(ProfilePath().c_str()) & FILE_ATTRIBUTE_DIRECTORY);

    ASSERT_TRUE(RemoveDirectoryA(ProfilePath().c_str()));
    SaveSettings(settings);
    std::string content = WithoutCarriageReturns(ReadProfile());
    EXPECT_EQ(content, "[Position]\nX=-300\nY=400\nOnTop=1\nShowDate=1\n[Colors]\n"
                       "Hours=3, 2, 1\nMinutes=6, 5, 4\nSeconds=9, 8, 7\nDate=12, 11, 10\n");
    ExpectSameSettings(LoadSettings(), settings);
}
