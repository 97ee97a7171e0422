#!/usr/bin/env python3
"""The fleet's JSON lines loaded into real engines: SQLite (Python's own
module, json_extract over one column) and PostgreSQL (Debian's server,
started here on a Unix socket in a temporary folder, COPY into a jsonb
column). The lines come from the Wine test FleetLines, which saves reports
of four hosts of the test prefix and writes `orvexinv lines` of them, the
differences from a baseline and what the engines must find
(expected.json) into the folder ORVEX_FLEET_DIR names.

Checked in each engine: the rows per host and table equal the reports'
counts as the program reads them, and the README's example queries give
the expected rows. With OTHER-ORVEXINV (the other width's collector), its
lines of the same reports must be byte for byte the same.

With --bench (tools/bench.sh), the lines of every report in FOLDER are
written by the collector and loaded into each engine, each step timed.

Usage: check-fleet-engines.py WINE-RUN TESTS.EXE [OTHER-ORVEXINV.EXE]
       check-fleet-engines.py --bench WINE ORVEXINV.EXE FOLDER
"""
import glob
import json
import os
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import time

# The README's example queries, in each engine's dialect. {t} is the table.
SQLITE_QUERIES = {
    'disabledService': """
        SELECT json_extract(doc, '$.name') AS service, min(json_extract(doc, '$.host')) AS host
        FROM {t}
        WHERE json_extract(doc, '$.table') = 'services' AND json_extract(doc, '$.startupName') = 'Disabled'
        GROUP BY service
        HAVING count(DISTINCT json_extract(doc, '$.host')) = 1""",
    'driverOnOneHost': """
        SELECT json_extract(doc, '$.name') AS driver, min(json_extract(doc, '$.host')) AS host
        FROM {t}
        WHERE json_extract(doc, '$.table') = 'drivers'
        GROUP BY lower(driver)
        HAVING count(DISTINCT json_extract(doc, '$.host')) = 1""",
    'addedProcess': """
        SELECT json_extract(doc, '$.key') AS image, json_extract(doc, '$.host') AS host
        FROM {t}_diff
        WHERE json_extract(doc, '$.table') = 'processes' AND json_extract(doc, '$.action') = 'added'""",
    'counts': """
        SELECT json_extract(doc, '$.host'), json_extract(doc, '$.table'), count(*)
        FROM {t} GROUP BY 1, 2""",
}
POSTGRES_QUERIES = {
    'disabledService': """
        SELECT doc->>'name' AS service, min(doc->>'host') AS host
        FROM {t}
        WHERE doc->>'table' = 'services' AND doc->>'startupName' = 'Disabled'
        GROUP BY service
        HAVING count(DISTINCT doc->>'host') = 1""",
    'driverOnOneHost': """
        SELECT min(doc->>'name') AS driver, min(doc->>'host') AS host
        FROM {t}
        WHERE doc->>'table' = 'drivers'
        GROUP BY lower(doc->>'name')
        HAVING count(DISTINCT doc->>'host') = 1""",
    'addedProcess': """
        SELECT doc->>'key' AS image, doc->>'host' AS host
        FROM {t}_diff
        WHERE doc->>'table' = 'processes' AND doc->>'action' = 'added'""",
    'counts': """
        SELECT doc->>'host', doc->>'table', count(*) FROM {t} GROUP BY 1, 2""",
}


def windows_path(unix):
    """The path under Wine's drive Z:, which maps the Unix root."""
    return 'Z:' + unix.replace('/', '\\')


def run_fleet_test(wine_run, tests_exe, folder):
    env = dict(os.environ, ORVEX_FLEET_DIR=windows_path(folder))
    run = subprocess.run([wine_run, tests_exe, '--gtest_filter=FleetLines.*'], env=env, capture_output=True,
                         timeout=900)
    if run.returncode != 0:
        print(run.stdout.decode(errors='replace')[-4000:])
        print(run.stderr.decode(errors='replace')[-2000:])
        raise SystemExit('the FleetLines test failed: %d' % run.returncode)
    for name in ('fleet.jsonl', 'diff.jsonl', 'expected.json'):
        if not os.path.isfile(os.path.join(folder, name)):
            raise SystemExit('the FleetLines test left no ' + name)


def read_bytes(path):
    with open(path, 'rb') as f:
        return f.read()


