// The prefix a unit gets for the size of its values: a few digits on the axes and bars of
// any magnitude, squares and quotients kept, unknown units named as given.
#include "views/CSpctmUnit.h"
#include "views/CUnitPrefix.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

struct Case {
    const char16_t* unit;
    double magnitude;
    const char16_t* shown;
    double factor;
};

TEST(UnitPrefix, ShowsValuesOfAnySizeInAFewDigits) {
    const Case cases[] = {
        {u"V\u00B2", 6.695e-9, u"\u00B5V\u00B2", 1e-12},  // 6695 µV²
        {u"\u00B5V\u00B2", 400.0, u"\u00B5V\u00B2", 1.0}, // already fitting
        {u"\u00B5V\u00B2", 1e-3, u"nV\u00B2", 1e-6},      // a prefix on a prefix
        {u"uV", 2e-3, u"nV", 1e-3},                       // "u" read as micro
        {u"T\u00B2", 8.1e21, u"GT\u00B2", 1e18},          // huge
        {u"(fT/cm)\u00B2", 1e8, u"(pT/cm)\u00B2", 1e6},   // the square of a quotient
        {u"T/m\u00B2", 3e-12, u"pT/m\u00B2", 1e-12},      // per square metre
        {u"m", 5000.0, u"km", 1e3},                       // a metre, not a milli
        {u"Pa", 1e5, u"kPa", 1e3},                        // a pascal, not a peta-year
        {u"V", 1e-40, u"qV", 1e-30},                      // beyond the last prefix
        {u"mmHg\u00B2", 5.0, u"mmHg\u00B2", 1.0},         // unknown, ordinary size
        {u"mmHg\u00B2", 2e-9, u"\u00D710\u207B\u2079 mmHg\u00B2", 1e-9},
        {u"V", 0.0, u"V", 1.0},
    };
    for (const Case& c : cases) {
        const CUnitPrefix::Scaled s = CUnitPrefix::fit(CString(c.unit), c.magnitude);
        SCOPED_TRACE(CString(c.unit).ToUtf8() + " at " + std::to_string(c.magnitude));
        EXPECT_EQ(s.unit, CString(c.shown)) << s.unit.ToUtf8();
        EXPECT_NEAR(std::log10(s.factor), std::log10(c.factor), 1e-9);
    }
}

TEST(UnitPrefix, TitlesNameTheScaledUnit) {
    double factor = 0.0;
    EXPECT_EQ(CSpctmUnit::scaledTitle(2, u"V\u00B2", 1e-9, &factor), u"Power (\u00B5V\u00B2)");
    EXPECT_DOUBLE_EQ(factor, 1e-12);
    EXPECT_EQ(CSpctmUnit::scaledTitle(2, u"", 1e7, &factor), u"Power ratio (\u00D710\u2076)");
    EXPECT_EQ(CSpctmUnit::scaledTitle(2, u"", 3.0, &factor), u"Power ratio");
    EXPECT_DOUBLE_EQ(factor, 1.0);
}

} // namespace
