// Feeds arbitrary bytes to the web-page reader: it must end in a message, never crash or hang.
#include <cstddef>
#include <cstdint>

#include "fuzz/read_everything.h"
#include "readers/html_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    varnex::readEverything(varnex::openWebPageFromMemory(data, size, "fuzz.xls"));
    return 0;
}
