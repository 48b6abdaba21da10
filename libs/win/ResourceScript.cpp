// ResourceScript: a small recursive-descent reader of the resource-script syntax.
#include "ResourceScript.h"

#include <cctype>
#include <cstdlib>
#include <stdexcept>

namespace {

const std::map<std::string, DWORD>& styleNames() {
    static const std::map<std::string, DWORD> names = {{"WS_OVERLAPPED", WS_OVERLAPPED},
                                                       {"WS_POPUP", WS_POPUP},
                                                       {"WS_CHILD", WS_CHILD},
                                                       {"WS_VISIBLE", WS_VISIBLE},
                                                       {"WS_DISABLED", WS_DISABLED},
                                                       {"WS_CLIPSIBLINGS", WS_CLIPSIBLINGS},
                                                       {"WS_CLIPCHILDREN", WS_CLIPCHILDREN},
                                                       {"WS_CAPTION", WS_CAPTION},
                                                       {"WS_BORDER", WS_BORDER},
                                                       {"WS_DLGFRAME", WS_DLGFRAME},
                                                       {"WS_VSCROLL", WS_VSCROLL},
                                                       {"WS_HSCROLL", WS_HSCROLL},
                                                       {"WS_SYSMENU", WS_SYSMENU},
                                                       {"WS_THICKFRAME", WS_THICKFRAME},
                                                       {"WS_GROUP", WS_GROUP},
                                                       {"WS_TABSTOP", WS_TABSTOP},
                                                       {"WS_MINIMIZEBOX", WS_MINIMIZEBOX},
                                                       {"WS_MAXIMIZEBOX", WS_MAXIMIZEBOX},
                                                       {"WS_EX_DLGMODALFRAME", WS_EX_DLGMODALFRAME},
                                                       {"WS_EX_CLIENTEDGE", WS_EX_CLIENTEDGE},
                                                       {"WS_EX_STATICEDGE", WS_EX_STATICEDGE},
                                                       {"DS_MODALFRAME", DS_MODALFRAME},
                                                       {"DS_SETFONT", DS_SETFONT},
                                                       {"DS_FIXEDSYS", DS_FIXEDSYS},
                                                       {"DS_SHELLFONT", DS_SHELLFONT},
                                                       {"DS_CENTER", DS_CENTER},
                                                       {"BS_PUSHBUTTON", BS_PUSHBUTTON},
                                                       {"BS_DEFPUSHBUTTON", BS_DEFPUSHBUTTON},
                                                       {"BS_CHECKBOX", BS_CHECKBOX},
                                                       {"BS_AUTOCHECKBOX", BS_AUTOCHECKBOX},
                                                       {"BS_RADIOBUTTON", BS_RADIOBUTTON},
                                                       {"BS_AUTORADIOBUTTON", BS_AUTORADIOBUTTON},
                                                       {"BS_GROUPBOX", BS_GROUPBOX},
                                                       {"BS_ICON", BS_ICON},
                                                       {"BS_NOTIFY", BS_NOTIFY},
                                                       {"SS_LEFT", SS_LEFT},
                                                       {"SS_CENTER", SS_CENTER},
                                                       {"SS_RIGHT", SS_RIGHT},
                                                       {"SS_ICON", SS_ICON},
                                                       {"SS_BLACKFRAME", SS_BLACKFRAME},
                                                       {"SS_NOTIFY", SS_NOTIFY},
                                                       {"SS_SUNKEN", SS_SUNKEN},
                                                       {"SS_CENTERIMAGE", SS_CENTERIMAGE},
                                                       {"ES_LEFT", ES_LEFT},
                                                       {"ES_CENTER", ES_CENTER},
                                                       {"ES_RIGHT", ES_RIGHT},
                                                       {"ES_AUTOHSCROLL", ES_AUTOHSCROLL},
                                                       {"ES_READONLY", ES_READONLY},
                                                       {"ES_NUMBER", ES_NUMBER},
                                                       {"CBS_SIMPLE", CBS_SIMPLE},
                                                       {"CBS_DROPDOWN", CBS_DROPDOWN},
                                                       {"CBS_DROPDOWNLIST", CBS_DROPDOWNLIST},
                                                       {"CBS_AUTOHSCROLL", CBS_AUTOHSCROLL},
                                                       {"CBS_SORT", CBS_SORT},
                                                       {"CBS_HASSTRINGS", CBS_HASSTRINGS},
                                                       {"SBS_HORZ", SBS_HORZ},
                                                       {"SBS_VERT", SBS_VERT}};
    return names;
}

struct Keyword {
    const char* className;
    DWORD defaults;
    bool hasText;
};

const std::map<std::string, Keyword>& controlKeywords() {
    static const std::map<std::string, Keyword> k = {
        {"LTEXT", {"Static", SS_LEFT | WS_GROUP, true}},
        {"CTEXT", {"Static", SS_CENTER | WS_GROUP, true}},
        {"RTEXT", {"Static", SS_RIGHT | WS_GROUP, true}},
        {"PUSHBUTTON", {"Button", BS_PUSHBUTTON | WS_TABSTOP, true}},
        {"DEFPUSHBUTTON", {"Button", BS_DEFPUSHBUTTON | WS_TABSTOP, true}},
        {"AUTOCHECKBOX", {"Button", BS_AUTOCHECKBOX | WS_TABSTOP, true}},
        {"CHECKBOX", {"Button", BS_CHECKBOX | WS_TABSTOP, true}},
        {"AUTORADIOBUTTON", {"Button", BS_AUTORADIOBUTTON, true}},
        {"RADIOBUTTON", {"Button", BS_RADIOBUTTON, true}},
        {"GROUPBOX", {"Button", BS_GROUPBOX, true}},
        {"EDITTEXT", {"Edit", ES_LEFT | WS_BORDER | WS_TABSTOP, false}},
        {"COMBOBOX", {"ComboBox", WS_TABSTOP, false}},
        {"SCROLLBAR", {"ScrollBar", SBS_HORZ, false}}};
    return k;
}

struct Token {
    enum Kind { End, Number, String, Word, Comma, Bar } kind = End;
    std::string text;
    long value = 0;
    int line = 0;
};

class Lexer {
public:
    explicit Lexer(const std::string& t) : m_t(t) { advance(); }
    const Token& peek() const { return m_tok; }
    Token take() {
        Token t = m_tok;
        advance();
        return t;
    }

private:
    void skipBlanks() {
        for (;;) {
            while (m_p < m_t.size() && std::isspace(static_cast<unsigned char>(m_t[m_p]))) {
                m_line += m_t[m_p++] == '\n';
            }
            if (m_t.compare(m_p, 2, "//") != 0) {
                return;
            }
            while (m_p < m_t.size() && m_t[m_p] != '\n') {
                ++m_p;
            }
        }
    }
    void readString() {
        ++m_p;
        for (;;) {
            if (m_p >= m_t.size()) {
                throw std::runtime_error("unterminated string");
            }
            if (m_t[m_p] == '"' && m_p + 1 < m_t.size() && m_t[m_p + 1] == '"') {
                m_tok.text += '"';
                m_p += 2;
            } else if (m_t[m_p] == '"') {
                ++m_p;
                return;
            } else {
                m_tok.text += m_t[m_p++];
            }
        }
    }
    void readNumber() {
        const char* begin = m_t.c_str() + m_p;
        char* end = nullptr;
        m_tok.value = std::strtol(begin, &end, 0);
        m_p += static_cast<std::size_t>(end - begin);
        m_tok.kind = Token::Number;
    }
    void advance() {
        skipBlanks();
        m_tok = Token{};
        m_tok.line = m_line;
        if (m_p >= m_t.size()) {
            return;
        }
        const char c = m_t[m_p];
        if (c == ',' || c == '|') {
            m_tok.kind = c == ',' ? Token::Comma : Token::Bar;
            ++m_p;
        } else if (c == '"') {
            m_tok.kind = Token::String;
            readString();
        } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '-') {
            readNumber();
        } else {
            m_tok.kind = Token::Word;
            while (m_p < m_t.size() &&
                   (std::isalnum(static_cast<unsigned char>(m_t[m_p])) || m_t[m_p] == '_')) {
                m_tok.text += m_t[m_p++];
            }
            if (m_tok.text.empty()) {
                throw std::runtime_error(std::string("unexpected character '") + c + "'");
            }
        }
    }
    const std::string& m_t;
    std::size_t m_p = 0;
    int m_line = 1;
    Token m_tok;
};

