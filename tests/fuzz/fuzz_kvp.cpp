// The reader of the pipe catalogue files on arbitrary bytes: it must read a list or stop with the
// archive's or the application's exception, never crash, hang or leak; what it kept must be
// written, read back without complaint and written again to the same bytes.
#include "StdAfx.h"

#include "CVoxException.h"
#include "CVoxSezMaterialu.h"

#include "hostio.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string Zapis(CVoxSezMaterialu& sez) {
    CMemFile f;
    {
        CArchive ar(&f, CArchive::store, 4096);
        sez.Serialize(ar, false);
        ar.Close();
    }
    std::string b(static_cast<size_t>(f.GetLength()), '\0');
    BYTE* p = f.Detach();
    if (!b.empty())
        std::memcpy(b.data(), p, b.size());
    std::free(p);
    return b;
}

// False when the read stopped with an exception.
bool Cti(CVoxSezMaterialu& sez, std::string b) {
    CMemFile f(reinterpret_cast<BYTE*>(b.data()), static_cast<UINT>(b.size()));
    try {
        CArchive ar(&f, CArchive::load, 4096);
        sez.Serialize(ar, false);
        return true;
    } catch (CException* e) {
        e->Delete();
    } catch (const CVoxException&) {
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Questions of the merge find no input and take their cancelling answer; nothing is shown.
    khost::hostTranscript().setQuiet(true);
    khost::hostInput().clear();
    CVoxSezMaterialu sez;
    Cti(sez, std::string(reinterpret_cast<const char*>(data), size));
    const std::string prvni = Zapis(sez);
    CVoxSezMaterialu znovu;
    if (!Cti(znovu, prvni))
        std::abort(); // what was written is read back
    if (znovu.GetCount() != sez.GetCount())
        std::abort();
    if (Zapis(znovu) != prvni)
        std::abort(); // and written to the same bytes
    return 0;
}
