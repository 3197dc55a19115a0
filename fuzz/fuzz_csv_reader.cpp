// Feeds arbitrary bytes to the CSV reader: it must end in a message, never crash or hang.
#include <cstddef>
#include <cstdint>

#include "fuzz/read_everything.h"
#include "readers/csv_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    varnex::readEverything(varnex::openCsvWorkbookFromMemory(data, size, "fuzz.csv"));
    return 0;
}
