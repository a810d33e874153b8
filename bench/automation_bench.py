#!/usr/bin/env python3
"""Times a ReadBase and a WriteBase of N records on the demo ЖРМ 3 (115200
baud) through the automation service, as a client sees them, and prints the
program's CPU per record and share of a core, and the longest answer to a
BaseStatus() asked every 20 ms meanwhile (how long the event loop was away).
Given bench_pty_line, the devices answer from behind a pseudo-terminal, as
from outside; the modelled wire time is printed beside the program's, and
for both members together the floor (wire, turnarounds and the pauses the
devices require: bench_operations --virtual) and over = (program - floor) / wire,
split into the host's late replies, the answers to them (the kernel's pty
turns and the program's own) and the rest.
Targets: <= 0.1 ms CPU per record, < 2 % of a core, answers within 50 ms.

Usage: dbus-run-session -- python3 bench/automation_bench.py \
           build/src/app/zelbase [records [build/bench/bench_pty_line]]
ZEL_PTY_BATCH_US=1000 has the pty deliver the devices' bytes every 1 ms, as a
USB adapter at low latency does, instead of each byte as it ends.
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


class PtyLine:
    """bench_pty_line: the demo devices behind a pty that data's COM1 names."""

    def __init__(self, exe, data):
        batch = os.environ.get("ZEL_PTY_BATCH_US", "0")
        self.proc = subprocess.Popen([exe, data, batch], stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, text=True)
        self.path = self.proc.stdout.readline().strip()
        self.turn = int(self.proc.stdout.readline()) / 1e6

    def seconds(self):
        """So far: the modelled wire time, how late the host wrote replies' ends,
        the kernel's time for the turns of the conversation, and the time from
        replies' ends to the next requests, those turns included."""
        self.proc.stdin.write("\n")
        self.proc.stdin.flush()
        wire, late, turns, answers = self.proc.stdout.readline().split()
        return int(wire) / 1e6, int(late) / 1e6, int(turns) * self.turn, int(answers) / 1e6

    def close(self):
        self.proc.stdin.close()
        self.proc.wait(timeout=10)


def floor_seconds(bench_dir, records):
    """Wire and floor of a WriteBase and a ReadBase through the server's steps."""
    out = subprocess.run([os.path.join(bench_dir, "bench_operations"), "--virtual", str(records),
                          "115200"], capture_output=True, text=True, check=True).stdout
    for line in out.splitlines():
        fields = line.split()
        if fields[:4] == ["ЖРМ", "3", "115200", "server"]:
            return float(fields[4]), float(fields[5])
    raise RuntimeError("bench_operations printed no ЖРМ 3 server line")


def main():
    exe, records = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 4096
    with tempfile.TemporaryDirectory() as data:
        pty = PtyLine(sys.argv[3], data) if len(sys.argv) > 3 else None
        line = ["--data-dir", data] if pty else ["--demo", "--data-dir", data]
        proc = subprocess.Popen([exe] + line + ["/AUTOMATION"],
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
        print("%d records, demo ЖРМ 3 at 115200 baud, %s" % (
            records, "on " + pty.path if pty else "built-in virtual line"))
        print("%-10s %7s %9s %7s %7s %10s %6s %10s" % (
            "member", "wire s", "program s", "÷ wire", "CPU s", "CPU ms/rec", "CPU %",
            "answer ms"))
        total, spent = 0.0, [0.0, 0.0, 0.0]
        for member in ("ReadBase", "WriteBase"):
            before = pty.seconds() if pty else (0, 0, 0, 0)
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
            after = pty.seconds() if pty else (float("nan"), 0, 0, 0)
            wire = after[0] - before[0]
            total += seconds
            spent = [s + a - b for s, a, b in zip(spent, after[1:], before[1:])]
            on_wire = ("%7.2f" % wire, "%7.3f" % (seconds / wire)) if pty else ("-", "-")
            print("%-10s %7s %9.2f %7s %7.2f %10.3f %6.2f %10.1f" % (
                member, on_wire[0], seconds, on_wire[1], cpu, 1000 * cpu / records,
                100 * cpu / seconds, 1000 * longest))
        bus.close()
        proc.wait(timeout=60)
        if pty:
            pty.close()
            wire, floor = floor_seconds(os.path.dirname(sys.argv[3]), records)
            over = (total - floor) / wire
            late, kernel, answers = (x / wire for x in spent)
            print("both: wire %.2f s, floor %.2f s, program %.2f s, over %.4f of the wire;\n"
                  "of that the device host's late replies %.4f, the answers to them %.4f"
                  " (the kernel's pty turns %.4f at %.0f us each, the program's own %.4f),"
                  " the rest %.4f" % (
                      wire, floor, total, over, late, answers, kernel, pty.turn * 1e6,
                      answers - kernel, over - late - answers))


if __name__ == "__main__":
    main()
