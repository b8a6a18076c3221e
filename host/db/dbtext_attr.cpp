// Attribute definitions and attributes, with their multi-line part.
#include "dbent_util.h"

#include "acutads.h"
#include "dbents.h"

#include <algorithm>
#include <cwctype>

ACRX_DEFINE_MEMBERS_DXF(AcDbAttributeDefinition, AcDbText, L"ATTDEF")
ACRX_DEFINE_MEMBERS_DXF(AcDbAttribute, AcDbText, L"ATTRIB")

using namespace khost;

namespace {

AcDb::DxfCode code(int c) {
    return static_cast<AcDb::DxfCode>(c);
}

ACHAR* newCopy(const std::wstring& s) {
    ACHAR* p = nullptr;
    acutNewString(s.c_str(), p);
    return p;
}

Acad::ErrorStatus checkTag(const ACHAR* tag) {
    if (!tag)
        return Acad::eNullPtr;
    if (!*tag)
        return Acad::eInvalidInput;
    for (const ACHAR* p = tag; *p; ++p)
        if (std::iswspace(*p))
            return Acad::eInvalidInput;
    return Acad::eOk;
}

Acad::ErrorStatus setFlag(AttrData& a, int bit, bool on) {
    a.flags = static_cast<Adesk::Int16>(on ? (a.flags | bit) : (a.flags & ~bit));
    return Acad::eOk;
}

// The attachment of multi-line text that matches single-line justification.
int attachmentFor(const AcDbText& t) {
    int col = 0;
    switch (t.horizontalMode()) {
    case AcDb::kTextCenter:
    case AcDb::kTextMid:
        col = 1;
        break;
    case AcDb::kTextRight:
        col = 2;
        break;
    default:
        break;
    }
    int row = 2; // bottom
    if (t.horizontalMode() == AcDb::kTextMid || t.verticalMode() == AcDb::kTextVertMid)
        row = 1;
    else if (t.verticalMode() == AcDb::kTextTop)
        row = 0;
    return row * 3 + col + 1;
}

// The point that places a text.
AcGePoint3d placingPoint(const AcDbText& t) {
    bool byPosition =
        t.verticalMode() == AcDb::kTextBase &&
        (t.horizontalMode() == AcDb::kTextLeft || t.horizontalMode() == AcDb::kTextAlign ||
         t.horizontalMode() == AcDb::kTextFit);
    return byPosition ? t.position() : t.alignmentPoint();
}

MTextData mtextFromText(const AcDbText& t) {
    MTextData d;
    d.location = placingPoint(t);
    d.normal = t.normal();
    d.setRotation(t.rotation());
    d.textHeight = t.height();
    d.style = t.textStyle();
    d.contents = t.textStringConst();
    d.attachment = attachmentFor(t);
    return d;
}

// Updates the placing properties of the multi-line part from the text's.
void updateMText(MTextData& d, const AcDbText& t) {
    d.location = placingPoint(t);
    d.normal = t.normal();
    d.setRotation(t.rotation());
    d.textHeight = t.height();
    d.style = t.textStyle();
}

// A single line of the multi-line part's text.
std::wstring singleLine(const MTextData& d) {
    std::wstring s = mtextPlainText(d.contents);
    for (wchar_t& c : s)
        if (c == L'\n')
            c = L' ';
    return s;
}

// The text properties that follow the multi-line part.
void textFromMText(AcDbText& t, const MTextData& d) {
    t.setTextString(d.contents.c_str());
    t.setNormal(d.normal);
    t.setPosition(d.location);
    t.setAlignmentPoint(d.location);
    if (d.textHeight > 0.0)
        t.setHeight(d.textHeight);
    t.setRotation(d.rotation());
    if (!d.style.isNull())
        t.setTextStyle(d.style);
    int a = d.attachment >= 1 && d.attachment <= 9 ? d.attachment - 1 : 0;
    static const AcDb::TextHorzMode h[] = {AcDb::kTextLeft, AcDb::kTextCenter, AcDb::kTextRight};
    static const AcDb::TextVertMode v[] = {AcDb::kTextTop, AcDb::kTextVertMid, AcDb::kTextBottom};
    t.setHorizontalMode(h[a % 3]);
    t.setVerticalMode(v[a / 3]);
}

// The groups of the AcDbAttribute / AcDbAttributeDefinition subclass after its marker.
void writeAttrGroups(AcDbDxfFiler* f, const AttrData& a, bool definition, int vmode,
                     const AcGePoint3d& alignmentOcs) {
    f->writeInt16(code(280), 0);
    if (definition)
        f->writeString(code(3), a.prompt.c_str());
    f->writeString(code(2), a.tag.c_str());
    f->writeInt16(AcDb::kDxfInt16, a.flags);
    if (a.fieldLength != 0)
        f->writeInt16(code(73), static_cast<Adesk::Int16>(a.fieldLength));
    if (vmode != 0)
        f->writeInt16(code(74), static_cast<Adesk::Int16>(vmode));
    if (a.lockPosition)
        f->writeInt16(code(280), 1);
    if (a.isMText) {
        f->writeInt16(code(71), definition ? 4 : 2);
        f->writeInt16(code(72), 0);
        f->writePoint3d(code(11), alignmentOcs);
        f->writeEmbeddedObjectStart();
        a.mtext.writeGroups(f, true);
    }
}

// The multi-line part shared by definitions and attributes.
AcDbMText* newMTextOf(const AttrData& a, const AcDbEntity* owner) {
    if (!a.isMText)
        return nullptr;
    auto* m = new AcDbMText;
    m->khostSetData(a.mtext);
    m->setPropertiesFrom(owner);
    return m;
}

Acad::ErrorStatus setMTextOf(AcDbText& t, AttrData& a, AcDbMText* pMText) {
    if (!t.isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!pMText)
        return Acad::eNullEntityPointer;
    a.isMText = true;
    a.mtext = pMText->khostData();
    textFromMText(t, a.mtext);
    return Acad::eOk;
}

Acad::ErrorStatus convertMTextOf(AcDbText& t, AttrData& a, bool val) {
    if (!t.isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (val == a.isMText)
        return Acad::eOk;
    if (val) {
        a.mtext = mtextFromText(t);
        a.isMText = true;
    } else {
        t.setTextString(singleLine(a.mtext).c_str());
        a.isMText = false;
        a.mtext = MTextData();
    }
    return Acad::eOk;
}

Acad::ErrorStatus updateMTextOf(AcDbText& t, AttrData& a) {
    if (!t.isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!a.isMText)
        return Acad::eNotApplicable;
    updateMText(a.mtext, t);
    return Acad::eOk;
}

Acad::ErrorStatus transformWithMText(AcDbText& t, AttrData& a, const AcGeMatrix3d& xform) {
    Acad::ErrorStatus es = t.AcDbText::transformBy(xform);
    if (es == Acad::eOk && a.isMText)
        a.mtext.transformBy(xform);
    return es;
}

} // namespace

// The reading of an attribute's or a definition's fields after the common entity fields: the
// AcDbText groups, the attribute groups and the embedded multi-line text.
namespace khost {
struct AttrReader {
    AcDbDxfFiler* f;
    AcDbDatabase* db;
    AttrData& a;
    int phase = 1; // 1 text, 2 attribute, 3 embedded multi-line text
    bool tagSeen = false;
    int vmode = 0;

