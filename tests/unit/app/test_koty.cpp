// Pipe labels: the label text from the current material, the side check, the current material
// per drawing with its fallbacks.
#include "StdAfx.h"

#include "CVoxKoty.h"
#include "CVoxXRecord.h"

#include "standardytest.h"

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class Koty : public standardy::StandardyTest {
protected:
    void SetUp() override {
        StandardyTest::SetUp();
        const fs::path data = fs::path(m_home) / "data";
        fs::create_directories(data);
        for (const wchar_t* s : {L"CommonInstallPath", L"CommonDataPath"})
            setMachineString(L"Software\\Pelmex\\", s, data.wstring());
        // The user's catalogue: a material with profiles for ZTI and an empty one.
        CVoxSezMaterialu sez;
        CVoxMaterial* m = nullptr;
        ASSERT_TRUE(sez.NovyMaterial(L"PE", &m));
        CVoxMaterialData d;
        m->Data(d);
        d.m_iPN = 0;
        d.m_iSDr = 4;
        d.m_nOblast = OBLAST_ZTI;
        m->Nastav(d);
        m->GenerujProfily(11, 12);
        ASSERT_TRUE(sez.NovyMaterial(L"Prázdný", nullptr));
        ASSERT_TRUE(sez.Uloz());
        Cara(0, 0, 1000, 0);
        Cara(0, 500, 1000, 500);
    }
    void TearDown() override {
        CVoxKoty::Zrus();
        StandardyTest::TearDown();
    }
    void Cara(double x1, double y1, double x2, double y2) {
        auto* p = new AcDbLine(AcGePoint3d(x1, y1, 0), AcGePoint3d(x2, y2, 0));
        AcDbBlockTableRecord* pMs = nullptr;
        ASSERT_EQ(acdbOpenObject(pMs, db()->currentSpaceId(), AcDb::kForWrite), Acad::eOk);
        pMs->appendAcDbEntity(p);
        pMs->close();
        p->close();
    }
    std::vector<AcDbAlignedDimension*> Koty_() {
        std::vector<AcDbAlignedDimension*> v;
        AcDbBlockTableRecord* pMs = nullptr;
        acdbOpenObject(pMs, db()->currentSpaceId(), AcDb::kForRead);
        AcDbBlockTableRecordIterator* it = nullptr;
        pMs->newIterator(it);
        for (; !it->done(); it->step()) {
            AcDbEntity* e = nullptr;
            it->getEntity(e, AcDb::kForRead);
            if (auto* k = AcDbAlignedDimension::cast(e))
                v.push_back(k);
            else
                e->close();
        }
        delete it;
        pMs->close();
        return v;
    }
    std::wstring TextKoty() {
        auto v = Koty_();
        std::wstring s;
        for (AcDbAlignedDimension* k : v) {
            AcString t;
            k->dimensionText(t);
            s += t.kACharPtr();
            s += L";";
            k->close();
        }
        return s;
    }
};

TEST_F(Koty, DigitsGiveTheNearestProfileAndNoProfileGivesZero) {
    CVoxXRecord::ZapisString(L"CurMat", L"PE", KOTY_SKUPINA);
    input(L"300,0\n300,100\n100\n");
    CVoxKoty::Ko();
    EXPECT_EQ(TextKoty(), L"110x10.0;"); // 100 lies below the first outer diameter, 110
    CVoxKoty::Zrus();
    CVoxXRecord::ZapisString(L"CurMat", L"Prázdný", KOTY_SKUPINA);
    input(L"400,0\n400,100\n50\n");
    CVoxKoty::Ko();
    EXPECT_EQ(TextKoty(), L"110x10.0;0x0;");
    std::wstring t = transcript();
    EXPECT_NE(t.find(L"Vyber trubku [Materiál], (Prázdný) <Materiál>: "), std::wstring::npos);
    EXPECT_NE(t.find(L"\nZadej vnitřní průměr trubky (přibližně), nebo zadej text, nebo "
                     L"[Materiál/zadej Ručně], (Prázdný) <Zadej Ručně>: "),
              std::wstring::npos);
}

