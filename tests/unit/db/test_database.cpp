// The database: handles, header variables, system variables, units and the filer of fields.
#include "dbtest.h"

#include <cwctype>
#include <set>

using Database = DbTest;

TEST_F(Database, HandlesAreUniqueAndFoundByHandle) {
    std::set<Adesk::UInt64> handles;
    std::vector<AcDbObjectId> ids;
    for (int i = 0; i < 200; ++i)
        ids.push_back(addLine());
    for (AcDbObjectId id : ids) {
        EXPECT_TRUE(handles.insert(id.handle().value()).second);
        AcDbObjectId found;
        ASSERT_EQ(db->getAcDbObjectId(found, false, id.handle()), Acad::eOk);
        EXPECT_EQ(found, id);
    }
    EXPECT_GT(db->handseed().value(), *handles.rbegin());
    // A handle reserved by a reader moves the seed past it; new objects do not take it.
    AcDbObjectId reserved;
    const AcDbHandle far(db->handseed().value() + 10);
    ASSERT_EQ(db->getAcDbObjectId(reserved, true, far), Acad::eOk);
    EXPECT_GT(db->handseed().value(), far.value());
    auto* line = new AcDbLine;
    AcDbObjectId placed;
    ASSERT_EQ(khost::addObjectWithHandle(db.get(), line, far, placed), Acad::eOk);
    EXPECT_EQ(placed, reserved);
    EXPECT_TRUE(reserved.isValid());
    auto* other = new AcDbLine;
    AcDbObjectId dup;
    EXPECT_EQ(khost::addObjectWithHandle(db.get(), other, far, dup), Acad::eHandleInUse);
    delete other;
    line->close();
    // The entity is in the database but in no block: it is still deleted with the database.
    EXPECT_EQ(AcDbHandle(L"1f").value(), 0x1Fu);
    ACHAR buf[17];
    AcDbHandle(0xABCull).getIntoAsciiBuffer(buf);
    EXPECT_STREQ(buf, L"ABC");
}

TEST_F(Database, ObjectsStayCheap) {
    // A line and its stub: the memory a loaded line costs besides the allocator's own.
    EXPECT_LT(sizeof(AcDbLine) + 4 * sizeof(void*) + 16, 300u);
    EXPECT_LE(sizeof(AcDbObjectId), sizeof(void*));
}

TEST_F(Database, HeaderVariablesAndTheirChecks) {
    EXPECT_EQ(db->insunits(), AcDb::kUnitsMillimeters);
    EXPECT_EQ(db->setInsunits(AcDb::kUnitsMeters), Acad::eOk);
    EXPECT_EQ(db->insunits(), 6);
    EXPECT_EQ(db->setLtscale(0.0), Acad::eInvalidInput);
    EXPECT_EQ(db->setLtscale(10.0), Acad::eOk);
    EXPECT_EQ(db->ltscale(), 10.0);
    EXPECT_EQ(db->setClayer(db->continuousLinetype()), Acad::eInvalidInput);
    EXPECT_EQ(db->setCeltype(db->continuousLinetype()), Acad::eOk);
    EXPECT_EQ(db->setTilemode(false), Acad::eOk);
    AcDbBlockTable* bt = nullptr;
    ASSERT_EQ(db->getBlockTable(bt), Acad::eOk);
    AcDbObjectId ps;
    bt->getAt(ACDB_PAPER_SPACE, ps);
    bt->close();
    EXPECT_EQ(db->currentSpaceId(), ps);
    db->setTilemode(true);

    const std::wstring guid = db->fingerprintGuid().kACharPtr();
    ASSERT_EQ(guid.size(), 38u);
    for (size_t i = 0; i < guid.size(); ++i) {
        if (i == 0)
            EXPECT_EQ(guid[i], L'{');
        else if (i == 37)
            EXPECT_EQ(guid[i], L'}');
        else if (i == 9 || i == 14 || i == 19 || i == 24)
            EXPECT_EQ(guid[i], L'-');
        else
            EXPECT_TRUE(std::iswxdigit(guid[i]) && !std::iswlower(guid[i])) << i;
    }
    AcDbDatabase other;
    EXPECT_NE(other.fingerprintGuid(), db->fingerprintGuid());
    EXPECT_EQ(db->setFingerprintGuid(L"{nope}"), Acad::eInvalidInput);
    EXPECT_EQ(db->setFingerprintGuid(L"{0123abcd-0000-1111-2222-333344445555}"), Acad::eOk);
    EXPECT_EQ(db->fingerprintGuid(), L"{0123ABCD-0000-1111-2222-333344445555}");

    khost::setCurrentUcs(db.get(), AcGePoint3d(1, 2, 0.001), AcGeVector3d::kYAxis,
                         -AcGeVector3d::kXAxis);
    EXPECT_EQ(db->ucsorg(), AcGePoint3d(1, 2, 0.001));
    EXPECT_EQ(db->ucsxdir(), AcGeVector3d::kYAxis);
    EXPECT_EQ(db->pucsorg(), AcGePoint3d::kOrigin);
}

