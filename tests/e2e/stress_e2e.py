#!/usr/bin/env python3
"""The automation service killed and abused, from outside.

Usage: stress_e2e.py kills|load PATH_TO_ZELBASE

kills: `zelbase /AUTOMATION` (offscreen) is killed with SIGKILL at random
moments of a base read and of a run of SavePos calls; every time the base
file and ZELBase.ini are whole old or whole new contents, and the next start
loads them. ZEL_KILLS (default 6 of each) and ZEL_KILL_RANGE (default 300)
set the long form.

load: three clients make random calls with random arguments (wrong types,
huge strings, wrong argument counts) while a fourth writes and reads the
base; afterwards the service answers, BaseStatus() is 2 and the file holds
the last write. ZEL_LOAD_CALLS (default 1500 per client) sets the long form.
"""
import multiprocessing
import os
import random
import signal
import subprocess
import sys
import tempfile
import time

import dbus
import dbus.bus

from automation_e2e import check, wait_for

BUS_NAME, PATH, IFACE = "Zhrm.Server", "/Server", "Zhrm.IServer"
RECORD = 77


def env_number(name, fallback):
    value = os.environ.get(name, "")
    return int(value) if value.isdigit() and int(value) > 0 else fallback


class Program:
    """One run of the program in automation mode on the demo line."""

    def __init__(self, exe, data):
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        self.proc = subprocess.Popen([exe, "--demo", "--data-dir", data, "/AUTOMATION"], env=env,
                                     stderr=subprocess.PIPE, text=True, start_new_session=True)
        self.bus = dbus.bus.BusConnection(os.environ["DBUS_SESSION_BUS_ADDRESS"])
        wait_for(lambda: self.bus.name_has_owner(BUS_NAME) or self.proc.poll() is not None,
                 "Zhrm.Server on the bus")
        if self.proc.poll() is not None:
            raise AssertionError("the program ended at start: " + self.proc.stderr.read())
        self.server = dbus.Interface(self.bus.get_object(BUS_NAME, PATH), IFACE)
        wait_for(lambda: int(self.server.BaseStatus()) == 2, "the start-up load")

    def kill(self):
        self.proc.send_signal(signal.SIGKILL)
        self.proc.wait()
        self.bus.close()
        wait_for(lambda: not dbus.SessionBus().name_has_owner(BUS_NAME), "the name to go")

    def leave(self):
        self.bus.close()
        _, err = self.proc.communicate(timeout=60)
        check(self.proc.returncode == 0, "exit code %d: %s" % (self.proc.returncode, err))
        return err


def exchange(server, start, what):
    check(int(start()) == 1, what + " did not start, code %d" % int(server.GetBaseError()))
    wait_for(lambda: int(server.BaseStatus()) == 2, what + " to end")


def read_file(path):
    with open(path, "rb") as f:
        return f.read()


def put_file(path, data):
    with open(path, "wb") as f:
        f.write(data)


def kills(exe):
    count, length = env_number("ZEL_KILLS", 6), env_number("ZEL_KILL_RANGE", 300)
    with tempfile.TemporaryDirectory() as data:
        base, ini = os.path.join(data, "Base", "Base5.bsd"), os.path.join(data, "ZELBase.ini")
        # One whole run of each makes the states a kill may leave.
        p = Program(exe, data)
        p.server.SelectBase(dbus.Int32(5))
        p.server.SetRange(1, length)
        old = read_file(base)
        started = time.monotonic()
        exchange(p.server, p.server.ReadBase, "ReadBase")
        read_time = time.monotonic() - started
        new = read_file(base)
        check(old != new and len(new) == len(old), "the read changed nothing")
        inis = {}
        for top in (10, 20, 30, 40):
            p.server.SetRange(1, top)
            check(int(p.server.SavePos()) == 1, "SavePos")
            inis[read_file(ini)] = top
        p.leave()

        tally = {"read": [0, 0, 0, 0], "SavePos": [0, 0, 0, 0]}  # kills, old, new, torn
        rng = random.Random(12345)
        for k in range(count):
            put_file(base, old)
            p = Program(exe, data)
            p.server.SelectBase(dbus.Int32(5))
            p.server.SetRange(1, length)
            check(int(p.server.ReadBase()) == 1, "ReadBase did not start")
            time.sleep(rng.uniform(0, read_time * 1.1))
            p.kill()
            now = read_file(base)
            t = tally["read"]
            t[0] += 1
            t[1 if now == old else 2 if now == new else 3] += 1

            before = read_file(ini)
            p = Program(exe, data)
            deadline = time.monotonic() + rng.uniform(0, 0.3)
            i = 0
            while time.monotonic() < deadline:
                p.server.SetRange(1, (10, 20, 30, 40)[i % 4])
                p.server.SavePos()
                i += 1
            p.kill()
            t = tally["SavePos"]
            t[0] += 1
            now = read_file(ini)
            t[1 if now == before else 2 if now in inis else 3] += 1

            # The next start loads what the kill left.
            p = Program(exe, data)
            check(int(p.server.SelectBase(dbus.Int32(5))) == 1, "SelectBase after a kill")
            check(int(p.server.SetTop(1)) == 1 and int(p.server.GetNextTovar()) == 1,
                  "the base file after a kill does not load")
            err = p.leave()
            check("Ошибка" not in err, "the start after a kill complained: " + err)
        for what, (n, o, w, torn) in tally.items():
            print("%-8s kills %4d  old %4d  new %4d  torn %d" % (what, n, o, w, torn))
        print("read of %d records: %.2f s" % (length, read_time))
        check(tally["read"][3] == 0 and tally["SavePos"][3] == 0, "a torn file")


