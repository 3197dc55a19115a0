#pragma once
// Looking inside a written .xlsx file: its parts (through libzip) and the cells of a sheet's XML.
// Header-only; a test target that includes it links PkgConfig::LIBZIP.

#include <zip.h>

#include <string>

namespace varnex::testing {

/// The text of one part of a zip file ("xl/workbook.xml"); "" when the file or part is missing.
inline std::string zipPart(const std::string& zipPath, const std::string& part) {
    int error = 0;
    zip_t* archive = zip_open(zipPath.c_str(), ZIP_RDONLY, &error);
    if (archive == nullptr) return {};
    std::string text;
    zip_stat_t st;
    if (zip_stat(archive, part.c_str(), 0, &st) == 0 && (st.valid & ZIP_STAT_SIZE)) {
        if (zip_file_t* f = zip_fopen(archive, part.c_str(), 0)) {
            text.resize(static_cast<size_t>(st.size));
            zip_int64_t n = zip_fread(f, text.data(), st.size);
            text.resize(n > 0 ? static_cast<size_t>(n) : 0);
            zip_fclose(f);
        }
    }
    zip_close(archive);
    return text;
}

/// One <c> element of a sheet's XML, as written.
struct XmlCell {
    bool found = false;
    std::string style;    ///< the s attribute ("" for the default format)
    std::string type;     ///< the t attribute ("s" shared string, "str" formula text, "" number)
    std::string formula;  ///< the text of <f>
    std::string value;    ///< the text of <v>
};

inline std::string xmlAttribute(const std::string& element, const std::string& name) {
    const std::string key = " " + name + "=\"";
    size_t at = element.find(key);
    if (at == std::string::npos) return {};
    at += key.size();
    return element.substr(at, element.find('"', at) - at);
}

inline std::string xmlChild(const std::string& element, const std::string& tag) {
    const std::string open = "<" + tag + ">";
    size_t at = element.find(open);
    if (at == std::string::npos) return {};
    at += open.size();
    return element.substr(at, element.find("</" + tag + ">", at) - at);
}

/// The cell at an address ("B3") in a sheet's XML.
inline XmlCell xmlCell(const std::string& sheetXml, const std::string& address) {
    XmlCell cell;
    size_t at = sheetXml.find("<c r=\"" + address + "\"");
    if (at == std::string::npos) return cell;
    size_t headEnd = sheetXml.find('>', at);
    std::string element;
    if (sheetXml[headEnd - 1] == '/') {
        element = sheetXml.substr(at, headEnd + 1 - at);
    } else {
        element = sheetXml.substr(at, sheetXml.find("</c>", at) + 4 - at);
    }
    cell.found = true;
    std::string head = element.substr(0, element.find('>'));
    cell.style = xmlAttribute(head, "s");
    cell.type = xmlAttribute(head, "t");
    cell.formula = xmlChild(element, "f");
    cell.value = xmlChild(element, "v");
    return cell;
}

}  // namespace varnex::testing
