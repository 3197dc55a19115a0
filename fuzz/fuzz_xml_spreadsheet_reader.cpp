// Feeds arbitrary bytes to the XML spreadsheet reader: it must end in a message, never crash or hang.
#include <cstddef>
#include <cstdint>

#include "fuzz/read_everything.h"
#include "readers/xml_spreadsheet_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    varnex::readEverything(varnex::openXmlSpreadsheetFromMemory(data, size, "fuzz.xls"));
    return 0;
}
