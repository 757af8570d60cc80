// Reads the resources back out of the built Tavik.exe and checks their binding facts.
#include "resource.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <math.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

static HMODULE Image;
static std::string ImagePath;

struct Blob {
    const uint8_t* data;
    DWORD size;
};

static Blob Resource(LPCSTR type, int id)
{
    HRSRC found = FindResourceExA(Image, type, MAKEINTRESOURCEA(id),
                                  MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    Blob blob = {nullptr, 0};
    if (found != nullptr) {
        blob.data = (const uint8_t*)LockResource(LoadResource(Image, found));
        blob.size = SizeofResource(Image, found);
    }
    return blob;
}

static uint16_t U16(const uint8_t* p)
{
    return (uint16_t)(p[0] | p[1] << 8);
}
static uint32_t U32(const uint8_t* p)
{
    return U16(p) | (uint32_t)U16(p + 2) << 16;
}

static BOOL CALLBACK CollectType(HMODULE, LPSTR type, LONG_PTR list)
{
    ((std::set<uintptr_t>*)list)->insert(IS_INTRESOURCE(type) ? (uintptr_t)type : 0xFFFFFFFF);
    return TRUE;
}

struct NameList {
    std::vector<uintptr_t> names;
};

static BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR list)
{
    ((NameList*)list)->names.push_back(IS_INTRESOURCE(name) ? (uintptr_t)name : 0xFFFFFFFF);
    return TRUE;
}

static BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR list)
{
    ((std::vector<WORD>*)list)->push_back(language);
    return TRUE;
}

TEST(Resources, InventoryHasIntegerIdsUnderTheNeutralLanguageOnly)
{
    std::set<uintptr_t> types;
    EnumResourceTypesA(Image, CollectType, (LONG_PTR)&types);
    // cursor, bitmap, icon, dialog, group cursor, group icon, version, manifest;
    // no menu, string table or accelerators.
    std::set<uintptr_t> expected = {1, 2, 3, 5, 12, 14, 16, 24};
    EXPECT_EQ(types, expected);

    const struct {
        uintptr_t type;
        std::vector<uintptr_t> names;
    } rows[] = {{1, {1, 2, 3, 4, 5, 6}},  {2, {2, 3}},     {3, {1, 2, 3}}, {5, {2}},
                {12, {1, 2, 3, 4, 5, 6}}, {14, {1, 2, 3}}, {16, {1}},      {24, {1}}};
    for (const auto& row : rows) {
        NameList list;
        EnumResourceNamesA(Image, MAKEINTRESOURCEA(row.type), CollectName, (LONG_PTR)&list);
        EXPECT_EQ(list.names, row.names) << "type " << row.type;
        for (uintptr_t name : row.names) {
            std::vector<WORD> languages;
            EnumResourceLanguagesA(Image, MAKEINTRESOURCEA(row.type), MAKEINTRESOURCEA(name),
                                   CollectLanguage, (LONG_PTR)&languages);
            EXPECT_EQ(languages, std::vector<WORD>{0}) << "type " << row.type << " id " << name;
        }
    }
}

