// acedSSGet in its modes, the "Select objects" prompt, acedSSNameX and the single picks.
#include "seltest.h"

#include "edinternal.h"

using namespace seltest;

namespace {

class SsGet : public SelTest {
protected:
    void SetUp() override {
        SelTest::SetUp();
        m_a = add(line(0, 0, 10, 0));
        m_t = add(text(0, 20, L"AB"));
        AcDbText* other = text(0, 40, L"CD");
        other->setLayer(layer(L"POPIS"));
        m_t2 = add(other);
        m_b = add(line(0, 60, 10, 60));
    }
    AcDbObjectId m_a, m_t, m_t2, m_b;
};

TEST_F(SsGet, PromptTakesPicksWindowsKeywordsAndReportsEachStep) {
    type(L"5,0\n5,0\nC\n-1,-1\n11,21\nR\n5,60\n5,0\nA\nL\nxyz\n\n");
    ads_name ss;
    ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTNORM);
    EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{m_t, m_b}));
    EXPECT_EQ(transcript(), L"Select objects: 5,0\n1 found"
                            L"\nSelect objects: 5,0\n1 found (1 duplicate), 1 total"
                            L"\nSelect objects: C\nSpecify first corner: -1,-1"
                            L"\nSpecify opposite corner: 11,21\n2 found (1 duplicate), 2 total"
                            L"\nSelect objects: R"
                            L"\nRemove objects: 5,60\n1 found, 0 removed, 2 total"
                            L"\nRemove objects: 5,0\n1 found, 1 removed, 1 total"
                            L"\nRemove objects: A"
                            L"\nSelect objects: L\n1 found, 2 total"
                            L"\nSelect objects: xyz\n*Invalid selection*"
                            L"\nExpects a point or Window/Last/Crossing/ALL/Add/Remove/Previous"
                            L"\nSelect objects: \n");
    acedSSFree(ss);

    // P: the previous selection; W takes only what lies inside.
    type(L"P\nW\n-1,-1\n11,45\n\n");
    ASSERT_EQ(acedSSGet(L"_", nullptr, nullptr, nullptr, ss), RTNORM);
    EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{m_t, m_b, m_a, m_t2}));
    acedSSFree(ss);
    transcript();

    // Enter with nothing selected, and Esc.
    type(L"\n");
    EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTERROR);
    type(L"5,0\n^C\n");
    EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTCAN);
    EXPECT_EQ(acedSSGet(L"_:Q", nullptr, nullptr, nullptr, ss), RTERROR);
}

TEST_F(SsGet, FiltersByTypeLayerAndAlternatives) {
    resbuf* texts = acutBuildList(RTDXF0, L"TEXT", RTNONE);
    type(L"ALL\n\n");
    ads_name ss;
    ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, texts, ss), RTNORM);
    EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{m_t, m_t2}));
    EXPECT_NE(transcript().find(L"\n4 found\n2 were filtered out."), std::wstring::npos);
    acedSSFree(ss);

    resbuf* onLayer = acutBuildList(RTDXF0, L"TEXT", 8, L"POPIS", RTNONE);
    ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, onLayer, ss), RTNORM);
    EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{m_t2}));
    acedSSFree(ss);

    resbuf* either = acutBuildList(-4, L"<or", RTDXF0, L"LINE", 8, L"POPIS", -4, L"or>", RTNONE);
    ads_point c1 = {-1, -1, 0}, c2 = {11, 45, 0};
    ASSERT_EQ(acedSSGet(L"_W", c1, c2, either, ss), RTNORM);
    EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{m_a, m_t2}));
    acedSSFree(ss);

    // Single mode: a pick that the filter refuses or that hits nothing ends the selection.
    type(L"5,0\n");
    EXPECT_EQ(acedSSGet(L":S", nullptr, nullptr, texts, ss), RTERROR);
    type(L"500,500\n");
    EXPECT_EQ(acedSSGet(L"_:N:S", nullptr, nullptr, nullptr, ss), RTERROR);
    type(L"1,21\n5,60\n");
    ASSERT_EQ(acedSSGet(L":S", nullptr, nullptr, texts, ss), RTNORM);
    EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{m_t}));
    EXPECT_EQ(transcript(), L"Select objects: 5,0\nSelect objects: 500,500\n"
                            L"Select objects: 1,21\n");
    acedSSFree(ss);
    // A point given: the entity there, without a prompt.
    ads_point at = {5, 60, 0};
    ASSERT_EQ(acedSSGet(nullptr, at, nullptr, nullptr, ss), RTNORM);
    EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{m_b}));
    acedSSFree(ss);
    EXPECT_EQ(acedSSGet(nullptr, at, nullptr, texts, ss), RTERROR);
    EXPECT_EQ(transcript(), L"");
    EXPECT_EQ(khost::hostInput().atEnd(), false); // "5,60" is still waiting
    khost::hostInput().clear();
    acutRelRb(texts);
    acutRelRb(onLayer);
    acutRelRb(either);
}

