// Dictionaries: objects owned under case-insensitive, case-preserving keys, iterated in key
// order.
#pragma once

#include "dbmain.h"

#include <map>
#include <string>

class AcDbDictionaryIterator;

class AcDbDictionary : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbDictionary);
    AcDbDictionary();
    ~AcDbDictionary() override;

    Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbObject*& entryObj,
                            AcDb::OpenMode mode) const;
    Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbObjectId& entryObj) const;
    template <class T>
    Acad::ErrorStatus getAt(const ACHAR* entryName, T*& entryObj, AcDb::OpenMode mode) const {
        AcDbObjectId id;
        entryObj = nullptr;
        Acad::ErrorStatus es = getAt(entryName, id);
        return es == Acad::eOk ? acdbOpenObject(entryObj, id, mode) : es;
    }
    // The key under which the object is stored; eKeyNotFound when it is not an entry.
    Acad::ErrorStatus nameAt(AcDbObjectId objId, ACHAR*& name) const;
    Acad::ErrorStatus nameAt(AcDbObjectId objId, AcString& name) const;
    bool has(const ACHAR* entryName) const;
    bool has(AcDbObjectId objId) const;
    Adesk::UInt32 numEntries() const;

    // Adds the object under the key; an object not yet in a database is added to the
    // dictionary's database. The object that had the key before is erased. The dictionary
    // must be open for write and in a database.
    Acad::ErrorStatus setAt(const ACHAR* srchKey, AcDbObject* newValue, AcDbObjectId& retObjId);
    // Removes the entry; the object stays (without owner).
    Acad::ErrorStatus remove(const ACHAR* key);
    Acad::ErrorStatus remove(const ACHAR* key, AcDbObjectId& returnId);
    Acad::ErrorStatus remove(AcDbObjectId objId);
    bool setName(const ACHAR* oldName, const ACHAR* newName);

    AcDbDictionaryIterator* newIterator() const;

    // Whether the entries are hard owned (as by a group dictionary) or soft owned.
    bool isTreatElementsAsHard() const { return m_hard; }
    void setTreatElementsAsHard(bool doIt);
    AcDb::DuplicateRecordCloning mergeStyle() const {
        return static_cast<AcDb::DuplicateRecordCloning>(m_merge);
    }
    void setMergeStyle(AcDb::DuplicateRecordCloning style);

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    friend struct khost::DbAccess;
    friend class AcDbDictionaryIterator;
    struct Entry {
        std::wstring key;
        khost::DbStub* stub = nullptr;
    };
    const Entry* find(const ACHAR* key) const;
    std::map<std::wstring, Entry> m_entries; // by upper-cased key
    bool m_hard = false;
    Adesk::UInt8 m_merge = AcDb::kDrcIgnore;
};

class AcDbDictionaryIterator : public AcRxObject {
public:
    ~AcDbDictionaryIterator() override = default;
    const ACHAR* name() const;
    Acad::ErrorStatus getObject(AcDbObject*& pObject, AcDb::OpenMode mode = AcDb::kForRead);
    AcDbObjectId objectId() const;
    bool done() const;
    bool next();
    bool setPosition(AcDbObjectId objId);

private:
    friend class AcDbDictionary;
    explicit AcDbDictionaryIterator(const AcDbDictionary* dict);
    void skipErased();
    std::vector<std::pair<std::wstring, khost::DbStub*>> m_items; // snapshot of the entries
    size_t m_pos = 0;
};

// A dictionary with a default entry (used for plot style names: "Normal").
class AcDbDictionaryWithDefault : public AcDbDictionary {
public:
    ACRX_DECLARE_MEMBERS(AcDbDictionaryWithDefault);
    AcDbDictionaryWithDefault();
    Acad::ErrorStatus setDefaultId(const AcDbObjectId& newId);
    AcDbObjectId defaultId() const;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    khost::DbStub* m_default = nullptr;
};