// The 16 VGA colours as blue, green, red, 0.
static const uint8_t VGA[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                   {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                   {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                   {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

static void ExpectBitmapHeader(const uint8_t* h, int width, int height, int bits, uint32_t image)
{
    EXPECT_EQ(U32(h), 40u);
    EXPECT_EQ((int32_t)U32(h + 4), width);
    EXPECT_EQ((int32_t)U32(h + 8), height);
    EXPECT_EQ(U16(h + 12), 1);
    EXPECT_EQ(U16(h + 14), bits);
    EXPECT_EQ(U32(h + 16), 0u);
    EXPECT_EQ(U32(h + 20), image);
}

TEST(Resources, IconIsA32x32SixteenColourDialWithAMask)
{
    Blob group = Resource(RT_GROUP_ICON, IDI_APP);
    ASSERT_EQ(group.size, 20u);
    EXPECT_EQ(U16(group.data + 2), 1); // icon
    EXPECT_EQ(U16(group.data + 4), 1); // one entry
    const uint8_t* entry = group.data + 6;
    EXPECT_EQ(entry[0], 32);
    EXPECT_EQ(entry[1], 32);
    EXPECT_EQ(entry[2], 16);
    EXPECT_EQ(U16(entry + 4), 1);
    EXPECT_EQ(U16(entry + 6), 4);
    EXPECT_EQ(U32(entry + 8), 744u);
    EXPECT_EQ(U16(entry + 12), 1);

    Blob icon = Resource(RT_ICON, 1);
    ASSERT_EQ(icon.size, 744u);
    ExpectBitmapHeader(icon.data, 32, 64, 4, 640);
    for (int i = 0; i < 16; i++) {
        const uint8_t* c = icon.data + 40 + 4 * i;
        EXPECT_EQ(c[2], VGA[i][0]) << i;
        EXPECT_EQ(c[1], VGA[i][1]) << i;
        EXPECT_EQ(c[0], VGA[i][2]) << i;
    }
    const uint8_t* pixels = icon.data + 40 + 64;
    const uint8_t* mask = pixels + 512;
    std::set<int> used;
    for (int y = 0; y < 32; y++) {
        for (int x = 0; x < 32; x++) {
            int row = 31 - y;
            bool transparent = (mask[row * 4 + x / 8] >> (7 - x % 8)) & 1;
            int color = (pixels[row * 16 + x / 2] >> (x % 2 ? 0 : 4)) & 15;
            double r = hypot(x - 15.5, y - 15.5);
            if (r > 16.5) {
                EXPECT_TRUE(transparent) << x << "," << y;
            }
            if (r < 14.0) {
                EXPECT_FALSE(transparent) << x << "," << y;
            }
            if (!transparent) {
                used.insert(color);
            }
        }
    }
    EXPECT_EQ(used, (std::set<int>{0, 7, 8, 11, 15})); // black, greys, yellow, white
}

struct CursorFacts {
    int id;
    int left, right, top, bottom;
};

static std::vector<std::string> CursorRows(const Blob& cursor)
{
    std::vector<std::string> rows(32, std::string(32, '.'));
    const uint8_t* color = cursor.data + 4 + 40 + 8;
    const uint8_t* mask = color + 128;
    for (int y = 0; y < 32; y++) {
        for (int x = 0; x < 32; x++) {
            int row = 31 - y;
            int c = (color[row * 4 + x / 8] >> (7 - x % 8)) & 1;
            int m = (mask[row * 4 + x / 8] >> (7 - x % 8)) & 1;
            rows[y][x] = m ? (c ? '!' : '.') : (c ? 'o' : 'X');
        }
    }
    return rows;
}

TEST(Resources, CursorsAreMonochromeHandsWithTheirHotSpotInThePalm)
{
    const CursorFacts cursors[] = {{IDC_HAND_OPEN, 7, 22, 7, 22}, {IDC_HAND_GRAB, 9, 21, 12, 22}};
    std::vector<std::string> pictures[2];
    for (int i = 0; i < 2; i++) {
        const CursorFacts& facts = cursors[i];
        Blob group = Resource(RT_GROUP_CURSOR, facts.id);
        ASSERT_EQ(group.size, 20u);
        EXPECT_EQ(U16(group.data + 2), 2); // cursor
        EXPECT_EQ(U16(group.data + 4), 1);
        const uint8_t* entry = group.data + 6;
        EXPECT_EQ(U16(entry), 32);
        EXPECT_EQ(U16(entry + 2), 64);
        EXPECT_EQ(U16(entry + 4), 1);
        EXPECT_EQ(U16(entry + 6), 1);
        EXPECT_EQ(U32(entry + 8), 308u);
        EXPECT_EQ(U16(entry + 12), facts.id);

        Blob cursor = Resource(RT_CURSOR, facts.id);
        ASSERT_EQ(cursor.size, 308u);
        EXPECT_EQ(U16(cursor.data), 15);
        EXPECT_EQ(U16(cursor.data + 2), 15);
        ExpectBitmapHeader(cursor.data + 4, 32, 64, 1, 256);
        EXPECT_EQ(U32(cursor.data + 44), 0x00000000u);
        EXPECT_EQ(U32(cursor.data + 48), 0x00FFFFFFu);

        std::vector<std::string> rows = CursorRows(cursor);
        int left = 99, right = -1, top = 99, bottom = -1;
        for (int y = 0; y < 32; y++) {
            for (int x = 0; x < 32; x++) {
                EXPECT_NE(rows[y][x], '!') << "inverting pixel at " << x << "," << y;
                if (rows[y][x] != '.') {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        EXPECT_EQ(left, facts.left);
        EXPECT_EQ(right, facts.right);
        EXPECT_EQ(top, facts.top);
        EXPECT_EQ(bottom, facts.bottom);
        EXPECT_EQ(rows[15][15], 'o') << "hot spot inside the white palm";
        pictures[i] = rows;

        HCURSOR loaded = LoadCursorA(Image, MAKEINTRESOURCEA(facts.id));
        ASSERT_NE(loaded, nullptr);
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(loaded, &info));
        EXPECT_EQ(info.xHotspot, 15u);
        EXPECT_EQ(info.yHotspot, 15u);
        DeleteObject(info.hbmMask);
        if (info.hbmColor) {
            DeleteObject(info.hbmColor);
        }
    }
    for (int y = 17; y <= 22; y++) {
        EXPECT_EQ(pictures[0][y], pictures[1][y]) << "heel row " << y;
    }
    EXPECT_NE(pictures[0], pictures[1]);
}

// For scaled displays the icon and both hands again at 48 and 64 pixels, in the
// same formats (16 colours; monochrome), the hot spot scaled, in the palm.
TEST(Resources, TheIconAndTheHandsAt48And64Pixels)
{
    const struct {
        int size, icon, open, grab, hotSpot;
    } rows[] = {{48, IDI_APP_48, IDC_HAND_OPEN_48, IDC_HAND_GRAB_48, 23},
                {64, IDI_APP_64, IDC_HAND_OPEN_64, IDC_HAND_GRAB_64, 31}};
    for (const auto& row : rows) {
        Blob group = Resource(RT_GROUP_ICON, row.icon);
        ASSERT_EQ(group.size, 20u);
        EXPECT_EQ(group.data[6], row.size);
        EXPECT_EQ(group.data[8], 16) << "colours";
        EXPECT_EQ(U16(group.data + 12), 4) << "bits";
        for (int id : {row.open, row.grab}) {
            Blob cursor = Resource(RT_GROUP_CURSOR, id);
            ASSERT_EQ(cursor.size, 20u);
            EXPECT_EQ(U16(cursor.data + 6), row.size);
            EXPECT_EQ(U16(cursor.data + 10), 1) << "planes";
            EXPECT_EQ(U16(cursor.data + 12), 1) << "bits";
            HCURSOR loaded = (HCURSOR)LoadImageA(Image, MAKEINTRESOURCEA(id), IMAGE_CURSOR,
                                                 row.size, row.size, 0);
            ASSERT_NE(loaded, nullptr);
            ICONINFO info = {};
            ASSERT_TRUE(GetIconInfo(loaded, &info));
            EXPECT_EQ(info.xHotspot, (DWORD)row.hotSpot);
            EXPECT_EQ(info.yHotspot, (DWORD)row.hotSpot);
            BITMAP mask = {};
            GetObjectA(info.hbmMask, sizeof mask, &mask);
            EXPECT_EQ(mask.bmWidth, row.size);
            // In the palm: drawn (mask 0) and white (the colour half's bit 1).
            HDC dc = CreateCompatibleDC(nullptr);
            HGDIOBJ old = SelectObject(dc, info.hbmMask);
            EXPECT_EQ(GetPixel(dc, row.hotSpot, row.hotSpot), RGB(0, 0, 0));
            EXPECT_EQ(GetPixel(dc, row.hotSpot, row.size + row.hotSpot), RGB(255, 255, 255));
            SelectObject(dc, old);
            DeleteDC(dc);
            DeleteObject(info.hbmMask);
            if (info.hbmColor) {
                DeleteObject(info.hbmColor);
            }
            DestroyCursor(loaded);
        }
    }
}

struct Dial {
    std::vector<std::vector<int>> index; // [y][x], top-down
    uint32_t table[256];
};

static Dial ReadDial(int id)
{
    Dial dial;
    Blob bitmap = Resource(RT_BITMAP, id);
    if (bitmap.size != 5416) {
        ADD_FAILURE() << "bitmap " << id << " has " << bitmap.size << " bytes";
        return dial;
    }
    for (int i = 0; i < 256; i++) {
        dial.table[i] = U32(bitmap.data + 40 + 4 * i);
    }
    const uint8_t* bits = bitmap.data + 40 + 1024;
    dial.index.assign(64, std::vector<int>(65));
    for (int y = 0; y < 64; y++) {
        for (int x = 0; x < 65; x++) {
            dial.index[y][x] = bits[(63 - y) * 68 + x];
        }
    }
    return dial;
}

static uint32_t ColorAt(const Dial& dial, int x, int y)
{
    return dial.table[dial.index[y][x]] & 0x00FFFFFF; // 0x00RRGGBB as stored
}

static uint32_t Rgb(int r, int g, int b)
{
    return (uint32_t)(r << 16 | g << 8 | b);
}

TEST(Resources, DialBitmapsHaveTheirHeaderCornersAndEdges)
{
    for (int id : {IDB_DIAL_NUMERALS, IDB_DIAL_PLAIN}) {
        Blob bitmap = Resource(RT_BITMAP, id);
        ASSERT_EQ(bitmap.size, 5416u);
        ExpectBitmapHeader(bitmap.data, 65, 64, 8, 4352);
        EXPECT_EQ(U32(bitmap.data + 24), 2834u);
        EXPECT_EQ(U32(bitmap.data + 28), 2834u);
        EXPECT_EQ(U32(bitmap.data + 32), 256u);
        EXPECT_EQ(U32(bitmap.data + 36), 0u);
        Dial dial = ReadDial(id);
        std::set<int> used;
        for (int y = 0; y < 64; y++) {
            for (int x = 0; x < 65; x++) {
                used.insert(dial.index[y][x]);
            }
            EXPECT_EQ(ColorAt(dial, 64, y), 0u) << "column 64 is black";
            for (int x = 0; x < 3; x++) {
                // Row alignment bytes are zero.
                EXPECT_EQ(bitmap.data[40 + 1024 + (63 - y) * 68 + 65 + x], 0);
            }
        }
        EXPECT_EQ(used.size(), 252u);
        for (int i = 0; i < 256; i++) {
            EXPECT_EQ(dial.table[i] >> 24, 0u) << "reserved byte of entry " << i;
        }
        const int corners[4][2] = {{0, 0}, {63, 0}, {0, 63}, {63, 63}};
        for (const auto& c : corners) {
            EXPECT_EQ(ColorAt(dial, c[0], c[1]), 0u);
        }
        // The disc touches the four sides.
        const int sides[4][2] = {{31, 0}, {0, 31}, {63, 32}, {32, 63}};
        for (const auto& s : sides) {
            EXPECT_NE(ColorAt(dial, s[0], s[1]), 0u) << s[0] << "," << s[1];
        }
        // Face: a diagonal gradient, bright blue at the upper left, navy at the lower right.
        uint32_t upperLeft = ColorAt(dial, 16, 16);
        uint32_t centre = ColorAt(dial, 32, 32);
        uint32_t lowerRight = ColorAt(dial, 48, 48);
        EXPECT_GT(upperLeft & 0xFF, centre & 0xFF);
        EXPECT_GT(centre & 0xFF, lowerRight & 0xFF);
        EXPECT_LT(centre >> 16, centre & 0xFF) << "the face is blue";
        EXPECT_EQ(ColorAt(dial, 32, 5), Rgb(245, 245, 236)) << "the tick at 12";
        uint32_t bezel = ColorAt(dial, 32, 2);
        EXPECT_GT(bezel >> 16, bezel & 0xFF) << "the bezel is gold, not blue";
    }
    EXPECT_NE(memcmp(ReadDial(IDB_DIAL_NUMERALS).table, ReadDial(IDB_DIAL_PLAIN).table, 1024), 0);
}

TEST(Resources, NumeralsStandInTheirBoxesOnTheNumeralsDialOnly)
{
    const uint32_t numeralColors[] = {Rgb(249, 249, 199), Rgb(249, 249, 148), Rgb(231, 231, 137),
                                      Rgb(210, 210, 208)};
    const struct {
        int left, right, top, bottom;
    } boxes[] = {{28, 36, 10, 17}, {49, 54, 28, 35}, {29, 34, 47, 54}, {10, 15, 28, 35}};
    Dial numerals = ReadDial(IDB_DIAL_NUMERALS);
    Dial plain = ReadDial(IDB_DIAL_PLAIN);
    for (const auto& box : boxes) {
        int left = 99, right = -1, top = 99, bottom = -1;
        for (int y = box.top - 3; y <= box.bottom + 3; y++) {
            for (int x = box.left - 3; x <= box.right + 3; x++) {
                uint32_t c = ColorAt(numerals, x, y);
                bool isNumeral = std::find(std::begin(numeralColors), std::end(numeralColors), c) !=
                                 std::end(numeralColors);
                if (isNumeral) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
                bool inBox = x >= box.left && x <= box.right && y >= box.top && y <= box.bottom;
                uint32_t p = ColorAt(plain, x, y);
                if (inBox) {
                    EXPECT_GT(p & 0xFF, (p >> 16) + 20) << "plain face at " << x << "," << y;
                }
            }
        }
        EXPECT_EQ(left, box.left);
        EXPECT_EQ(right, box.right);
        EXPECT_EQ(top, box.top);
        EXPECT_EQ(bottom, box.bottom);
    }
    EXPECT_EQ(ColorAt(numerals, 29, 11), Rgb(210, 210, 208)) << "the 1 of 12 is light grey";
}

static std::u16string WideAt(const uint8_t*& p)
{
    std::u16string text;
    while (U16(p) != 0) {
        text += (char16_t)U16(p);
        p += 2;
    }
    p += 2;
    return text;
}

static std::string Narrow(const std::u16string& text)
{
    return std::string(text.begin(), text.end());
}

TEST(Resources, AboutBoxTemplateHasItsStylesSizesFontAndControls)
{
    Blob dialog = Resource(RT_DIALOG, IDD_ABOUT);
    ASSERT_NE(dialog.data, nullptr);
    const uint8_t* p = dialog.data;
    EXPECT_NE(U32(p), 0xFFFF0001u) << "a standard template, not the extended form";
    EXPECT_EQ(U32(p), 0x90C808C4u);
    EXPECT_EQ(U32(p + 4), 0u);
    EXPECT_EQ(U16(p + 8), 4);
    EXPECT_EQ((int16_t)U16(p + 10), 0);
    EXPECT_EQ((int16_t)U16(p + 12), 0);
    EXPECT_EQ(U16(p + 14), 199);
    EXPECT_EQ(U16(p + 16), 59);
    p += 18;
    EXPECT_EQ(U16(p), 0) << "no menu";
    p += 2;
    EXPECT_EQ(U16(p), 0) << "the platform's dialog class";
    p += 2;
    EXPECT_EQ(Narrow(WideAt(p)), "About Tavik...");
    EXPECT_EQ(U16(p), 8);
    p += 2;
    EXPECT_EQ(Narrow(WideAt(p)), "MS Sans Serif");

    const struct {
        uint16_t classOrdinal;
        uint16_t id;
        uint32_t style;
        int x, y, cx, cy;
        int iconOrdinal; // text given by number, or 0
        const char* text;
    } controls[] = {
        {0x82, 103, 0x50801003, 8, 8, 24, 22, IDI_APP, nullptr},
        {0x82, 102, 0x50000001, 35, 8, 152, 8, 0, "Round Tavik for Windows 95"},
        {0x82, 104, 0x50000001, 35, 20, 152, 8, 0, nullptr},
        {0x80, 1, 0x50010301, 74, 41, 50, 14, 0, "OK"},
    };
    for (const auto& control : controls) {
        p = dialog.data + ((p - dialog.data + 3) & ~3); // DWORD aligned
        EXPECT_EQ(U32(p), control.style) << control.id;
        EXPECT_EQ(U32(p + 4), 0u);
        EXPECT_EQ((int16_t)U16(p + 8), control.x);
        EXPECT_EQ((int16_t)U16(p + 10), control.y);
        EXPECT_EQ((int16_t)U16(p + 12), control.cx);
        EXPECT_EQ((int16_t)U16(p + 14), control.cy);
        EXPECT_EQ(U16(p + 16), control.id);
        p += 18;
        EXPECT_EQ(U16(p), 0xFFFF);
        EXPECT_EQ(U16(p + 2), control.classOrdinal);
        p += 4;
        if (control.iconOrdinal) {
            EXPECT_EQ(U16(p), 0xFFFF);
            EXPECT_EQ(U16(p + 2), control.iconOrdinal);
            p += 4;
        } else {
            std::string text = Narrow(WideAt(p));
            if (control.text) {
                EXPECT_EQ(text, control.text);
            } else {
                EXPECT_NE(text.find("Tavik project"), std::string::npos) << text;
            }
        }
        EXPECT_EQ(U16(p), 0) << "no creation data";
        p += 2;
    }
    EXPECT_LE((DWORD)(p - dialog.data), dialog.size);
}

static INT_PTR CALLBACK IgnoreAllMessages(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

TEST(Resources, AboutBoxCanBeCreatedWithItsFourControls)
{
    Blob dialog = Resource(RT_DIALOG, IDD_ABOUT);
    ASSERT_NE(dialog.data, nullptr);
    // The test links the same resource script, so its own module supplies the icon.
    HWND box = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), (LPCDLGTEMPLATEA)dialog.data,
                                          nullptr, IgnoreAllMessages, 0);
    ASSERT_NE(box, nullptr) << "error " << GetLastError();
    char caption[64];
    GetWindowTextA(box, caption, sizeof caption);
    EXPECT_STREQ(caption, "About Tavik...");
    int count = 0;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        count++;
    }
    EXPECT_EQ(count, 4);
    char text[64];
    GetDlgItemTextA(box, 1, text, sizeof text);
    EXPECT_STREQ(text, "OK");
    GetDlgItemTextA(box, 102, text, sizeof text);
    EXPECT_STREQ(text, "Round Tavik for Windows 95");
    EXPECT_NE(GetDlgItem(box, 103), nullptr);
    EXPECT_NE(GetDlgItem(box, 104), nullptr);
    DestroyWindow(box);
}

TEST(Resources, VersionBlockHasItsFixedPartStringsAndTranslation)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(ImagePath.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(ImagePath.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", (void**)&fixed, &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwStrucVersion, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010002u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010002u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, 4u);
    EXPECT_EQ(fixed->dwFileType, 1u);
    EXPECT_EQ(fixed->dwFileSubtype, 0u);
    EXPECT_EQ(fixed->dwFileDateMS, 0u);
    EXPECT_EQ(fixed->dwFileDateLS, 0u);

    const char* exact[][2] = {{"FileDescription", "Round tavik for Windows"},
                              {"FileVersion", "1.2"},
                              {"InternalName", "Tavik"},
                              {"LegalTrademarks", ""},
                              {"OriginalFilename", "Tavik.exe"},
                              {"ProductName", "Tavik"},
                              {"ProductVersion", "1.2"}};
    for (const auto& row : exact) {
        char* value = nullptr;
        std::string key = std::string("\\StringFileInfo\\040904E4\\") + row[0];
        ASSERT_TRUE(VerQueryValueA(block.data(), key.c_str(), (void**)&value, &length)) << row[0];
        EXPECT_STREQ(value, row[1]);
    }
    for (const char* key : {"CompanyName", "LegalCopyright", "PrivateBuild"}) {
        char* value = nullptr;
        std::string path = std::string("\\StringFileInfo\\040904E4\\") + key;
        ASSERT_TRUE(VerQueryValueA(block.data(), path.c_str(), (void**)&value, &length)) << key;
        EXPECT_NE(std::string(value).find("Tavik project"), std::string::npos) << value;
    }
    WORD* translation = nullptr;
    ASSERT_TRUE(
        VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", (void**)&translation, &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1252);

    // The keys stand in the table in this order.
    Blob raw = Resource(RT_VERSION, 1);
    std::string text;
    for (DWORD i = 0; i + 1 < raw.size; i += 2) {
        text += (char)raw.data[i];
    }
    const char* order[] = {"CompanyName",    "FileDescription", "FileVersion",      "InternalName",
                           "LegalCopyright", "LegalTrademarks", "OriginalFilename", "ProductName",
                           "ProductVersion", "PrivateBuild"};
    size_t at = text.find("040904E4");
    ASSERT_NE(at, std::string::npos);
    for (const char* key : order) {
        size_t next = text.find(key, at);
        ASSERT_NE(next, std::string::npos) << key;
        at = next;
    }
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        fprintf(stderr, "usage: resources_test PATH-OF-Tavik.exe\n");
        return 2;
    }
    ImagePath = argv[1];
    Image = LoadLibraryExA(ImagePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (Image == nullptr) {
        fprintf(stderr, "cannot load %s\n", ImagePath.c_str());
        return 2;
    }
    return RUN_ALL_TESTS();
}
