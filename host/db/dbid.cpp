#include "dbid.h"

#include "dbimpl.h"

#include <cwchar>

AcDbHandle::AcDbHandle(const ACHAR* hex) {
    if (!hex || !*hex)
        return;
    Adesk::UInt64 v = 0;
    int n = 0;
    for (const ACHAR* p = hex; *p; ++p, ++n) {
        int d;
        if (*p >= L'0' && *p <= L'9')
            d = *p - L'0';
        else if (*p >= L'a' && *p <= L'f')
            d = *p - L'a' + 10;
        else if (*p >= L'A' && *p <= L'F')
            d = *p - L'A' + 10;
        else
            return;
        if (n >= 16)
            return;
        v = (v << 4) | static_cast<Adesk::UInt64>(d);
    }
    m_value = v;
}

bool AcDbHandle::getIntoAsciiBuffer(ACHAR* buf, size_t nBufLen) const {
    std::wstring s = khost::handleText(m_value);
    if (!buf || nBufLen <= s.size())
        return false;
    std::wmemcpy(buf, s.c_str(), s.size() + 1);
    return true;
}

bool AcDbObjectId::isValid() const {
    return m_stub && m_stub->object;
}
bool AcDbObjectId::isErased() const {
    return khost::stubErased(m_stub);
}
AcDbHandle AcDbObjectId::handle() const {
    return m_stub ? AcDbHandle(m_stub->handle) : AcDbHandle();
}
AcDbDatabase* AcDbObjectId::database() const {
    return m_stub ? m_stub->database : nullptr;
}
AcRxClass* AcDbObjectId::objectClass() const {
    return (m_stub && m_stub->object) ? m_stub->object->isA() : nullptr;
}

Acad::ErrorStatus acdbGetAdsName(ads_name& objName, AcDbObjectId objId) {
    objName[0] = objId.asOldId();
    objName[1] = 0;
    return objId.isNull() ? Acad::eNullObjectId : Acad::eOk;
}

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& objId, const ads_name objName) {
    objId.setFromOldId(static_cast<Adesk::IntPtr>(objName[0]));
    return objId.isNull() ? Acad::eInvalidAdsName : Acad::eOk;
}
