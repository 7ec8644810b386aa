#!/usr/bin/env python3
"""Prints the table of bench/run from the timings it left in its scratch folder.

    table.py DIR LINKS FILES SCAN_BYTES SMALL_BYTES CORES WIDE

DIR/r.KEY holds one line "wall user system" (seconds) per timed run, DIR/m.KEY
the peak resident set in KiB of one run; the -x inputs (modern.html, its
manifest, bigline.html, the folder favx) and the HTML export of the Bookmarks
file (chromium.html) are read for their folder count and longest lines. Measurements left out (BENCH_ONLY) are left out here too."""
import os
import statistics
import sys

d = sys.argv[1]
n_links, n_files, scan_bytes, small_bytes, cores, n_wide = map(int, sys.argv[2:])
scan_mb, small_mb = scan_bytes // 1000000, small_bytes // 1000000


def runs(key):
    with open(os.path.join(d, 'r.' + key)) as f:
        return [tuple(map(float, line.split())) for line in f if line.strip()]


def has(key):
    return os.path.exists(os.path.join(d, 'r.' + key))


def wall(key):
    return statistics.median(r[0] for r in runs(key))


def cpu(key):
    return statistics.median(r[1] + r[2] for r in runs(key))


def kib(key):
    with open(os.path.join(d, 'm.' + key)) as f:
        return int(f.read())


def load(name):
    with open(os.path.join(d, name)) as f:
        return ' '.join(f.read().split()[:3])


def mbs(key):
    return scan_bytes / 1e6 / wall(key)


def sec(x):
    return f'{x:9.3f}s'


print()
print(f'favlink benchmark: median wall times; {cores} cores, load average '
      f'{load("load.before")} before, {load("load.after")} after')
print('"cpu" is the same ratio of user+system time, which other load disturbs less')
print()
print(f'{"scenario":32}{"favlink":>10}{"floor":>10}{"peer":>10}{"fav/floor":>10}{"(cpu)":>7}'
      f'{"peer/fav":>9}  peak RSS MB fav/floor/peer')
rows = [('sc', f'shortcut, {n_links} links'), ('tm', f'  same, into tmpfs'),
        ('lp', f'link page, {n_files} files')]
for key, name in rows:
    if not has(key + '.fav'):
        continue
    fav, floor, peer = key + '.fav', key + '.floor', key + '.peer'
    rss = ''
    if os.path.exists(os.path.join(d, 'm.' + fav)):
        rss = f'{kib(fav) / 1024:.1f} / {kib(floor) / 1024:.1f} / {kib(peer) / 1024:.1f}'
    print(f'{name:32}{sec(wall(fav))}{sec(wall(floor))}{sec(wall(peer))}'
          f'{wall(fav) / wall(floor):10.2f}{cpu(fav) / cpu(floor):7.2f}{wall(peer) / wall(fav):9.1f}  {rss}')
if has('lp.args'):
    print(f'{"  xargs starting /bin/true":32}{sec(wall("lp.args"))}')
if has('lpx.fav'):
    n_favx = sum(len(dirs) for _, dirs, _ in os.walk(os.path.join(d, 'favx')))
    print(f'{f"link page -x, {n_files} in {n_favx} dirs":32}{sec(wall("lpx.fav"))}'
          f'{sec(wall("lpx.floor"))}{"":10}{wall("lpx.fav") / wall("lpx.floor"):10.2f}'
          f'{cpu("lpx.fav") / cpu("lpx.floor"):7.2f}{"":9}  '
          f'{kib("lpx.fav") / 1024:.1f} / {kib("lpx.floor") / 1024:.1f}')
for key, n in (('wide1', n_wide), ('wide4', 4 * n_wide)):
    if has(key + '.fav'):
        print(f'{f"link page -x, {n} in one dir":32}{sec(wall(key + ".fav"))}{sec(wall(key + ".floor"))}{"":10}'
              f'{wall(key + ".fav") / wall(key + ".floor"):10.2f}{cpu(key + ".fav") / cpu(key + ".floor"):7.2f}'
              f'{"":9}  {kib(key + ".fav") / 1024:.1f}')


