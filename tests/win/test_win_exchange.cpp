// Reals in edit boxes: at most six significant digits, shown from their first character, and
// a box nobody edited reads back the exact value it was given, for doubles and floats alike.
#include "WinFixture.h"
#include "resource.h"

#include <cmath>
#include <limits>

namespace {

class CRealsDialog : public CDialogEx {
public:
    double real = 0.0;
    float single = 0.0f;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CDialogEx::DoDataExchange(pDX);
        DDX_Text(pDX, IDC_SET_SELECTMIN, real);
        DDX_Text(pDX, IDC_SET_SELECTMAX, single);
    }
};

class RealExchange : public WinFixture {
protected:
    void SetUp() override {
        WinFixture::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(dlg.Create(IDD_SPCTM_STDSET));
        dlg.ShowWindow(SW_SHOW);
    }
    std::string shown(int id) {
        CString text;
        dlg.GetDlgItemText(id, text);
        return text.ToUtf8();
    }
    // What the two boxes show for a value given to both.
    std::pair<std::string, std::string> show(double v) {
        dlg.real = v;
        dlg.single = static_cast<float>(v);
        EXPECT_TRUE(dlg.UpdateData(FALSE));
        return {shown(IDC_SET_SELECTMIN), shown(IDC_SET_SELECTMAX)};
    }
    CRealsDialog dlg;
    CMessageBoxRecorder boxes;
};

TEST_F(RealExchange, ShowsAtMostSixSignificantDigits) {
    using P = std::pair<std::string, std::string>;
    EXPECT_EQ(show(1e-12), P("1e-12", "1e-12"));
    EXPECT_EQ(show(123456789.0), P("1.23457e+08", "1.23457e+08"));
    EXPECT_EQ(show(0.123456789012), P("0.123457", "0.123457"));
    EXPECT_EQ(show(-0.0), P("0", "0")) << "no minus sign on zero";
    EXPECT_EQ(show(0.1), P("0.1", "0.1")) << "a float shows like the double it holds";
    EXPECT_EQ(show(std::nan("")), P("NaN", "NaN"));
    EXPECT_EQ(show(-std::numeric_limits<double>::infinity()), P("-Inf", "-Inf"));
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_F(RealExchange, UneditedBoxesReadBackTheExactValue) {
    const double exact = 0.123456789012;
    show(exact);
    const float exactSingle = dlg.single;
    dlg.real = 7.0;
    dlg.single = 7.0f;
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.real, exact) << "not the shown 0.123457";
    EXPECT_EQ(dlg.single, exactSingle);
    // Saving twice changes nothing either.
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.real, exact);

    show(-0.0);
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_TRUE(std::signbit(dlg.real)) << "an unedited -0 stays -0";
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_F(RealExchange, EditedBoxesReadTheirTextAlikeForFloatsAndDoubles) {
    show(0.123456789012);
    CWinTestDriver::TypeText(dlg.GetDlgItem(IDC_SET_SELECTMIN), u"2.5e-3");
    CWinTestDriver::TypeText(dlg.GetDlgItem(IDC_SET_SELECTMAX), u"2.5e-3");
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.real, 0.0025);
    EXPECT_EQ(dlg.single, 0.0025f);
    // Typing the shown text over itself is no edit: the exact value stays.
    show(0.123456789012);
    dlg.SetDlgItemText(IDC_SET_SELECTMIN, u"0.123457");
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.real, 0.123456789012);
    // A text set by the program is read like a typed one.
    dlg.SetDlgItemText(IDC_SET_SELECTMIN, u"0.1234567");
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.real, 0.1234567);
    EXPECT_EQ(boxes.Count(), 0);
}

} // namespace
