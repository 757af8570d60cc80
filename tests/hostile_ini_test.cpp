// Damaged and strange profile files: loading never crashes, the record keeps its
// invariants, and the next save leaves the eight keys readable in their own form.
#include "colortext.h"
#include "profile_records.h"
#include "settings.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

struct HostileFile {
    const char* name;
    std::string content;
};

static std::string RandomBytes(uint32_t seed, size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; i++) {
        seed = seed * 1664525u + 1013904223u;
        bytes[i] = (char)(seed >> 24);
    }
    return bytes;
}

static std::string Utf16(const std::string& ascii)
{
    std::string wide = "\xFF\xFE";
    for (char c : ascii) {
        wide += c;
        wide += '\0';
    }
    return wide;
}

static std::vector<HostileFile> Corpus()
{
    std::vector<HostileFile> files;
    for (uint32_t seed = 1; seed <= 8; seed++) {
        files.push_back({"random bytes", RandomBytes(seed, 4096 * seed)});
        files.push_back(
            {"random bytes after a header", "[Position]\r\nX=" + RandomBytes(seed * 77, 300) +
                                                "\r\n[Colors]\r\n" + RandomBytes(seed * 91, 300)});
    }
    files.push_back({"NUL bytes", std::string("[Position]\r\nX=1\0"
                                              "23\r\nOnTop=\0\r\n[Col\0ors]\r\n"
                                              "Hours=1,\0 2, 3\r\n",
                                              60)});
    files.push_back({"a 1 MiB line", "[Position]\r\nX=" + std::string(1 << 20, '7') +
                                         "\r\n[Colors]\r\nHours=" + std::string(1 << 20, ',') +
                                         "\r\n"});
    files.push_back({"a 1 MiB section name", "[" + std::string(1 << 20, 'P') + "]\r\nX=5\r\n"});
    std::string sections;
    for (int i = 0; i < 10000; i++) {
        sections += "[Section" + std::to_string(i) + "]\r\nKey=" + std::to_string(i) + "\r\n";
    }
    files.push_back({"10,000 sections", sections + "[Position]\r\nX=9\r\n"});
    files.push_back({"keys without values", "[Position]\r\nX\r\nY=\r\nOnTop\r\n=1\r\n[Colors]\r\n"
                                            "Hours\r\nDate=\r\n"});
    files.push_back({"duplicate keys and sections",
                     "[Position]\r\nX=1\r\nX=2\r\n[Position]\r\n"
                     "X=3\r\n[Colors]\r\nDate=1,2,3\r\nDate=4,5,6\r\n"});
    files.push_back({"integers beyond every range",
                     "[Position]\r\nX=99999999999999999999999\r\nY=-99999999999999999999\r\n"
                     "OnTop=4294967296\r\nShowDate=-2147483649\r\n[Colors]\r\n"
                     "Hours=99999999999999999999, -99999999999999999999, 4294967296\r\n"});
    files.push_back({"UTF-8 with BOM",
                     "\xEF\xBB\xBF[Position]\r\nX=12\r\nShowDate=1\r\n[Colors]\r\n"
                     "Hours=1, 2, 3\r\n"});
    files.push_back({"UTF-16 with BOM", Utf16("[Position]\r\nX=34\r\nOnTop=1\r\n[Colors]\r\n"
                                              "Minutes=4, 5, 6\r\n")});
    files.push_back({"only a BOM", "\xFF\xFE"});
    files.push_back({"sections without brackets closed", "[Position\r\nX=5\r\n[Colors\r\n"});
    return files;
}

static void ExpectInvariants(const DialSettings& s, const char* name)
{
    EXPECT_LE(s.OnTop, 1) << name;
    EXPECT_LE(s.ShowDate, 1) << name;
    EXPECT_EQ(s.Hours >> 24, 0u) << name;
    EXPECT_EQ(s.Minutes >> 24, 0u) << name;
    EXPECT_EQ(s.Seconds >> 24, 0u) << name;
    EXPECT_EQ(s.Date >> 24, 0u) << name;
}

TEST(HostileIni, EveryDamagedFileLoadsAndTheNextSaveIsClean)
{
    for (const HostileFile& file : Corpus()) {
        ASSERT_TRUE(WriteProfile(file.content)) << file.name;
        DialSettings loaded = LoadSettings();
        ExpectInvariants(loaded, file.name);

        SaveSettings(loaded);
        FlushProfileCache();
        DialSettings again = LoadSettings();
        EXPECT_TRUE(SameRecord(again, loaded)) << file.name;
        // The eight keys read back in the form a save writes.
        char text[COLOR_TEXT_SIZE];
        char expected[COLOR_TEXT_SIZE];
        const struct {
            const char* key;
            COLORREF color;
        } colors[] = {{"Hours", loaded.Hours},
                      {"Minutes", loaded.Minutes},
                      {"Seconds", loaded.Seconds},
                      {"Date", loaded.Date}};
        for (const auto& c : colors) {
            GetPrivateProfileStringA("Colors", c.key, "", text, sizeof text, PROFILE_FILE_NAME);
            FormatColorText(c.color, expected);
            EXPECT_STREQ(text, expected) << file.name << " " << c.key;
        }
        GetPrivateProfileStringA("Position", "X", "", text, sizeof text, PROFILE_FILE_NAME);
        EXPECT_EQ(std::string(text), std::to_string(loaded.X)) << file.name;
    }
    RemoveProfile();
}

TEST(HostileIni, BomFilesAreReadForWhatTheySay)
{
    ASSERT_TRUE(WriteProfile("\xEF\xBB\xBF[Position]\r\nX=12\r\nShowDate=1\r\n[Colors]\r\n"
                             "Hours=1, 2, 3\r\n"));
    DialSettings utf8 = LoadSettings();
    EXPECT_EQ(utf8.X, 12);
    EXPECT_EQ(utf8.ShowDate, 1);
    EXPECT_EQ(utf8.Hours, RGB(1, 2, 3));
    ASSERT_TRUE(
        WriteProfile(Utf16("[Position]\r\nX=34\r\nOnTop=1\r\n[Colors]\r\nMinutes=4, 5, 6\r\n")));
    DialSettings utf16 = LoadSettings();
    EXPECT_EQ(utf16.X, 34);
    EXPECT_EQ(utf16.OnTop, 1);
    EXPECT_EQ(utf16.Minutes, RGB(4, 5, 6));
    RemoveProfile();
}
