// Feeds arbitrary bytes to the settings-file parser. It must never crash or hang; a file it reads
// as text must write back unchanged after one pass (no byte of the user's text is lost; only the
// carriage returns of a file with mixed line ends may settle), take a value it is given and give it
// back; a file it cannot read must stay unreadable.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/ini_file.h"

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

std::string withoutCarriageReturns(std::string text) {
    std::erase(text, '\r');
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using varnex::IniFile;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    IniFile file = IniFile::fromBytes(bytes);
    // What every read does: a grade's key, an export option, the recent files.
    for (const char* section : {"七年级", "导出选项", "最近打开过的文件"}) {
        for (const char* key : {"语文", "总分前N名", "文件数量", "1"}) {
            std::string value = file.get(section, key);
            check(value.size() <= 259 * 2);  // 259 bytes of GB18030 take at most 1.5 times that in UTF-8
        }
    }
    if (file.unreadable()) {
        check(!file.exists());
        check(file.get("七年级", "语文").empty());
        return 0;
    }
    // Written once, the text reads back as itself and writes the very same bytes again.
    const std::string once = file.toBytes();
    IniFile again = IniFile::fromBytes(once);
    check(!again.unreadable());
    check(withoutCarriageReturns(again.toBytes()) == withoutCarriageReturns(once));
    // A value set is the value read (cut at its first line break).
    file.set("导出选项", "总分前N名", "50\r\n[x]");
    check(file.get("导出选项", "总分前N名") == "50");
    IniFile changed = IniFile::fromBytes(file.toBytes());
    check(!changed.unreadable());
    check(changed.get("导出选项", "总分前N名") == "50");
    return 0;
}
