// Colours of entities and layers: by layer, by block, an index of the colour table (ACI) or a
// true colour. The value is packed as the host does: the method in the top byte, the colour
// index or the RGB value in the rest.
#pragma once

#include "acadstrc.h"
#include "adsdef.h"

#include <string>

class AcCmEntityColor {
public:
    enum ColorMethod {
        kByLayer = 0xC0,
        kByBlock = 0xC1,
        kByColor = 0xC2,
        kByACI = 0xC3,
        kByPen = 0xC4,
        kForeground = 0xC5,
        kLayerOff = 0xC6,
        kLayerFrozen = 0xC7,
        kNone = 0xC8,
    };
    enum ACIcolorMethod {
        kACIbyBlock = 0,
        kACIforeground = 7,
        kACIbyLayer = 256,
        kACIclear = 0,
        kACIRed = 1,
        kACIYellow = 2,
        kACIGreen = 3,
        kACICyan = 4,
        kACIBlue = 5,
        kACIMagenta = 6,
        kACIWhite = 7,
        kACIstandard = 7,
        kACImax = 255,
        kACInone = 257,
        kACIminus1 = -1,
    };

    AcCmEntityColor() = default;
    AcCmEntityColor(ColorMethod m) { setColorMethod(m); }
    AcCmEntityColor(Adesk::UInt8 r, Adesk::UInt8 g, Adesk::UInt8 b) { setRGB(r, g, b); }

    ColorMethod colorMethod() const { return static_cast<ColorMethod>(m_value >> 24); }
    Acad::ErrorStatus setColorMethod(ColorMethod m);
    bool isByLayer() const { return colorMethod() == kByLayer; }
    bool isByBlock() const { return colorMethod() == kByBlock; }
    bool isByColor() const { return colorMethod() == kByColor; }
    bool isByACI() const { return colorMethod() == kByACI; }
    bool isForeground() const { return colorMethod() == kForeground; }
    bool isNone() const { return colorMethod() == kNone; }

    // The colour as an index of the colour table: 256 by layer, 0 by block, 1..255; a true colour
    // gives its nearest index.
    Adesk::Int16 colorIndex() const;
    Acad::ErrorStatus setColorIndex(Adesk::Int16 index);
    Acad::ErrorStatus setRGB(Adesk::UInt8 r, Adesk::UInt8 g, Adesk::UInt8 b);
    Acad::ErrorStatus setRGB(Adesk::UInt32 rgb) {
        return setRGB(static_cast<Adesk::UInt8>(rgb >> 16), static_cast<Adesk::UInt8>(rgb >> 8),
                      static_cast<Adesk::UInt8>(rgb));
    }
    Adesk::UInt8 red() const;
    Adesk::UInt8 green() const;
    Adesk::UInt8 blue() const;
    // The RGB value of an index or a true colour, as 0x00RRGGBB.
    Adesk::UInt32 trueColor() const;
    Adesk::UInt32 color() const { return m_value; }
    void setColor(Adesk::UInt32 packed) { m_value = packed; }

    static Adesk::UInt32 lookUpRGB(Adesk::UInt8 colorIndex);
    static Adesk::UInt8 lookUpACI(Adesk::UInt8 r, Adesk::UInt8 g, Adesk::UInt8 b);

    friend bool operator==(const AcCmEntityColor& a, const AcCmEntityColor& b) {
        return a.m_value == b.m_value;
    }
    friend bool operator!=(const AcCmEntityColor& a, const AcCmEntityColor& b) {
        return a.m_value != b.m_value;
    }

private:
    Adesk::UInt32 m_value = static_cast<Adesk::UInt32>(kByLayer) << 24;
};

// The colour of the host's property interface: an entity colour with, for a true colour, the
// name of the colour and of its colour book.
class AcCmColor : public AcCmEntityColor {
public:
    AcCmColor() = default;
    AcCmColor(const AcCmEntityColor& c) : AcCmEntityColor(c) {}
    AcCmColor& operator=(const AcCmEntityColor& c) {
        AcCmEntityColor::operator=(c);
        clearNames();
        return *this;
    }
    const AcCmEntityColor& entityColor() const { return *this; }

    // Changing the colour drops its names.
    Acad::ErrorStatus setColorMethod(ColorMethod m) {
        clearNames();
        return AcCmEntityColor::setColorMethod(m);
    }
    Acad::ErrorStatus setColorIndex(Adesk::Int16 index) {
        clearNames();
        return AcCmEntityColor::setColorIndex(index);
    }
    Acad::ErrorStatus setRGB(Adesk::UInt8 r, Adesk::UInt8 g, Adesk::UInt8 b) {
        clearNames();
        return AcCmEntityColor::setRGB(r, g, b);
    }
    Acad::ErrorStatus setRGB(Adesk::UInt32 rgb) {
        clearNames();
        return AcCmEntityColor::setRGB(rgb);
    }
    void setColor(Adesk::UInt32 packed) {
        clearNames();
        AcCmEntityColor::setColor(packed);
    }

    // The colour's name and its book; eNotApplicable unless the colour is a true colour, and
    // eInvalidInput for a book without a colour name.
    Acad::ErrorStatus setNames(const ACHAR* colorName, const ACHAR* bookName = nullptr);
    const ACHAR* colorName() const { return m_colorName.empty() ? nullptr : m_colorName.c_str(); }
    const ACHAR* bookName() const { return m_bookName.empty() ? nullptr : m_bookName.c_str(); }
    bool hasColorName() const { return !m_colorName.empty(); }
    bool hasBookName() const { return !m_bookName.empty(); }
    // The colour as the host names it in its dialogs: "ByLayer", "ByBlock", "red", "yellow",
    // "green", "cyan", "blue", "magenta", "white" for 1-7, the number for other indexes, the
    // colour's name for a colour of a book, "R,G,B" for another true colour. The text stays
    // valid until the colour changes or is destroyed.
    const ACHAR* colorNameForDisplay() const;

    friend bool operator==(const AcCmColor& a, const AcCmColor& b) {
        return a.color() == b.color() && a.m_colorName == b.m_colorName &&
               a.m_bookName == b.m_bookName;
    }
    friend bool operator!=(const AcCmColor& a, const AcCmColor& b) { return !(a == b); }

private:
    void clearNames() {
        m_colorName.clear();
        m_bookName.clear();
    }
    std::wstring m_colorName, m_bookName;
    mutable std::wstring m_display;
};

namespace khost {
// A colour as the text of CECOLOR: "BYLAYER", "BYBLOCK", "1".."255", "RGB:r,g,b". The parser
// accepts the names case-insensitively and returns false for text that is no colour.
bool colorFromText(const ACHAR* text, AcCmColor& out);
std::wstring colorToText(const AcCmColor& c);
// The colour as a 32-bit value of the DXF groups 90-99 of multileaders and their styles (the
// method in the top byte: 0xC0 by layer, 0xC1 by block, 0xC2 RGB, 0xC3 index) and back.
Adesk::Int32 colorToRaw(const AcCmEntityColor& c);
AcCmColor colorFromRaw(Adesk::Int32 raw);
} // namespace khost
