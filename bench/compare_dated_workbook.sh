#!/bin/sh
# Times `lumara-cli table` on a workbook of 300,000 date cells (30,000 rows of 10 dates,
# written by python3-xlwt) against python3-xlrd reading every cell of it (medians of
# several runs). A sheet must show well inside the reading helper's silence limit of
# ten seconds; this is the case that broke it.
# usage: bench/compare_dated_workbook.sh [path/to/lumara-cli] [rows]
set -eu
CLI=${1:-$(dirname "$0")/../build-release/lumara-cli}
ROWS=${2:-30000}
REPS=${REPS:-5}
BOOK=/tmp/lumara-compare-dates-$ROWS.xls

[ -x "$CLI" ] || { echo "lumara-cli not found: $CLI (build it in Release first)" >&2; exit 2; }
/usr/bin/python3 -c 'import xlrd, xlwt' 2>/dev/null ||
    { echo "python3-xlrd and python3-xlwt are needed" >&2; exit 2; }

if ! [ -s "$BOOK" ]; then
    /usr/bin/python3 - "$BOOK" "$ROWS" <<'PY'
import datetime, sys, xlwt
path, rows = sys.argv[1], int(sys.argv[2])
book = xlwt.Workbook()
sheet = book.add_sheet('D')
day = xlwt.easyxf(num_format_str='YYYY-MM-DD')
for c in range(10):
    sheet.write(0, c, 'd%d' % c)
for r in range(1, rows + 1):
    for c in range(10):
        sheet.write(r, c, datetime.date(2020, 1, 1) + datetime.timedelta(days=(r + c) % 1000), day)
book.save(path)
PY
fi

/usr/bin/python3 - "$CLI" "$BOOK" "$REPS" <<'PY'
import resource, statistics, subprocess, sys, time
cli, book, reps = sys.argv[1], sys.argv[2], int(sys.argv[3])
reader = "import sys, xlrd\ns = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n" \
         "[s.row_values(r) for r in range(s.nrows)]"
def once(cmd):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run(cmd, stdout=subprocess.DEVNULL, check=True)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return wall, (after.ru_utime + after.ru_stime) - (before.ru_utime + before.ru_stime)
runs = {"lumara-cli table": [], "python3-xlrd":    []}
for _ in range(reps):
    runs["lumara-cli table"].append(once([cli, "table", book, "D"]))
    runs["python3-xlrd"].append(once(["/usr/bin/python3", "-c", reader, book]))
for name, times in runs.items():
    print("%-17s %.3f s wall, %.3f s cpu (medians of %d)" % (
        name + ":", statistics.median(w for w, _ in times), statistics.median(c for _, c in times), reps))
print("target: lumara-cli table well under 10 s wall (the helper's silence limit)")
PY