    // Returns true when the group belongs to the attribute part (not to the text).
    bool take(const resbuf& rb) {
        if (phase == 3) {
            a.mtext.readGroup(f, db, rb);
            return true;
        }
        switch (rb.restype) {
        case 101:
            phase = 3;
            a.isMText = true;
            a.mtext = MTextData();
            return true;
        case 2:
            a.tag = rb.resval.rstring ? rb.resval.rstring : L"";
            tagSeen = true;
            return true;
        case 3:
            a.prompt = rb.resval.rstring ? rb.resval.rstring : L"";
            return true;
        case 70:
            a.flags = rb.resval.rint;
            return true;
        case 73:
            a.fieldLength = static_cast<Adesk::UInt16>(rb.resval.rint);
            return true;
        case 74:
            vmode = rb.resval.rint;
            return true;
        case 280:
            if (tagSeen)
                a.lockPosition = rb.resval.rint != 0;
            return true;
        default:
            break;
        }
        if (phase == 2) // 71 (kind of multi-line), 72, 11 (the alignment point again)
            return true;
        return false;
    }
};
} // namespace khost

Acad::ErrorStatus AcDbText::readAttributeFields(AcDbDxfFiler* f, khost::AttrData& a,
                                                const ACHAR* subclass) {
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    AcDbDatabase* db = filerDatabase(f, this);
    a = AttrData();
    AttrReader r{f, db, a};
    startTextReading();
    auto take = [&](const resbuf& rb) {
        if (!r.take(rb))
            readTextGroup(f, db, rb);
    };
    f->atSubclassData(L"AcDbText");
    readSubclass(f, take);
    if (f->atSubclassData(subclass)) {
        r.phase = std::max(r.phase, 2);
        readSubclass(f, take);
    }
    while (f->atSubclassData(L"AcDbXrecord"))
        readSubclass(f, take);
    finishTextReading(db);
    setVerticalModeRaw(r.vmode);
    if (a.isMText)
        a.mtext.finishReading();
    return Acad::eOk;
}

// ---- AcDbAttributeDefinition --------------------------------------------------------------------

AcDbAttributeDefinition::AcDbAttributeDefinition() = default;
AcDbAttributeDefinition::AcDbAttributeDefinition(const AcGePoint3d& position, const ACHAR* text,
                                                 const ACHAR* tag, const ACHAR* prompt,
                                                 AcDbObjectId style)
    : AcDbText(position, text, style) {
    m_a.tag = tag ? tag : L"";
    m_a.prompt = prompt ? prompt : L"";
}

ACHAR* AcDbAttributeDefinition::prompt() const {
    return newCopy(m_a.prompt);
}
Acad::ErrorStatus AcDbAttributeDefinition::setPrompt(const ACHAR* prompt) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!prompt)
        return Acad::eNullPtr;
    m_a.prompt = prompt;
    return Acad::eOk;
}
ACHAR* AcDbAttributeDefinition::tag() const {
    return newCopy(m_a.tag);
}
Acad::ErrorStatus AcDbAttributeDefinition::setTag(const ACHAR* tag) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    Acad::ErrorStatus es = checkTag(tag);
    if (es == Acad::eOk)
        m_a.tag = tag;
    return es;
}
Acad::ErrorStatus AcDbAttributeDefinition::setInvisible(bool v) {
    return isWriteEnabled() ? setFlag(m_a, 1, v) : Acad::eNotOpenForWrite;
}
Acad::ErrorStatus AcDbAttributeDefinition::setConstant(bool v) {
    return isWriteEnabled() ? setFlag(m_a, 2, v) : Acad::eNotOpenForWrite;
}
Acad::ErrorStatus AcDbAttributeDefinition::setVerifiable(bool v) {
    return isWriteEnabled() ? setFlag(m_a, 4, v) : Acad::eNotOpenForWrite;
}
Acad::ErrorStatus AcDbAttributeDefinition::setPreset(bool v) {
    return isWriteEnabled() ? setFlag(m_a, 8, v) : Acad::eNotOpenForWrite;
}
Acad::ErrorStatus AcDbAttributeDefinition::setFieldLength(Adesk::UInt16 length) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_a.fieldLength = length;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbAttributeDefinition::setLockPositionInBlock(bool lock) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_a.lockPosition = lock;
    return Acad::eOk;
}