void useFirst() {
    ads_name ss;
    int rc = acedSSGet(L"_I", nullptr, nullptr, nullptr, ss);
    acutPrintf(L"[%d]", rc);
    if (rc == RTNORM)
        acedSSFree(ss);
}

TEST_F(SsGet, PickfirstOnlyForCommandsThatAskForIt) {
    ads_name set;
    ASSERT_EQ(acedSSAdd(nullptr, nullptr, set), RTNORM);
    ads_name en;
    acdbGetAdsName(en, m_t);
    acedSSAdd(en, set, set);
    ASSERT_EQ(acedSSSetFirst(set, nullptr), RTNORM);
    acedSSFree(set);

    ads_name ss;
    resbuf* lines = acutBuildList(RTDXF0, L"LINE", RTNONE);
    EXPECT_EQ(acedSSGet(L"_I", nullptr, nullptr, lines, ss), RTERROR);
    ASSERT_EQ(acedSSGet(L"_I", nullptr, nullptr, nullptr, ss), RTNORM);
    EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{m_t}));
    acedSSFree(ss);
    acutRelRb(lines);

    AcEdCommandStack* stack = acedRegCmds;
    stack->addCommand(L"SELTEST", L"SPF", L"SPF", ACRX_CMD_MODAL | ACRX_CMD_USEPICKSET, useFirst);
    stack->addCommand(L"SELTEST", L"SNOPF", L"SNOPF", ACRX_CMD_MODAL, useFirst);
    khost::executeCommand(L"SNOPF"); // does not see it, and clears it
    khost::executeCommand(L"SPF");
    ASSERT_EQ(acedSSSetFirst(nullptr, nullptr), RTNORM);
    acdbGetAdsName(en, m_a);
    ASSERT_EQ(acedSSAdd(en, nullptr, set), RTNORM);
    acedSSSetFirst(set, nullptr);
    acedSSFree(set);
    khost::executeCommand(L"SPF");
    stack->removeGroup(L"SELTEST");
    EXPECT_EQ(transcript(), L"[-5001][-5001][5100]");
}

TEST_F(SsGet, OwnPromptsAndKeywordsOfInitGet) {
    const ACHAR* prompts[2] = {L"\nPridej: ", L"\nOdeber: "};
    type(L"5,0\nR\n5,0\nN\n");
    ads_name ss;
    acedInitGet(0, L"Nastaveni");
    ASSERT_EQ(acedSSGet(L":$", prompts, nullptr, nullptr, ss), RTKWORD);
    ACHAR kw[64];
    ASSERT_EQ(acedGetInput(kw), RTNORM);
    EXPECT_STREQ(kw, L"Nastaveni");
    EXPECT_EQ(transcript(), L"\nPridej: 5,0\n1 found\nPridej: R\n\nOdeber: 5,0\n1 found, "
                            L"1 removed, 0 total\nOdeber: N\n");
}

