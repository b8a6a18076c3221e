#!/usr/bin/env python3
"""Runs one script test: the kresbon executable on a script, then checks its transcript, the
registry hives it left and the drawing it saved.

Usage: run_script_test.py KRESBON MODULE SCRIPT

Beside SCRIPT.scr, SCRIPT.expect holds one directive a line (blank lines and # comments ignored):
  args: ...              extra arguments for kresbon (before the defaults); {src} stands for
                         the source tree's root (e.g. a drawing under tests/data)
  runs: N                run the script N times in the same home (default 1); directives
                         "run: K" switch which run the following transcript checks apply to
  transcript: TEXT       TEXT appears in the transcript, after what the previous check found
  absent: TEXT           TEXT appears nowhere in the transcript
  reg: HIVE KEY NAME = VALUE   a value of the hive file (HKCU or HKLM) as .reg text,
                         e.g. reg: HKCU Software\\Pelmex\\Common PREDPONA = "KB"
  noreg: HIVE KEY NAME   the value does not exist
  hasreg: HIVE KEY NAME  the value exists
  dxf: EXPR              a Python expression over the ezdxf document `doc` that must be true
  exit: N                the expected exit status (default 0)
Every saved drawing must load in ezdxf and pass its audit.
"""
import os
import re
import shlex
import subprocess
import sys
import tempfile


def read_hive(path):
    values = {}
    if not os.path.exists(path):
        return values
    raw = open(path, 'rb').read()
    if raw.startswith(b'\xff\xfe'):
        text = raw[2:].decode('utf-16-le')
    else:
        text = raw.decode('utf-8-sig')
    key = None
    pending = ''
    for line in text.splitlines():
        line = pending + line.strip()
        pending = ''
        if line.endswith('\\') and not line.startswith('['):
            pending = line[:-1]
            continue
        if line.startswith('[') and line.endswith(']'):
            key = line[1:-1].split('\\', 1)[1] if '\\' in line else ''
            key = key.rstrip('\\').lower()
            continue
        m = re.match(r'^"((?:[^"\\]|\\.)*)"=(.*)$', line)
        if m and key is not None:
            name = m.group(1).replace('\\"', '"').replace('\\\\', '\\')
            values[(key, name.lower())] = m.group(2)
    return values


def main():
    kresbon, module, script = sys.argv[1:4]
    base = os.path.splitext(script)[0]
    directives = []
    with open(base + '.expect', encoding='utf-8') as f:
        for line in f:
            line = line.rstrip('\n')
            if not line.strip() or line.lstrip().startswith('#'):
                continue
            kind, _, rest = line.partition(':')
            directives.append((kind.strip(), rest.strip()))

    extra = []
    runs = 1
    expected_exit = 0
    for kind, rest in directives:
        if kind == 'args':
            src = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
            extra += [a.replace('{src}', src) for a in shlex.split(rest)]
        elif kind == 'runs':
            runs = int(rest)
        elif kind == 'exit':
            expected_exit = int(rest)

    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        home = os.path.join(tmp, 'home')
        transcripts = []
        outs = []
        for r in range(runs):
            out = os.path.join(tmp, 'out%d.dxf' % (r + 1))
            cmd = [kresbon] + extra + ['--home', home, '--app', module, '--strict',
                                       '-s', script, '-o', out]
            proc = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                  stdin=subprocess.DEVNULL, timeout=300)
            transcript = proc.stdout.decode('utf-8', errors='replace')
            transcripts.append(transcript)
            outs.append(out)
            sys.stdout.write('--- run %d transcript ---\n%s\n' % (r + 1, transcript))
            if proc.stderr:
                sys.stdout.write('--- run %d stderr ---\n%s\n' % (r + 1, proc.stderr.decode(errors='replace')))
            if proc.returncode != expected_exit:
                failures.append('run %d: exit status %d, expected %d' % (r + 1, proc.returncode, expected_exit))

        hives = {'HKCU': read_hive(os.path.join(home, 'HKCU.reg')),
                 'HKLM': read_hive(os.path.join(home, 'HKLM.reg'))}
        docs = []
        try:
            import ezdxf
        except ImportError:
            ezdxf = None
        for out in outs:
            if not os.path.exists(out):
                docs.append(None)
                continue
            if ezdxf is None:
                failures.append('%s cannot be checked: the ezdxf module is missing' % out)
                docs.append(None)
                continue
            try:
                doc = ezdxf.readfile(out)
                auditor = doc.audit()
                if auditor.has_errors:
                    failures.append('%s: ezdxf audit errors: %s' % (out, [str(e.message) for e in auditor.errors]))
                docs.append(doc)
            except Exception as e:  # noqa: BLE001 - any failure to load is a test failure
                failures.append('%s does not load in ezdxf: %s' % (out, e))
                docs.append(None)

        run = 0
        pos = 0
        for kind, rest in directives:
            if kind == 'run':
                run = int(rest) - 1
                pos = 0
            elif kind == 'transcript':
                text = rest.encode().decode('unicode_escape').encode('latin-1').decode('utf-8')
                found = transcripts[run].find(text, pos)
                if found < 0:
                    failures.append('run %d: transcript lacks (after position %d): %r' % (run + 1, pos, text))
                else:
                    pos = found + len(text)
            elif kind == 'absent':
                text = rest.encode().decode('unicode_escape').encode('latin-1').decode('utf-8')
                if text in transcripts[run]:
                    failures.append('run %d: transcript has %r' % (run + 1, text))
            elif kind in ('reg', 'noreg', 'hasreg'):
                left, _, value = rest.partition(' = ')
                hive, key, name = shlex.split(left.replace('\\', '\\\\'))
                got = hives[hive].get((key.rstrip('\\').lower(), name.lower()))
                if kind == 'hasreg':
                    if got is None:
                        failures.append('%s %s %s is missing' % (hive, key, name))
                elif kind == 'noreg':
                    if got is not None:
                        failures.append('%s %s %s exists: %s' % (hive, key, name, got))
                elif got != value:
                    failures.append('%s %s %s is %r, expected %r' % (hive, key, name, got, value))
            elif kind == 'dxf':
                doc = docs[run] if run < len(docs) else None
                if doc is None:
                    failures.append('run %d: no drawing to check %r' % (run + 1, rest))
                elif not eval(rest, {'doc': doc, 'msp': doc.modelspace()}):
                    failures.append('run %d: drawing check failed: %s' % (run + 1, rest))

    if failures:
        print('FAILED:\n  ' + '\n  '.join(failures))
        return 1
    print('passed')
    return 0


if __name__ == '__main__':
    sys.exit(main())
