// Dictionaries, extension records, extended data and extension dictionaries.
#include "dbtest.h"

#include <cstring>
#include <vector>

using Dicts = DbTest;

namespace {
AcDbObjectId addXrecord(AcDbDictionary* d, const ACHAR* key, int value,
                        Acad::ErrorStatus expect = Acad::eOk) {
    auto* x = new AcDbXrecord;
    resbuf* rb = acutBuildList(90, value, 0);
    x->setFromRbChain(*rb);
    acutRelRb(rb);
    AcDbObjectId id;
    Acad::ErrorStatus es = d->setAt(key, x, id);
    EXPECT_EQ(es, expect);
    if (es == Acad::eOk)
        x->close();
    else
        delete x;
    return id;
}
int xrecordValue(AcDbObjectId id) {
    AcDbXrecord* x = nullptr;
    EXPECT_EQ(acdbOpenObject(x, id, AcDb::kForRead), Acad::eOk);
    resbuf* rb = nullptr;
    x->rbChain(&rb);
    x->close();
    int v = rb ? rb->resval.rlong : -1;
    acutRelRb(rb);
    return v;
}
} // namespace

TEST_F(Dicts, SetAtGetAtRemoveAndIterateInKeyOrder) {
    AcDbDictionary* nod = nullptr;
    ASSERT_EQ(db->getNamedObjectsDictionary(nod, AcDb::kForWrite), Acad::eOk);
    auto* store = new AcDbDictionary;
    AcDbObjectId storeId;
    ASSERT_EQ(nod->setAt(L"DUVADEDE", store, storeId), Acad::eOk);
    nod->close();
    EXPECT_EQ(store->ownerId(), db->namedObjectsDictionaryId());

    EXPECT_EQ(addXrecord(store, L"", 1, Acad::eInvalidKey), AcDbObjectId::kNull);
    AcDbObjectId b = addXrecord(store, L"Beta", 2);
    AcDbObjectId a = addXrecord(store, L"alfa", 1);
    AcDbObjectId g = addXrecord(store, L"Gama", 3);
    EXPECT_EQ(store->numEntries(), 3u);
    AcDbObjectId found;
    EXPECT_EQ(store->getAt(L"BETA", found), Acad::eOk);
    EXPECT_EQ(found, b);
    AcString key;
    EXPECT_EQ(store->nameAt(a, key), Acad::eOk);
    EXPECT_EQ(key, L"alfa"); // the case as given
    AcDbXrecord* xr = nullptr;
    ASSERT_EQ(store->getAt(L"gama", xr, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(xr->objectId(), g);
    xr->close();

    // Replacing an entry erases the object it held.
    AcDbObjectId b2 = addXrecord(store, L"beta", 20);
    EXPECT_TRUE(b.isErased());
    EXPECT_EQ(store->numEntries(), 3u);
    EXPECT_EQ(xrecordValue(b2), 20);

    std::vector<std::wstring> names;
    AcDbDictionaryIterator* it = store->newIterator();
    for (; !it->done(); it->next())
        names.push_back(it->name());
    delete it;
    EXPECT_EQ(names, (std::vector<std::wstring>{L"alfa", L"beta", L"Gama"}));

    AcDbObjectId removed;
    EXPECT_EQ(store->remove(L"ALFA", removed), Acad::eOk);
    EXPECT_EQ(removed, a);
    EXPECT_FALSE(a.isErased());
    EXPECT_EQ(store->remove(L"alfa"), Acad::eKeyNotFound);
    EXPECT_FALSE(store->has(L"alfa"));
    EXPECT_EQ(store->numEntries(), 2u);
    // The removed object has no owner and can be erased by its holder.
    AcDbObject* orphan = nullptr;
    ASSERT_EQ(acdbOpenObject(orphan, a, AcDb::kForWrite), Acad::eOk);
    EXPECT_TRUE(orphan->ownerId().isNull());
    orphan->erase();
    orphan->close();

    // An erased entry is no entry.
    AcDbObject* gobj = nullptr;
    ASSERT_EQ(acdbOpenObject(gobj, g, AcDb::kForWrite), Acad::eOk);
    gobj->erase();
    gobj->close();
    EXPECT_EQ(store->getAt(L"Gama", found), Acad::eKeyNotFound);
    EXPECT_EQ(store->numEntries(), 1u);
    store->close();

    // Read-only dictionaries refuse changes.
    ASSERT_EQ(acdbOpenObject(store, storeId, AcDb::kForRead), Acad::eOk);
    addXrecord(store, L"x", 1, Acad::eNotOpenForWrite);
    EXPECT_EQ(store->remove(L"beta"), Acad::eNotOpenForWrite);
    store->close();
}

TEST_F(Dicts, XrecordKeepsEveryKindOfValue) {
    const ads_point pt = {1.5, -2.25, 3.0};
    char bytes[] = {0, 1, 2, static_cast<char>(0xFF)};
    ads_binary bin{4, bytes};
    ads_name en;
    AcDbObjectId lineId = addLine();
    acdbGetAdsName(en, lineId);
    resbuf* in = acutBuildList(1, L"Žluťoučký", 10, pt, 40, 2.5, 70, 7, 90, 123456, 160,
                               static_cast<std::int64_t>(1) << 40, 290, 1, 310, &bin, 330, en, 0);
    // 1000 (an xdata code) is not allowed in an extension record.
    auto* x = new AcDbXrecord;
    resbuf* bad = acutBuildList(1000, L"no", 0);
    EXPECT_EQ(x->setFromRbChain(*bad), Acad::eInvalidResBuf);
    acutRelRb(bad);
    ASSERT_EQ(x->setFromRbChain(*in), Acad::eOk);
    AcDbDictionary* nod = nullptr;
    ASSERT_EQ(db->getNamedObjectsDictionary(nod, AcDb::kForWrite), Acad::eOk);
    AcDbObjectId id;
    ASSERT_EQ(nod->setAt(L"REC", x, id), Acad::eOk);
    nod->close();
    x->close();

    AcDbXrecord* rx = nullptr;
    ASSERT_EQ(acdbOpenObject(rx, id, AcDb::kForRead), Acad::eOk);
    resbuf* out = nullptr;
    ASSERT_EQ(rx->rbChain(&out), Acad::eOk);
    rx->close();
    const resbuf* p = in;
    const resbuf* q = out;
    for (; p && q; p = p->rbnext, q = q->rbnext) {
        ASSERT_EQ(p->restype, q->restype);
        switch (khost::rbKind(p->restype)) {
        case khost::RbKind::String:
            EXPECT_STREQ(p->resval.rstring, q->resval.rstring);
            EXPECT_NE(p->resval.rstring, q->resval.rstring); // a copy
            break;
        case khost::RbKind::Point:
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(p->resval.rpoint[i], q->resval.rpoint[i]);
            break;
        case khost::RbKind::Real:
            EXPECT_EQ(p->resval.rreal, q->resval.rreal);
            break;
        case khost::RbKind::Short:
            EXPECT_EQ(p->resval.rint, q->resval.rint);
            break;
        case khost::RbKind::Long:
            EXPECT_EQ(p->resval.rlong, q->resval.rlong);
            break;
        case khost::RbKind::Int64:
            EXPECT_EQ(p->resval.mnInt64, q->resval.mnInt64);
            break;
        case khost::RbKind::Binary:
            ASSERT_EQ(p->resval.rbinary.clen, q->resval.rbinary.clen);
            EXPECT_EQ(std::memcmp(p->resval.rbinary.buf, q->resval.rbinary.buf, 4), 0);
            break;
        case khost::RbKind::Name:
            EXPECT_EQ(p->resval.rlname[0], q->resval.rlname[0]);
            break;
        default:
            ADD_FAILURE() << p->restype;
        }
    }
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(q, nullptr);
    acutRelRb(out);
    acutRelRb(in);
}

TEST_F(Dicts, XdataIsSetPerApplicationAndNeedsARegisteredApplication) {
    AcDbObjectId id = addLine();
    AcDbLine* line = nullptr;
    ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForWrite), Acad::eOk);
    resbuf* unknown = acutBuildList(1001, L"KRESBON", 1000, L"a", 0);
    EXPECT_EQ(line->setXData(unknown), Acad::eRegappIdNotFound);
    EXPECT_EQ(line->xData(), nullptr);

    AcDbRegAppTable* rat = nullptr;
    ASSERT_EQ(db->getRegAppTable(rat, AcDb::kForWrite), Acad::eOk);
    auto* app = new AcDbRegAppTableRecord;
    app->setName(L"KRESBON");
    ASSERT_EQ(rat->add(app), Acad::eOk);
    app->close();
    rat->close();

    ASSERT_EQ(line->setXData(unknown), Acad::eOk);
    acutRelRb(unknown);
    resbuf* acad = acutBuildList(1001, L"ACAD", 1070, 5, 1040, 2.5, 0);
    ASSERT_EQ(line->setXData(acad), Acad::eOk);
    acutRelRb(acad);
    // Replacing one application's data leaves the other's.
    resbuf* repl = acutBuildList(1001, L"kresbon", 1000, L"b", 1071, 77, 0);
    ASSERT_EQ(line->setXData(repl), Acad::eOk);
    acutRelRb(repl);
    resbuf* mine = line->xData(L"KRESBON");
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(mine->restype, 1001);
    ASSERT_NE(mine->rbnext, nullptr);
    EXPECT_STREQ(mine->rbnext->resval.rstring, L"b");
    ASSERT_NE(mine->rbnext->rbnext, nullptr);
    EXPECT_EQ(mine->rbnext->rbnext->resval.rlong, 77);
    EXPECT_EQ(mine->rbnext->rbnext->rbnext, nullptr);
    acutRelRb(mine);
    resbuf* all = line->xData();
    int apps = 0;
    for (resbuf* rb = all; rb; rb = rb->rbnext)
        apps += rb->restype == 1001;
    EXPECT_EQ(apps, 2);
    acutRelRb(all);
    // An application name alone removes that application's data.
    resbuf* clear = acutBuildList(1001, L"KRESBON", 0);
    ASSERT_EQ(line->setXData(clear), Acad::eOk);
    acutRelRb(clear);
    EXPECT_EQ(line->xData(L"KRESBON"), nullptr);
    resbuf* rest = line->xData(L"ACAD");
    ASSERT_NE(rest, nullptr);
    acutRelRb(rest);
    // A chain that does not start with an application name is refused.
    resbuf* headless = acutBuildList(1000, L"x", 0);
    EXPECT_EQ(line->setXData(headless), Acad::eInvalidInput);
    acutRelRb(headless);
    line->close();

    ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForRead), Acad::eOk);
    resbuf* more = acutBuildList(1001, L"ACAD", 1000, L"z", 0);
    EXPECT_EQ(line->setXData(more), Acad::eNotOpenForWrite);
    acutRelRb(more);
    line->close();
}

