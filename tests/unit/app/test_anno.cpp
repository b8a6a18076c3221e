// The application's annotation-scale routines: the current scale, the office's standard scales
// in a drawing, removing scales, and annotative objects with their scales.
#include "hostfixture.h"

#include "CVoxAnno.h"
#include "CVoxException.h"
#include "VoxPlatforma.h"
#include "dbimpl.h"

#include <memory>
#include <string>

namespace {

class AnnoApp : public HostFixture {
protected:
    void TearDown() override {
        EXPECT_EQ(khost::openObjectCount(), 0);
        HostFixture::TearDown();
    }
    AcDbObjectContextCollection* Meritka() {
        return db()->objectContextManager()->contextCollection(ACDB_ANNOTATIONSCALES_COLLECTION);
    }
    double JednotkyVykresu(const ACHAR* sJmeno) {
        std::unique_ptr<AcDbObjectContext> c(Meritka()->getContext(sJmeno));
        double d = -1.0;
        if (auto* s = AcDbAnnotationScale::cast(c.get()))
            s->getDrawingUnits(d);
        return d;
    }
    std::vector<std::wstring> Jmena() {
        std::vector<std::wstring> out;
        std::unique_ptr<AcDbObjectContextCollectionIterator> it(Meritka()->newIterator());
        for (; !it->done(); it->next()) {
            AcDbObjectContext* c = nullptr;
            it->getContext(c);
            AcString s;
            c->getName(s);
            out.push_back(s.kACharPtr());
            delete c;
        }
        return out;
    }
    void NastavCannoscale(const ACHAR* sJmeno) {
        resbuf rb{};
        rb.restype = RTSTR;
        rb.resval.rstring = const_cast<ACHAR*>(sJmeno);
        ASSERT_EQ(acedSetVar(L"CANNOSCALE", &rb), RTNORM);
    }
    AcDbObjectId Pridej(AcDbEntity* pEnt) {
        AcDbBlockTableRecord* pMs = nullptr;
        acdbOpenObject(pMs, db()->currentSpaceId(), AcDb::kForWrite);
        AcDbObjectId id;
        pMs->appendAcDbEntity(id, pEnt);
        pEnt->close();
        pMs->close();
        return id;
    }
    static std::string Text(const char* sUtf8) { return VoxPlatforma::NaAnsi(sUtf8); }
};

#define EXPECT_VOX_THROW(vyraz, zprava)                                                            \
    try {                                                                                          \
        vyraz;                                                                                     \
        ADD_FAILURE() << "no exception";                                                           \
    } catch (const CVoxException& e) {                                                             \
        EXPECT_EQ(std::string(e.what()).rfind(Text(zprava), 0), 0u) << e.what();                   \
    }

TEST_F(AnnoApp, CurrentScaleIsPaperUnitsPerDrawingUnit) {
    EXPECT_DOUBLE_EQ(CVoxAnno::AktualniMeritko(db()), 1.0);
    NastavCannoscale(L"1:50");
    EXPECT_DOUBLE_EQ(CVoxAnno::AktualniMeritko(db()), 0.02);
    NastavCannoscale(L"1:100");
    EXPECT_DOUBLE_EQ(CVoxAnno::AktualniMeritko(db()), 0.01);
    // A drawing whose CANNOSCALE names a scale its list lacks (as a file may bring it) gives no
    // scale.
    db()->impl().header.cannoscale = L"1:3";
    EXPECT_VOX_THROW(CVoxAnno::AktualniMeritko(db()),
                     "Nelze získat aktuální měřítko(annotaton scale)");
}

TEST_F(AnnoApp, StandardScalesAreAddedOnceForTheUnits) {
    const size_t nPuvodne = Jmena().size();
    CVoxSeznamMeritek seznam;
    CVoxAnno::NastavMeritka(seznam, AcDb::kUnitsMeters);
    ASSERT_EQ(seznam.size(), 7u);
    EXPECT_EQ(seznam[0].sJmeno, L"1:100m");
    EXPECT_EQ(seznam[6].sJmeno, L"1:2000m");
    EXPECT_DOUBLE_EQ(JednotkyVykresu(L"1:100m"), 0.1);
    EXPECT_DOUBLE_EQ(JednotkyVykresu(L"1:1000m"), 1.0);
    EXPECT_EQ(Jmena().size(), nPuvodne + 7);
    CVoxAnno::NastavMeritka(seznam, AcDb::kUnitsMeters);
    EXPECT_EQ(Jmena().size(), nPuvodne + 7);

    // The drawing's own scale of a standard name keeps its units.
    AcDbAnnotationScale vlastni;
    vlastni.setName(L"1:150");
    vlastni.setPaperUnits(1.0);
    vlastni.setDrawingUnits(300.0);
    ASSERT_EQ(Meritka()->addContext(&vlastni), Acad::eOk);
    CVoxAnno::NastavMeritka(seznam, AcDb::kUnitsMillimeters);
    ASSERT_EQ(seznam.size(), 9u);
    EXPECT_EQ(seznam[3].sJmeno, L"1:25");
    EXPECT_DOUBLE_EQ(seznam[3].dJednotkyVykresu, 25.0);
    EXPECT_DOUBLE_EQ(JednotkyVykresu(L"1:25"), 25.0);
    EXPECT_DOUBLE_EQ(JednotkyVykresu(L"1:75"), 75.0);
    EXPECT_DOUBLE_EQ(JednotkyVykresu(L"1:200"), 200.0);
    EXPECT_DOUBLE_EQ(JednotkyVykresu(L"1:150"), 300.0);
    // The default list had 1:5, 1:10, 1:20, 1:50 and 1:100 already.
    EXPECT_EQ(Jmena().size(), nPuvodne + 7 + 1 + 3);
}

TEST_F(AnnoApp, RemovingKeepsTheCurrentScaleAndTheScalesInUse) {
    NastavCannoscale(L"1:50");
    const AcDbObjectId idText = Pridej(new AcDbText(AcGePoint3d(0, 0, 0), L"SV", {}, 2.5));
    AcDbEntity* pText = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(pText, idText, AcDb::kForWrite), Acad::eOk);
    std::unique_ptr<AcDbObjectContext> m20(Meritka()->getContext(L"1:20"));
    EXPECT_TRUE(CVoxAnno::PridejMeritko(pText, *AcDbAnnotationScale::cast(m20.get())));
    pText->close();
    NastavCannoscale(L"1:100");
    CVoxAnno::SmazMeritka(db());
    std::vector<std::wstring> zbyla = Jmena();
    std::sort(zbyla.begin(), zbyla.end());
    EXPECT_EQ(zbyla, (std::vector<std::wstring>{L"1:100", L"1:20", L"1:50"}));
    EXPECT_VOX_THROW(CVoxAnno::SmazMeritka(nullptr), "Předaný ukazatel na databazi (pDb) je null");
}

