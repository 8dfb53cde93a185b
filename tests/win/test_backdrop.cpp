// The backdrop as a real topmost window: band edges, colours read back from the
// screen, and every pixel the banners' drawing sets, recorded at SetPixel.
#include <gtest/gtest.h>
#include <set>
#include "testlib.h"
#include "resource.h"
#include "ui/backdrop.h"

namespace {

struct Dot {
    int x, y;
    COLORREF colour;
};
std::vector<Dot> Dots;
void *RealSetPixel;
COLORREF WINAPI RecordSetPixel(HDC dc, int x, int y, COLORREF colour)
{
    Dots.push_back({x, y, colour});
    return ((COLORREF(WINAPI *)(HDC, int, int, COLORREF))RealSetPixel)(dc, x, y, colour);
}

// A banner bitmap's pixels, read the same way the program reads them.
struct Banner {
    int w = 0, h = 0;
    std::vector<COLORREF> px;
    COLORREF At(int x, int y) const { return px[y * w + x]; }
    int Solid() const
    {
        int n = 0;
        for (COLORREF c : px)
            n += c != MAGENTA;
        return n;
    }
};
Banner LoadBanner(WORD id)
{
    Banner b;
    HDC dc = CreateCompatibleDC(0);
    HBITMAP bmp = LoadBitmapA(GetModuleHandleA(0), MAKEINTRESOURCEA(id));
    HGDIOBJ old = SelectObject(dc, bmp);
    BITMAP info;
    GetObjectA(bmp, sizeof info, &info);
    b.w = info.bmWidth;
    b.h = info.bmHeight;
    for (int y = 0; y < b.h; y++)
        for (int x = 0; x < b.w; x++)
            b.px.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return b;
}

// The gradient's blue at known rows, worked out from the band rule: band i starts at
// row floor(i * (height * 0.003921569)), in single precision, and is blue 255 - i.
struct Row {
    int y, blue;
};
const Row At768[] = {{0, 255}, {2, 255}, {3, 254}, {100, 222}, {383, 128},
                     {384, 128}, {600, 56}, {760, 3}, {765, 1}};
const Row At480[] = {{0, 255}, {1, 254}, {2, 254}, {3, 253}, {240, 127},
                     {470, 5}, {476, 2}, {477, 2}};

TEST(BandEdges, ScreenHeights)
{
    const short at480[] = {0, 1, 3, 5, 7, 9};
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(at480[i], BandEdge(i, 480)) << "480, edge " << i;
    EXPECT_EQ(476, BandEdge(253, 480));
    EXPECT_EQ(478, BandEdge(254, 480));
    const short at768[] = {0, 3, 6, 9};
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(at768[i], BandEdge(i, 768)) << "768, edge " << i;
    EXPECT_EQ(761, BandEdge(253, 768));
    EXPECT_EQ(764, BandEdge(254, 768));
    int empty = 0;
    for (int i = 0; i < 255; i++)
        empty += BandEdge(i, 200) == BandEdge(i + 1, 200);
    EXPECT_EQ(55, empty) << "bands of no height at 200 lines";
    for (int h = 1; h <= 4096; h++)
        ASSERT_EQ(h, BandEdge(255, (short)h)) << "the last band ends at the screen height";
}

class Backdrop : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState();
        SetupState.ScreenWidth = (short)GetSystemMetrics(SM_CXSCREEN);
        SetupState.ScreenHeight = (short)GetSystemMetrics(SM_CYSCREEN);
        Dots.clear();
        RealSetPixel = setPixel_.Original();
        ASSERT_TRUE(setPixel_.Applied());
    }
    void TearDown() override
    {
        if (SetupState.BackdropWindow)
            DestroyWindow(SetupState.BackdropWindow);
        ResetSetupState();
    }
    // A pixel of the backdrop's client area as it shows.
    COLORREF Shown(int x, int y)
    {
        HDC dc = GetDC(SetupState.BackdropWindow);
        COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(SetupState.BackdropWindow, dc);
        return c;
    }
    // The blue of a row by the band rule, written out here once more for the rows the
    // banners cover; the literal rows above check the rule itself.
    COLORREF Band(int y)
    {
        volatile float factor = (float)SetupState.ScreenHeight * 0.003921569f;
        int band = 0;
        for (int i = 1; i < 255; i++) {
            volatile float edge = (float)i * factor;
            if ((int)edge > y)
                break;
            band = i;
        }
        return RGB(0, 0, 255 - band);
    }
    void Repaint(RECT r)
    {
        Dots.clear();
        InvalidateRect(SetupState.BackdropWindow, &r, FALSE);
        UpdateWindow(SetupState.BackdropWindow);
    }
    ImportPatch setPixel_{"gdi32.dll", "SetPixel", (void *)RecordSetPixel};
};

