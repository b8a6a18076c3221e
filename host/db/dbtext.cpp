// Single-line and multi-line text.
#include "dbent_util.h"

#include "acutads.h"
#include "dbents.h"

#include <algorithm>
#include <cmath>
#include <cwctype>

ACRX_DEFINE_MEMBERS_DXF(AcDbText, AcDbEntity, L"TEXT")
ACRX_DEFINE_MEMBERS_DXF(AcDbMText, AcDbEntity, L"MTEXT")

using namespace khost;

namespace {

AcDb::DxfCode code(int c) {
    return static_cast<AcDb::DxfCode>(c);
}

// The default text style of the file format, which the groups leave out.
bool isStandardName(const std::wstring& name) {
    return nameKey(name.c_str()) == L"STANDARD";
}

ACHAR* newCopy(const std::wstring& s) {
    ACHAR* p = nullptr;
    acutNewString(s.c_str(), p);
    return p;
}

AcGeVector3d checkedNormal(const resbuf& rb, const AcGeVector3d& fallback) {
    AcGeVector3d v = rbVector(rb);
    return v.isZeroLength() ? fallback : v.normal();
}

} // namespace

// ---- Plain text and widths ----------------------------------------------------------------------

namespace khost {

std::wstring mtextPlainText(const std::wstring& s) {
    std::wstring out;
    const size_t n = s.size();
    auto skipTo = [&](size_t i, wchar_t end) {
        while (i < n && s[i] != end)
            ++i;
        return i; // at the terminator (or the end)
    };
    for (size_t i = 0; i < n; ++i) {
        wchar_t c = s[i];
        if (c == L'\\' && i + 1 < n) {
            wchar_t e = s[++i];
            switch (e) {
            case L'P':
            case L'N':
                out += L'\n';
                break;
            case L'~':
                out += L' ';
                break;
            case L'\\':
            case L'{':
            case L'}':
                out += e;
                break;
            case L'L':
            case L'l':
            case L'O':
            case L'o':
            case L'K':
            case L'k':
            case L'X':
                break;
            case L'A':
            case L'C':
            case L'c':
            case L'F':
            case L'f':
            case L'H':
            case L'h':
            case L'Q':
            case L'q':
            case L'T':
            case L't':
            case L'W':
            case L'w':
            case L'p':
                i = skipTo(i, L';');
                break;
            case L'S': {
                size_t end = skipTo(i + 1, L';');
                for (size_t k = i + 1; k < end; ++k) {
                    wchar_t sc = s[k];
                    if (sc == L'^' || sc == L'#' || sc == L'/')
                        out += L'/';
                    else if (sc == L'\\' && k + 1 < end)
                        out += s[++k];
                    else
                        out += sc;
                }
                i = end;
                break;
            }
            case L'U':
                if (i + 5 < n && s[i + 1] == L'+') {
                    std::wstring hex = s.substr(i + 2, 4);
                    wchar_t* endp = nullptr;
                    unsigned long v = std::wcstoul(hex.c_str(), &endp, 16);
                    if (endp && *endp == 0) {
                        out += static_cast<wchar_t>(v);
                        i += 5;
                        break;
                    }
                }
                out += e;
                break;
            default:
                out += e;
                break;
            }
            continue;
        }
        if (c == L'{' || c == L'}')
            continue;
        if (c == L'%' && i + 2 < n && s[i + 1] == L'%') {
            wchar_t k = static_cast<wchar_t>(std::towlower(s[i + 2]));
            const wchar_t* sym = k == L'd'   ? L"\u00B0"
                                 : k == L'p' ? L"\u00B1"
                                 : k == L'c' ? L"\u00D8"
                                 : k == L'%' ? L"%"
                                             : nullptr;
            if (sym) {
                out += sym;
                i += 2;
                continue;
            }
        }
        out += c;
    }
    return out;
}

double approxTextWidth(const std::wstring& text, double height, double widthFactor) {
    return static_cast<double>(text.size()) * height * widthFactor;
}

// ---- MTextData ----------------------------------------------------------------------------------

double MTextData::rotation() const {
    return ocsAngle(normal, direction);
}

void MTextData::setRotation(double angle) {
    direction = ocsDirection(normal, angle);
}

void MTextData::transformBy(const AcGeMatrix3d& m) {
    AcGeVector3d up = normal.crossProduct(direction.normal());
    AcGeVector3d nd = m * direction.normal(), nu = m * up;
    AcGeVector3d n = transformNormal(m, normal);
    location.transformBy(m);
    if (!nd.isZeroLength()) {
        double sx = nd.length();
        width *= sx;
        AcGeVector3d d = nd - n * nd.dotProduct(n);
        if (!d.isZeroLength())
            direction = d.normal();
    }
    if (!nu.isZeroLength()) {
        double sy = nu.length();
        textHeight *= sy;
        height *= sy;
    }
    normal = n;
}

void MTextData::writeGroups(AcDbDxfFiler* f, bool all) const {
    f->writePoint3d(AcDb::kDxfXCoord, location);
    f->writeDouble(AcDb::kDxfReal, textHeight);
    if (all || width != 0.0)
        f->writeDouble(code(41), width);
    if (all || height != 0.0)
        f->writeDouble(code(46), height);
    f->writeInt16(code(71), static_cast<Adesk::Int16>(attachment));
    if (all || flowDirection != 1)
        f->writeInt16(code(72), static_cast<Adesk::Int16>(flowDirection));
    std::vector<std::wstring> chunks = mtextChunks(contents);
    for (size_t i = 0; i + 1 < chunks.size(); ++i)
        f->writeString(code(3), chunks[i].c_str());
    f->writeString(AcDb::kDxfText, chunks.back().c_str());
    std::wstring styleName = recordNameOf(style);
    if (!styleName.empty() && (all || !isStandardName(styleName)))
        f->writeString(AcDb::kDxfTextStyleName, styleName.c_str());
    if (!isWorldZ(normal))
        f->writeVector3d(AcDb::kDxfNormalX, normal);
    if (all || direction.x != 1.0 || direction.y != 0.0 || direction.z != 0.0)
        f->writeVector3d(code(11), direction);
    if (all || lineSpacingStyle != 1)
        f->writeInt16(code(73), static_cast<Adesk::Int16>(lineSpacingStyle));
    if (all || lineSpacingFactor != 1.0)
        f->writeDouble(code(44), lineSpacingFactor);
}

bool MTextData::readGroup(AcDbDxfFiler* f, AcDbDatabase* db, const resbuf& rb) {
    switch (rb.restype) {
    case 10:
        location = rbPoint(rb);
        return true;
    case 40:
        textHeight = rb.resval.rreal;
        return true;
    case 41:
        width = rb.resval.rreal;
        return true;
    case 46:
        height = rb.resval.rreal;
        return true;
    case 71:
        attachment = rb.resval.rint;
        return true;
    case 72:
        flowDirection = rb.resval.rint;
        return true;
    case 3:
        pendingChunks += rb.resval.rstring ? rb.resval.rstring : L"";
        return true;
    case 1:
        pendingLast = rb.resval.rstring ? rb.resval.rstring : L"";
        return true;
    case 7: {
        AcDbObjectId id = textStyleByName(db, rb.resval.rstring);
        if (!id.isNull())
            style = id;
        return true;
    }
    case 210:
        normal = checkedNormal(rb, normal);
        return true;
    case 11:
        if (!rbVector(rb).isZeroLength()) {
            direction = rbVector(rb).normal();
            directionRead = true;
        }
        return true;
    case 50:
        rotationRead = true;
        rotationValue = readAngleGroup(f, rb.resval.rreal);
        return true;
    case 73:
        lineSpacingStyle = rb.resval.rint;
        return true;
    case 44:
        lineSpacingFactor = rb.resval.rreal;
        return true;
    case 42: // the extents of the text, computed
    case 43:
        return true;
    default:
        return false;
    }
}

void MTextData::finishReading() {
    contents = pendingChunks + pendingLast;
    if (!directionRead && rotationRead)
        setRotation(rotationValue);
    pendingChunks.clear();
    pendingLast.clear();
    directionRead = rotationRead = false;
    rotationValue = 0.0;
}

} // namespace khost