class Parser {
public:
    explicit Parser(const std::string& text) : m_lex(text) {}

    int line() const { return m_lex.peek().line; }

    long number() {
        if (m_lex.peek().kind != Token::Number) {
            throw std::runtime_error("number expected");
        }
        return m_lex.take().value;
    }
    std::string string() {
        if (m_lex.peek().kind != Token::String) {
            throw std::runtime_error("string expected");
        }
        return m_lex.take().text;
    }
    std::string word() {
        if (m_lex.peek().kind != Token::Word) {
            throw std::runtime_error("keyword expected");
        }
        return m_lex.take().text;
    }
    bool isWord(const char* w) const {
        return m_lex.peek().kind == Token::Word && m_lex.peek().text == w;
    }
    void expect(const char* w) {
        if (word() != w) {
            throw std::runtime_error(std::string(w) + " expected");
        }
    }
    bool comma() {
        if (m_lex.peek().kind != Token::Comma) {
            return false;
        }
        m_lex.take();
        return true;
    }
    bool atEnd() const { return m_lex.peek().kind == Token::End; }

    // name | name | NOT name ... applied to the defaults.
    DWORD style(DWORD defaults) {
        DWORD add = 0, remove = 0;
        do {
            bool negate = false;
            if (isWord("NOT")) {
                m_lex.take();
                negate = true;
            }
            DWORD v = 0;
            if (m_lex.peek().kind == Token::Number) {
                v = static_cast<DWORD>(number());
            } else {
                const std::string n = word();
                const auto it = styleNames().find(n);
                if (it == styleNames().end()) {
                    throw std::runtime_error("unknown style " + n);
                }
                v = it->second;
            }
            (negate ? remove : add) |= v;
        } while (m_lex.peek().kind == Token::Bar && (m_lex.take(), true));
        return (defaults & ~remove) | add;
    }

private:
    Lexer m_lex;
};