AcDbMText* AcDbAttributeDefinition::getMTextAttributeDefinition() const {
    return newMTextOf(m_a, this);
}

Acad::ErrorStatus AcDbAttributeDefinition::setMTextAttributeDefinition(AcDbMText* pMText) {
    return setMTextOf(*this, m_a, pMText);
}

Acad::ErrorStatus AcDbAttributeDefinition::convertIntoMTextAttributeDefinition(bool val) {
    return convertMTextOf(*this, m_a, val);
}

Acad::ErrorStatus AcDbAttributeDefinition::updateMTextAttributeDefinition() {
    return updateMTextOf(*this, m_a);
}

Acad::ErrorStatus AcDbAttributeDefinition::transformBy(const AcGeMatrix3d& xform) {
    return transformWithMText(*this, m_a, xform);
}

Acad::ErrorStatus AcDbAttributeDefinition::dxfInFields(AcDbDxfFiler* f) {
    return readAttributeFields(f, m_a, L"AcDbAttributeDefinition");
}

Acad::ErrorStatus AcDbAttributeDefinition::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbEntity::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbText");
    writeTextGroups(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbAttributeDefinition");
    writeAttrGroups(f, m_a, true, verticalMode(), wcsToOcs(normal(), alignmentPoint()));
    return f->filerStatus();
}