TEST_F(Database, UnitsConversion) {
    double f = 0;
    ASSERT_EQ(acdbGetUnitsConversion(AcDb::kUnitsMillimeters, AcDb::kUnitsMeters, f), Acad::eOk);
    EXPECT_DOUBLE_EQ(f, 0.001);
    ASSERT_EQ(acdbGetUnitsConversion(AcDb::kUnitsMeters, AcDb::kUnitsMillimeters, f), Acad::eOk);
    EXPECT_DOUBLE_EQ(f, 1000.0);
    ASSERT_EQ(acdbGetUnitsConversion(AcDb::kUnitsInches, AcDb::kUnitsCentimeters, f), Acad::eOk);
    EXPECT_DOUBLE_EQ(f, 2.54);
    ASSERT_EQ(acdbGetUnitsConversion(AcDb::kUnitsFeet, AcDb::kUnitsInches, f), Acad::eOk);
    EXPECT_DOUBLE_EQ(f, 12.0);
    f = 42;
    EXPECT_EQ(acdbGetUnitsConversion(AcDb::kUnitsUndefined, AcDb::kUnitsMeters, f),
              Acad::eInvalidInput);
    EXPECT_EQ(acdbGetUnitsConversion(AcDb::kUnitsMeters, AcDb::kUnitsUndefined, f),
              Acad::eInvalidInput);
    EXPECT_EQ(f, 42);
}

namespace {
resbuf rbShort(short v) {
    resbuf rb{};
    rb.restype = RTSHORT;
    rb.resval.rint = v;
    return rb;
}
resbuf rbLong(int v) {
    resbuf rb{};
    rb.restype = RTLONG;
    rb.resval.rlong = v;
    return rb;
}
resbuf rbReal(double v) {
    resbuf rb{};
    rb.restype = RTREAL;
    rb.resval.rreal = v;
    return rb;
}
resbuf rbStr(const ACHAR* s) {
    resbuf rb{};
    rb.restype = RTSTR;
    rb.resval.rstring = const_cast<ACHAR*>(s);
    return rb;
}
std::wstring getString(AcDbDatabase* db, const std::wstring& name) {
    resbuf rb{};
    EXPECT_TRUE(khost::dbGetSysVar(db, name, rb));
    EXPECT_EQ(rb.restype, RTSTR);
    std::wstring s = rb.resval.rstring ? rb.resval.rstring : L"?";
    acutDelString(rb.resval.rstring);
    return s;
}
} // namespace

