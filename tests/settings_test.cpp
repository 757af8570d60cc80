// Settings against real profile files in the Wine prefix's Windows folder, and
// the save lock that several clocks, of several users, share.
#include "colortext_cases.h"
#include "profile_records.h"
#include "settings.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <aclapi.h>
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

// Starts profile_writer, from this test's folder, with the given arguments.
static bool StartWriter(const std::string& arguments, PROCESS_INFORMATION* child)
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string folder(self);
    folder = folder.substr(0, folder.find_last_of('\\') + 1);
    std::string command = "\"" + folder + "profile_writer.exe\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, child) != 0;
}

// Waits for a writer to end; its exit code.
static DWORD EndOfWriter(PROCESS_INFORMATION& child)
{
    DWORD code = 999;
    WaitForSingleObject(child.hProcess, INFINITE);
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return code;
}

TEST(TwoInstances, SavingInTurnAlwaysLeavesExactlyOneWholeRecord)
{
    const int rounds = 1000;
    RemoveProfile();
    // B's record is there first, as if B had saved last.
    SaveSettings(RecordOf('B'));
    FlushProfileCache();

    HANDLE turnA = CreateEventA(nullptr, FALSE, FALSE, "TavikTurnA");
    HANDLE turnB = CreateEventA(nullptr, FALSE, FALSE, "TavikTurnB");
    PROCESS_INFORMATION children[2] = {};
    for (int i = 0; i < 2; i++) {
        ASSERT_TRUE(
            StartWriter(std::string(1, "AB"[i]) + " " + std::to_string(rounds), &children[i]));
    }
    SetEvent(turnA);
    for (PROCESS_INFORMATION& child : children) {
        EXPECT_EQ(EndOfWriter(child), 0u)
            << "rounds in which the file held anything but the other record";
    }
    CloseHandle(turnA);
    CloseHandle(turnB);
    FlushProfileCache();
    EXPECT_EQ(WithoutCarriageReturns(ReadProfile()), CanonicalFile(RecordOf('B')));
    RemoveProfile();
}

// Two clocks closed at the same instant: their saves never mix. Between saves,
// looked at under the clocks' own save lock, and after the last, the file holds
// exactly one of the two records.
TEST(TwoInstances, SavingAtOnceLeavesExactlyOneWholeRecordAtEveryMoment)
{
    const int rounds = 150;
    RemoveProfile();
    SaveSettings(RecordOf('B'));
    FlushProfileCache();
    const std::string records[2] = {CanonicalFile(RecordOf('A')), CanonicalFile(RecordOf('B'))};
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, "TavikGo");
    PROCESS_INFORMATION children[2] = {};
    for (int i = 0; i < 2; i++) {
        ASSERT_TRUE(StartWriter(std::string(1, "AB"[i]) + " " + std::to_string(rounds) + " race",
                                &children[i]));
    }
    SetEvent(go);
    HANDLE lock = OpenSaveLock();
    HANDLE processes[2] = {children[0].hProcess, children[1].hProcess};
    int samples = 0;
    int mixed = 0;
    while (WaitForMultipleObjects(2, processes, TRUE, 0) == WAIT_TIMEOUT) {
        WaitForSingleObject(lock, INFINITE);
        std::string file = WithoutCarriageReturns(ReadProfile());
        ReleaseMutex(lock);
        samples++;
        mixed += file != records[0] && file != records[1];
        Sleep(1);
    }
    EXPECT_EQ(mixed, 0) << "of " << samples << " looks at the file";
    for (PROCESS_INFORMATION& child : children) {
        EXPECT_EQ(EndOfWriter(child), 0u);
    }
    CloseHandle(lock);
    CloseHandle(go);
    FlushProfileCache();
    std::string last = WithoutCarriageReturns(ReadProfile());
    EXPECT_TRUE(last == records[0] || last == records[1]) << last;

    // The lock's name taken by another kind of object: the save goes ahead without it.
    HANDLE squatter = CreateEventA(nullptr, FALSE, FALSE, SAVE_LOCK_NAME);
    ASSERT_NE(squatter, nullptr);
    SaveSettings(RecordOf(last == records[0] ? 'B' : 'A'));
    FlushProfileCache();
    EXPECT_NE(WithoutCarriageReturns(ReadProfile()), last);
    CloseHandle(squatter);
    RemoveProfile();
}

// Saves on a thread of its own, so that a save that hangs fails the test
// instead of stopping it.
static DWORD WINAPI SaveOnThread(void* record)
{
    SaveSettings(*(const DialSettings*)record);
    return 0;
}

