#!/usr/bin/env python3
"""The SHA-256 that `orvexinv collect --json` gives each file against an
independent hasher (sha256sum): every module of the collector's own process
and its executable, found in the Wine prefix's drives. Every module also
carries a signer text.

Usage: check-image-hashes.py WINE-RUN ORVEXINV.EXE WINEPREFIX
"""
import json
import os
import subprocess
import sys


def unix_path(prefix, path):
    """The file a Windows path names in the prefix; None when none does.
    Wine's drives are folders whose names' case may differ from the path's."""
    if len(path) < 3 or path[1] != ':':
        return None
    current = os.path.realpath(os.path.join(prefix, 'dosdevices', path[0].lower() + ':'))
    for part in path[3:].split('\\'):
        if not part:
            continue
        try:
            entries = {e.lower(): e for e in os.listdir(current)}
        except OSError:
            return None
        if part.lower() not in entries:
            return None
        current = os.path.join(current, entries[part.lower()])
    return current if os.path.isfile(current) else None


def sha256sum(path):
    out = subprocess.run(['sha256sum', path], check=True, capture_output=True, text=True).stdout
    return out.split()[0]


def main():
    wine_run, tool, prefix = sys.argv[1:4]
    run = subprocess.run([wine_run, tool, 'collect', '--json'], capture_output=True, timeout=900)
    if run.returncode != 0:
        print('orvexinv failed:', run.returncode, run.stderr.decode(errors='replace'))
        return 1
    doc = json.loads(run.stdout.decode('utf-8'))
    selves = [p for p in doc['processes'] if p['imageName'].lower().endswith('\\orvexinv.exe')]
    if len(selves) != 1:
        print('expected the collector once among', len(doc['processes']), 'processes, found', len(selves))
        return 1
    me = selves[0]
    files = [(me['imageName'], me.get('sha256'), me.get('signer'))]
    files += [(m['imageName'], m.get('sha256'), m.get('signer')) for m in me['modules']]
    faults = 0
    compared = 0
    for name, reported, signer in files:
        local = unix_path(prefix, name)
        if not signer:
            print('no signer text:', name)
            faults += 1
        if local is None:
            print('not found in the prefix:', name)
            faults += 1
            continue
        expected = sha256sum(local)
        compared += 1
        if reported != expected:
            print('hash differs:', name, reported, expected)
            faults += 1
    print(f'{compared} files compared, {faults} faults')
    return 1 if faults or compared < 2 else 0


if __name__ == '__main__':
    sys.exit(main())