TEST_F(Database, SystemVariablesGetSetAndTypeChecks) {
    resbuf rb{};
    EXPECT_FALSE(khost::dbGetSysVar(db.get(), L"OSMODE", rb));
    ASSERT_TRUE(khost::dbGetSysVar(db.get(), L"INSUNITS", rb));
    EXPECT_EQ(rb.restype, RTSHORT);
    EXPECT_EQ(rb.resval.rint, 4);

    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"INSUNITS", rbShort(6)), RTNORM);
    EXPECT_EQ(db->insunits(), AcDb::kUnitsMeters);
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"INSUNITS", rbLong(5)), RTNORM);
    EXPECT_EQ(db->insunits(), AcDb::kUnitsCentimeters);
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"INSUNITS", rbLong(70000)), RTERROR);
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"INSUNITS", rbShort(99)), RTERROR);
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"INSUNITS", rbStr(L"4")), RTERROR);
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"INSUNITS", rbReal(4.0)), RTERROR);
    EXPECT_EQ(db->insunits(), AcDb::kUnitsCentimeters);

    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"LTSCALE", rbShort(2)), RTNORM);
    EXPECT_EQ(db->ltscale(), 2.0);
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"LTSCALE", rbReal(-1)), RTERROR);
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"TILEMODE", rbShort(2)), RTERROR);
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"TILEMODE", rbShort(0)), RTNORM);
    EXPECT_FALSE(db->tilemode());

    EXPECT_EQ(getString(db.get(), L"CLAYER"), L"0");
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"CLAYER", rbStr(L"neni")), RTERROR);
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"CELTYPE", rbStr(L"continuous")), RTNORM);
    EXPECT_EQ(getString(db.get(), L"CELTYPE"), L"Continuous");
    EXPECT_EQ(getString(db.get(), L"TEXTSTYLE"), L"Standard");
    EXPECT_EQ(getString(db.get(), L"DIMSTYLE"), L"Standard");
    EXPECT_EQ(getString(db.get(), L"CMLEADERSTYLE"), L"Standard");
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"CMLEADERSTYLE", rbStr(L"KV_SIPKA")), RTERROR);
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"CMLEADERSTYLE", rbStr(L"standard")), RTNORM);
    EXPECT_EQ(getString(db.get(), L"CANNOSCALE"), L"1:1");
    EXPECT_EQ(getString(db.get(), L"DIMBLK"), L"");
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"DIMBLK", rbStr(L"_ARCHTICK")), RTNORM);
    EXPECT_EQ(getString(db.get(), L"DIMBLK"), L"_ARCHTICK");
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"DIMBLK", rbStr(L".")), RTNORM);
    EXPECT_EQ(getString(db.get(), L"DIMBLK"), L"");
    EXPECT_EQ(getString(db.get(), L"CECOLOR"), L"BYLAYER");
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"CECOLOR", rbStr(L"1")), RTNORM);
    EXPECT_EQ(db->cecolor().colorIndex(), 1);
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"CECOLOR", rbStr(L"RGB:10,20,30")), RTNORM);
    EXPECT_EQ(getString(db.get(), L"CECOLOR"), L"RGB:10,20,30");
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"CECOLOR", rbStr(L"300")), RTERROR);
    ASSERT_TRUE(khost::dbGetSysVar(db.get(), L"CELWEIGHT", rb));
    EXPECT_EQ(rb.resval.rint, -1);
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"CELWEIGHT", rbShort(12)), RTERROR);
    EXPECT_EQ(getString(db.get(), L"DWGCODEPAGE"), L"ANSI_1250");
    EXPECT_EQ(getString(db.get(), L"FINGERPRINTGUID"),
              std::wstring(db->fingerprintGuid().kACharPtr()));
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"FINGERPRINTGUID", rbStr(L"{x}")), RTREJ);

    khost::setCurrentUcs(db.get(), AcGePoint3d(5, 6, 7), AcGeVector3d::kXAxis,
                         AcGeVector3d::kYAxis);
    db->setTilemode(true);
    ASSERT_TRUE(khost::dbGetSysVar(db.get(), L"UCSORG", rb));
    EXPECT_EQ(rb.restype, RT3DPOINT);
    EXPECT_EQ(rb.resval.rpoint[2], 7.0);
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"UCSORG", rb), RTREJ);
    ASSERT_TRUE(khost::dbGetSysVar(db.get(), L"UCSYDIR", rb));
    EXPECT_EQ(rb.resval.rpoint[1], 1.0);

    for (const wchar_t* v : {L"LUNITS", L"LUPREC", L"AUNITS", L"AUPREC", L"ANGDIR"})
        EXPECT_TRUE(khost::dbGetSysVar(db.get(), v, rb)) << narrow(v);
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"LUNITS", rbShort(0)), RTERROR);
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"LUPREC", rbShort(3)), RTNORM);
    EXPECT_EQ(db->luprec(), 3);
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"ANGBASE", rbReal(1.5)), RTNORM);
    EXPECT_EQ(db->angbase(), 1.5);
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"TEXTSIZE", rbReal(0.0)), RTERROR);
    EXPECT_EQ(khost::dbSetSysVar(db.get(), L"DIMSCALE", rbReal(100.0)), RTNORM);
    EXPECT_EQ(db->dimscale(), 100.0);
}