def same_lines_from_other_width(wine_run, other, folder):
    """The other width's collector gives the same bytes for the same reports."""
    faults = 0
    fleet = windows_path(folder) + '\\*.ivs'
    base = windows_path(folder) + '\\alpha.ivs'
    diff_args = [windows_path(folder) + '\\beta.ivs', windows_path(folder) + '\\gamma.ivs', '--diff', base]
    for args, kept in ((['lines', fleet], 'fleet.jsonl'), (['lines'] + diff_args, 'diff.jsonl')):
        run = subprocess.run([wine_run, other, *args], capture_output=True, timeout=600)
        expected = read_bytes(os.path.join(folder, kept))
        if run.stdout != expected:
            print('the other width differs for', kept, ':', len(run.stdout), 'bytes against', len(expected))
            for mine, theirs in zip(expected.splitlines(), run.stdout.splitlines()):
                if mine != theirs:
                    print(' this width: ', mine.decode(errors='replace'))
                    print(' other width:', theirs.decode(errors='replace'))
                    break
            faults += 1
        else:
            print('the other width gives the same', len(expected), 'bytes of', kept)
    return faults


def expected_rows(expected):
    return {
        'disabledService': [(expected['disabledService']['name'], expected['disabledService']['host'])],
        'driverOnOneHost': [(expected['driverOnOneHost']['name'], expected['driverOnOneHost']['host'])],
        'addedProcess': [(expected['addedProcess']['key'], expected['addedProcess']['host'])],
        'counts': sorted((c['host'], c['table'], c['rows']) for c in expected['counts']),
    }


def compare(engine, answers, expected):
    faults = 0
    for name, rows in expected.items():
        got = sorted(tuple(r) for r in answers[name])
        if got != sorted(rows):
            print(engine, name, 'gave', got, 'expected', sorted(rows))
            faults += 1
    print(engine, 'rows per host and table:', ', '.join('%s/%s %d' % r for r in sorted(answers['counts'])))
    return faults


# SQLite ------------------------------------------------------------------

def sqlite_load(db, table, path):
    db.execute('CREATE TABLE %s (doc TEXT NOT NULL)' % table)
    with open(path, encoding='utf-8', newline='\n') as f:
        db.executemany('INSERT INTO %s (doc) VALUES (?)' % table, ((line,) for line in f))
    db.commit()


def sqlite_answers(db, table):
    return {name: db.execute(q.format(t=table)).fetchall() for name, q in SQLITE_QUERIES.items()}


# PostgreSQL --------------------------------------------------------------

class Postgres:
    """A throw-away server on a Unix socket in folder; the server refuses to
    run as root, so it runs as Debian's postgres user there."""

    def __init__(self, folder):
        bins = sorted(glob.glob('/usr/lib/postgresql/*/bin/initdb'))
        if not bins:
            raise SystemExit('PostgreSQL is not installed (tools/setup.sh installs it)')
        self.bin = os.path.dirname(bins[-1])
        self.folder = folder
        self.data = os.path.join(folder, 'data')
        self.as_user = []
        if os.geteuid() == 0:
            self.as_user = ['runuser', '-u', 'postgres', '--']
            shutil.chown(folder, 'postgres')
        self.run([os.path.join(self.bin, 'initdb'), '-D', self.data, '-A', 'trust', '-U', 'orvex', '--no-sync',
                  '-E', 'UTF8', '--locale=C'])
        self.run([os.path.join(self.bin, 'pg_ctl'), '-D', self.data, '-w', '-l', os.path.join(folder, 'log'),
                  '-o', "-k %s -c listen_addresses='' -c fsync=off" % folder, 'start'])

    def run(self, args):
        result = subprocess.run(self.as_user + args, capture_output=True, timeout=300)
        if result.returncode != 0:
            raise SystemExit('%s failed: %s' % (args[0], result.stderr.decode(errors='replace')))

    def psql(self, sql, stdin=None):
        args = ['psql', '-X', '-q', '-A', '-t', '-F', '\t', '-v', 'ON_ERROR_STOP=1', '-h', self.folder, '-U',
                'orvex', '-d', 'postgres', '-c', sql]
        result = subprocess.run(args, input=stdin, capture_output=True, timeout=900)
        if result.returncode != 0:
            raise SystemExit('psql failed: ' + result.stderr.decode(errors='replace'))
        return result.stdout.decode('utf-8')

    def load(self, table, path):
        # COPY's text format reads backslashes as escapes, and the lines hold
        # Windows paths: CSV with a quote and a delimiter that JSON text
        # never holds (control characters are escaped) takes each line as
        # it is.
        self.psql('CREATE TABLE %s (doc jsonb NOT NULL)' % table)
        self.psql("COPY %s (doc) FROM STDIN WITH (FORMAT csv, QUOTE E'\\x01', DELIMITER E'\\x02')" % table,
                  stdin=read_bytes(path))

    def answers(self, table):
        out = {}
        for name, q in POSTGRES_QUERIES.items():
            rows = [line.split('\t') for line in self.psql(q.format(t=table)).splitlines() if line]
            out[name] = [tuple(int(c) if name == 'counts' and i == 2 else c for i, c in enumerate(r)) for r in rows]
        return out

    def stop(self):
        subprocess.run(self.as_user + [os.path.join(self.bin, 'pg_ctl'), '-D', self.data, '-m', 'immediate',
                                       'stop'], capture_output=True, timeout=120)