// The lock's DACL grants no one more than waiting on it and letting it go: not
// taking it over (WRITE_DAC, WRITE_OWNER), not all access.
static void ExpectOnlyWaitAndRelease(HANDLE lock)
{
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(GetSecurityInfo(lock, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              &dacl, nullptr, &descriptor),
              (DWORD)ERROR_SUCCESS);
    ASSERT_NE(dacl, nullptr) << "a NULL DACL lets anyone do anything";
    EXPECT_GT(dacl->AceCount, 0);
    for (WORD i = 0; i < dacl->AceCount; i++) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        ASSERT_TRUE(GetAce(dacl, i, (void**)&ace));
        EXPECT_EQ(ace->Mask & ~(DWORD)(SYNCHRONIZE | MUTEX_MODIFY_STATE), 0u) << "ACE " << i;
    }
    LocalFree(descriptor);
}

// Another clock's hand on the lock: held past the wait, left by a clock that
// died, or none. Every save ends, writes its whole record, and leaves the lock free.
// Made by another user's clock, the lock is opened for waiting and letting go,
// which is all its DACL grants that user.
TEST(TwoInstances, TheSaveLockNeverHangsNeverDropsASaveAndIsAlwaysLetGo)
{
    HANDLE held = CreateEventA(nullptr, FALSE, FALSE, "TavikHeld");
    HANDLE letGo = CreateEventA(nullptr, TRUE, FALSE, "TavikLetGo");
    PROCESS_INFORMATION maker = {};
    ASSERT_TRUE(StartWriter("foreign", &maker));
    ASSERT_EQ(WaitForSingleObject(held, 60000), WAIT_OBJECT_0);
    HANDLE all = CreateMutexA(nullptr, FALSE, SAVE_LOCK_NAME);
    DWORD refusal = GetLastError();
    EXPECT_EQ(all, nullptr) << "all access granted";
    EXPECT_EQ(refusal, (DWORD)ERROR_ACCESS_DENIED);
    HANDLE opened = OpenSaveLock(); // no ASSERT before the holder lets go: it would wait on
    EXPECT_NE(opened, nullptr);
    EXPECT_EQ(WaitForSingleObject(opened, 0), (DWORD)WAIT_TIMEOUT) << "the other clock holds it";
    SetEvent(letGo);
    EXPECT_EQ(EndOfWriter(maker), 0u);
    ResetEvent(letGo);
    EXPECT_EQ(WaitForSingleObject(opened, 60000), (DWORD)WAIT_OBJECT_0);
    EXPECT_TRUE(ReleaseMutex(opened));
    CloseHandle(opened);
    CloseHandle(all);

    // A handle of its own, never waited on: the lock lives on between the
    // others' handles, as it does while another clock waits for it.
    HANDLE lock = OpenSaveLock();
    ExpectOnlyWaitAndRelease(lock);
    for (const char* hand : {"hold", "die", "none"}) {
        RemoveProfile();
        PROCESS_INFORMATION holder = {};
        if (strcmp(hand, "none") != 0) {
            ASSERT_TRUE(StartWriter(hand, &holder)) << hand;
            ASSERT_EQ(WaitForSingleObject(held, 60000), WAIT_OBJECT_0) << hand;
            if (strcmp(hand, "die") == 0) {
                EXPECT_EQ(EndOfWriter(holder), 0u);
            }
        }
        const DialSettings record = RecordOf('A');
        HANDLE save = CreateThread(nullptr, 0, SaveOnThread, (void*)&record, 0, nullptr);
        ASSERT_EQ(WaitForSingleObject(save, 60000), WAIT_OBJECT_0) << hand << ": the save hung";
        CloseHandle(save);
        FlushProfileCache();
        EXPECT_EQ(WithoutCarriageReturns(ReadProfile()), CanonicalFile(record)) << hand;
        if (strcmp(hand, "hold") == 0) {
            SetEvent(letGo);
            EXPECT_EQ(EndOfWriter(holder), 0u);
            ResetEvent(letGo);
        }
        PROCESS_INFORMATION taker = {};
        ASSERT_TRUE(StartWriter("take", &taker));
        EXPECT_EQ(EndOfWriter(taker), 0u) << hand << ": the lock was left taken after the save";
    }
    CloseHandle(lock);
    CloseHandle(letGo);
    CloseHandle(held);
    RemoveProfile();
}
