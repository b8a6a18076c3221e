// The file filers of the DXF reader and writer: AcDbDxfFiler over the groups of one record of a
// file (reading) and over the output buffer (writing).
//
// Conventions shared with the classes that file themselves:
//   - A point group (10-18, 110-112, 210, 1010-1013) is one result buffer with X, Y and Z. A
//     point whose Z is -0.0 is written without its Z group. The groups of objects the database
//     keeps raw are read with Z = -0.0 where the file has no Z group, so their 2D points (the
//     vertices of a light-weight polyline, the seeds of a hatch) stay 2D through a round trip;
//     modelled classes get Z = 0.
//   - Strings: control characters are written as ^ and the character + 64 ("^J"), a caret as
//     "^ ", and read back the same way.
//   - Object references (330-369, 390-399, 480-481) are read as ids (a handle not yet seen
//     gets its id at once, the object comes later) and written as handles; a reference to an
//     object that is erased or does not exist is written as 0.
//   - The handle of a dimension style record is group 105 in the file and 5 for the classes.
//   - Group 67 (paper space) is the writer's business: it is taken out when reading and put
//     after "100 AcDbEntity" when writing an entity of a paper space block.
#pragma once

#include "dbfast.h"
#include "dbmain.h"
#include "dxfgroups.h"

#include <memory>
#include <string>
#include <vector>

namespace khost::dxf {

class InFiler : public LendingDxfFiler {
public:
    ACRX_DECLARE_MEMBERS(InFiler);
    // The groups [begin, end) of a record; the extended data (from the first 1001) is not
    // handed out by readResBuf but collected by readXData.
    // For an entity, group 67 of the common part (before the second subclass marker) is left
    // out: the block the entity belongs to says whether it is in paper space. The handle (5) is
    // left out too: the reader gives the object its handle.
    InFiler(AcDbDatabase* db, const TextCodec& codec, const Group* begin, const Group* end,
            bool dimStyleRecord = false, bool entity = false);
    InFiler(const InFiler&) = delete;
    InFiler& operator=(const InFiler&) = delete;
    // 2D points of the file are read with Z = -0.0 (for data kept raw).
    void setKeep2d(bool keep) { m_keep2d = keep; }

    AcDb::FilerType filerType() const override { return AcDb::kFileFiler; }
    AcDbDatabase* database() const override { return m_db; }
    Acad::ErrorStatus readResBuf(resbuf* pRb) override;
    // Texts in a buffer of the filer's (most objects' texts fit in the one inside the filer).
    Acad::ErrorStatus lendResBuf(resbuf* pRb) override;
    Acad::ErrorStatus pushBackItem() override;
    bool atEOF() override;
    // The checks the classes make between their groups, on the file's text without converting
    // it: a subclass marker is compared in ASCII without regard to case.
    bool atSubclassData(const ACHAR* subClassName) override;
    bool atExtendedData() override;
    bool atEndOfObject() override;
    Acad::ErrorStatus writeResBuf(const resbuf&) override { return Acad::eNotApplicable; }

    // The extended data of the record as a chain (null when none), and the line of the first
    // bad value met ("" when none).
    resbuf* readXData();
    const std::string& error() const { return m_error; }

    // One group (a point takes the following Y and Z groups) as a result buffer. False with
    // the error set for a value that does not parse; groups whose code holds no value of its
    // own (a Y or Z without its X) are skipped.
    bool convert(const Group*& p, const Group* end, resbuf& rb);

private:
    // Comments, the paper space flag of an entity's common part, and the handle (the reader
    // takes it from the record itself; in a dimension style record group 5 is another field).
    bool skipped(const Group* p) const {
        return p->code == 999 || (p->code == 67 && p < m_commonEnd) ||
               (p->code == 5 && !m_dimStyleRecord);
    }

    AcDbDatabase* m_db;
    const TextCodec& m_codec;
    const Group* m_pos;
    const Group* m_end; // the end of the fields (the first 1001 or the end of the record)
    const Group* m_recordEnd;
    const Group* m_commonEnd; // the end of an entity's common part, else the beginning
    const Group* m_last = nullptr;
    // Room for a text of n characters and its terminating zero: from the filer's buffers when
    // lending, else allocated for the caller.
    ACHAR* textRoom(size_t n);

    bool m_dimStyleRecord;
    bool m_keep2d = false;
    bool m_lending = false;
    std::string m_error;
    ACHAR* m_free = m_inline; // the unused part of the current buffer
    size_t m_left = kInline;
    std::vector<std::unique_ptr<ACHAR[]>> m_blocks;
    static constexpr size_t kInline = 192;
    ACHAR m_inline[kInline];
};

class OutFiler : public AcDbDxfFiler {
public:
    ACRX_DECLARE_MEMBERS(OutFiler);
    OutFiler(AcDbDatabase* db, Writer& out) : m_db(db), m_out(out) {}

    AcDb::FilerType filerType() const override { return AcDb::kFileFiler; }
    AcDbDatabase* database() const override { return m_db; }
    Acad::ErrorStatus readResBuf(resbuf*) override { return Acad::eNotApplicable; }
    Acad::ErrorStatus pushBackItem() override { return Acad::eNotApplicable; }
    bool atEOF() override { return true; }
    Acad::ErrorStatus writeResBuf(const resbuf& rb) override;

    // Per object: a dimension style record (handle as 105), an entity of a paper space block
    // (67 after its AcDbEntity marker).
    void beginObject(bool dimStyleRecord, bool paperSpace) {
        m_dimStyleRecord = dimStyleRecord;
        m_paperSpace = paperSpace;
        m_pending67 = false;
        m_impliedReactor = AcDbObjectId::kNull;
        m_plotStyleForNull = AcDbObjectId::kNull;
    }
    // An object owned by a dictionary names it as its reactor, as the format has it, also when
    // the database did not record the reactor: the group goes after the handle.
    void setImpliedReactor(AcDbObjectId owner) { m_impliedReactor = owner; }
    // A layer without a plot style refers to the drawing's default one.
    void setPlotStyleForNull(AcDbObjectId id) { m_plotStyleForNull = id; }
    void writeChain(const resbuf* rb);
    // The text of a string as the file holds it (encoded, control characters escaped).
    std::string fileText(const ACHAR* s) const;

private:
    AcDbDatabase* m_db;
    Writer& m_out;
    bool m_dimStyleRecord = false;
    bool m_paperSpace = false;
    bool m_pending67 = false; // after "100 AcDbEntity" of a paper space entity
    AcDbObjectId m_impliedReactor;
    AcDbObjectId m_plotStyleForNull;
};

// The hexadecimal handle of an id for a file: "0" for null ids and ids of erased or missing
// objects.
std::uint64_t fileHandle(AcDbObjectId id);
// A text of printable ASCII without carets as the file holds it, into buf with its terminating
// zero (no conversion needed); false for any other text or one that does not fit.
bool plainText(const ACHAR* s, char* buf, size_t size);
// Strings of a file: "^J" and "^ " escapes.
std::wstring unescapeCarets(std::wstring_view s);
std::wstring escapeCarets(std::wstring_view s);

} // namespace khost::dxf