// ---- AcDbText -----------------------------------------------------------------------------------

AcDbText::AcDbText() = default;
AcDbText::AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId style,
                   double height, double rotation)
    : m_position(position), m_height(height), m_rotation(rotation), m_text(text ? text : L""),
      m_style(style) {}

Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& p) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_position = p;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setAlignmentPoint(const AcGePoint3d& p) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_alignment = p;
    return Acad::eOk;
}
bool AcDbText::isDefaultAlignment() const {
    return m_hmode == AcDb::kTextLeft && m_vmode == AcDb::kTextBase;
}
Acad::ErrorStatus AcDbText::setNormal(const AcGeVector3d& n) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (n.isZeroLength())
        return Acad::eInvalidInput;
    m_normal = n.normal();
    return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setThickness(double t) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_thickness = t;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setOblique(double angle) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    double a = std::remainder(angle, kEntTwoPi);
    if (std::fabs(a) > 85.0 * kEntPi / 180.0 + 1e-12)
        return Acad::eInvalidInput;
    m_oblique = angle;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setRotation(double angle) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_rotation = angle;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setHeight(double h) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!(h > 0.0))
        return Acad::eInvalidInput;
    m_height = h;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setWidthFactor(double f) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!(f > 0.0))
        return Acad::eInvalidInput;
    m_widthFactor = f;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbText::mirrorInX(bool mirror) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_generation = static_cast<Adesk::Int16>(mirror ? (m_generation | 2) : (m_generation & ~2));
    return Acad::eOk;
}
Acad::ErrorStatus AcDbText::mirrorInY(bool mirror) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_generation = static_cast<Adesk::Int16>(mirror ? (m_generation | 4) : (m_generation & ~4));
    return Acad::eOk;
}
ACHAR* AcDbText::textString() const {
    return newCopy(m_text);
}
Acad::ErrorStatus AcDbText::textString(AcString& s) const {
    s = m_text.c_str();
    return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setTextString(const ACHAR* text) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!text)
        return Acad::eNullPtr;
    m_text = text;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setTextStyle(AcDbObjectId style) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!AcDbTextStyleTableRecord::cast(peekObject(style)))
        return Acad::eInvalidInput;
    if (database() && style.database() != database())
        return Acad::eWrongDatabase;
    m_style = style;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setHorizontalMode(AcDb::TextHorzMode mode) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (mode < AcDb::kTextLeft || mode > AcDb::kTextFit)
        return Acad::eInvalidInput;
    m_hmode = static_cast<Adesk::Int16>(mode);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setVerticalMode(AcDb::TextVertMode mode) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (mode < AcDb::kTextBase || mode > AcDb::kTextTop)
        return Acad::eInvalidInput;
    m_vmode = static_cast<Adesk::Int16>(mode);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::adjustAlignment(const AcDbDatabase*) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (isDefaultAlignment()) {
        m_alignment = m_position;
        return Acad::eOk;
    }
    if ((m_hmode == AcDb::kTextAlign || m_hmode == AcDb::kTextFit) && m_vmode == AcDb::kTextBase)
        return Acad::eOk; // both points are the user's
    AcGeVector3d dir = ocsDirection(m_normal, m_rotation);
    AcGeVector3d up = m_normal.crossProduct(dir);
    double w = approxTextWidth(m_text, m_height, m_widthFactor);
    double dx = 0.0, dy = 0.0;
    switch (m_hmode) {
    case AcDb::kTextCenter:
    case AcDb::kTextMid:
        dx = w / 2.0;
        break;
    case AcDb::kTextRight:
        dx = w;
        break;
    default:
        break;
    }
    if (m_hmode == AcDb::kTextMid) {
        dy = m_height / 2.0;
    } else {
        switch (m_vmode) {
        case AcDb::kTextBottom:
            dy = -m_height / 3.0;
            break;
        case AcDb::kTextVertMid:
            dy = m_height / 2.0;
            break;
        case AcDb::kTextTop:
            dy = m_height;
            break;
        default:
            break;
        }
    }
    m_position = m_alignment - dir * dx - up * dy;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::getBoundingPoints(AcGePoint3dArray& points) const {
    AcGeVector3d dir = ocsDirection(m_normal, m_rotation);
    AcGeVector3d up = m_normal.crossProduct(dir);
    double w = approxTextWidth(m_text, m_height, m_widthFactor);
    AcGeVector3d along = dir * (isMirroredInX() ? -w : w);
    points.removeAll();
    points.append(m_position);
    points.append(m_position + along);
    points.append(m_position + up * m_height);
    points.append(m_position + along + up * m_height);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::transformBy(const AcGeMatrix3d& xform) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    AcGeVector3d dir = ocsDirection(m_normal, m_rotation);
    AcGeVector3d up = m_normal.crossProduct(dir);
    // The glyphs' own X axis: against the text direction for backward text.
    AcGeVector3d glyphX = isMirroredInX() ? -dir : dir;
    AcGeVector3d gx = xform * glyphX, nu = xform * up, nn = xform * m_normal;
    if (gx.isZeroLength() || nu.isZeroLength())
        return Acad::eDegenerateGeometry;
    AcGeVector3d n = transformNormal(xform, m_normal);
    const bool mirror = isMirroring(xform);
    if (mirror)
        m_generation ^= 2;
    AcGeVector3d newDir = isMirroredInX() ? -gx : gx;
    m_position.transformBy(xform);
    m_alignment.transformBy(xform);
    m_rotation = ocsAngle(n, newDir);
    double sx = gx.length(), sy = nu.length();
    m_height *= sy;
    m_widthFactor *= sx / sy;
    m_thickness *= nn.length();
    m_normal = n;
    return Acad::eOk;
}

