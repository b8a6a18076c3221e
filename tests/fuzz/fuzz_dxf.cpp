// The DXF reader on arbitrary bytes: it must give a drawing or a clean error, never crash, hang or
// leak; a drawing it accepts must be written again and read back.
#include "dbmain.h"
#include "dxfio.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::wstring error;
    auto* db = new AcDbDatabase(false, true);
    if (khost::readDxfText(db, text, error)) {
        std::string out;
        if (!khost::writeDxfText(db, out, error))
            std::abort(); // a drawing that was read can be written
        auto* again = new AcDbDatabase(false, true);
        if (!khost::readDxfText(again, out, error))
            std::abort(); // and what was written can be read
        delete again;
    } else if (error.empty()) {
        std::abort(); // a refusal says why
    }
    delete db;
    return 0;
}
