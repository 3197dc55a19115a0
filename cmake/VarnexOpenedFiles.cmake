# The files Varnex opens: one entry a file type, its extension and, where the desktop should offer
# Varnex for it, its MIME type (.et: WPS 表格; resources/varnex-mime.xml declares it where WPS is
# not installed). XML and web pages are opened too, but the desktop is not told so.
# From this list come the open dialog's patterns, the check of a file's extension before it is
# read (both through app/opened_files.h) and the MimeType key of the installed desktop entry and of
# the launchers the window writes. Change it here only.
set(VARNEX_OPENED_FILES
    "xls application/vnd.ms-excel"
    "xlsx application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"
    "et application/wps-office.et"
    "csv text/csv"
    "xml"
    "htm"
    "html")

set(VARNEX_OPENED_EXTENSIONS_CXX "")  # "xls", "xlsx", …
set(VARNEX_OPENED_PATTERNS "")        # *.xls *.xlsx …
set(VARNEX_MIME_TYPES "")             # application/vnd.ms-excel;…; (a desktop entry's list)
foreach(entry IN LISTS VARNEX_OPENED_FILES)
    string(REPLACE " " ";" parts "${entry}")
    list(GET parts 0 extension)
    list(APPEND VARNEX_OPENED_EXTENSIONS_CXX "\"${extension}\"")
    list(APPEND VARNEX_OPENED_PATTERNS "*.${extension}")
    list(LENGTH parts count)
    if(count GREATER 1)
        list(GET parts 1 mime)
        string(APPEND VARNEX_MIME_TYPES "${mime};")
    endif()
endforeach()
list(JOIN VARNEX_OPENED_EXTENSIONS_CXX ", " VARNEX_OPENED_EXTENSIONS_CXX)
list(JOIN VARNEX_OPENED_PATTERNS " " VARNEX_OPENED_PATTERNS)