void AcDbText::subAddedToDatabase() {
    AcDbDatabase* db = database();
    if (!db)
        return;
    if (m_style.isNull())
        m_style = db->textstyle();
    if (!(m_height > 0.0))
        m_height = db->textsize();
}

void AcDbText::copyTextData(const AcDbText& o) {
    m_position = o.m_position;
    m_alignment = o.m_alignment;
    m_normal = o.m_normal;
    m_thickness = o.m_thickness;
    m_height = o.m_height;
    m_widthFactor = o.m_widthFactor;
    m_rotation = o.m_rotation;
    m_oblique = o.m_oblique;
    m_text = o.m_text;
    m_style = o.m_style;
    m_generation = o.m_generation;
    m_hmode = o.m_hmode;
    m_vmode = o.m_vmode;
}

void AcDbText::writeTextGroups(AcDbDxfFiler* f) const {
    if (m_thickness != 0.0)
        f->writeDouble(AcDb::kDxfThickness, m_thickness);
    f->writePoint3d(AcDb::kDxfXCoord, wcsToOcs(m_normal, m_position));
    f->writeDouble(AcDb::kDxfTxtSize, m_height);
    f->writeString(AcDb::kDxfText, m_text.c_str());
    if (m_rotation != 0.0)
        writeAngleGroup(f, 50, m_rotation);
    if (m_widthFactor != 1.0)
        f->writeDouble(AcDb::kDxfTxtStyleXScale, m_widthFactor);
    if (m_oblique != 0.0)
        writeAngleGroup(f, 51, m_oblique);
    std::wstring styleName = recordNameOf(m_style);
    if (!styleName.empty() && !isStandardName(styleName))
        f->writeString(AcDb::kDxfTextStyleName, styleName.c_str());
    if (m_generation != 0)
        f->writeInt16(code(71), m_generation);
    if (m_hmode != 0)
        f->writeInt16(code(72), m_hmode);
    if (!isDefaultAlignment())
        f->writePoint3d(code(11), wcsToOcs(m_normal, m_alignment));
    if (!isWorldZ(m_normal))
        f->writeVector3d(AcDb::kDxfNormalX, m_normal);
}