TEST_F(AnnoApp, AnnotativeObjectsAndBlockReferencesWithTheirDefinitions) {
    EXPECT_VOX_THROW(CVoxAnno::NastavAnnotative(nullptr, true), "Objekt je null");
    EXPECT_VOX_THROW(CVoxAnno::PridejMeritko(nullptr, AcDbAnnotationScale()), "Entita je null");

    // A line cannot be annotative; the object stays open for its owner to close.
    const AcDbObjectId idCara = Pridej(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
    AcDbEntity* pCara = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(pCara, idCara, AcDb::kForWrite), Acad::eOk);
    EXPECT_VOX_THROW(CVoxAnno::NastavAnnotative(pCara, true),
                     "Nepodařilo se otevřít AcDbAnnotativeObjectPE");
    EXPECT_EQ(pCara->close(), Acad::eOk);

    const AcDbObjectId idText = Pridej(new AcDbText(AcGePoint3d(0, 0, 0), L"TUV", {}, 2.5));
    AcDbEntity* pText = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(pText, idText, AcDb::kForRead), Acad::eOk);
    EXPECT_VOX_THROW(CVoxAnno::NastavAnnotative(pText, true), "Objekt není otevřen pro zápis!!");
    EXPECT_VOX_THROW(CVoxAnno::PridejMeritko(pText, AcDbAnnotationScale()),
                     "Entita není otevřena pro zápis!!");
    ASSERT_EQ(pText->upgradeOpen(), Acad::eOk);
    EXPECT_TRUE(CVoxAnno::NastavAnnotative(pText, true));
    AcDbAnnotativeObjectPE* pPE = ACRX_PE_PTR(pText, AcDbAnnotativeObjectPE);
    ASSERT_NE(pPE, nullptr);
    EXPECT_TRUE(pPE->annotative(pText));
    std::unique_ptr<AcDbObjectContext> m50(Meritka()->getContext(L"1:50"));
    EXPECT_TRUE(CVoxAnno::PridejMeritko(pText, *AcDbAnnotationScale::cast(m50.get())));
    EXPECT_TRUE(ACRX_PE_PTR(pText, AcDbObjectContextInterface)->hasContext(pText, *m50));
    // A scale the drawing lacks is refused.
    AcDbAnnotationScale cizi;
    cizi.setName(L"1:3");
    EXPECT_FALSE(CVoxAnno::PridejMeritko(pText, cizi));
    pText->close();

    // A block reference takes its definition along, both ways.
    AcDbBlockTable* pBt = nullptr;
    ASSERT_EQ(db()->getBlockTable(pBt, AcDb::kForWrite), Acad::eOk);
    auto* pBlok = new AcDbBlockTableRecord;
    pBlok->setName(L"ZNACKA");
    AcDbObjectId idBlok;
    ASSERT_EQ(pBt->add(idBlok, pBlok), Acad::eOk);
    pBlok->close();
    pBt->close();
    const AcDbObjectId idRef = Pridej(new AcDbBlockReference(AcGePoint3d(5, 5, 0), idBlok));
    auto Anotativni = [](AcDbObjectId id) {
        AcDbObject* p = nullptr;
        EXPECT_EQ(acdbOpenObject(p, id, AcDb::kForRead), Acad::eOk);
        const bool b = ACRX_PE_PTR(p, AcDbAnnotativeObjectPE)->annotative(p);
        p->close();
        return b;
    };
    AcDbEntity* pRef = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(pRef, idRef, AcDb::kForWrite), Acad::eOk);
    EXPECT_TRUE(CVoxAnno::NastavAnnotative(pRef, true));
    pRef->close();
    EXPECT_TRUE(Anotativni(idRef));
    EXPECT_TRUE(Anotativni(idBlok));
    ASSERT_EQ(acdbOpenAcDbEntity(pRef, idRef, AcDb::kForWrite), Acad::eOk);
    EXPECT_TRUE(CVoxAnno::NastavAnnotative(pRef, false));
    pRef->close();
    EXPECT_FALSE(Anotativni(idRef));
    EXPECT_FALSE(Anotativni(idBlok));
    // Without the option the definition stays as it is.
    ASSERT_EQ(acdbOpenAcDbEntity(pRef, idRef, AcDb::kForWrite), Acad::eOk);
    EXPECT_TRUE(CVoxAnno::NastavAnnotative(pRef, true, 0));
    pRef->close();
    EXPECT_TRUE(Anotativni(idRef));
    EXPECT_FALSE(Anotativni(idBlok));
}

} // namespace
