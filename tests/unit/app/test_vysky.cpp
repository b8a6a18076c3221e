// Depths and slopes from the height attributes of sewer blocks: vvs and vvvv.
#include "hostfixture.h"

#include "CVoxException.h"

#include "CVoxEntity.h"
#include "CVoxFunkce.h"
#include "VyskyPrikazy.h"
#include "textconv.h"

#include <string>

namespace {

class Vysky : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        db()->setInsunits(AcDb::kUnitsMillimeters);
        m_idBlok = VytvorBlok(L"SACHTA", db());
        AcDbBlockTableRecord* pBlok = nullptr;
        ASSERT_EQ(acdbOpenObject(pBlok, m_idBlok, AcDb::kForWrite), Acad::eOk);
        double y = 0;
        for (const ACHAR* sTag : {L"POKLOP", L"DNO", L"OZNS"}) {
            auto* pDef = new AcDbAttributeDefinition(AcGePoint3d(0, y -= 3, 0), L"", sTag, sTag,
                                                     db()->textstyle());
            pDef->setHeight(2.5);
            pBlok->appendAcDbEntity(pDef);
            pDef->close();
        }
        pBlok->close();
    }
    void TearDown() override {
        EXPECT_EQ(khost::reportOpenObjects(L"test"), 0);
        HostFixture::TearDown();
    }
    AcDbObjectId Sachta(double x, const ACHAR* sPoklop, const ACHAR* sDno, const ACHAR* sJmeno) {
        CVoxBlokDef def;
        def.m_idBlok = m_idBlok;
        def.m_ptVlozeni = AcGePoint3d(x, 0, 0);
        if (sPoklop)
            def.NastavAtribut(L"POKLOP", sPoklop);
        def.NastavAtribut(L"DNO", sDno);
        def.NastavAtribut(L"OZNS", sJmeno);
        AcDbBlockTableRecord* pModel = nullptr;
        EXPECT_EQ(acdbOpenObject(pModel, db()->currentSpaceId(), AcDb::kForWrite), Acad::eOk);
        return VlozBlok(def, pModel);
    }
    std::string Spust(void (*pfn)(), AcDbObjectId idPrvni, const wchar_t* sVstup) {
        khost::currentSession().pickfirst = {idPrvni};
        input(sVstup);
        try {
            pfn();
        } catch (const std::exception& e) {
            ZobrazVyjimku(e);
        }
        return khost::toUtf8(transcript());
    }
    AcDbObjectId m_idBlok;
};

TEST_F(Vysky, VvsPrintsTheDepthOfAManhole) {
    AcDbObjectId id = Sachta(0, L"235.40", L"232.15", L"S1");
    std::string s = Spust(PrikazVvs, id, L"");
    EXPECT_NE(s.find("\nŠachta S1 - hloubka: 3.25 m  (Poklop: 235.40, Dno: 232.15)"),
              std::string::npos)
        << s;
}

TEST_F(Vysky, VvvvComputesTheSlopeOrOneHeight) {
    AcDbObjectId idA = Sachta(0, L"235", L"232.50", L"A");
    Sachta(30000, L"235", L"232.20", L"B");
    std::string s = Spust(PrikazVvvv, idA, L"L\n\n");
    EXPECT_NE(s.find("\nVyber bod s první výškou\nVyber bod s druhou výškou"), std::string::npos)
        << s;
    EXPECT_NE(s.find("\nPočátek 232.50 [m], konec 232.20 [m], vzdálenost 30.000 [m], spád [‰] "
                     "10.00"),
              std::string::npos)
        << s;
    s = Spust(PrikazVvvv, idA, L"L\n10\nYes\n");
    EXPECT_NE(s.find("** Kresbon **\nDopočítat konec?\n(ANO - dopočítat konec, NE - dopočítat "
                     "počátek\n[Yes/No]: Yes"),
              std::string::npos)
        << s;
    EXPECT_NE(s.find("konec 232.20 [m]"), std::string::npos);
    s = Spust(PrikazVvvv, idA, L"L\n20\nNo\n");
    EXPECT_NE(s.find("\nPočátek 232.80 [m], konec 232.20 [m]"), std::string::npos) << s;
    s = Spust(PrikazVvvv, idA, L"L\n^C\n");
    EXPECT_NE(s.find("\nŠpatné výběr nebo ESC"), std::string::npos) << s;
}

TEST_F(Vysky, MissingAttributesAndCommasAreReported) {
    AcDbObjectId id = Sachta(0, nullptr, L"232,15", L"S2");
    // The definition has POKLOP, so the reference has it, empty: read as 0.
    std::string s = Spust(PrikazVvs, id, L"");
    EXPECT_NE(s.find("hloubka: -232.00 m"), std::string::npos) << s; // "232,15" reads as 232
    AcDbObjectId idJiny = VytvorBlok(L"JINY", db());
    CVoxBlokDef def;
    def.m_idBlok = idJiny;
    AcDbBlockTableRecord* pModel = nullptr;
    ASSERT_EQ(acdbOpenObject(pModel, db()->currentSpaceId(), AcDb::kForWrite), Acad::eOk);
    AcDbObjectId idRef = VlozBlok(def, pModel);
    s = Spust(PrikazVvs, idRef, L"\n");
    EXPECT_NE(s.find("Nelze získat hodnotu atributu POKLOP"), std::string::npos) << s;
}

} // namespace