TEST_F(SsGet, NameXDescribesThePickAndTheNesting) {
    AcDbObjectId inner = defineBlock(L"IN");
    AcDbObjectId seg = add(pline({{0, 0}, {10, 0}, {10, 10}, {20, 10}}), inner);
    AcDbObjectId outer = defineBlock(L"OUT");
    AcDbObjectId innerRef = insert(inner, AcGePoint3d(0, 0, 0), 0.0, 1.0, outer);
    AcDbObjectId top = insert(outer, AcGePoint3d(100, 0, 0), 0.0, 2.0);

    type(L"130,20\n");
    ads_name ss;
    ASSERT_EQ(acedSSGet(L"_:N:S", nullptr, nullptr, nullptr, ss), RTNORM);
    EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{top}));
    resbuf* rb = nullptr;
    ASSERT_EQ(acedSSNameX(&rb, ss, 0), RTNORM);
    std::vector<const resbuf*> items;
    for (const resbuf* r = rb; r; r = r->rbnext)
        items.push_back(r);
    ASSERT_EQ(items.size(), 15u);
    EXPECT_EQ(items[0]->restype, RTLB);
    EXPECT_EQ(items[1]->resval.rint, 1);
    EXPECT_EQ(idOf(items[2]->resval.rlname), seg);
    EXPECT_EQ(items[3]->resval.rlong, 3); // the third segment
    EXPECT_EQ(items[6]->restype, RT3DPOINT);
    EXPECT_DOUBLE_EQ(items[6]->resval.rpoint[X], 130.0);
    EXPECT_DOUBLE_EQ(items[8]->resval.rpoint[X], 2.0);    // the X axis, scaled
    EXPECT_DOUBLE_EQ(items[11]->resval.rpoint[X], 100.0); // the origin
    EXPECT_EQ(idOf(items[12]->resval.rlname), innerRef);
    EXPECT_EQ(idOf(items[13]->resval.rlname), top);
    EXPECT_EQ(items[14]->restype, RTLE);
    acutRelRb(rb);
    EXPECT_EQ(acedSSNameX(&rb, ss, 1), RTERROR);
    acedSSFree(ss);

    // A nested pick at a given point, without a prompt.
    ads_point at = {130, 20, 0};
    ASSERT_EQ(acedSSGet(L"_:n", at, nullptr, nullptr, ss), RTNORM);
    ASSERT_EQ(acedSSNameX(&rb, ss, 0), RTNORM);
    EXPECT_EQ(idOf(rb->rbnext->rbnext->resval.rlname), seg);
    acutRelRb(rb);
    acedSSFree(ss);

    // Without the nested mode the reference itself is named, without a marker.
    type(L"130,20\n");
    ASSERT_EQ(acedSSGet(L":S", nullptr, nullptr, nullptr, ss), RTNORM);
    ASSERT_EQ(acedSSNameX(&rb, ss, 0), RTNORM);
    EXPECT_EQ(idOf(rb->rbnext->rbnext->resval.rlname), top);
    EXPECT_EQ(rb->rbnext->rbnext->rbnext->resval.rlong, 0);
    acutRelRb(rb);
    acedSSFree(ss);
}

TEST_F(SsGet, EntSelAndNestedEntSel) {
    AcDbObjectId blk = defineBlock(L"B");
    AcDbObjectId tx = add(text(0, 0, L"XY", 2), blk);
    AcDbObjectId ref = insert(blk, AcGePoint3d(100, 0, 0), 3.14159265358979 / 2);
    ads_name en;
    ads_point pt;
    type(L"5,60\n500,0\n\n^C\n");
    ASSERT_EQ(acedEntSel(L"\nVyber: ", en, pt), RTNORM);
    EXPECT_EQ(idOf(en), m_b);
    EXPECT_DOUBLE_EQ(pt[Y], 60.0);
    EXPECT_EQ(acedEntSel(nullptr, en, pt), RTERROR);
    resbuf rb{};
    acedGetVar(L"ERRNO", &rb);
    EXPECT_EQ(rb.resval.rint, 7);
    EXPECT_EQ(acedEntSel(nullptr, en, pt), RTERROR);
    acedGetVar(L"ERRNO", &rb);
    EXPECT_EQ(rb.resval.rint, 52);
    EXPECT_EQ(acedEntSel(nullptr, en, pt), RTCAN);

    ads_point at = {99, 1, 0};
    ads_matrix m;
    resbuf* refs = nullptr;
    ASSERT_EQ(acedNEntSelP(nullptr, en, at, 1, m, &refs), RTNORM);
    EXPECT_EQ(idOf(en), tx);
    ASSERT_NE(refs, nullptr);
    EXPECT_EQ(idOf(refs->resval.rlname), ref);
    EXPECT_EQ(refs->rbnext, nullptr);
    EXPECT_NEAR(m[0][1], -1.0, 1e-12); // the rotation by a right angle
    EXPECT_DOUBLE_EQ(m[0][3], 100.0);
    acutRelRb(refs);
    at[X] = 5;
    at[Y] = 0;
    ASSERT_EQ(acedNEntSelP(nullptr, en, at, 1, m, &refs), RTNORM);
    EXPECT_EQ(idOf(en), m_a);
    EXPECT_EQ(refs, nullptr);
    EXPECT_DOUBLE_EQ(m[0][0], 1.0);
}

} // namespace