// ---- AcDbAttribute ------------------------------------------------------------------------------

AcDbAttribute::AcDbAttribute() = default;
AcDbAttribute::AcDbAttribute(const AcGePoint3d& position, const ACHAR* text, const ACHAR* tag,
                             AcDbObjectId style)
    : AcDbText(position, text, style) {
    m_a.tag = tag ? tag : L"";
}

ACHAR* AcDbAttribute::tag() const {
    return newCopy(m_a.tag);
}
Acad::ErrorStatus AcDbAttribute::setTag(const ACHAR* tag) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    Acad::ErrorStatus es = checkTag(tag);
    if (es == Acad::eOk)
        m_a.tag = tag;
    return es;
}
Acad::ErrorStatus AcDbAttribute::setInvisible(bool v) {
    return isWriteEnabled() ? setFlag(m_a, 1, v) : Acad::eNotOpenForWrite;
}
Acad::ErrorStatus AcDbAttribute::setFieldLength(Adesk::UInt16 length) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_a.fieldLength = length;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbAttribute::setLockPositionInBlock(bool lock) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_a.lockPosition = lock;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbAttribute::setAttributeFromBlock(const AcDbAttributeDefinition* pAttdef,
                                                       const AcGeMatrix3d& blkXform) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!pAttdef)
        return Acad::eNullEntityPointer;
    copyTextData(*pAttdef);
    m_a = pAttdef->m_a;
    m_a.prompt.clear();
    setPropertiesFrom(pAttdef);
    return transformBy(blkXform);
}

Acad::ErrorStatus AcDbAttribute::setAttributeFromBlock(const AcGeMatrix3d& blkXform) {
    return transformBy(blkXform);
}

AcDbMText* AcDbAttribute::getMTextAttribute() const {
    return newMTextOf(m_a, this);
}

Acad::ErrorStatus AcDbAttribute::setMTextAttribute(AcDbMText* pMText) {
    return setMTextOf(*this, m_a, pMText);
}

Acad::ErrorStatus AcDbAttribute::convertIntoMTextAttribute(bool val) {
    return convertMTextOf(*this, m_a, val);
}

Acad::ErrorStatus AcDbAttribute::updateMTextAttribute() {
    return updateMTextOf(*this, m_a);
}

Acad::ErrorStatus AcDbAttribute::transformBy(const AcGeMatrix3d& xform) {
    return transformWithMText(*this, m_a, xform);
}

Acad::ErrorStatus AcDbAttribute::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = readAttributeFields(f, m_a, L"AcDbAttribute");
    if (es != Acad::eOk)
        return es;
    // A file gives the attribute to its block reference as it is read.
    attachReadSubEntity(this, f);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbAttribute::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbEntity::dxfOutFields(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbText");
    writeTextGroups(f);
    f->writeString(AcDb::kDxfSubclass, L"AcDbAttribute");
    writeAttrGroups(f, m_a, false, verticalMode(), wcsToOcs(normal(), alignmentPoint()));
    return f->filerStatus();
}