void readRect(Parser& p, int& x, int& y, int& cx, int& cy) {
    x = static_cast<int>(p.number());
    p.comma();
    y = static_cast<int>(p.number());
    p.comma();
    cx = static_cast<int>(p.number());
    p.comma();
    cy = static_cast<int>(p.number());
}

ControlTemplate readKeywordControl(Parser& p, const std::string& kw, const Keyword& k) {
    ControlTemplate c;
    c.className = k.className;
    if (k.hasText) {
        c.text = CString::FromUtf8(p.string());
        p.comma();
    }
    c.id = static_cast<int>(p.number());
    p.comma();
    readRect(p, c.x, c.y, c.cx, c.cy);
    const DWORD defaults = WS_CHILD | WS_VISIBLE | k.defaults;
    c.style = defaults;
    if (p.comma()) {
        c.style = p.style(defaults);
        if (p.comma()) {
            c.exStyle = p.style(0);
        }
    }
    if (kw == "COMBOBOX" && (c.style & 3u) == 0) {
        c.style |= CBS_SIMPLE;
    }
    return c;
}

ControlTemplate readGenericControl(Parser& p) {
    ControlTemplate c;
    c.text = CString::FromUtf8(p.string());
    p.comma();
    c.id = static_cast<int>(p.number());
    p.comma();
    c.className = p.string();
    p.comma();
    c.style = p.style(WS_CHILD | WS_VISIBLE);
    p.comma();
    readRect(p, c.x, c.y, c.cx, c.cy);
    if (p.comma()) {
        c.exStyle = p.style(0);
    }
    return c;
}

