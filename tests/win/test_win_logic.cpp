// Window-layer logic without windows: text formatting, rectangles, the resource script and
// module registration.
#include "TestName.h"
#include "win/CDynLinkLibrary.h"
#include "win/CMenu.h"
#include "win/CRect.h"
#include "win/CString.h"

#include <cmath>
#include <gtest/gtest.h>

extern const char velmoraResourceScript[];

namespace {

struct FormatCase {
    const char16_t* format;
    CString expected;
    double real;
    long long wide;
};

class CStringFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(CStringFormat, FormatsLikePrintf) {
    const FormatCase& c = GetParam();
    CString s;
    s.Format(c.format, c.real, c.wide, 7, CString(u"ab"));
    EXPECT_EQ(s, c.expected) << CString(c.format).ToUtf8();
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, CStringFormat,
    ::testing::Values(FormatCase{u"%0.3f|%I64d|%d|%s", CString(u"1.500|-9000000000|7|ab"), 1.5,
                                 -9000000000LL},
                      FormatCase{u"%f %lld %i %ls", CString(u"0.250000 12 7 ab"), 0.25, 12},
                      FormatCase{u"%0.1f~%6.2f%%", CString(u"2.0~  0.00%"), 2.0, 0},
                      FormatCase{u"%.2f|%5I64d", CString(u"2.00|   12"), 2.0, 12},
                      FormatCase{u"%g %x %c", CString(u"3 c \a"), 3.0, 12},
                      FormatCase{u"%d|%d", CString(u"0|12"), std::nan(""), 12}),
    [](const auto& info) { return testNameOf(info.param.format); });

TEST(CString, EditsAndConvertsUtf8) {
    CString s(u"  Spectral  Map ");
    s.Trim();
    EXPECT_EQ(s, u"Spectral  Map");
    EXPECT_EQ(s.Find(u"Map"), 10);
    EXPECT_EQ(s.Left(3) + s.Right(3), u"SpeMap");
    EXPECT_EQ(s.Mid(99), u"");
    EXPECT_EQ(CString::FromUtf8("µV ± 2").ToUtf8(), "µV ± 2");
    EXPECT_EQ(s.Replace(u"  ", u" "), 1);
    EXPECT_EQ(s.GetAt(-1), u'\0');
    CString missing;
    missing.Format(u"%d %s");
    EXPECT_EQ(missing, u"0 ");
}

TEST(CString, KeepsNonAsciiThroughUtf8AndFormat) {
    const std::string utf8 = "Ω µV 😀 Köln";
    const CString wide = CString::FromUtf8(utf8);
    EXPECT_EQ(wide, u"Ω µV 😀 Köln");
    EXPECT_EQ(wide.GetLength(), 12) << "a character beyond the BMP is a surrogate pair";
    EXPECT_EQ(wide.ToUtf8(), utf8);
    EXPECT_EQ(CString(utf8.c_str()), wide);
    EXPECT_EQ(CString(u"😀").Mid(0, 1).ToUtf8().empty(), false)
        << "a lone surrogate still converts to something";
    CString s;
    s.Format(u"[%s|%5s|%-4s]", wide, CString(u"ä"), CString(u"ß"));
    EXPECT_EQ(s, u"[Ω µV 😀 Köln|    ä|ß   ]");
    s.AppendFormat(u"%s", "é");
    EXPECT_EQ(s.Right(2), u"]é");
    EXPECT_EQ(CString(u"ÄBC").CompareNoCase(u"äbc"), 0);
}

TEST(CRect, GeometryAndSetOperations) {
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(r.Width(), 100);
    EXPECT_EQ(r.CenterPoint(), CPoint(60, 45));
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(110, 20)));
    CRect i;
    EXPECT_TRUE(i.IntersectRect(r, CRect(100, 0, 200, 30)));
    EXPECT_EQ(i, CRect(100, 20, 110, 30));
    EXPECT_FALSE(i.IntersectRect(r, CRect(200, 200, 300, 300)));
    CRect u;
    u.UnionRect(r, CRect(0, 0, 5, 5));
    EXPECT_EQ(u, CRect(0, 0, 110, 70));
}

TEST(ExtensionModule, RegistersScriptAndRefusesBadOne) {
    AFX_EXTENSION_MODULE good = {FALSE, nullptr, velmoraResourceScript, "velmora"};
    ASSERT_TRUE(AfxInitExtensionModule(good, nullptr));
    CMenu before;
    EXPECT_FALSE(before.LoadMenu(3911)) << "found before the module was linked";
    new CDynLinkLibrary(good);
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(3911));
    ASSERT_EQ(menu.GetMenuItemCount(), 2u);
    CString text;
    menu.GetMenuString(3934, text, MF_BYCOMMAND);
    EXPECT_EQ(text, u"Pick Sensor");
    EXPECT_EQ(menu.GetSubMenu(1)->GetSubMenu(0)->GetMenuItemID(2), 4028u);
    EXPECT_EQ(menu.GetSubMenu(0)->GetMenuState(4, MF_BYPOSITION), MF_SEPARATOR);
    EXPECT_EQ(menu.EnableMenuItem(4029, MF_GRAYED), MF_ENABLED);
    EXPECT_EQ(menu.GetMenuState(4029, MF_BYCOMMAND), MF_GRAYED);
    EXPECT_EQ(menu.CheckMenuItem(9999, MF_CHECKED), static_cast<UINT>(-1));
    AfxTermExtensionModule(good);
    CMenu after;
    EXPECT_FALSE(after.LoadMenu(3911));

    AFX_EXTENSION_MODULE bad = {FALSE, nullptr, "3921 DIALOGEX 0, 0, 10\nSTYLE WS_NOPE", "bad"};
    EXPECT_FALSE(AfxInitExtensionModule(bad, nullptr));
    AFX_EXTENSION_MODULE empty = {FALSE, nullptr, nullptr, "empty"};
    EXPECT_TRUE(AfxInitExtensionModule(empty, nullptr));
    AfxTermExtensionModule(empty);
}

} // namespace
