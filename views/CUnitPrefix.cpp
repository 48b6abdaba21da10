// SI prefixes for the units of shown values.
#include "views/CUnitPrefix.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

struct Prefix {
    const char16_t* symbol;
    int exponent;
};

// "da" before "d"; the micro sign, the Greek mu and "u" all read as micro.
constexpr Prefix kPrefixes[] = {
    {u"Q", 30},  {u"R", 27},  {u"Y", 24},  {u"Z", 21},      {u"E", 18},      {u"P", 15},
    {u"T", 12},  {u"G", 9},   {u"M", 6},   {u"k", 3},       {u"h", 2},       {u"da", 1},
    {u"d", -1},  {u"c", -2},  {u"m", -3},  {u"\u00B5", -6}, {u"\u03BC", -6}, {u"u", -6},
    {u"n", -9},  {u"p", -12}, {u"f", -15}, {u"a", -18},     {u"z", -21},     {u"y", -24},
    {u"r", -27}, {u"q", -30}};

constexpr const char16_t* kUnits[] = {u"mol", u"cd", u"Wb", u"Hz", u"Pa", u"V",     u"T",
                                      u"A",   u"W",  u"m",  u"g",  u"s",  u"S",     u"F",
                                      u"H",   u"J",  u"N",  u"C",  u"K",  u"\u03A9"};
constexpr int kMostPrefix = 30;

// A unit read as prefix, SI symbol and what follows ("/cm"), taken to the power 1 or 2.
struct Parsed {
    int exponent = 0;
    std::u16string symbol, rest;
    int power = 1;
    bool parenthesised = false;
};

bool isUnit(const std::u16string& s) {
    return std::find(std::begin(kUnits), std::end(kUnits), s) != std::end(kUnits);
}

// The symbol with its prefix: the unit alone first, so that "m" stays a metre and "Pa" a
// pascal.
bool readSymbol(const std::u16string& text, Parsed& p) {
    if (isUnit(text)) {
        p.symbol = text;
        return true;
    }
    for (const Prefix& prefix : kPrefixes) {
        const std::u16string_view s(prefix.symbol);
        if (text.size() > s.size() && text.compare(0, s.size(), s) == 0 &&
            isUnit(text.substr(s.size()))) {
            p.exponent = prefix.exponent;
            p.symbol = text.substr(s.size());
            return true;
        }
    }
    return false;
}

bool parse(std::u16string text, Parsed& p) {
    if (!text.empty() && text.back() == u'\u00B2') {
        text.pop_back();
        p.power = 2;
        p.parenthesised = text.size() > 2 && text.front() == u'(' && text.back() == u')';
        if (p.parenthesised)
            text = text.substr(1, text.size() - 2);
    }
    const std::size_t end = text.find_first_of(u"/ *\u00B7");
    const std::u16string first = text.substr(0, end);
    p.rest = end == std::u16string::npos ? std::u16string() : text.substr(end);
    // "T/m²" is a tesla per square metre, not a square.
    if (p.power == 2 && !p.parenthesised && !p.rest.empty()) {
        p.power = 1;
        p.rest += u'\u00B2';
    }
    return readSymbol(first, p);
}

std::u16string prefixOf(int exponent) {
    if (exponent == 0)
        return {};
    if (exponent == -6)
        return u"\u00B5";
    for (const Prefix& prefix : kPrefixes)
        if (prefix.exponent == exponent)
            return prefix.symbol;
    return {};
}

std::u16string compose(const Parsed& p, int exponent) {
    const std::u16string core = prefixOf(exponent) + p.symbol + p.rest;
    if (p.power == 1)
        return core;
    return (p.parenthesised ? u"(" + core + u")" : core) + u"\u00B2";
}

// "×10⁻⁹" for 10^exponent.
std::u16string powerOfTen(int exponent) {
    const char16_t digits[] = u"\u2070\u00B9\u00B2\u00B3\u2074\u2075\u2076\u2077\u2078\u2079";
    std::u16string text = u"\u00D710";
    if (exponent < 0)
        text += u'\u207B';
    for (char c : std::to_string(std::abs(exponent)))
        text += digits[c - '0'];
    return text;
}

// The multiple of 3 at or below the decade of the magnitude, in steps of 3 * power.
int thousands(double log10Magnitude, int power) {
    return 3 * power * static_cast<int>(std::floor(log10Magnitude / (3.0 * power) + 1e-9));
}

} // namespace

CUnitPrefix::Scaled CUnitPrefix::fit(const CString& unit, double magnitude) {
    if (!(magnitude > 0.0) || !std::isfinite(magnitude))
        return {unit, 1.0};
    const double decade = std::log10(magnitude);
    Parsed p;
    if (parse(unit.Str(), p)) {
        // The value in the unprefixed unit, and the prefix that brings it to 1 .. 1000^power.
        const int shown = std::clamp(thousands(decade + p.exponent * p.power, p.power) / p.power,
                                     -kMostPrefix, kMostPrefix);
        return {CString(compose(p, shown)), std::pow(10.0, (shown - p.exponent) * p.power)};
    }
    // A unit without a prefix to change: values between 0.001 and a million are shown as
    // they are.
    if (decade >= -3.0 && decade < 6.0)
        return {unit, 1.0};
    const int exponent = thousands(decade, 1);
    const std::u16string times = powerOfTen(exponent);
    return {CString(unit.IsEmpty() ? times : times + u" " + unit.Str()), std::pow(10.0, exponent)};
}
