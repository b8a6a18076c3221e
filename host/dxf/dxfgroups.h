// The group level of ASCII DXF: splitting a file into (code, value) groups, writing groups with
// the host's number formatting, and converting texts between the file's encoding and ACHAR.
//
// A DXF file is a sequence of line pairs: a group code (an integer, possibly padded with spaces)
// and its value. The tokenizer works on the whole file held in memory and hands out views into
// it, so reading costs one pass over the bytes and no allocation per group. Each group remembers
// the line of its code, for messages about bad input.
#pragma once

#include "adsdef.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace khost::dxf {

// What the value of a group code holds in a file.
enum class ValueKind { String, Real, Int16, Int32, Int64, Bool, Handle, Binary, Unknown };
ValueKind valueKind(int code);
// True for the codes whose value is the X of a point, followed in the file by code+10 (Y) and
// usually code+20 (Z): 10-18, 110-112, 210, 1010-1013.
bool isPointCode(int code);

struct Group {
    Group() = default;
    Group(int c, std::string_view v, int l) : value(v), code(c), line(l) {}
    std::string_view value; // the value line without its line end; spaces kept
    int code = 0;
    int line = 0; // line number of the code (1-based)
};

class Tokenizer {
public:
    // The text must outlive the tokenizer and every group it returns.
    explicit Tokenizer(std::string_view text);

    // The next group. False at the end of the text (error() empty) or on bad input (error()
    // tells what and where; the tokenizer stays at the error).
    bool next(Group& g);
    // The group last returned by next() is returned again by the following next().
    void pushBack();
    bool atEnd() const { return !m_pushed && m_pos >= m_text.size(); }
    const std::string& error() const { return m_error; }
    // The line the tokenizer has reached (the line after the last value read).
    int line() const { return m_line; }
    // Records an error found by the caller at a given line, in the same form.
    void fail(int line, std::string_view message);

private:
    bool readLine(std::string_view& out);

    std::string_view m_text;
    size_t m_pos = 0;
    int m_line = 0;
    void setLast(size_t pos, int line) {
        m_lastPos = pos;
        m_lastLine = line;
        m_haveLast = true;
    }

    // Where the group last returned began, for pushBack.
    size_t m_lastPos = 0;
    int m_lastLine = 0;
    bool m_haveLast = false;
    bool m_pushed = false;
    std::string m_error;
};

// Parsing of values; surrounding spaces are allowed.
bool parseInt(std::string_view s, long long& out);
bool parseReal(std::string_view s, double& out);
bool parseHandle(std::string_view s, std::uint64_t& out);
std::string_view trim(std::string_view s);

// Real numbers as the host writes them: the shortest text that reads back as the same double,
// with ".0" added to integral values ("0.0", "1.0", "250.0").
std::string formatReal(double v);

// Collects groups into a memory buffer. Codes are right-aligned in three columns as DXF writers
// commonly do; lines end with LF.
class Writer {
public:
    void text(int code, std::string_view bytes);
    void real(int code, double v);
    void integer(int code, long long v);
    void handle(int code, std::uint64_t h);
    void point(int code, double x, double y, double z);
    void point2d(int code, double x, double y);
    // A text of printable ASCII without carets, written as it is; false (and nothing written)
    // for any other text.
    bool plainWide(int code, const wchar_t* s);
    // A group written exactly as it was read.
    void raw(int code, std::string_view value) { text(code, value); }

    const std::string& data() const { return m_out; }
    std::string& data() { return m_out; }

private:
    std::string m_out;
};

// Text encoding of a file: UTF-8 from $ACADVER AC1021 on, before that the $DWGCODEPAGE page with
// \U+XXXX escapes for characters the page lacks.
class TextCodec {
public:
    // UTF-8 texts; a text that is not valid UTF-8 (files that claim a new version but were
    // written in the code page) is read in the code page.
    TextCodec() = default;
    TextCodec(bool utf8, int codePage) : m_utf8(utf8), m_codePage(codePage) {}
    int codePage() const { return m_codePage; }
    bool isUtf8() const { return m_utf8; }

    std::wstring decode(std::string_view bytes) const;
    std::string encode(std::wstring_view text) const;

private:
    bool m_utf8 = true;
    int m_codePage = 1252;
};

// "ANSI_1250" -> 1250, "DOS852" -> 852, "ISO8859-2" -> 28592; 0 when unknown.
int codePageFromName(std::string_view name);
// 1250 -> "ANSI_1250".
std::string codePageName(int codePage);
// Version number of an $ACADVER text ("AC1027" -> 1027); 0 when not of that form.
int acadVersion(std::string_view acadver);
bool isValidUtf8(std::string_view s);
// Replaces \U+XXXX escapes by the characters they stand for.
std::wstring decodeUnicodeEscapes(std::wstring_view text);

} // namespace khost::dxf
