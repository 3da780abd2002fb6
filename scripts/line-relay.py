#!/usr/bin/env python3
"""Stands between a program's serial port and the simulator's line and logs what crosses.

Usage: line-relay.py UNIT_LINK PORT_LINK LOG

Opens the simulator's line UNIT_LINK, makes a pseudo-terminal for the program and a symlink
to it at PORT_LINK, and copies bytes both ways until killed. Each chunk goes to LOG as
"host <hex>" (program to unit) or "unit <hex>" (unit to program)."""
import os
import select
import sys
import tty

unit_link, port_link, log_path = sys.argv[1:4]
unit = os.open(unit_link, os.O_RDWR | os.O_NOCTTY)
tty.setraw(unit)
master, slave = os.openpty()
tty.setraw(slave)
if os.path.lexists(port_link):
    os.unlink(port_link)
os.symlink(os.ttyname(slave), port_link)
with open(log_path, "w", buffering=1) as log:
    while True:
        ready, _, _ = select.select([master, unit], [], [])
        for source in ready:
            try:
                data = os.read(source, 4096)
            except OSError:  # the program closed its end for now
                data = b""
            if not data:
                continue
            target, tag = (unit, "host") if source == master else (master, "unit")
            os.write(target, data)
            log.write(f"{tag} {data.hex()}\n")
