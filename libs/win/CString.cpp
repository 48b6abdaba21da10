// CString: UTF-16 text and its printf-style formatting.
#include "win/CString.h"

#include <QString>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <limits>

namespace {

// One conversion of a format string: %[flags][width][.precision][length]conversion.
struct Conversion {
    std::string flags;
    int width = -1;
    int precision = -1;
    bool wideLength = false;
    bool narrowLength = false;
    char conv = 0;
};

int readNumber(const char16_t*& p) {
    int n = 0;
    while (*p >= u'0' && *p <= u'9') {
        n = std::min(n * 10 + (*p - u'0'), 100000);
        ++p;
    }
    return n;
}

void readLength(const char16_t*& p, Conversion& s) {
    for (;;) {
        if (p[0] == u'I' && p[1] == u'6' && p[2] == u'4') {
            p += 3;
        } else if (p[0] == u'I' && p[1] == u'3' && p[2] == u'2') {
            p += 3;
        } else if (*p == u'I' || *p == u'L' || *p == u'q' || *p == u'j' || *p == u'z' ||
                   *p == u't') {
            ++p;
        } else if (*p == u'l' || *p == u'w') {
            s.wideLength = true;
            ++p;
        } else if (*p == u'h') {
            s.narrowLength = true;
            ++p;
        } else {
            return;
        }
    }
}

// Parses the conversion after '%'; p ends after the conversion character.
Conversion readConversion(const char16_t*& p) {
    Conversion s;
    while (*p == u'-' || *p == u'+' || *p == u' ' || *p == u'#' || *p == u'0') {
        s.flags += static_cast<char>(*p++);
    }
    if (*p >= u'0' && *p <= u'9') {
        s.width = readNumber(p);
    }
    if (*p == u'.') {
        ++p;
        s.precision = readNumber(p);
    }
    readLength(p, s);
    if (*p != 0 && *p < 128) {
        s.conv = static_cast<char>(*p++);
    }
    return s;
}

std::string cFormat(const Conversion& s, const char* length) {
    std::string f = "%" + s.flags;
    if (s.width >= 0) {
        f += std::to_string(s.width);
    }
    if (s.precision >= 0) {
        f += "." + std::to_string(s.precision);
    }
    return f + length + s.conv;
}

std::u16string ascii(const char* text) {
    std::u16string out;
    for (const char* c = text; *c; ++c) {
        out += static_cast<char16_t>(static_cast<unsigned char>(*c));
    }
    return out;
}

// A real passed to an integer conversion: truncated, 0 where no integer holds it.
template <class T>
T realToInt(double d) {
    const double lo = static_cast<double>(std::numeric_limits<T>::min());
    const double hi = static_cast<double>(std::numeric_limits<T>::max());
    return d >= lo && d < hi ? static_cast<T>(d) : T{0};
}

std::u16string formatNumber(const Conversion& s, const CStringFormatArg& a) {
    char buf[512];
    const bool isReal = std::strchr("fFeEgGaA", s.conv) != nullptr;
    if (isReal) {
        const double v = a.kind == CStringFormatArg::Real ? a.d : static_cast<double>(a.i);
        std::snprintf(buf, sizeof buf, cFormat(s, "").c_str(), v);
    } else if (s.conv == 'd' || s.conv == 'i') {
        const long long v = a.kind == CStringFormatArg::Real ? realToInt<long long>(a.d) : a.i;
        std::snprintf(buf, sizeof buf, cFormat(s, "ll").c_str(), v);
    } else {
        const unsigned long long v =
            a.kind == CStringFormatArg::Real ? realToInt<unsigned long long>(a.d) : a.u;
        std::snprintf(buf, sizeof buf, cFormat(s, "ll").c_str(), v);
    }
    return ascii(buf);
}

std::u16string pad(std::u16string text, const Conversion& s) {
    if (s.precision >= 0 && static_cast<int>(text.size()) > s.precision) {
        text.resize(static_cast<std::size_t>(s.precision));
    }
    if (s.width > static_cast<int>(text.size())) {
        const std::u16string fill(static_cast<std::size_t>(s.width) - text.size(), u' ');
        text = s.flags.find('-') != std::string::npos ? text + fill : fill + text;
    }
    return text;
}

std::u16string formatText(const Conversion& s, const CStringFormatArg& a) {
    if (a.kind == CStringFormatArg::Narrow || (s.narrowLength && a.n)) {
        return pad(CString::FromUtf8(a.n ? a.n : "(null)").Str(), s);
    }
    if (a.kind == CStringFormatArg::Wide) {
        return pad(a.w ? std::u16string(a.w) : std::u16string(u"(null)"), s);
    }
    return pad(u"", s);
}

std::u16string formatOne(const Conversion& s, const CStringFormatArg& a) {
    switch (s.conv) {
    case 's':
    case 'S':
        return formatText(s, a);
    case 'c':
    case 'C':
        return pad(std::u16string(1, static_cast<char16_t>(a.i)), s);
    case 'p': {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%p", a.p);
        return ascii(buf);
    }
    default:
        return std::strchr("diuoxXfFeEgGaA", s.conv) ? formatNumber(s, a) : std::u16string();
    }
}

} // namespace

