// The runtime dictionary: named host services, the system registry among them.
#pragma once

#include "adsdef.h"
#include "rxobject.h"

#include <map>
#include <string>
#include <vector>

class AcRxDictionaryIterator;

class AcRxDictionary : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcRxDictionary);

    // deletesObjects: the dictionary deletes the objects it holds when it is destroyed or an
    // entry is replaced or removed.
    explicit AcRxDictionary(bool caseSensitive = true, bool deletesObjects = false);
    ~AcRxDictionary() override;
    AcRxDictionary(const AcRxDictionary&) = delete;
    AcRxDictionary& operator=(const AcRxDictionary&) = delete;

    AcRxObject* at(const ACHAR* key) const;
    AcRxObject* at(Adesk::UInt32 id) const;
    // Stores an object under a key and returns the object that was there before (null when
    // none; when the dictionary deletes its objects, the old one is deleted and null returned).
    AcRxObject* atPut(const ACHAR* key, AcRxObject* pObject);
    AcRxObject* atPut(const ACHAR* key, AcRxObject* pObject, Adesk::UInt32& retId);
    bool resetKey(const ACHAR* oldKey, const ACHAR* newKey);
    AcRxObject* remove(const ACHAR* key);
    AcRxObject* remove(Adesk::UInt32 id);
    bool has(const ACHAR* entryName) const;
    bool has(Adesk::UInt32 id) const;
    Adesk::UInt32 idAt(const ACHAR* key) const;
    const ACHAR* keyAt(Adesk::UInt32 id) const;
    Adesk::UInt32 numEntries() const;
    AcRxDictionaryIterator* newIterator() const;
    bool deletesObjects() const { return m_deletes; }
    bool isCaseSensitive() const { return m_caseSensitive; }
    bool isSorted() const { return true; }

private:
    friend class AcRxDictionaryIterator;
    struct Entry {
        std::wstring key;
        AcRxObject* object = nullptr;
        bool used = false;
    };
    std::wstring norm(const ACHAR* key) const;
    std::vector<Entry> m_entries;                  // indexed by id
    std::map<std::wstring, Adesk::UInt32> m_index; // normalised key -> id
    bool m_caseSensitive;
    bool m_deletes;
};

// Walks the entries in key order.
class AcRxDictionaryIterator : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcRxDictionaryIterator);
    explicit AcRxDictionaryIterator(const AcRxDictionary* dict);
    bool done() const;
    bool next();
    const ACHAR* key() const;
    AcRxObject* object() const;
    Adesk::UInt32 id() const;

private:
    std::vector<Adesk::UInt32> m_ids;
    size_t m_pos = 0;
    const AcRxDictionary* m_dict;
};
