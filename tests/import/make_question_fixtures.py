#!/usr/bin/env python3
"""Writes tests/fixtures/question_sheets.xlsx: a score sheet and a subject's question-score sheets as
marking platforms export them, for the 小题分析 tests. Made-up names only. Like
make_real_sheet_fixtures.py it needs LibreOffice and is run by hand when a sheet changes; the tests
use the committed file.

  成绩        考号, 学校, 班级, 姓名, 语文, 数学 of 21 students of two schools (邓林 has no question row)
  数学小题    a title row, the header (考号 … 1, 2, 3, 选择题, 17(1), 17(2), 17, 总分), a 满分 row, then
              20 of those students and 孔明, who is not in 成绩; 吕晨's question 1 is blank
  无满分行    the same without the 满分 row
  超满分      two scores above their question's full mark, one a text that is no score"""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_import_fixtures import FIXTURES, convert, fods  # noqa: E402

# 考号, 学校, 班级, 姓名, then questions 1, 2, 3 (5 each), 17(1) (4), 17(2) (6); None is a blank cell.
STUDENTS = [
    ("1001", "一中", "1", "林晓", 5, 5, 5, 4, 6),
    ("1002", "一中", "1", "周舟", 5, 5, 5, 4, 5),
    ("1003", "一中", "1", "吴桐", 5, 0, 5, 2, 3),
    ("1004", "一中", "1", "郑岩", 0, 5, 0, 1, 2),
    ("1005", "一中", "1", "王溪", 0, 0, 0, 0, 0),
    ("1006", "一中", "2", "冯悦", 5, 5, 5, 3, 5),
    ("1007", "一中", "2", "陈默", 5, 5, 0, 4, 6),
    ("1008", "一中", "2", "褚云", 5, 0, 5, 2, 4),
    ("1009", "一中", "2", "卫青", 0, 5, 0, 2, 3),
    ("1010", "一中", "2", "蒋帆", 0, 0, 5, 1, 1),
    ("2001", "二中", "1", "沈星", 5, 0, 5, 4, 6),
    ("2002", "二中", "1", "韩露", 5, 5, 5, 2, 3),
    ("2003", "二中", "1", "杨柳", 5, 5, 0, 2, 2),
    ("2004", "二中", "1", "朱砂", 0, 5, 0, 3, 4),
    ("2005", "二中", "1", "秦川", 0, 0, 0, 1, 2),
    ("2006", "二中", "2", "尤佳", 5, 5, 0, 2, 5),
    ("2007", "二中", "2", "许诺", 5, 0, 0, 3, 5),
    ("2008", "二中", "2", "何田", 0, 0, 5, 2, 4),
    ("2009", "二中", "2", "吕晨", None, 0, 5, 0, 0),
    ("2010", "二中", "2", "施然", 0, 0, 0, 4, 5),
]
ONLY_QUESTIONS = ("2011", "二中", "2", "孔明", 5, 5, 5, 4, 6)
ONLY_SCORES = ("2012", "二中", "2", "邓林")

HEADER = ["考号", "学校", "班级", "姓名", "1", "2", "3", "选择题", "17(1)", "17(2)", "17", "总分"]
FULL_MARKS = ["满分", None, None, None, 5, 5, 5, 15, 4, 6, 10, 25]


def question_row(student):
    number, school, klass, name, q1, q2, q3, a, b = student
    choice = sum(v or 0 for v in (q1, q2, q3))
    return [number, school, klass, name, q1, q2, q3, choice, a, b, a + b, choice + a + b]


def main():
    rows = [question_row(s) for s in STUDENTS + [ONLY_QUESTIONS]]
    too_high = [list(r) for r in rows[:3]]
    too_high[0][4] = 6       # 林晓: 6 on question 1 (full mark 5)
    too_high[2][9] = 6.5     # 吴桐: 6.5 on 17(2) (full mark 6)
    too_high[1][8] = "A"     # 周舟: a text on 17(1)
    scores = [[s[0], s[1], s[2], s[3], 80, sum(v or 0 for v in s[4:])] for s in STUDENTS]
    scores.append(list(ONLY_SCORES) + [70, 12])
    sheets = {
        "成绩": [["考号", "学校", "班级", "姓名", "语文", "数学"]] + scores,
        "数学小题": [["七年级期中考试数学小题得分"] + [None] * 11, HEADER, FULL_MARKS] + rows,
        "无满分行": [HEADER] + rows,
        "超满分": [HEADER, FULL_MARKS] + too_high,
    }
    work = tempfile.mkdtemp(prefix="varnex-question-fixtures-")
    try:
        source = os.path.join(work, "question_sheets.fods")
        with open(source, "w", encoding="utf-8") as f:
            f.write(fods(sheets))
        produced = convert(source, work, "xlsx", "xlsx", 0)
        target = os.path.join(FIXTURES, os.path.basename(produced))
        shutil.copyfile(produced, target)
        print("wrote", os.path.normpath(target))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
