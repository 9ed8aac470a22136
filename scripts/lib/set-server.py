#!/usr/bin/env python3
"""Points a config.ini at a portal: sets "portal" and "site" of the section "server",
keeping every other byte of the file (the file is GBK; only ASCII is written)."""
import sys

path, host = sys.argv[1], sys.argv[2].encode()
try:
    data = open(path, 'rb').read()
except FileNotFoundError:
    data = b''
out, in_server, done = [], False, set()
for line in data.split(b'\n'):
    s = line.strip()
    if s.startswith(b'['):
        if in_server:
            for k in (b'portal', b'site'):
                if k not in done:
                    out.append(k + b'=' + host + b'\r')
                    done.add(k)
        in_server = s.lower() == b'[server]'
    elif in_server and b'=' in s and s.split(b'=')[0].strip().lower() in (b'portal', b'site'):
        k = s.split(b'=')[0].strip().lower()
        done.add(k)
        line = k + b'=' + host + (b'\r' if line.endswith(b'\r') else b'')
    out.append(line)
data = b'\n'.join(out)
if in_server:
    for k in (b'portal', b'site'):
        if k not in done:
            data = data.rstrip(b'\r\n') + b'\r\n' + k + b'=' + host + b'\r\n'
            done.add(k)
if not done:
    data = data.rstrip(b'\r\n') + (b'\r\n' if data else b'') + b'[server]\r\nportal=' + host + b'\r\nsite=' + host + b'\r\n'
open(path, 'wb').write(data)