void readDialogHeader(Parser& p, DialogTemplate& d) {
    while (!p.isWord("BEGIN")) {
        const std::string w = p.word();
        if (w == "STYLE") {
            d.style = p.style(0);
        } else if (w == "EXSTYLE") {
            d.exStyle = p.style(0);
        } else if (w == "CAPTION") {
            d.caption = CString::FromUtf8(p.string());
        } else if (w == "FONT") {
            d.fontSize = static_cast<int>(p.number());
            p.comma();
            d.fontFace = p.string();
            while (p.comma()) {
                p.number();
            }
        } else if (w == "MENU") {
            d.menuId = static_cast<UINT>(p.number());
        } else if (w == "ICON") {
            d.iconId = static_cast<UINT>(p.number());
        } else {
            throw std::runtime_error("unknown dialog statement " + w);
        }
    }
}

DialogTemplate readDialog(Parser& p, UINT id) {
    DialogTemplate d;
    d.id = id;
    readRect(p, d.x, d.y, d.cx, d.cy);
    readDialogHeader(p, d);
    p.expect("BEGIN");
    while (!p.isWord("END")) {
        const std::string kw = p.word();
        const auto it = controlKeywords().find(kw);
        if (kw == "CONTROL") {
            d.controls.push_back(readGenericControl(p));
        } else if (it != controlKeywords().end()) {
            d.controls.push_back(readKeywordControl(p, kw, it->second));
        } else {
            throw std::runtime_error("unknown control " + kw);
        }
    }
    p.expect("END");
    return d;
}

void readMenuItems(Parser& p, MenuTemplate& parent) {
    p.expect("BEGIN");
    while (!p.isWord("END")) {
        const std::string kw = p.word();
        MenuTemplate item;
        if (kw == "POPUP") {
            item.popup = true;
            item.text = CString::FromUtf8(p.string());
            readMenuItems(p, item);
        } else if (kw == "MENUITEM" && p.isWord("SEPARATOR")) {
            p.word();
            item.separator = true;
        } else if (kw == "MENUITEM") {
            item.text = CString::FromUtf8(p.string());
            p.comma();
            item.id = static_cast<UINT>(p.number());
        } else {
            throw std::runtime_error("unknown menu statement " + kw);
        }
        parent.items.push_back(std::move(item));
    }
    p.expect("END");
}

ImageTemplate readImage(Parser& p, bool cursor) {
    ImageTemplate t;
    t.symbol = p.string();
    if (cursor && p.comma()) {
        t.hotX = static_cast<int>(p.number());
        p.comma();
        t.hotY = static_cast<int>(p.number());
    }
    return t;
}

} // namespace

bool ResourceScript::parse(const std::string& text, std::string* error) {
    Parser p(text);
    try {
        while (!p.atEnd()) {
            const UINT id = static_cast<UINT>(p.number());
            const std::string kind = p.word();
            if (kind == "DIALOGEX" || kind == "DIALOG") {
                m_dialogs[id] = readDialog(p, id);
            } else if (kind == "MENU") {
                MenuTemplate m;
                readMenuItems(p, m);
                m_menus[id] = std::move(m);
            } else if (kind == "ICON" || kind == "CURSOR") {
                (kind == "ICON" ? m_icons : m_cursors)[id] = readImage(p, kind == "CURSOR");
            } else {
                throw std::runtime_error("unknown resource kind " + kind);
            }
        }
    } catch (const std::exception& e) {
        if (error) {
            *error = "resource script line " + std::to_string(p.line()) + ": " + e.what();
        }
        return false;
    }
    return true;
}

template <class M>
static const typename M::mapped_type* findIn(const M& m, UINT id) {
    const auto it = m.find(id);
    return it == m.end() ? nullptr : &it->second;
}

const DialogTemplate* ResourceScript::findDialog(UINT id) const {
    return findIn(m_dialogs, id);
}
const MenuTemplate* ResourceScript::findMenu(UINT id) const {
    return findIn(m_menus, id);
}
const ImageTemplate* ResourceScript::findIcon(UINT id) const {
    return findIn(m_icons, id);
}
const ImageTemplate* ResourceScript::findCursor(UINT id) const {
    return findIn(m_cursors, id);
}