def longest(name):
    with open(os.path.join(d, name), 'rb') as f:
        return max(len(line) for line in f)


n_folders = 0
if has('mx.fav') or has('xb.fav'):
    with open(os.path.join(d, 'modern.manifest'), 'rb') as f:
        n_folders = sum(1 for line in f if b'\t' not in line)
for key, name in (('mx', f'-x tree, {n_links} links, {n_folders} dirs'), ('mt', '  same, into tmpfs')):
    if has(key + '.fav'):
        fav, floor = key + '.fav', key + '.floor'
        rss = f'{kib(fav) / 1024:.1f}' if os.path.exists(os.path.join(d, 'm.' + fav)) else ''
        print(f'{name:32}{sec(wall(fav))}{sec(wall(floor))}{"":10}'
              f'{wall(fav) / wall(floor):10.2f}{cpu(fav) / cpu(floor):7.2f}{"":9}  {rss}')
if has('xb.fav'):
    print(f'{f"-x -f2, -x tree of {n_links}":32}{sec(wall("xb.fav"))}{sec(wall("xb.floor"))}{"":10}'
          f'{wall("xb.fav") / wall("xb.floor"):10.2f}{cpu("xb.fav") / cpu("xb.floor"):7.2f}{"":9}  '
          f'{kib("xb.fav") / 1024:.1f} / {kib("xb.floor") / 1024:.1f}')
n_cj = 0
if has('cj.json'):
    # -x of the Bookmarks file in the favlink column, -x of its HTML export in
    # the floor's; peak RSS of the two.
    with open(os.path.join(d, 'chromium.html'), 'rb') as f:
        n_cj = sum(1 for line in f if b'<DT><H3 ' in line)
    print(f'{f"-x JSON, {n_links} in {n_cj} dirs":32}{sec(wall("cj.json"))}{sec(wall("cj.html"))}{"":10}'
          f'{wall("cj.json") / wall("cj.html"):10.2f}{cpu("cj.json") / cpu("cj.html"):7.2f}{"":9}  '
          f'{kib("cj.json") / 1024:.1f} / {kib("cj.html") / 1024:.1f}')
    print(f'{"  (floor: -x of its HTML export)":32}')
rss_limits = []  # (what, KiB, limit KiB): twice the longest line plus 4 MB
if has('scan.fav'):
    print(f'{f"scan-only, {scan_mb} MB, LF":32}{sec(wall("scan.fav"))}{mbs("scan.fav"):9.0f} MB/s'
          f'   favlink/wc -l {wall("scan.fav") / wall("scan.wc"):.1f}, '
          f'favlink/cat {wall("scan.fav") / wall("scan.cat"):.1f}')
    print(f'{f"scan-only, {scan_mb} MB, CR LF":32}{sec(wall("scan.crlf"))}{mbs("scan.crlf"):9.0f} MB/s')
    print(f'{f"scan-only -s, {scan_mb} MB":32}{sec(wall("sx.plain"))}{mbs("sx.plain"):9.0f} MB/s')
    print(f'{f"  same with -x":32}{sec(wall("sx.x"))}{mbs("sx.x"):9.0f} MB/s'
          f'   speed -x/plain {wall("sx.plain") / wall("sx.x"):.2f}')
    print(f'{f"wc -l, {scan_mb} MB":32}{sec(wall("scan.wc"))}{mbs("scan.wc"):9.0f} MB/s')
    print(f'{f"cat, {scan_mb} MB":32}{sec(wall("scan.cat"))}{mbs("scan.cat"):9.0f} MB/s')
    small, big = kib('scan.small'), kib('scan.big')
    print(f'{"peak RSS, scan-only":32}{small / 1024:.1f} MB for {small_mb} MB, '
          f'{big / 1024:.1f} MB for {scan_mb} MB (x{big / small:.2f})')
    line_modern, line_big = longest('modern.html'), longest('bigline.html')
    for key, what, line in (('sx.modern', 'modern export', line_modern),
                            ('sx.big', 'one long line', line_big)):
        rss_limits.append((what, kib(key), 2 * line / 1024 + 4096))
        print(f'{f"peak RSS, -x -s, {what}":32}{kib(key) / 1024:.1f} MB, longest line {line:,} bytes')
