#!/usr/bin/env bash
# Real readers of the grid's exports written by win_grid (ExportsForTheRealReaders): Python's csv
# module must read the CSV as the same cells, and unrtf must show the RTF as the same table.
set -euo pipefail
dir=${1:?folder of the exports}
cd "$dir"
[ -f paper.csv ] && [ -f paper.rtf ] && [ -f paper-cells.txt ] || { echo "exports missing in $dir" >&2; exit 1; }
python3 - <<'PY'
import csv, subprocess, sys
want = open('paper-cells.txt', encoding='utf-8').read()
got = ''
for row in csv.reader(open('paper.csv', encoding='gbk', newline=''), delimiter=';'):
    got += ''.join(c + '\n' for c in row) + '--\n'
if got != want:
    print('CSV read by Python differs from the grid cells', file=sys.stderr)
    sys.exit(1)
# unrtf writes table rows as lines starting with a tab, cells separated by tabs, bytes as given.
out = subprocess.run(['unrtf', '--text', 'paper.rtf'], capture_output=True, check=True).stdout.decode('gbk')
got = ''
for line in out.split('\n'):
    if line.startswith('\t'):
        got += ''.join(c + '\n' for c in line[1:].split('\t')) + '--\n'
if got != want:
    print('RTF shown by unrtf differs from the grid cells', file=sys.stderr)
    print(got[:400], file=sys.stderr)
    sys.exit(1)
print('CSV and RTF agree with the grid:', want.count('--\n'), 'rows')
PY
