#!/usr/bin/env python3
"""Writes tests/fixtures/platform_sheets.xlsx and .xls: score and teacher sheets laid out as marking
platforms and schools export them, for the import tests. Made-up names only. Like
make_import_fixtures.py (whose conversion it uses) it needs LibreOffice and is run by hand when a
sheet changes; the tests use the committed files.

  高二物理类  a physics-track exam of 高二 (no 历史): a merged title row, a two-row header with each
              subject merged over 原始分 / 赋分 / 班级排名 / 年级排名, 学生姓名 and 班别 merged down,
              外语 and 道德与法治, class names 高二9班 / ９班 / 高二10班 / 10, no 学校 column
  初二月考    a 语数英-only monthly test of 八年级 at two schools: a title row, 学校名称, header texts
              with a trailing blank, an ideographic blank and a line break, class names 初二3班 / 3 /
              初二（4）班 / 4班, columns Varnex does not analyse (信息技术, 音乐)
  任课教师    the teachers of 高二物理类: a title row, no 学校 column, 外语 and 道德与法治"""

import os
import shutil
import sys
import tempfile
from xml.sax.saxutils import escape

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_import_fixtures import FIXTURES, convert, fods_document  # noqa: E402


class Sheet:
    """A grid of cells (str text, int/float number, None empty) with merged ranges."""

    def __init__(self, name):
        self.name = name
        self.rows = []
        self.merges = {}  # (row, column) of the first cell -> (rows, columns)

    def add(self, cells):
        self.rows.append(list(cells))

    def merge(self, row, column, rows, columns):
        self.merges[(row, column)] = (rows, columns)

    def covered(self, row, column):
        for (r, c), (rows, columns) in self.merges.items():
            if r <= row < r + rows and c <= column < c + columns and (r, c) != (row, column):
                return True
        return False

    def fods(self):
        width = max(len(r) for r in self.rows)
        out = ['<table:table table:name="%s">' % escape(self.name)]
        for r, row in enumerate(self.rows):
            cells = []
            for c in range(width):
                value = row[c] if c < len(row) else None
                if self.covered(r, c):
                    cells.append("<table:covered-table-cell/>")
                    continue
                span = ""
                if (r, c) in self.merges:
                    rows, columns = self.merges[(r, c)]
                    span = ' table:number-rows-spanned="%d" table:number-columns-spanned="%d"' % (rows, columns)
                cells.append(cell_xml(value, span))
            out.append("<table:table-row>" + "".join(cells) + "</table:table-row>")
        out.append("</table:table>")
        return "\n".join(out)


def cell_xml(value, span):
    if value is None:
        return "<table:table-cell%s/>" % span
    if isinstance(value, str):
        lines = "".join("<text:p>%s</text:p>" % escape(line) for line in value.split("\n"))
        return '<table:table-cell%s office:value-type="string">%s</table:table-cell>' % (span, lines)
    return ('<table:table-cell%s office:value-type="float" office:value="%r"><text:p>%r</text:p>'
            "</table:table-cell>" % (span, value, value))


def ranks(values):
    """Standard competition ranks of the values, highest first."""
    return [1 + sum(1 for w in values if w > v) for v in values]


# ---------------------------------------------------------------- 高二物理类
# Per subject: its header, the sub-columns, and whether it has a scaled score (赋分).
SENIOR_SUBJECTS = [("语文", False), ("数学", False), ("外语", False), ("物理", False), ("化学", True),
                   ("生物", True), ("地理", True), ("道德与法治", True)]
# name, class as written, 语文 数学 外语 物理 化学 生物 地理 道德与法治. Class 9: 林晓雨, 周子航, 陈思远
# (written ９班); class 10: 赵一鸣, 孙可欣, 吴天宇 (written 10).
SENIOR_STUDENTS = [
    ("林晓雨", "高二9班", [132, 141, 118, 88, 76, 81, 70, 85]),
    ("周子航", "高二9班", [105, 96, 101, 64, 58, 66, 61, 72]),
    ("陈思远", "９班", [88, 72, 95, 52, 47, 59, 55, 63]),
    ("赵一鸣", "高二10班", [121, 150, 126, 97, 90, 88, 79, 90]),
    ("孙可欣", "高二10班", [97, 89.5, 112, 71, 69, 74, 66, 81]),
    ("吴天宇", "10", [60, 118, 84, 79, 62, 57, 48, 58]),
]


def scaled(score):
    """A made-up scaled score (赋分) between 30 and 100."""
    return min(100, 30 + round(score * 0.7))