TEST_F(Dicts, ExtensionDictionaryLifecycle) {
    AcDbObjectId id = addLine();
    AcDbLine* line = nullptr;
    ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_TRUE(line->extensionDictionary().isNull());
    ASSERT_EQ(line->createExtensionDictionary(), Acad::eOk);
    AcDbObjectId xd = line->extensionDictionary();
    ASSERT_FALSE(xd.isNull());
    EXPECT_EQ(line->createExtensionDictionary(), Acad::eAlreadyInDb);
    AcDbDictionary* d = nullptr;
    ASSERT_EQ(acdbOpenObject(d, xd, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(d->ownerId(), id);
    EXPECT_TRUE(d->hasPersistentReactor(id));
    addXrecord(d, L"DATA", 5);
    d->close();
    EXPECT_EQ(line->releaseExtensionDictionary(), Acad::eContainerNotEmpty);
    ASSERT_EQ(acdbOpenObject(d, xd, AcDb::kForWrite), Acad::eOk);
    AcDbObjectId rec;
    ASSERT_EQ(d->remove(L"DATA", rec), Acad::eOk);
    d->close();
    EXPECT_EQ(line->releaseExtensionDictionary(), Acad::eOk);
    EXPECT_TRUE(line->extensionDictionary().isNull());
    EXPECT_TRUE(xd.isErased());
    // Erasing an object erases its extension dictionary with it.
    ASSERT_EQ(line->createExtensionDictionary(), Acad::eOk);
    AcDbObjectId xd2 = line->extensionDictionary();
    ASSERT_EQ(line->erase(), Acad::eOk);
    EXPECT_TRUE(xd2.isErased());
    line->close();
}
