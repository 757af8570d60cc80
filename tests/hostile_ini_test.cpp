// Damaged and strange profile files: loading never crashes, the record keeps its
// invariants, and the next save leaves the eight keys readable in their own form.
#include "colortext.h"
#include "profile_records.h"
#include "settings.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <aclapi.h>
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
