#!/usr/bin/env python3
"""Writes the student and teacher import fixtures (tests/fixtures/students_cases.* and
teachers_cases.*) as flat OpenDocument spreadsheets and lets LibreOffice convert them to .xlsx
and .xls. Run by hand when a case changes; the tests use the committed .xlsx and .xls files and
need no LibreOffice.

Cell values: str is a text cell, int/float a number cell, None an empty cell."""

import os
import shutil
import subprocess
import sys
import tempfile
import zipfile
from xml.sax.saxutils import escape

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURES = os.path.join(HERE, "..", "fixtures")

SUBJECTS = ["语文", "数学", "英语", "物理", "化学", "生物", "历史", "地理", "政治", "体育", "实验"]


def scores(values):
    """Eleven subject cells from {subject index: value}, the others empty."""
    return [values.get(i) for i in range(11)]


def all_but(empty, zero=(), present=10):
    """Eleven subject cells: `present` everywhere except the indexes in `empty` (empty cells) and
    `zero` (the number 0)."""
    return [None if i in empty else (0 if i in zero else present) for i in range(11)]


STUDENT_SHEETS = {
    # Columns in their own order with columns that are not read; classes 10 then 1; schools
    # 一中, 二中, 一中; a class and a score written as text "3.0" and "85.0"; 7.05 kept.
    "成绩": [
        ["序号", "姓名", "学校", "班级", "考号", "英语", "数学", "语文", "总分"],
        [1, "张三", "一中", 10, "0701", "85.0", 99.5, 120, 999],
        [2, "李四", "一中", 1, "0702", None, 0, "7.05", 999],
        [3, "王五", "二中", "3.0", "0703", 100, 100, 100, 999],
        [4, "赵六", "一中", 2, "0704", 70.5, 80, 90, 999],
        [5, "钱七", "一中", 10, "0705", 60, 60, 60, 999],
    ],
    # An all-empty row ends the data: the row below it is never read.
    "空行": [
        ["学校", "班级", "姓名", "语文"],
        ["一中", 1, "甲", 80],
        ["一中", 1, "乙", 90],
        [None, None, None, None],
        ["全部", 1, "丙", 200],
    ],
    # Missing scores: each student in a class of its own.
    "缺考": [
        ["学校", "班级", "姓名"] + SUBJECTS,
        ["一中", 1, "全科"] + all_but(()),
        ["一中", 2, "缺四"] + all_but((0, 1), zero=(2, 3)),
        ["一中", 3, "缺五"] + all_but((0, 1, 2, 4), zero=(3,)),
        ["一中", 4, "缺一"] + all_but((5,)),
        ["一中", 5, "全缺"] + scores({}),
    ],
    "满分": [
        ["学校", "班级", "姓名", "语文"],
        ["一中", 1, "甲", 150.5],
        ["一中", 1, "乙", 151],
        ["一中", 1, "丙", 10],
    ],
    "无学校": [
        ["学校", "班级", "姓名", "语文"],
        ["一中", 1, "甲", 80],
        [None, 2, "乙", 80],
        ["一中", 3, "丙", 80],
    ],
    "全部": [
        ["学校", "班级", "姓名", "语文"],
        ["一中", 1, "甲", 80],
        ["全部", 2, "乙", 80],
    ],
    "无姓名": [
        ["学校", "班级", "姓名", "语文"],
        ["一中", 1, "甲", 80],
        ["一中", 2, None, 80],
    ],
    # With 语文 alone examined: 乙 is skipped but adds class 9; 丙 is skipped and stops the import.
    "跳过": [
        ["学校", "班级", "姓名", "语文"],
        ["一中", 1, "甲", 80],
        ["一中", 9, "乙", None],
        ["一中", 1, None, None],
        ["一中", 1, "丁", 80],
    ],
    "首行空": [
        ["学校", "班级", "姓名", "语文"],
        [None, None, None, None],
        ["一中", 1, "甲", 80],
    ],
    "仅标题": [
        ["学校", "班级", "姓名", "语文", "数学"],
    ],
}

TEACHER_HEADER = ["学校", "年级", "班级"] + SUBJECTS


def teacher_row(school, grade, klass, teachers):
    return [school, grade, klass] + scores(teachers)


TEACHER_SHEETS = {
    "任课": [
        ["序号"] + TEACHER_HEADER + ["备注"],
        [1] + teacher_row("一中", "七年级", "3.0", {0: "王 明", 1: "李四"}) + [None],
        [2] + teacher_row("一中", "七年级", 4, {0: "   ", 2: "赵六"}) + [None],
        [3] + teacher_row("二中", "七年级", 1, {}) + ["无任课"],
        [4] + teacher_row("二中", "七年级", 2, {10: " 孙七 "}) + [None],
    ],
    "无体育": [
        [h for h in TEACHER_HEADER if h != "体育"],
        ["一中", "七年级", 1, "王明"] + [None] * 9,
    ],
    "无学校": [
        TEACHER_HEADER,
        teacher_row("一中", "七年级", 1, {0: "王明"}),
        teacher_row(None, "七年级", 2, {0: "李四"}),
    ],
    "全部": [
        TEACHER_HEADER,
        teacher_row("一中", "七年级", 1, {0: "王明", 1: "李四"}),
        teacher_row("全部", "七年级", 2, {0: "赵六"}),
    ],
    "无班级": [
        TEACHER_HEADER,
        teacher_row("一中", "七年级", 1, {0: "王明"}),
        teacher_row("一中", "七年级", None, {0: "李四"}),
    ],
    # No end marker: an empty row inside the used range stops with the empty-school message.
    "空行": [
        TEACHER_HEADER,
        teacher_row("一中", "七年级", 1, {0: "王明", 1: "李四", 2: "赵六"}),
        [None] * 14,
        teacher_row("一中", "七年级", 2, {0: "孙七"}),
    ],
    "仅标题": [
        TEACHER_HEADER,
    ],
}