print()
print('cpu seconds (user+system), median:  ' + ', '.join(
    f'{k} {cpu(k):.3f}' for k in ('sc.fav', 'sc.floor', 'sc.peer', 'lp.fav', 'lp.floor',
                                  'lpx.fav', 'lpx.floor', 'mx.fav', 'mx.floor', 'xb.fav', 'xb.floor',
                                  'cj.json', 'cj.html', 'scan.fav', 'scan.wc') if has(k)))
print()


def target(ok, text):
    print(f'  [{"met" if ok else "MISSED"}] {text}')


def within(fav, floor, limit, text):
    # A wall-time ratio against its limit, with the cpu ratio beside it.
    r = wall(fav) / wall(floor)
    target(r <= limit, f'{text} {r:.3f} <= {limit} (cpu {cpu(fav) / cpu(floor):.2f})')


print('targets')
if has('sc.fav'):
    sc = wall('sc.fav') / wall('sc.floor')
    target(sc <= 1.2, f'shortcut, {n_links} links: favlink/floor {sc:.3f} <= 1.2')
if has('lp.fav'):
    lp = wall('lp.fav') / wall('lp.floor')
    target(lp <= 1.2, f'link page, {n_files} files: favlink/floor {lp:.3f} <= 1.2')
if has('lpx.fav'):
    within('lpx.fav', 'lpx.floor', 1.2, f'link page -x, {n_files} files in {n_favx} folders: favlink/floor')
if has('wide4.fav'):
    grow = wall('wide4.fav') / wall('wide1.fav')
    target(grow <= 4.5, f'link page -x, one dir of {4 * n_wide} files / of {n_wide}: {grow:.2f} <= 4.5')
    within('wide4.fav', 'wide4.floor', 1.3, f'link page -x, one dir of {4 * n_wide} files: favlink/floor')
if has('scan.fav'):
    target(mbs('scan.fav') >= 500, f'scan-only: {mbs("scan.fav"):.0f} MB/s >= 500')
    target(wall('scan.fav') <= 8 * wall('scan.wc'),
           f'scan-only: favlink/wc -l {wall("scan.fav") / wall("scan.wc"):.1f} <= 8')
    target(abs(big - small) <= 0.1 * min(big, small),
           f'peak RSS flat: {small_mb} MB vs {scan_mb} MB input within 10% (x{big / small:.2f})')
    target(max(big, small) < 4096, f'peak RSS under 4 MB: {max(big, small) / 1024:.1f} MB')
if has('mx.fav'):
    within('mx.fav', 'mx.floor', 1.3, f'-x tree, {n_links} links in {n_folders} folders: favlink/floor')
if has('xb.fav'):
    within('xb.fav', 'xb.floor', 1.3, f'-x -f2 of the -x tree, {n_links} links: favlink/floor')
if has('cj.json'):
    within('cj.json', 'cj.html', 1.3,
           f'-x of a Chromium Bookmarks file, {n_links} links in {n_cj} folders, within 1.3x of the HTML path: JSON/HTML')
    target(kib('cj.json') < 64 * 1024,
           f'peak RSS, -x of a Chromium Bookmarks file: {kib("cj.json") / 1024:.1f} MB < 64 MB')
if has('sx.x'):
    sx = wall('sx.plain') / wall('sx.x')
    target(sx >= 0.8, f'scan-only -s, {scan_mb} MB: speed with -x / without {sx:.2f} >= 0.8')
for what, used, limit in rss_limits:
    target(used <= limit, f'peak RSS, -x -s, {what}: {used / 1024:.1f} MB <= 2 x longest line'
           f' + 4 MB = {limit / 1024:.1f} MB')
if has('sc.fav'):
    pf = wall('sc.peer') / wall('sc.fav')
    target(pf >= 10, f'peer/favlink, shortcut {n_links} links: {pf:.1f} >= 10'
           f' (the floor alone: peer/floor {wall("sc.peer") / wall("sc.floor"):.1f})')
