// The DXF reader on arbitrary bytes: it must give a drawing or a clean error, never crash, hang or
// leak; a drawing it accepts must be written again and read back.
#include "dbmain.h"
#include "dxfread.h"
#include "dxfwrite.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    std::unique_ptr<AcDbDatabase> db(khost::dxf::readDxf(nullptr, text, error));
    if (!db) {
        if (error.empty())
            std::abort(); // a refusal says why
        return 0;
    }
    std::string out;
    if (!khost::dxf::writeDxf(db.get(), out, error))
        std::abort(); // a drawing that was read can be written
    std::unique_ptr<AcDbDatabase> again(khost::dxf::readDxf(nullptr, out, error));
    if (!again)
        std::abort(); // and what was written can be read
    return 0;
}
