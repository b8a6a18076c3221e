// Writes the seed drawings of the DXF fuzzer into a folder: the default drawing, a drawing with
// entities of every kind the host models (made through entmake, as the tests make them), and small
// files in the layout of R12.
#include "acapdoc.h"
#include "dbmain.h"
#include "dxfio.h"
#include "edhost.h"
#include "lisp.h"
#include "textconv.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

const wchar_t* kEntities = LR"(
(regapp "KRESBON")
(entmake '((0 . "LAYER") (2 . "POTRUBI") (70 . 0) (62 . 1) (6 . "Continuous")))
(entmake '((0 . "LINE") (8 . "POTRUBI") (62 . 3) (10 0.0 0.0 0.0) (11 10.0 5.0 0.0)
  (-3 ("KRESBON" (1000 . "trubka") (1070 . 25) (1040 . 2.5)))))
(entmake '((0 . "TEXT") (10 1.0 2.0 0.0) (40 . 2.5) (1 . "Větev A") (50 . 0.5) (72 . 1)
  (11 3.0 2.0 0.0)))
(entmake '((0 . "MTEXT") (10 1.0 1.0 0.0) (40 . 2.0) (41 . 30.0) (1 . "Řádek\\Pdruhý")))
(entmake '((0 . "LWPOLYLINE") (100 . "AcDbEntity") (100 . "AcDbPolyline") (90 . 3) (70 . 1)
  (10 0.0 0.0) (10 5.0 0.0) (42 . 0.5) (10 5.0 5.0)))
(entmake '((0 . "POLYLINE") (66 . 1) (70 . 8) (10 0 0 0)))
(entmake '((0 . "VERTEX") (70 . 32) (10 1.0 1.0 1.0)))
(entmake '((0 . "VERTEX") (70 . 32) (10 2.0 1.0 3.0)))
(entmake '((0 . "SEQEND")))
(entmake '((0 . "CIRCLE") (10 0 0 0) (40 . 1.0)))
(entmake '((0 . "ARC") (10 0 0 0) (40 . 1.0) (50 . 0.0) (51 . 1.5)))
(entmake '((0 . "BLOCK") (2 . "ARMATURA") (70 . 0) (10 1.0 1.0 0.0)))
(entmake '((0 . "LINE") (10 -1.0 0.0 0.0) (11 1.0 0.0 0.0)))
(entmake '((0 . "ATTDEF") (10 0.0 1.0 0.0) (40 . 1.5) (1 . "50") (3 . "DN") (2 . "DN")))
(entmake '((0 . "ENDBLK")))
(entmake '((0 . "INSERT") (2 . "ARMATURA") (66 . 1) (10 20.0 5.0 0.0) (41 . 2.0) (42 . 2.0)))
(entmake '((0 . "ATTRIB") (10 20.0 7.0 0.0) (40 . 3.0) (1 . "80") (2 . "DN")))
(entmake '((0 . "SEQEND")))
(entmake '((0 . "LINE") (67 . 1) (10 0 0 0) (11 1 1 0)))
)";

const char* kR12 = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n9\n$DWGCODEPAGE\n3\n"
                   "ANSI_1250\n0\nENDSEC\n0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n70\n1\n0\n"
                   "LAYER\n2\nSTENY\n70\n0\n62\n2\n6\nCONTINUOUS\n0\nENDTAB\n0\nENDSEC\n0\n"
                   "SECTION\n2\nBLOCKS\n0\nBLOCK\n8\n0\n2\nB1\n70\n2\n10\n0.0\n20\n0.0\n30\n0.0\n"
                   "0\nATTDEF\n8\n0\n10\n0.0\n20\n0.0\n30\n0.0\n40\n1.0\n1\nx\n3\nP\n2\nT\n70\n0\n"
                   "0\nENDBLK\n8\n0\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nSTENY\n10\n"
                   "0.0\n20\n0.0\n30\n0.0\n11\n1.0\n21\n1.0\n31\n0.0\n0\nTEXT\n8\n0\n10\n1.0\n20\n"
                   "1.0\n40\n2.5\n1\n\x9e\x61\n0\nINSERT\n8\n0\n66\n1\n2\nB1\n10\n5.0\n20\n5.0\n0\n"
                   "ATTRIB\n8\n0\n10\n5.0\n20\n5.0\n40\n1.0\n1\nv\n2\nT\n70\n0\n0\nSEQEND\n8\n0\n"
                   "0\nPOLYLINE\n8\n0\n66\n1\n70\n1\n0\nVERTEX\n8\n0\n10\n0.0\n20\n0.0\n0\nVERTEX\n"
                   "8\n0\n10\n1.0\n20\n0.0\n42\n0.5\n0\nSEQEND\n8\n0\n0\nENDSEC\n0\nEOF\n";

bool write(AcDbDatabase* db, const std::string& path) {
    std::wstring err;
    if (!khost::writeDrawing(db, khost::fromUtf8(path), err)) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), khost::toUtf8(err).c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_dxf_seeds FOLDER\n");
        return 2;
    }
    std::string dir = argv[1];
    bool ok = true;
    {
        AcDbDatabase empty(true, true);
        ok = write(&empty, dir + "/default.dxf") && ok;
    }
    khost::openDocument(new AcDbDatabase(true, false), L"");
    try {
        khost::lispEvaluate(kEntities);
    } catch (const khost::LispError& e) {
        std::fprintf(stderr, "%s\n", khost::toUtf8(e.message()).c_str());
        ok = false;
    }
    ok = write(curDoc()->database(), dir + "/entities.dxf") && ok;
    khost::closeAllDocuments();
    std::ofstream(dir + "/r12.dxf", std::ios::binary) << kR12;
    std::ofstream(dir + "/eof.dxf", std::ios::binary) << "0\nEOF\n";
    return ok ? 0 : 1;
}
