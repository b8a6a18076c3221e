#include "acadstrc.h"

#include <cstdio>
#include <cwchar>

const wchar_t* acadErrorStatusText(Acad::ErrorStatus es) {
    switch (es) {
    case Acad::eOk:
        return L"eOk";
    case Acad::eInvalidInput:
        return L"eInvalidInput";
    case Acad::eInvalidOpenState:
        return L"eInvalidOpenState";
    case Acad::eNullObjectId:
        return L"eNullObjectId";
    case Acad::eKeyNotFound:
        return L"eKeyNotFound";
    case Acad::eDuplicateKey:
        return L"eDuplicateKey";
    case Acad::eAlreadyInDb:
        return L"eAlreadyInDb";
    case Acad::eNotOpenForWrite:
        return L"eNotOpenForWrite";
    case Acad::eNotThatKindOfClass:
        return L"eNotThatKindOfClass";
    case Acad::eWasErased:
        return L"eWasErased";
    case Acad::eWasOpenForRead:
        return L"eWasOpenForRead";
    case Acad::eWasOpenForWrite:
        return L"eWasOpenForWrite";
    case Acad::eAtMaxReaders:
        return L"eAtMaxReaders";
    case Acad::eDuplicateRecordName:
        return L"eDuplicateRecordName";
    case Acad::eWasNotOpenForWrite:
        return L"eWasNotOpenForWrite";
    case Acad::eInvalidSymbolTableName:
        return L"eInvalidSymbolTableName";
    case Acad::eFileNotFound:
        return L"eFileNotFound";
    case Acad::eNotApplicable:
        return L"eNotApplicable";
    default:
        break;
    }
    static thread_local wchar_t buf[32];
    std::swprintf(buf, 32, L"Acad::ErrorStatus %d", static_cast<int>(es));
    return buf;
}