void AcDbText::startTextReading() {
    m_position = wcsToOcs(m_normal, m_position);
    m_alignment = wcsToOcs(m_normal, m_alignment);
    m_styleRead = false;
    m_alignmentRead = false;
}

bool AcDbText::readTextGroup(AcDbDxfFiler* f, AcDbDatabase* db, const resbuf& rb) {
    switch (rb.restype) {
    case 10:
        m_position = rbPoint(rb);
        return true;
    case 11:
        m_alignment = rbPoint(rb);
        m_alignmentRead = true;
        return true;
    case 39:
        m_thickness = rb.resval.rreal;
        return true;
    case 40:
        m_height = rb.resval.rreal;
        return true;
    case 1:
        m_text = rb.resval.rstring ? rb.resval.rstring : L"";
        return true;
    case 50:
        m_rotation = readAngleGroup(f, rb.resval.rreal);
        return true;
    case 41:
        m_widthFactor = rb.resval.rreal;
        return true;
    case 51:
        m_oblique = readAngleGroup(f, rb.resval.rreal);
        return true;
    case 7: {
        AcDbObjectId id = textStyleByName(db, rb.resval.rstring);
        if (!id.isNull())
            m_style = id;
        m_styleRead = true;
        return true;
    }
    case 71:
        m_generation = rb.resval.rint;
        return true;
    case 72:
        m_hmode = rb.resval.rint;
        return true;
    case 210:
        m_normal = checkedNormal(rb, m_normal);
        return true;
    default:
        return false;
    }
}