def cell_xml(value):
    if value is None:
        return "<table:table-cell/>"
    if isinstance(value, str):
        return ('<table:table-cell office:value-type="string"><text:p>%s</text:p></table:table-cell>'
                % escape(value))
    return ('<table:table-cell office:value-type="float" office:value="%r"><text:p>%r</text:p>'
            "</table:table-cell>" % (value, value))


def fods_document(tables):
    """A flat OpenDocument spreadsheet around the given <table:table> elements."""
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           '<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"'
           ' xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"'
           ' xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"'
           ' office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">',
           "<office:body><office:spreadsheet>"]
    out += tables
    out.append("</office:spreadsheet></office:body></office:document>")
    return "\n".join(out) + "\n"


def fods(sheets):
    tables = []
    for name, rows in sheets.items():
        table = ['<table:table table:name="%s">' % escape(name)]
        for row in rows:
            table.append("<table:table-row>" + "".join(cell_xml(v) for v in row) + "</table:table-row>")
        table.append("</table:table>")
        tables.append("\n".join(table))
    return fods_document(tables)


def convert(source, target_dir, filter_name, extension, run):
    profile = tempfile.mkdtemp(prefix="lo-profile-%d-" % run)
    try:
        subprocess.run(["soffice", "-env:UserInstallation=file://" + profile, "--headless",
                        "--convert-to", filter_name, "--outdir", target_dir, source],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    finally:
        shutil.rmtree(profile, ignore_errors=True)
    produced = os.path.join(target_dir, os.path.splitext(os.path.basename(source))[0] + "." + extension)
    # LibreOffice exits 0 even when the conversion failed.
    if not os.path.exists(produced):
        sys.exit("conversion failed: " + produced)
    return produced


def write_bad_row_xlsx(path):
    """A score sheet whose fourth row goes back to row 2: the reader fails after two students.
    Written by hand, as no spreadsheet application saves such a file."""
    main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
    rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
    pkg = "http://schemas.openxmlformats.org/package/2006/relationships"

    def row(number, cells):
        xml = "".join('<c t="inlineStr"><is><t>%s</t></is></c>' % escape(c) if isinstance(c, str)
                      else "<c><v>%r</v></c>" % c for c in cells)
        return '<row r="%d">%s</row>' % (number, xml)

    rows = (row(1, ["学校", "班级", "姓名", "语文"]) + row(2, ["一中", 1, "甲", 80]) + row(3, ["一中", 1, "乙", 90])
            + row(2, ["一中", 2, "丙", 70]))
    parts = {
        "[Content_Types].xml": '<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/'
                               'package/2006/content-types"><Default Extension="rels" ContentType="application/'
                               'vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" '
                               'ContentType="application/xml"/></Types>',
        "_rels/.rels": '<Relationships xmlns="%s"><Relationship Id="rId1" Type="%s/officeDocument" '
                       'Target="xl/workbook.xml"/></Relationships>' % (pkg, rel),
        "xl/workbook.xml": '<workbook xmlns="%s" xmlns:r="%s"><sheets><sheet name="成绩" sheetId="1" r:id="rId1"/>'
                           '</sheets></workbook>' % (main, rel),
        "xl/_rels/workbook.xml.rels": '<Relationships xmlns="%s"><Relationship Id="rId1" Type="%s/worksheet" '
                                      'Target="worksheets/sheet1.xml"/></Relationships>' % (pkg, rel),
        "xl/worksheets/sheet1.xml": '<worksheet xmlns="%s"><sheetData>%s</sheetData></worksheet>' % (main, rows),
    }
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in parts.items():
            z.writestr(name, data)
    print("wrote", os.path.normpath(path))


def main():
    write_bad_row_xlsx(os.path.join(FIXTURES, "students_bad_row.xlsx"))
    work = tempfile.mkdtemp(prefix="varnex-import-fixtures-")
    run = 0
    try:
        for stem, sheets in (("students_cases", STUDENT_SHEETS), ("teachers_cases", TEACHER_SHEETS)):
            source = os.path.join(work, stem + ".fods")
            with open(source, "w", encoding="utf-8") as f:
                f.write(fods(sheets))
            for filter_name, extension in (("xlsx", "xlsx"), ("xls:MS Excel 97", "xls")):
                run += 1
                produced = convert(source, work, filter_name, extension, run)
                shutil.copyfile(produced, os.path.join(FIXTURES, os.path.basename(produced)))
                print("wrote", os.path.normpath(os.path.join(FIXTURES, os.path.basename(produced))))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