TEST_F(Database, FieldsGoThroughTheFilerAndBack) {
    AcDbObjectId id = addLine(AcGePoint3d(1, 2, 3), AcGePoint3d(4, 5, 6));
    AcDbLine* line = nullptr;
    ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForWrite), Acad::eOk);
    line->setColorIndex(3);
    line->setLinetype(L"Continuous");
    line->setThickness(0.5);
    khost::RbChainFiler out(db.get());
    ASSERT_EQ(line->dxfOutFields(&out), Acad::eOk);
    line->close();
    resbuf* chain = out.takeChain();
    ASSERT_NE(chain, nullptr);
    EXPECT_EQ(chain->restype, 5);
    bool sawLayer = false, sawMarker = false;
    for (resbuf* rb = chain; rb; rb = rb->rbnext) {
        sawLayer |= rb->restype == 8 && std::wstring(rb->resval.rstring) == L"0";
        sawMarker |= rb->restype == 100 && std::wstring(rb->resval.rstring) == L"AcDbLine";
    }
    EXPECT_TRUE(sawLayer);
    EXPECT_TRUE(sawMarker);

    // Read back into a new line; then without subclass markers, as entmake gives them.
    auto* copy = static_cast<AcDbLine*>(khost::createDbObject(L"LINE"));
    ASSERT_NE(copy, nullptr);
    khost::RbChainFiler in(db.get(), chain);
    ASSERT_EQ(copy->dxfInFields(&in), Acad::eOk);
    EXPECT_EQ(copy->startPoint(), AcGePoint3d(1, 2, 3));
    EXPECT_EQ(copy->endPoint(), AcGePoint3d(4, 5, 6));
    EXPECT_EQ(copy->thickness(), 0.5);
    EXPECT_EQ(copy->colorIndex(), 3);
    EXPECT_EQ(copy->linetypeId(), db->continuousLinetype());
    EXPECT_EQ(copy->ownerId(), db->currentSpaceId());
    delete copy;
    acutRelRb(chain);

    const ads_point a = {7, 8, 9}, b = {10, 11, 12};
    resbuf* bare = acutBuildList(8, L"0", 62, 5, 10, a, 11, b, 0);
    auto* made = new AcDbLine;
    khost::RbChainFiler in2(db.get(), bare);
    ASSERT_EQ(made->dxfInFields(&in2), Acad::eOk);
    EXPECT_EQ(made->colorIndex(), 5);
    EXPECT_EQ(made->startPoint(), AcGePoint3d(7, 8, 9));
    EXPECT_EQ(made->endPoint(), AcGePoint3d(10, 11, 12));
    delete made;
    acutRelRb(bare);
    EXPECT_EQ(khost::findDbClass(L"AcDbXrecord"), AcDbXrecord::desc());
    EXPECT_EQ(khost::createDbObject(L"NO_SUCH_THING"), nullptr);
}