std::u16string CString::FormatArgs(LPCTSTR format, const std::vector<CStringFormatArg>& args) {
    std::u16string out;
    std::size_t next = 0;
    for (const char16_t* p = format ? format : u""; *p;) {
        if (*p != u'%') {
            out += *p++;
            continue;
        }
        ++p;
        if (*p == u'%') {
            out += *p++;
            continue;
        }
        const Conversion s = readConversion(p);
        if (s.conv == 0) {
            break;
        }
        const CStringFormatArg missing(0);
        out += formatOne(s, next < args.size() ? args[next] : missing);
        ++next;
    }
    return out;
}

CString::CString(const char16_t* text, int length)
    : m_text(text && length > 0 ? std::u16string(text, static_cast<std::size_t>(length))
                                : std::u16string()) {}

CString::CString(const char* utf8) : m_text(FromUtf8(utf8 ? utf8 : "").m_text) {}

CString CString::FromUtf8(std::string_view utf8) {
    return CString(
        QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).toStdU16String());
}

std::string CString::ToUtf8() const {
    return QString::fromStdU16String(m_text).toStdString();
}

char16_t CString::GetAt(int i) const {
    return (i >= 0 && i < GetLength()) ? m_text[static_cast<std::size_t>(i)] : u'\0';
}

void CString::SetAt(int i, char16_t ch) {
    if (i >= 0 && i < GetLength()) {
        m_text[static_cast<std::size_t>(i)] = ch;
    }
}

CString& CString::operator=(const char16_t* text) {
    m_text = text ? text : u"";
    return *this;
}

CString& CString::operator+=(const CString& s) {
    m_text += s.m_text;
    return *this;
}

CString& CString::operator+=(const char16_t* s) {
    m_text += s ? s : u"";
    return *this;
}

CString& CString::operator+=(char16_t ch) {
    m_text += ch;
    return *this;
}

CString operator+(const CString& a, const CString& b) {
    return CString(a.m_text + b.m_text);
}

CString operator+(const CString& a, const char16_t* b) {
    return a + CString(b);
}

CString operator+(const char16_t* a, const CString& b) {
    return CString(a) + b;
}

int CString::Compare(LPCTSTR other) const {
    const int c = m_text.compare(other ? other : u"");
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int CString::CompareNoCase(LPCTSTR other) const {
    return QString::compare(QString::fromStdU16String(m_text),
                            QString::fromUtf16(other ? other : u""), Qt::CaseInsensitive);
}

int CString::Find(LPCTSTR sub, int start) const {
    if (!sub || start < 0 || start > GetLength()) {
        return -1;
    }
    const auto pos = m_text.find(sub, static_cast<std::size_t>(start));
    return pos == std::u16string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(char16_t ch, int start) const {
    const char16_t s[2] = {ch, 0};
    return Find(s, start);
}

int CString::ReverseFind(char16_t ch) const {
    const auto pos = m_text.rfind(ch);
    return pos == std::u16string::npos ? -1 : static_cast<int>(pos);
}

CString CString::Left(int count) const {
    return Mid(0, count);
}

CString CString::Right(int count) const {
    const int n = std::clamp(count, 0, GetLength());
    return Mid(GetLength() - n, n);
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const {
    const int f = std::clamp(first, 0, GetLength());
    const int n = std::clamp(count, 0, GetLength() - f);
    return CString(m_text.substr(static_cast<std::size_t>(f), static_cast<std::size_t>(n)));
}

int CString::Replace(LPCTSTR oldText, LPCTSTR newText) {
    const std::u16string from(oldText ? oldText : u""), to(newText ? newText : u"");
    if (from.empty()) {
        return 0;
    }
    int count = 0;
    for (auto pos = m_text.find(from); pos != std::u16string::npos;
         pos = m_text.find(from, pos + to.size())) {
        m_text.replace(pos, from.size(), to);
        ++count;
    }
    return count;
}

namespace {
bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}
} // namespace

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}

CString& CString::TrimLeft() {
    const auto it = std::find_if_not(m_text.begin(), m_text.end(), isBlank);
    m_text.erase(m_text.begin(), it);
    return *this;
}

CString& CString::TrimRight() {
    while (!m_text.empty() && isBlank(m_text.back())) {
        m_text.pop_back();
    }
    return *this;
}

CString& CString::MakeUpper() {
    m_text = QString::fromStdU16String(m_text).toUpper().toStdU16String();
    return *this;
}

CString& CString::MakeLower() {
    m_text = QString::fromStdU16String(m_text).toLower().toStdU16String();
    return *this;
}
