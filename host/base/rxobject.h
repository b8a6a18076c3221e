// Runtime class information of the host: every host object knows its class, the class its
// parent, so that isKindOf and cast work as plug-ins expect.
#pragma once

#include "adsdef.h"

#include <string>

class AcRxObject;

class AcRxClass {
public:
    AcRxClass(const ACHAR* name, const AcRxClass* parent, const ACHAR* dxfName = L"")
        : m_name(name), m_parent(parent), m_dxfName(dxfName ? dxfName : L"") {}
    const ACHAR* name() const { return m_name.c_str(); }
    const ACHAR* dxfName() const { return m_dxfName.c_str(); }
    AcRxClass* myParent() const { return const_cast<AcRxClass*>(m_parent); }
    bool isDerivedFrom(const AcRxClass* other) const {
        for (const AcRxClass* c = this; c; c = c->m_parent)
            if (c == other)
                return true;
        return false;
    }

    // Protocol extensions (rxprotocol.cpp): an object that implements a protocol class for this
    // class and the classes derived from it. addX returns the object it replaces, getX looks at
    // this class only, queryX at this class and then its parents.
    AcRxObject* addX(AcRxClass* pProtocolClass, AcRxObject* pTextObject);
    AcRxObject* getX(const AcRxClass* pProtocolClass) const;
    AcRxObject* delX(AcRxClass* pProtocolClass);
    AcRxObject* queryX(const AcRxClass* pProtocolClass) const;

private:
    std::wstring m_name;
    const AcRxClass* m_parent;
    std::wstring m_dxfName;
};

class AcRxObject {
public:
    virtual ~AcRxObject() = default;
    static AcRxClass* desc();
    static AcRxObject* cast(const AcRxObject* p) { return const_cast<AcRxObject*>(p); }
    virtual AcRxClass* isA() const { return desc(); }
    bool isKindOf(const AcRxClass* c) const { return isA()->isDerivedFrom(c); }
    // The protocol extension of the object's class (or of a parent class), or null.
    AcRxObject* queryX(const AcRxClass* protocolClass) const {
        return isA()->queryX(protocolClass);
    }
    AcRxObject* x(const AcRxClass* protocolClass) const { return queryX(protocolClass); }
};

#define ACRX_PE_PTR(RxObj, PEClass) PEClass::cast((RxObj)->queryX(PEClass::desc()))
#define ACRX_X_CALL(RxObj, PEClass) PEClass::cast((RxObj)->x(PEClass::desc()))

namespace khost {
// Attaches a protocol extension to a class by its name ("AcDbText"), for classes the caller
// cannot name in code; the class need not exist yet.
void addProtocolExtension(const wchar_t* className, AcRxClass* pProtocolClass,
                          AcRxObject* pTextObject);
} // namespace khost

// Declares desc(), cast() and isA() of a host class.
#define ACRX_DECLARE_MEMBERS(CLASS)                                                                \
    static AcRxClass* desc();                                                                      \
    static CLASS* cast(const AcRxObject* p) {                                                      \
        return (p && p->isKindOf(CLASS::desc())) ? static_cast<CLASS*>(const_cast<AcRxObject*>(p)) \
                                                 : nullptr;                                        \
    }                                                                                              \
    AcRxClass* isA() const override { return CLASS::desc(); }

// Defines desc() of a host class with its parent and DXF name.
#define ACRX_DEFINE_MEMBERS_DXF(CLASS, PARENT, DXFNAME)                                            \
    AcRxClass* CLASS::desc() {                                                                     \
        static AcRxClass cls(L## #CLASS, PARENT::desc(), DXFNAME);                                 \
        return &cls;                                                                               \
    }
#define ACRX_DEFINE_MEMBERS(CLASS, PARENT) ACRX_DEFINE_MEMBERS_DXF(CLASS, PARENT, L"")