void AcDbText::finishTextReading(AcDbDatabase* db) {
    m_position = ocsToWcs(m_normal, m_position);
    m_alignment = ocsToWcs(m_normal, m_alignment);
    if (!m_styleRead && db) {
        AcDbObjectId standard = textStyleByName(db, L"Standard");
        if (!standard.isNull())
            m_style = standard;
    }
}

Acad::ErrorStatus AcDbText::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    AcDbDatabase* db = filerDatabase(f, this);
    startTextReading();
    auto take = [&](const resbuf& rb) {
        if (rb.restype == 73)
            m_vmode = rb.resval.rint;
        else
            readTextGroup(f, db, rb);
    };
    f->atSubclassData(L"AcDbText");
    readSubclass(f, take);
    if (f->atSubclassData(L"AcDbText"))
        readSubclass(f, take);
    finishTextReading(db);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbEntity::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbText");
    writeTextGroups(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbText");
    if (m_vmode != 0)
        f->writeInt16(code(73), m_vmode);
    return f->filerStatus();
}

// ---- AcDbMText ----------------------------------------------------------------------------------

AcDbMText::AcDbMText() = default;

Acad::ErrorStatus AcDbMText::setLocation(const AcGePoint3d& p) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_d.location = p;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMText::setNormal(const AcGeVector3d& n) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (n.isZeroLength())
        return Acad::eInvalidInput;
    double rot = m_d.rotation();
    m_d.normal = n.normal();
    m_d.setRotation(rot);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMText::setDirection(const AcGeVector3d& d) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    AcGeVector3d p = d - m_d.normal * d.dotProduct(m_d.normal);
    if (p.isZeroLength())
        return Acad::eInvalidInput;
    m_d.direction = p.normal();
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMText::setRotation(double angle) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_d.setRotation(angle);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMText::setWidth(double w) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (w < 0.0)
        return Acad::eInvalidInput;
    m_d.width = w;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMText::setHeight(double h) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (h < 0.0)
        return Acad::eInvalidInput;
    m_d.height = h;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMText::setTextHeight(double h) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!(h > 0.0))
        return Acad::eInvalidInput;
    m_d.textHeight = h;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMText::setTextStyle(AcDbObjectId style) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!AcDbTextStyleTableRecord::cast(peekObject(style)))
        return Acad::eInvalidInput;
    if (database() && style.database() != database())
        return Acad::eWrongDatabase;
    m_d.style = style;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMText::setAttachment(AttachmentPoint a) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (a < kTopLeft || a > kTopMid)
        return Acad::eInvalidInput;
    m_d.attachment = a;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMText::setFlowDirection(FlowDirection d) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (d < kLtoR || d > kByStyle)
        return Acad::eInvalidInput;
    m_d.flowDirection = d;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMText::setLineSpacingStyle(AcDb::LineSpacingStyle style) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (style != AcDb::kAtLeast && style != AcDb::kExactly)
        return Acad::eInvalidInput;
    m_d.lineSpacingStyle = style;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMText::setLineSpacingFactor(double f) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!(f >= 0.25 && f <= 4.0))
        return Acad::eInvalidInput;
    m_d.lineSpacingFactor = f;
    return Acad::eOk;
}
ACHAR* AcDbMText::contents() const {
    return newCopy(m_d.contents);
}
Acad::ErrorStatus AcDbMText::contents(AcString& s) const {
    s = m_d.contents.c_str();
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMText::setContents(const ACHAR* text) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!text)
        return Acad::eNullPtr;
    m_d.contents = text;
    return Acad::eOk;
}
ACHAR* AcDbMText::text() const {
    return newCopy(mtextPlainText(m_d.contents));
}
Acad::ErrorStatus AcDbMText::text(AcString& s) const {
    s = mtextPlainText(m_d.contents).c_str();
    return Acad::eOk;
}

