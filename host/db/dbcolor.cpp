// Colours: methods, the colour table (ACI) and the text form of CECOLOR.
#include "dbcolor.h"

#include "dbhost.h"

#include <cmath>
#include <cwchar>

namespace {

struct Rgb {
    Adesk::UInt8 r, g, b;
};

Rgb aciRgb(int i) {
    static const Rgb fixed[10] = {{0, 0, 0},     {255, 0, 0},    {255, 255, 0}, {0, 255, 0},
                                  {0, 255, 255}, {0, 0, 255},    {255, 0, 255}, {255, 255, 255},
                                  {65, 65, 65},  {128, 128, 128}};
    static const Rgb grays[6] = {{51, 51, 51},    {80, 80, 80},    {105, 105, 105},
                                 {130, 130, 130}, {190, 190, 190}, {255, 255, 255}};
    if (i >= 0 && i < 10)
        return fixed[i];
    if (i >= 250 && i <= 255)
        return grays[i - 250];
    if (i < 10 || i > 249)
        return {0, 0, 0};
    const double hue = ((i - 10) / 10) * 15.0;
    const int j = (i - 10) % 10;
    static const double levels[5] = {255.0, 165.0, 127.0, 76.0, 38.0};
    const double v = levels[j / 2];
    const double low = (j % 2) ? 0.5 : 0.0; // odd: half saturation
    // Full-value hue colour with components in [0, 1].
    double rgb[3];
    const double h = hue / 60.0;
    const int sector = static_cast<int>(h) % 6;
    const double f = h - std::floor(h);
    switch (sector) {
    case 0:
        rgb[0] = 1;
        rgb[1] = f;
        rgb[2] = 0;
        break;
    case 1:
        rgb[0] = 1 - f;
        rgb[1] = 1;
        rgb[2] = 0;
        break;
    case 2:
        rgb[0] = 0;
        rgb[1] = 1;
        rgb[2] = f;
        break;
    case 3:
        rgb[0] = 0;
        rgb[1] = 1 - f;
        rgb[2] = 1;
        break;
    case 4:
        rgb[0] = f;
        rgb[1] = 0;
        rgb[2] = 1;
        break;
    default:
        rgb[0] = 1;
        rgb[1] = 0;
        rgb[2] = 1 - f;
        break;
    }
    Rgb out;
    Adesk::UInt8* c[3] = {&out.r, &out.g, &out.b};
    for (int k = 0; k < 3; ++k)
        *c[k] = static_cast<Adesk::UInt8>(v * (low + (1.0 - low) * rgb[k]));
    return out;
}

} // namespace

Adesk::UInt32 AcCmEntityColor::lookUpRGB(Adesk::UInt8 colorIndex) {
    Rgb c = aciRgb(colorIndex);
    return (static_cast<Adesk::UInt32>(c.r) << 16) | (static_cast<Adesk::UInt32>(c.g) << 8) | c.b;
}

Adesk::UInt8 AcCmEntityColor::lookUpACI(Adesk::UInt8 r, Adesk::UInt8 g, Adesk::UInt8 b) {
    int best = 1;
    long bestD = -1;
    for (int i = 1; i <= 255; ++i) {
        Rgb c = aciRgb(i);
        long d = (c.r - r) * (c.r - r) + (c.g - g) * (c.g - g) + (c.b - b) * (c.b - b);
        if (bestD < 0 || d < bestD) {
            bestD = d;
            best = i;
        }
    }
    return static_cast<Adesk::UInt8>(best);
}

Acad::ErrorStatus AcCmEntityColor::setColorMethod(ColorMethod m) {
    if (m < kByLayer || m > kNone)
        return Acad::eInvalidInput;
    m_value = static_cast<Adesk::UInt32>(m) << 24;
    return Acad::eOk;
}

Adesk::Int16 AcCmEntityColor::colorIndex() const {
    switch (colorMethod()) {
    case kByLayer:
        return 256;
    case kByBlock:
        return 0;
    case kByACI:
    case kByPen:
        return static_cast<Adesk::Int16>(m_value & 0xFFFF);
    case kByColor:
        return lookUpACI(red(), green(), blue());
    case kForeground:
        return 7;
    case kNone:
        return 257;
    default:
        return 0;
    }
}

Acad::ErrorStatus AcCmEntityColor::setColorIndex(Adesk::Int16 index) {
    if (index == 256)
        m_value = static_cast<Adesk::UInt32>(kByLayer) << 24;
    else if (index == 0)
        m_value = static_cast<Adesk::UInt32>(kByBlock) << 24;
    else if (index == 257)
        m_value = static_cast<Adesk::UInt32>(kNone) << 24;
    else if (index > 0 && index < 256)
        m_value = (static_cast<Adesk::UInt32>(kByACI) << 24) | static_cast<Adesk::UInt32>(index);
    else
        return Acad::eInvalidInput;
    return Acad::eOk;
}

Acad::ErrorStatus AcCmEntityColor::setRGB(Adesk::UInt8 r, Adesk::UInt8 g, Adesk::UInt8 b) {
    m_value = (static_cast<Adesk::UInt32>(kByColor) << 24) | (static_cast<Adesk::UInt32>(r) << 16) |
              (static_cast<Adesk::UInt32>(g) << 8) | b;
    return Acad::eOk;
}

