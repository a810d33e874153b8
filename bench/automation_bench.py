#!/usr/bin/env python3
"""Times a ReadBase and a WriteBase of N records on the demo ЖРМ 3 (115200
baud) through the automation service, as a client sees them, and prints the
program's CPU per record and share of a core, and the longest answer to a
BaseStatus() asked every 20 ms meanwhile (how long the event loop was away).
Targets: <= 0.1 ms CPU per record, < 2 % of a core, answers within 50 ms.

Usage: dbus-run-session -- python3 bench/automation_bench.py build/src/app/zelbase [records]
"""
import os
import subprocess
import sys
import tempfile
import time

import dbus
import dbus.bus


def cpu_seconds(pid):
    fields = open("/proc/%d/stat" % pid).read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def main():
    exe, records = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 4096
    with tempfile.TemporaryDirectory() as data:
        proc = subprocess.Popen([exe, "--demo", "--data-dir", data, "/AUTOMATION"],
                                env=dict(os.environ, QT_QPA_PLATFORM="offscreen"),
                                stderr=subprocess.DEVNULL)
        bus = dbus.bus.BusConnection(os.environ["DBUS_SESSION_BUS_ADDRESS"])
        while not bus.name_has_owner("Zhrm.Server"):
            time.sleep(0.05)
        server = dbus.Interface(bus.get_object("Zhrm.Server", "/Server"), "Zhrm.IServer")
        while int(server.BaseStatus()) != 2:
            time.sleep(0.05)
        server.SelectBase(dbus.Int32(5))
        server.SetRange(1, records)
        print("%d records, demo ЖРМ 3 at 115200 baud" % records)
        print("%-10s %9s %7s %10s %6s %10s" % ("member", "program s", "CPU s", "CPU ms/rec",
                                              "CPU %", "answer ms"))
        for member in ("ReadBase", "WriteBase"):
            cpu0, t0, longest = cpu_seconds(proc.pid), time.monotonic(), 0.0
            getattr(server, member)()
            while True:
                asked = time.monotonic()
                idle = int(server.BaseStatus()) == 2
                longest = max(longest, time.monotonic() - asked)
                if idle:
                    break
                time.sleep(0.02)
            seconds, cpu = time.monotonic() - t0, cpu_seconds(proc.pid) - cpu0
            print("%-10s %9.2f %7.2f %10.3f %6.2f %10.1f" % (
                member, seconds, cpu, 1000 * cpu / records, 100 * cpu / seconds, 1000 * longest))
        bus.close()
        proc.wait(timeout=60)


if __name__ == "__main__":
    main()