TEST_F(Koty, ManualTextAndRefusals) {
    CVoxXRecord::ZapisString(L"CurMat", L"PE", KOTY_SKUPINA);
    // "r" asks for the text; a side point on the pipe creates nothing.
    input(L"300,0\n300,100\nr\nvlastní text\n400,0\n400,10\n");
    CVoxKoty::Ko();
    CVoxKoty::Ko();
    std::wstring t = transcript();
    EXPECT_NE(t.find(L"\nZadej text kóty: vlastní text"), std::wstring::npos);
    EXPECT_NE(t.find(L"Druhý bod leží na trubce - nelze určit stranu"), std::wstring::npos);
    EXPECT_EQ(TextKoty(), L"vlastní text;");
    // A pick beside the pipes is asked again; Esc ends.
    input(L"300,250\n^C\n");
    CVoxKoty::Ko();
    t = transcript();
    EXPECT_NE(t.find(L"\nJe třeba zadat bod na úsečce (trubce)!!!"), std::wstring::npos);
    EXPECT_NE(t.find(L"\nESC - konec..."), std::wstring::npos);
}

TEST_F(Koty, KodPlacesTheTextBeyondTheSecondPipe) {
    CVoxXRecord::ZapisString(L"CurMat", L"PE", KOTY_SKUPINA);
    input(L"200,0\n200,500\nplyn\n");
    CVoxKoty::Kod();
    auto v = Koty_();
    ASSERT_EQ(v.size(), 1u);
    AcString t;
    v[0]->dimensionText(t);
    EXPECT_EQ(std::wstring(t.kACharPtr()), L"2x plyn");
    EXPECT_TRUE(v[0]->xLine1Point().isEqualTo(AcGePoint3d(200, 0, 0)));
    EXPECT_TRUE(v[0]->xLine2Point().isEqualTo(AcGePoint3d(200, 500, 0)));
    // a = 7 x the scale's drawing units (1:1 in a new drawing)
    EXPECT_TRUE(v[0]->textPosition().isEqualTo(AcGePoint3d(200, 507, 0)));
    v[0]->close();
}

TEST_F(Koty, EachDrawingKeepsItsCurrentMaterial) {
    CVoxXRecord::ZapisString(L"CurMat", L"PE", KOTY_SKUPINA);
    input(L"300,0\n300,100\n100\n");
    CVoxKoty::Ko();
    EXPECT_EQ(CVoxKoty::Instance().GetCurMat()->GetNazev(), L"PE");
    AcApDocument* druhy = khost::openDocument(new AcDbDatabase(true, false), L"");
    khost::activateDocument(druhy);
    CVoxXRecord::ZapisString(L"CurMat", L"Prázdný", KOTY_SKUPINA);
    EXPECT_EQ(CVoxKoty::Instance().GetCurMat()->GetNazev(), L"Prázdný");
    khost::activateDocument(m_doc);
    EXPECT_EQ(CVoxKoty::Instance().GetCurMat()->GetNazev(), L"PE");
}

TEST_F(Koty, AMissingMaterialIsMadeWithTheStoredValues) {
    // No name in the drawing or the registry: the default name, missing in the list.
    CVoxXRecord::ZapisReal(L"CurMatDrsnost", 0.5, KOTY_SKUPINA);
    CVoxXRecord::ZapisInt(L"CurMatPN", 2, KOTY_SKUPINA);
    CVoxXRecord::ZapisInt(L"CurMatSDR", 4, KOTY_SKUPINA);
    CVoxXRecord::ZapisInt(L"CurMatPop", 1, KOTY_SKUPINA);
    input(L"No\n");
    CVoxMaterial* m = CVoxKoty::Instance().GetCurMat();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->GetNazev(), L"PPR3, PN 16");
    EXPECT_NE(transcript().find(L"V databázi materiálů nebyl nalezen defaultní materiál \nPPR3, PN "
                                L"16.....vybrat jiný?"),
              std::wstring::npos);
    EXPECT_FLOAT_EQ(m->GetDrsnost(), 0.5f);
    EXPECT_EQ(m->GetPN(), 2);
    EXPECT_EQ(m->GetSDr(), 4);
    EXPECT_EQ(m->GetOblast(), OBLAST_ZTI);
    EXPECT_EQ(m->GetProfilCount(), 11);
    EXPECT_STREQ(m->Profil(11)->GetPopis(), L"110x10.0");
    // Saved with the list: a new context reads it from the user's catalogue.
    CVoxKoty::Zrus();
    CVoxMaterial* pZnovu = nullptr;
    EXPECT_TRUE(CVoxKoty::Instance().Seznam()->Najdi(L"PPR3, PN 16", &pZnovu));
    // Destroying the list clears the command's pointer.
    EXPECT_NE(CVoxKoty::Instance().GetCurMat(), nullptr);
    CVoxMaterial* pCur = CVoxKoty::Instance().GetCurMat();
    EXPECT_FALSE(CVoxKoty::Instance().Seznam()->SmazMaterial(pCur));
}

} // namespace
