#!/usr/bin/env python3
"""bankedit's command line on a copy of the demo database: the CSV export read back with Python's
csv module against the table, the RTF export through unrtf, a text import checked with sqlite3, and refused imports (a
wrong key, a taken number, a missing file) that leave the database as it was.

    bankedit_cli.py RUNNER BANKEDIT_EXE DEMO_DIR WORK_DIR
"""
import csv
import shutil
import sqlite3
import subprocess
import sys
from pathlib import Path

runner, exe, demo, work = sys.argv[1:5]
work = Path(work)
shutil.rmtree(work, ignore_errors=True)
work.mkdir(parents=True)
for name in ("exam.db", "server.udl"):
    shutil.copy(Path(demo) / name, work / name)
failures = []

COLUMNS = ["eQZY", "eQtype", "eQno", "eQName", "QA", "QB", "QC", "QD", "QE", "QF", "eQright", "eQfen"]
TITLES = ["科目", "题型", "题号", "题干", "选项A", "选项B", "选项C", "选项D", "选项E", "选项F", "答案", "分值"]


def run(*args):
    p = subprocess.run([runner, exe, *args], cwd=work, capture_output=True)
    return p.returncode, p.stdout.decode("utf-8", "replace"), p.stderr.decode("utf-8", "replace")


def rows():
    db = sqlite3.connect(work / "exam.db")
    db.create_collation("GBK", lambda a, b: (a > b) - (a < b))
    result = [tuple("" if v is None else str(v) for v in r)
              for r in db.execute(f"select {', '.join(COLUMNS)} from examQuestion order by ID")]
    db.close()
    return result


def check(condition, text):
    if not condition:
        failures.append(text)


before = rows()
rc, out, err = run("--export", "csv", "bank.csv")
check(rc == 0 and err == "", f"export csv: rc {rc}, stderr {err}")
with open(work / "bank.csv", encoding="gbk", newline="") as f:
    table = list(csv.reader(f, delimiter=";"))
check(table[0] == TITLES, f"csv titles: {table[:1]}")
check([tuple(r) for r in table[1:]] == before, "csv records differ from the table")

# The RTF export as unrtf reads it: the titles and every stem.
rc, out, err = run("--export", "rtf", "bank.rtf")
check(rc == 0, f"export rtf: rc {rc}, stderr {err}")
text = subprocess.run(["unrtf", "--text", str(work / "bank.rtf")], capture_output=True,
                      check=True).stdout.decode("gbk", "replace")
check("题干" in text and all(r[3] in text for r in before), "unrtf does not show every stem")

# Three new questions, one per type, after the title row an export writes.
new = [
    ("1基础  ", "单项选择", "901", "新单选题", "甲", "乙", "丙", "丁", "", "", "C", "2"),
    ("1基础  ", "多项选择", "902", "新多选题，含“引号”", "甲", "乙", "丙", "丁", "戊", "", "ABE", "3"),
    ("1基础  ", "判断题", "903", "新判断题", "", "", "", "", "", "", "错", "1"),
]
lines = ["\t".join(TITLES)] + ["\t".join(r) for r in new]
(work / "new.txt").write_bytes("\r\n".join(lines).encode("gbk"))
rc, out, err = run("--import", "txt", "new.txt")
check(rc == 0, f"import txt: rc {rc}, stderr {err}")
after = rows()
check(after == before + new, f"after the import: {after[len(before):]}")

# A bad key in the second row: nothing of the file is written, the error names the key.
bad = [("1基础  ",) + new[0][1:2] + ("905",) + new[0][3:],
       ("1基础  ", "单项选择", "904", "坏答案", "甲", "乙", "丙", "丁", "", "", "E", "1")]
(work / "bad.txt").write_bytes("\r\n".join("\t".join(r) for r in bad).encode("gbk"))
rc, out, err = run("--import", "txt", "bad.txt")
check(rc == 1 and "答案" in err, f"bad key: rc {rc}, stderr {err}")
check(rows() == after, "the refused import wrote questions")

# A number another question of its subject and type has: refused, nothing written.
(work / "taken.txt").write_bytes("\t".join(("1基础  ",) + new[1][1:2] + ("902",) + new[1][3:]).encode("gbk"))
rc, out, err = run("--import", "txt", "taken.txt")
check(rc == 1 and "题号 902" in err, f"taken number: rc {rc}, stderr {err}")
check(rows() == after, "the import with a taken number wrote questions")

rc, out, err = run("--import", "txt", "missing.txt")
check(rc == 1 and "missing.txt" in err, f"missing file: rc {rc}, stderr {err}")
check(rows() == after, "the missing file changed the bank")

# A folder without server.udl: a clear error, exit 1, no file written.
empty = work / "empty"
empty.mkdir()
p = subprocess.run([runner, exe, "--export", "csv", "x.csv"], cwd=empty, capture_output=True)
check(p.returncode == 1 and p.stderr and not (empty / "x.csv").exists(),
      f"no database: rc {p.returncode}, stderr {p.stderr.decode('utf-8', 'replace')}")

if failures:
    print("\n".join(failures))
    sys.exit(1)
print("bankedit command line: all checks passed")
