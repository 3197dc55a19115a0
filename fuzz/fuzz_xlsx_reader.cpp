// Feeds arbitrary bytes to the .xlsx reader: it must end in a message, never crash or hang.
#include <cstddef>
#include <cstdint>

#include "fuzz/read_everything.h"
#include "import/xlsx_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string error;
    auto reader = varnex::openXlsxWorkbookFromMemory(data, size, "fuzz", error);
    varnex::readEverything(reader.get());
    return 0;
}