double AcDbMText::actualHeight(AcDbDatabase*) const {
    std::wstring plain = mtextPlainText(m_d.contents);
    double lines = 1.0 + static_cast<double>(std::count(plain.begin(), plain.end(), L'\n'));
    return m_d.textHeight * (1.0 + (lines - 1.0) * 5.0 / 3.0 * m_d.lineSpacingFactor);
}

double AcDbMText::actualWidth() const {
    std::wstring plain = mtextPlainText(m_d.contents);
    size_t longest = 0, cur = 0;
    for (wchar_t c : plain) {
        if (c == L'\n') {
            longest = std::max(longest, cur);
            cur = 0;
        } else {
            ++cur;
        }
    }
    longest = std::max(longest, cur);
    double w = static_cast<double>(longest) * m_d.textHeight;
    return m_d.width > 0.0 ? std::min(w, m_d.width) : w;
}

Acad::ErrorStatus AcDbMText::transformBy(const AcGeMatrix3d& xform) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_d.transformBy(xform);
    return Acad::eOk;
}

void AcDbMText::subAddedToDatabase() {
    AcDbDatabase* db = database();
    if (!db)
        return;
    if (m_d.style.isNull())
        m_d.style = db->textstyle();
    if (!(m_d.textHeight > 0.0))
        m_d.textHeight = db->textsize();
}

Acad::ErrorStatus AcDbMText::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    AcDbDatabase* db = filerDatabase(f, this);
    f->atSubclassData(L"AcDbMText");
    m_d.pendingChunks.clear();
    m_d.pendingLast.clear();
    bool styleRead = false;
    es = readSubclass(f, [&](const resbuf& rb) {
        if (rb.restype == 7)
            styleRead = true;
        m_d.readGroup(f, db, rb);
    });
    m_d.finishReading();
    if (!styleRead && db) {
        AcDbObjectId standard = textStyleByName(db, L"Standard");
        if (!standard.isNull())
            m_d.style = standard;
    }
    return es;
}

Acad::ErrorStatus AcDbMText::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbEntity::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbMText");
    m_d.writeGroups(f, false);
    return f->filerStatus();
}