Adesk::UInt32 AcCmEntityColor::trueColor() const {
    if (isByColor())
        return m_value & 0xFFFFFF;
    Adesk::Int16 i = colorIndex();
    return (i > 0 && i < 256) ? lookUpRGB(static_cast<Adesk::UInt8>(i)) : 0;
}
Adesk::UInt8 AcCmEntityColor::red() const {
    return static_cast<Adesk::UInt8>(trueColor() >> 16);
}
Adesk::UInt8 AcCmEntityColor::green() const {
    return static_cast<Adesk::UInt8>(trueColor() >> 8);
}
Adesk::UInt8 AcCmEntityColor::blue() const {
    return static_cast<Adesk::UInt8>(trueColor());
}

Acad::ErrorStatus AcCmColor::setNames(const ACHAR* colorName, const ACHAR* bookName) {
    const bool hasName = colorName && *colorName;
    if (!hasName && bookName && *bookName)
        return Acad::eInvalidInput;
    if (!isByColor() && hasName)
        return Acad::eNotApplicable;
    m_colorName = hasName ? colorName : L"";
    m_bookName = bookName ? bookName : L"";
    return Acad::eOk;
}

const ACHAR* AcCmColor::colorNameForDisplay() const {
    static const wchar_t* const names[8] = {L"ByBlock", L"red",  L"yellow",  L"green",
                                            L"cyan",    L"blue", L"magenta", L"white"};
    switch (colorMethod()) {
    case kByLayer:
        m_display = L"ByLayer";
        break;
    case kByBlock:
        m_display = L"ByBlock";
        break;
    case kByColor:
        if (!m_colorName.empty()) {
            m_display = m_colorName;
        } else {
            wchar_t buf[32];
            std::swprintf(buf, 32, L"%d,%d,%d", red(), green(), blue());
            m_display = buf;
        }
        break;
    case kForeground:
        m_display = names[7];
        break;
    case kNone:
        m_display = L"None";
        break;
    default: {
        const Adesk::Int16 i = colorIndex();
        m_display = (i >= 1 && i <= 7) ? names[i] : std::to_wstring(i);
        break;
    }
    }
    return m_display.c_str();
}

namespace khost {

Adesk::Int32 colorToRaw(const AcCmEntityColor& c) {
    Adesk::UInt32 v = 0;
    switch (c.colorMethod()) {
    case AcCmEntityColor::kByLayer:
        v = 0xC0000000u;
        break;
    case AcCmEntityColor::kByBlock:
        v = 0xC1000000u;
        break;
    case AcCmEntityColor::kByColor:
        v = 0xC2000000u | c.trueColor();
        break;
    default:
        v = 0xC3000000u | static_cast<Adesk::UInt32>(c.colorIndex() & 0xFF);
        break;
    }
    return static_cast<Adesk::Int32>(v);
}

AcCmColor colorFromRaw(Adesk::Int32 raw) {
    const auto v = static_cast<Adesk::UInt32>(raw);
    AcCmColor c;
    switch (v >> 24) {
    case 0xC0:
        c.setColorIndex(256);
        break;
    case 0xC1:
        c.setColorIndex(0);
        break;
    case 0xC2:
        c.setRGB(v & 0xFFFFFF);
        break;
    case 0xC3:
        c.setColorIndex(static_cast<Adesk::Int16>((v & 0xFF) ? (v & 0xFF) : 7));
        break;
    default:
        c.setColorIndex(0);
        break;
    }
    return c;
}

bool colorFromText(const ACHAR* text, AcCmColor& out) {
    if (!text)
        return false;
    std::wstring k = nameKey(text);
    while (!k.empty() && k.back() == L' ')
        k.pop_back();
    if (k == L"BYLAYER") {
        out.setColorIndex(256);
        return true;
    }
    if (k == L"BYBLOCK") {
        out.setColorIndex(0);
        return true;
    }
    if (k.rfind(L"RGB:", 0) == 0) {
        int r, g, b;
        wchar_t tail;
        if (std::swscanf(k.c_str() + 4, L"%d,%d,%d%lc", &r, &g, &b, &tail) != 3)
            return false;
        if (r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255)
            return false;
        out.setRGB(static_cast<Adesk::UInt8>(r), static_cast<Adesk::UInt8>(g),
                   static_cast<Adesk::UInt8>(b));
        return true;
    }
    wchar_t* end = nullptr;
    long v = std::wcstol(k.c_str(), &end, 10);
    if (k.empty() || *end || v < 1 || v > 255)
        return false;
    out.setColorIndex(static_cast<Adesk::Int16>(v));
    return true;
}

std::wstring colorToText(const AcCmColor& c) {
    if (c.isByLayer())
        return L"BYLAYER";
    if (c.isByBlock())
        return L"BYBLOCK";
    if (c.isByColor()) {
        wchar_t buf[32];
        std::swprintf(buf, 32, L"RGB:%d,%d,%d", c.red(), c.green(), c.blue());
        return buf;
    }
    return std::to_wstring(c.colorIndex());
}

} // namespace khost
