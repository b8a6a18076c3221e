// Protocol extensions of runtime classes, kept by class name so that an extension may be
// attached before the class object exists.
#include "rxobject.h"

#include <map>
#include <utility>

namespace {

using Key = std::pair<std::wstring, const AcRxClass*>;

std::map<Key, AcRxObject*>& extensions() {
    static std::map<Key, AcRxObject*> m;
    return m;
}

AcRxObject* attach(const wchar_t* className, const AcRxClass* protocol, AcRxObject* impl) {
    if (!className || !protocol)
        return nullptr;
    AcRxObject*& slot = extensions()[Key(className, protocol)];
    AcRxObject* old = slot;
    slot = impl;
    return old;
}

} // namespace

AcRxObject* AcRxClass::addX(AcRxClass* pProtocolClass, AcRxObject* pTextObject) {
    return attach(name(), pProtocolClass, pTextObject);
}

AcRxObject* AcRxClass::getX(const AcRxClass* pProtocolClass) const {
    auto it = extensions().find(Key(name(), pProtocolClass));
    return it == extensions().end() ? nullptr : it->second;
}

AcRxObject* AcRxClass::delX(AcRxClass* pProtocolClass) {
    auto it = extensions().find(Key(name(), pProtocolClass));
    if (it == extensions().end())
        return nullptr;
    AcRxObject* old = it->second;
    extensions().erase(it);
    return old;
}

AcRxObject* AcRxClass::queryX(const AcRxClass* pProtocolClass) const {
    for (const AcRxClass* c = this; c; c = c->myParent())
        if (AcRxObject* x = c->getX(pProtocolClass))
            return x;
    return nullptr;
}

namespace khost {
void addProtocolExtension(const wchar_t* className, AcRxClass* pProtocolClass,
                          AcRxObject* pTextObject) {
    attach(className, pProtocolClass, pTextObject);
}
} // namespace khost