# Getters change nothing; they may be called with any well-typed arguments.
GETTERS = ["GetBaseError", "BaseStatus", "Name", "Price", "Section", "Sh_Code", "Uchet", "Number",
           "TovGr", "PrVes", "KLNumber", "KLDate", "KLKolvo", "SlotKLCount"]
# Everything else changes the table, the cursors or a device: only wrong calls.
CHANGERS = ["ReadBase", "WriteBase", "GetBaseError", "SetRange", "ReadUchet", "ClearUchet",
            "AddTovar", "GetNext", "SetTop", "GetNextTovar", "SavePos", "ClearTable",
            "SelectBase", "ReadBlockKL", "ReadKL", "GetNextBlockKL", "SetTopBlockKL",
            "GetNextTovarKL", "SetTopTovarKL", "Visible", "SetPrVes", "SetTovGr", "NoSuchMember"]
HUGE = "Ж" * 400000


def wrong_args(rng):
    """A signature and arguments no member takes."""
    return rng.choice([
        ("b", (True,)),
        ("s", (HUGE,)),
        ("ss", ("1", HUGE)),
        ("ai", ([1, 2, 3],)),
        ("v", (dbus.Boolean(False, variant_level=1),)),
        ("vvvvv", tuple(dbus.String("x", variant_level=1) for _ in range(5))),
        ("ay", (dbus.ByteArray(os.urandom(64)),)),
        ("(is)", ((1, "x"),)),
        ("d", (float("nan"),)),
    ])


def random_client(seed, calls, queue):
    rng = random.Random(seed)
    bus = dbus.bus.BusConnection(os.environ["DBUS_SESSION_BUS_ADDRESS"])
    errors, longest = {}, 0.0
    for _ in range(calls):
        if rng.random() < 0.5:
            member, (sig, args) = rng.choice(GETTERS), ("", ())
        else:
            member, (sig, args) = rng.choice(CHANGERS + GETTERS), wrong_args(rng)
        started = time.monotonic()
        try:
            bus.call_blocking(BUS_NAME, PATH, IFACE, member, sig, args, timeout=20)
        except dbus.DBusException as e:
            errors[e.get_dbus_name()] = errors.get(e.get_dbus_name(), 0) + 1
        longest = max(longest, time.monotonic() - started)
    bus.close()
    queue.put((calls, errors, longest))


def load(exe):
    calls = env_number("ZEL_LOAD_CALLS", 1500)
    with tempfile.TemporaryDirectory() as data:
        p = Program(exe, data)
        server = p.server
        check(int(server.SelectBase(dbus.Int32(5))) == 1, "SelectBase(5)")
        check(int(server.SetRange(1, 20)) == 1, "SetRange(1, 20)")
        spawn = multiprocessing.get_context("spawn")
        queue = spawn.Queue()
        clients = [spawn.Process(target=random_client, args=(seed, calls, queue))
                   for seed in range(3)]
        for c in clients:
            c.start()
        written, rounds, results = "", 0, []
        while len(results) < len(clients) or rounds == 0:
            rounds += 1
            written = "ТОВАР %d" % rounds
            server.SetTop(1)
            server.AddTovar(written, "1.50", dbus.Int32(1), "4600000000%03d" % (rounds % 1000))
            exchange(server, server.WriteBase, "WriteBase")
            exchange(server, server.ReadBase, "ReadBase")
            while not queue.empty():
                results.append(queue.get())
        for c in clients:
            c.join()
        # Alone again: the service answers and holds the last write.
        check(int(server.BaseStatus()) == 2, "BaseStatus after the load")
        exchange(server, server.ReadBase, "the last ReadBase")
        check(int(server.GetBaseError()) == 0, "the last ReadBase, code %d" % int(server.GetBaseError()))
        server.SetTop(1)
        server.GetNextTovar()
        check(str(server.Name()).startswith(written), "first product %r, written %r"
              % (str(server.Name()), written))
        first = read_file(os.path.join(data, "Base", "Base5.bsd"))[:RECORD]
        check(written.encode("cp1251") in first, "the file's first record %r" % first)
        p.leave()
        errors = {}
        for _, e, _ in results:
            for name, n in e.items():
                errors[name] = errors.get(name, 0) + n
        print("calls %d by 3 clients, %d write and read rounds meanwhile" %
              (sum(r[0] for r in results), rounds))
        for name, n in sorted(errors.items()):
            print("  %-45s %d" % (name, n))
        print("largest reply time %.3f s" % max(r[2] for r in results))
        check("org.freedesktop.DBus.Error.NoReply" not in errors, "a call got no reply")


if __name__ == "__main__":
    {"kills": kills, "load": load}[sys.argv[1]](sys.argv[2])
    print(sys.argv[1] + ": passed")