TEST_F(Backdrop, GradientAndBannersAsShown)
{
    ASSERT_EQ(1, CreateBackdrop());
    HWND w = SetupState.BackdropWindow;
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(SetupState.ScreenHeight, r.bottom - r.top);
    EXPECT_TRUE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(0, SetupState.DissolvePending);
    ASSERT_EQ(768, SetupState.ScreenHeight) << "the rig's screen";
    for (const Row &row : At768) {
        EXPECT_EQ(RGB(0, 0, row.blue), Shown(900, row.y)) << "row " << row.y;
        EXPECT_EQ(RGB(0, 0, row.blue), Band(row.y)) << "the written-out rule, row " << row.y;
    }

    // The banners: their own colours, and the gradient where they are magenta.
    Banner top = LoadBanner(IDB_TITLEBANNER), bottom = LoadBanner(IDB_CREDITLINE);
    int solid = 0, clear = 0;
    for (int y = 0; y < top.h; y += 3)
        for (int x = 0; x < top.w && 20 + x < SetupState.ScreenWidth; x += 5) {
            COLORREF want = top.At(x, y) == MAGENTA ? Band(10 + y) : top.At(x, y);
            ASSERT_EQ(want, Shown(20 + x, 10 + y)) << "title banner pixel " << x << "," << y;
            (top.At(x, y) == MAGENTA ? clear : solid)++;
        }
    EXPECT_GT(solid, 50);
    EXPECT_GT(clear, 50);
    int y0 = SetupState.ScreenHeight - 60;
    for (int y = 0; y < bottom.h; y += 3)
        for (int x = 0; x < bottom.w; x += 5) {
            COLORREF want = bottom.At(x, y) == MAGENTA ? Band(y0 + y) : bottom.At(x, y);
            ASSERT_EQ(want, Shown(20 + x, y0 + y)) << "credit line pixel " << x << "," << y;
        }

    // Destroying it ends no message loop.
    DestroyWindow(w);
    SetupState.BackdropWindow = 0;
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, 0, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

// What the first paint draws, banner by banner: every non-magenta pixel exactly once,
// in 64 passes; a pass draws the pixels of one place of the 8 x 8 pattern, row by row,
// and every place has a pass of its own. Pass 0 is the place (1, 1).
void ExpectDissolved(const std::vector<Dot> &dots, const Banner &b, int left, int top)
{
    ASSERT_EQ((size_t)b.Solid(), dots.size()) << "every non-magenta pixel once";
    std::set<std::pair<int, int>> seen, places;
    int passes = 0;
    for (size_t i = 0; i < dots.size(); i++) {
        int x = dots[i].x - left, y = dots[i].y - top;
        ASSERT_TRUE(x >= 0 && x < b.w && y >= 0 && y < b.h) << "dot " << i << " outside its banner";
        EXPECT_EQ(b.At(x, y), dots[i].colour) << "dot " << i;
        EXPECT_TRUE(seen.insert({x, y}).second) << "dot " << i << " drawn twice";
        bool samePlace = i > 0 && (dots[i - 1].x - left) % 8 == x % 8 &&
                         (dots[i - 1].y - top) % 8 == y % 8;
        if (samePlace) {
            ASSERT_TRUE(dots[i].y > dots[i - 1].y ||
                        (dots[i].y == dots[i - 1].y && dots[i].x > dots[i - 1].x))
                << "dot " << i << ": a pass draws row by row";
            continue;
        }
        passes++;
        EXPECT_TRUE(places.insert({x % 8, y % 8}).second)
            << "dot " << i << ": the place " << x % 8 << "," << y % 8 << " comes back in a later pass";
    }
    EXPECT_EQ(64, passes);
    EXPECT_EQ(1, (dots[0].x - left) % 8);
    EXPECT_EQ(1, (dots[0].y - top) % 8);
}

TEST_F(Backdrop, FirstPaintDissolvesEachBannerPassByPass)
{
    ASSERT_EQ(1, CreateBackdrop());
    Banner top = LoadBanner(IDB_TITLEBANNER), bottom = LoadBanner(IDB_CREDITLINE);
    ASSERT_EQ((size_t)(top.Solid() + bottom.Solid()), Dots.size());
    // the title banner dissolves first, whole, then the credit line
    std::vector<Dot> first(Dots.begin(), Dots.begin() + top.Solid());
    std::vector<Dot> second(Dots.begin() + top.Solid(), Dots.end());
    ExpectDissolved(first, top, 20, 10);
    ExpectDissolved(second, bottom, 20, SetupState.ScreenHeight - 60);

    // A later paint over the title banner draws it at once, row by row.
    Repaint({0, 0, 400, 80});
    ASSERT_EQ((size_t)top.Solid(), Dots.size());
    for (size_t i = 1; i < Dots.size(); i++)
        ASSERT_TRUE(Dots[i].y > Dots[i - 1].y || (Dots[i].y == Dots[i - 1].y && Dots[i].x > Dots[i - 1].x))
            << "dot " << i << " out of row order";

    // A paint that misses both banners' rectangles draws bands only.
    Repaint({400, 300, 500, 400});
    EXPECT_TRUE(Dots.empty());
    EXPECT_EQ(Band(350), Shown(450, 350));
}

TEST_F(Backdrop, OemLeavesOutTheCreditLine)
{
    SetupState.OEM = 1;
    ASSERT_EQ(1, CreateBackdrop());
    Banner top = LoadBanner(IDB_TITLEBANNER), bottom = LoadBanner(IDB_CREDITLINE);
    EXPECT_EQ((size_t)top.Solid(), Dots.size());
    for (const Dot &d : Dots)
        ASSERT_LT(d.y, 60) << "a dot in the credit line's place";
    int y0 = SetupState.ScreenHeight - 60;
    for (int y = 0; y < bottom.h; y += 2)
        for (int x = 0; x < bottom.w; x += 3)
            ASSERT_EQ(Band(y0 + y), Shown(20 + x, y0 + y)) << "gradient only at " << x << "," << y;
}

TEST_F(Backdrop, ASmallerScreenHeight)
{
    SetupState.ScreenHeight = 480;
    ASSERT_EQ(1, CreateBackdrop());
    // The border takes a line of each side: the client area is 478 lines high.
    for (const Row &row : At480) {
        EXPECT_EQ(RGB(0, 0, row.blue), Shown(900, row.y)) << "row " << row.y;
        EXPECT_EQ(RGB(0, 0, row.blue), Band(row.y)) << "the written-out rule, row " << row.y;
    }
}

}  // namespace
