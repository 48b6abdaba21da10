// CString: the window layer's UTF-16 text with printf-style formatting (MFC's names and rules).
#pragma once

#include "win/WinDefs.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

class CString;

// One argument of CString::Format; arguments are captured by type, so a CString may be passed
// directly where MFC needed a cast to LPCTSTR.
struct CStringFormatArg {
    enum Kind { Int, Uint, Real, Wide, Narrow, Pointer } kind;
    long long i = 0;
    unsigned long long u = 0;
    double d = 0.0;
    const char16_t* w = nullptr;
    const char* n = nullptr;
    const void* p = nullptr;

    template <class T>
    CStringFormatArg(T v) : kind(Int) { // NOLINT: implicit on purpose, built from Format's pack
        if constexpr (std::is_same_v<std::decay_t<T>, bool>) {
            i = v ? 1 : 0;
        } else if constexpr (std::is_floating_point_v<T>) {
            kind = Real;
            d = static_cast<double>(v);
        } else if constexpr (std::is_integral_v<T> && std::is_unsigned_v<T>) {
            kind = Uint;
            u = v;
            i = static_cast<long long>(v);
        } else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) {
            i = static_cast<long long>(v);
            u = static_cast<unsigned long long>(i);
        } else if constexpr (std::is_convertible_v<T, const char16_t*>) {
            kind = Wide;
            w = v;
        } else if constexpr (std::is_convertible_v<T, const char*>) {
            kind = Narrow;
            n = v;
        } else {
            static_assert(std::is_pointer_v<T>, "unsupported CString::Format argument");
            kind = Pointer;
            p = v;
        }
    }
    CStringFormatArg(const CString& s);
    CStringFormatArg(const std::u16string& s) : kind(Wide), w(s.c_str()) {}
};

class CString {
public:
    CString() = default;
    CString(const char16_t* text) : m_text(text ? text : u"") {}
    CString(const char16_t* text, int length);
    CString(std::u16string text) : m_text(std::move(text)) {}
    CString(std::u16string_view text) : m_text(text) {}
    // UTF-8 text (for literals and messages from the standard library).
    CString(const char* utf8);
    CString(char16_t ch, int repeat = 1) : m_text(repeat > 0 ? repeat : 0, ch) {}

    static CString FromUtf8(std::string_view utf8);
    std::string ToUtf8() const;
    const std::u16string& Str() const { return m_text; }

    int GetLength() const { return static_cast<int>(m_text.size()); }
    BOOL IsEmpty() const { return m_text.empty() ? TRUE : FALSE; }
    void Empty() { m_text.clear(); }
    LPCTSTR GetString() const { return m_text.c_str(); }
    operator LPCTSTR() const { return m_text.c_str(); }
    char16_t GetAt(int i) const;
    void SetAt(int i, char16_t ch);
    char16_t operator[](int i) const { return GetAt(i); }

    // Printf-style: %d %i %u %x %X %o %c %f %e %g with flags, width and precision; length
    // prefixes h, l, ll, I64, I32, I; %s and %ls take UTF-16 text, %hs UTF-8 text.
    template <class... A>
    void Format(LPCTSTR format, const A&... args) {
        m_text = FormatArgs(format, {CStringFormatArg(args)...});
    }
    template <class... A>
    void AppendFormat(LPCTSTR format, const A&... args) {
        m_text += FormatArgs(format, {CStringFormatArg(args)...});
    }
    static std::u16string FormatArgs(LPCTSTR format, const std::vector<CStringFormatArg>& args);

    CString& operator=(const char16_t* text);
    CString& operator+=(const CString& s);
    CString& operator+=(const char16_t* s);
    CString& operator+=(char16_t ch);
    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const char16_t* b);
    friend CString operator+(const char16_t* a, const CString& b);
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char16_t* b) { return a.m_text == b; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char16_t* b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }

    int Compare(LPCTSTR other) const;
    int CompareNoCase(LPCTSTR other) const;
    int Find(LPCTSTR sub, int start = 0) const;
    int Find(char16_t ch, int start = 0) const;
    int ReverseFind(char16_t ch) const;
    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    int Replace(LPCTSTR oldText, LPCTSTR newText);
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();
    CString& MakeUpper();
    CString& MakeLower();

private:
    std::u16string m_text;
};

inline CStringFormatArg::CStringFormatArg(const CString& s) : kind(Wide), w(s.GetString()) {}