def senior_sheet():
    sheet = Sheet("高二物理类")
    top = ["序号", "学生姓名", "班别", "考号"]
    sub = [None, None, None, None]
    spans = []
    for subject, has_scaled in SENIOR_SUBJECTS + [("总分", True)]:
        columns = ["原始分"] + (["赋分"] if has_scaled else []) + ["班级排名", "年级排名"]
        spans.append((len(top), len(columns)))
        top += [subject] + [None] * (len(columns) - 1)
        sub += columns
    top.append("选科组合")
    sub.append(None)
    width = len(top)
    sheet.add(["2025-2026学年上学期高二期末考试成绩表"] + [None] * (width - 1))
    sheet.merge(0, 0, 1, width)
    sheet.add(top)
    sheet.add(sub)
    for column in (0, 1, 2, 3, width - 1):
        sheet.merge(1, column, 2, 1)
    for column, count in spans:
        sheet.merge(1, column, 1, count)

    classes = ["9" if s[1] in ("高二9班", "９班") else "10" for s in SENIOR_STUDENTS]
    totals = [sum(s[2]) for s in SENIOR_STUDENTS]
    for k, (name, written_class, scores) in enumerate(SENIOR_STUDENTS):
        row = [k + 1, name, written_class, "2025%04d" % (k + 1)]
        for i, (subject, has_scaled) in enumerate(SENIOR_SUBJECTS + [("总分", True)]):
            values = [s[2][i] for s in SENIOR_STUDENTS] if i < len(SENIOR_SUBJECTS) else totals
            mine = values[k]
            class_values = [v for v, c in zip(values, classes) if c == classes[k]]
            row.append(mine)
            if has_scaled:
                row.append(scaled(mine) if i < len(SENIOR_SUBJECTS) else sum(
                    scaled(v) if SENIOR_SUBJECTS[j][1] else v for j, v in enumerate(SENIOR_STUDENTS[k][2])))
            row.append(ranks(class_values)[class_values.index(mine)])
            row.append(ranks(values)[k])
        row.append("物化生" if k % 2 == 0 else "物化地")
        sheet.add(row)
    return sheet


# ---------------------------------------------------------------- 初二月考
JUNIOR_STUDENTS = [
    ("城东中学", "初二3班", "方雨桐", 112, 98, 105, 88, "良"),
    ("城东中学", "3", "韩立新", 95, 120, 87, 92, "优"),
    ("城东中学", "初二（4）班", "贺明轩", 131, 104, 140, 75, "良"),
    ("城西中学", "4班", "江若溪", 88, 76, 93, 81, "中"),
    ("城西中学", "初二3班", "罗浩然", 102, 115, 99, 90, "优"),
]


def junior_sheet():
    sheet = Sheet("初二月考")
    head = ["学校名称", "班级", "姓名", "语文 ", "数学\u3000", "外\n语", "信息技术", "音乐", "总分", "名次"]
    sheet.add(["八年级第三次月考成绩"] + [None] * (len(head) - 1))
    sheet.merge(0, 0, 1, len(head))
    sheet.add(head)
    totals = [s[3] + s[4] + s[5] for s in JUNIOR_STUDENTS]
    for k, (school, klass, name, chinese, maths, english, computing, music) in enumerate(JUNIOR_STUDENTS):
        sheet.add([school, klass, name, chinese, maths, english, computing, music, totals[k], ranks(totals)[k]])
    return sheet


# ---------------------------------------------------------------- 任课教师
def teacher_sheet():
    sheet = Sheet("任课教师")
    head = ["年级", "班级", "语文", "数学", "外语", "物理", "化学", "生物", "历史", "地理", "道德与法治",
            "体育", "实验"]
    sheet.add(["高二年级任课安排"] + [None] * (len(head) - 1))
    sheet.merge(0, 0, 1, len(head))
    sheet.add(head)
    sheet.add(["高二", "高二9班", "许文静", "马建国", "黄丽", "高峰", "宋佳", "唐明", None, "冯涛", "丁一",
               None, None])
    sheet.add(["高二", "高二10班", "许文静", "邓超然", "黄丽", "高峰", "宋佳", "唐明", None, "冯涛", "丁一",
               None, None])
    return sheet


def main():
    work = tempfile.mkdtemp(prefix="varnex-platform-fixtures-")
    try:
        source = os.path.join(work, "platform_sheets.fods")
        with open(source, "w", encoding="utf-8") as f:
            f.write(fods_document([sheet.fods() for sheet in (senior_sheet(), junior_sheet(), teacher_sheet())]))
        for run, (filter_name, extension) in enumerate((("xlsx", "xlsx"), ("xls:MS Excel 97", "xls"))):
            produced = convert(source, work, filter_name, extension, run)
            target = os.path.join(FIXTURES, os.path.basename(produced))
            shutil.copyfile(produced, target)
            print("wrote", os.path.normpath(target))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
