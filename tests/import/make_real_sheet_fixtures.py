#!/usr/bin/env python3
"""Writes tests/fixtures/高二4班期中.xlsx and real_sheets.xlsx: score sheets as teachers and schools
really keep them, for the import and command-line tests. Made-up names only. Like
make_import_fixtures.py (whose conversion it uses) it needs LibreOffice and is run by hand when a
sheet changes; the tests use the committed files.

  高二4班期中.xlsx  one sheet 成绩 of a class teacher: a title row, no 学校 and no 班级 column (the
                    class is in the file name), the sheet's own 总分
  real_sheets.xlsx
    按总分排序      one school sorted by total: classes 9, 10, 2, 1 … as the totals fall
    原始分和赋分    化学 and 化赋, 政治 and 政治（赋分）, with 化学等级 and 化赋排名 beside them
    只有赋分        化赋 and 政赋 only
    禁毒            a 七年级 sheet whose 总分 includes a 10-point 禁毒 test that is no subject
    两校无班级      two schools and no 班级 column"""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_import_fixtures import FIXTURES, convert, fods  # noqa: E402

CLASS_SHEET = {
    "成绩": [
        ["高二4班期中考试成绩", None, None, None],
        ["姓名", "语文", "数学", "总分"],
        ["林小雨", 120, 130, 250],
        ["周子航", 100, 90, 190],
        ["吴思远", 80, 110, 190],
    ],
}

SORTED = [("一中", "9", "方雨桐", 95, 98), ("一中", "10", "韩立新", 96, 90), ("一中", "2", "贺明轩", 90, 88),
          ("一中", "1", "江若溪", 85, 80), ("一中", "10", "罗浩然", 70, 75), ("一中", "2", "宋佳怡", 60, 50)]

REAL_SHEETS = {
    "按总分排序": [["学校", "班级", "姓名", "语文", "数学", "总分"]]
    + [[s, c, n, a, b, a + b] for s, c, n, a, b in SORTED],
    "原始分和赋分": [
        ["学校", "班级", "姓名", "语文", "化学", "化赋", "化学等级", "化赋排名", "政治", "政治（赋分）"],
        ["一中", "1", "唐明远", 90, 60, 80, "B", 2, 70, 85],
        ["一中", "1", "冯若兰", 80, 40, 70, "C", 3, 90, 95],
        ["一中", "2", "丁一凡", 70, 80, 90, "A", 1, 50, 65],
    ],
    "只有赋分": [
        ["学校", "班级", "姓名", "语文", "化赋", "政赋"],
        ["一中", "1", "唐明远", 90, 80, 85],
        ["一中", "2", "丁一凡", 70, 90, 65],
    ],
    "禁毒": [
        ["学校", "班级", "姓名", "语文", "数学", "禁毒", "总分"],
        ["城东中学", "1", "高子涵", 110, 100, 10, 220],
        ["城东中学", "2", "马思琪", 90, 95, 10, 195],
        ["城东中学", "2", "许文博", 100, 85, 10, 195],
    ],
    "两校无班级": [
        ["学校", "姓名", "语文"],
        ["一中", "唐明远", 90],
        ["二中", "丁一凡", 70],
    ],
}


def main():
    work = tempfile.mkdtemp(prefix="varnex-real-fixtures-")
    try:
        for run, (name, sheets) in enumerate((("高二4班期中", CLASS_SHEET), ("real_sheets", REAL_SHEETS))):
            source = os.path.join(work, name + ".fods")
            with open(source, "w", encoding="utf-8") as f:
                f.write(fods(sheets))
            produced = convert(source, work, "xlsx", "xlsx", run)
            target = os.path.join(FIXTURES, os.path.basename(produced))
            shutil.copyfile(produced, target)
            print("wrote", os.path.normpath(target))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