def timed(what, action):
    t0 = time.perf_counter()
    action()
    print('%s: %.2f s' % (what, time.perf_counter() - t0))


def bench(wine, tool, folder):
    """The benchmark's fleet: `orvexinv lines` over every report in folder,
    its lines loaded into each engine, each step timed."""
    lines = os.path.join(folder, 'fleet.jsonl')
    reports = len(glob.glob(os.path.join(folder, '*.ivs')))

    def write_lines():
        with open(lines, 'wb') as out:
            subprocess.run([wine, tool, 'lines', windows_path(folder) + '\\*.ivs'], stdout=out, check=True,
                           timeout=3600)

    timed('orvexinv lines over %d reports' % reports, write_lines)
    count = sum(1 for _ in open(lines, encoding='utf-8'))
    print('%d lines, %.1f MB' % (count, os.path.getsize(lines) / 1e6))
    work = tempfile.mkdtemp(prefix='orvex-fleet-bench-')
    pg = None
    try:
        os.chmod(work, 0o755)
        db = sqlite3.connect(os.path.join(work, 'fleet.sqlite'))
        timed('SQLite %s load (one text column)' % sqlite3.sqlite_version, lambda: sqlite_load(db, 'fleet', lines))
        timed('SQLite rows per host and table, disabled services, lone drivers',
              lambda: [db.execute(SQLITE_QUERIES[n].format(t='fleet')).fetchall()
                       for n in ('counts', 'disabledService', 'driverOnOneHost')])
        print('SQLite rows:', db.execute('SELECT count(*) FROM fleet').fetchone()[0])
        db.close()
        pg_folder = os.path.join(work, 'pg')
        os.mkdir(pg_folder)
        pg = Postgres(pg_folder)
        timed('PostgreSQL %s load (COPY into jsonb)' % pg.psql('SHOW server_version').strip(),
              lambda: pg.load('fleet', lines))
        timed('PostgreSQL rows per host and table, disabled services, lone drivers',
              lambda: [pg.psql(POSTGRES_QUERIES[n].format(t='fleet'))
                       for n in ('counts', 'disabledService', 'driverOnOneHost')])
        print('PostgreSQL rows:', pg.psql('SELECT count(*) FROM fleet').strip())
    finally:
        if pg:
            pg.stop()
        shutil.rmtree(work, ignore_errors=True)
    return 0


def main():
    args = sys.argv[1:]
    if args and args[0] == '--bench':
        return bench(*args[1:4])
    wine_run, tests_exe = args[:2]
    other = args[2] if len(args) > 2 else None
    folder = tempfile.mkdtemp(prefix='orvex-fleet-')
    pg = None
    faults = 0
    try:
        os.chmod(folder, 0o755)
        run_fleet_test(wine_run, tests_exe, folder)
        expected = expected_rows(json.load(open(os.path.join(folder, 'expected.json'), encoding='utf-8')))
        if other and os.path.isfile(other):
            faults += same_lines_from_other_width(wine_run, other, folder)
        elif other:
            print('no other width to compare with:', other)

        db = sqlite3.connect(os.path.join(folder, 'fleet.sqlite'))
        sqlite_load(db, 'fleet', os.path.join(folder, 'fleet.jsonl'))
        sqlite_load(db, 'fleet_diff', os.path.join(folder, 'diff.jsonl'))
        faults += compare('SQLite %s' % sqlite3.sqlite_version, sqlite_answers(db, 'fleet'), expected)
        db.close()

        pg_folder = os.path.join(folder, 'pg')
        os.mkdir(pg_folder)
        pg = Postgres(pg_folder)
        pg.load('fleet', os.path.join(folder, 'fleet.jsonl'))
        pg.load('fleet_diff', os.path.join(folder, 'diff.jsonl'))
        version = pg.psql('SHOW server_version').strip()
        faults += compare('PostgreSQL %s' % version, pg.answers('fleet'), expected)
    finally:
        if pg:
            pg.stop()
        shutil.rmtree(folder, ignore_errors=True)
    print('faults:', faults)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
