#!/usr/bin/env python3
"""Drives `zelbase /AUTOMATION` on the demo line from a separate D-Bus client.

Usage: automation_e2e.py PATH_TO_ZELBASE. Needs a session bus (the test
command runs under dbus-run-session) and python3-dbus. With --activated it
is the client inside a bus of its own that starts the program by D-Bus
activation.
"""
import os
import subprocess
import sys
import tempfile
import time

import dbus
import dbus.bus

TIMEOUT_S = 60


def wait_for(predicate, what, timeout=TIMEOUT_S):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if predicate():
            return
        time.sleep(0.05)
    raise AssertionError("timed out waiting for " + what)


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def run_exchange(server, start, what):
    check(int(start()) == 1, what + " did not start, code %d" % int(server.GetBaseError()))
    wait_for(lambda: int(server.BaseStatus()) == 2, what + " to end")
    check(int(server.GetBaseError()) == 0, what + " ended with code %d" % int(server.GetBaseError()))


def registration(exe, env, data):
    services = os.path.join(env["XDG_DATA_HOME"], "dbus-1", "services", "Zhrm.Server.service")
    interfaces = os.path.join(env["XDG_DATA_HOME"], "dbus-1", "interfaces", "Zhrm.IServer.xml")
    subprocess.run([exe, "--data-dir", data, "/REGSERVER"], env=env, check=True, timeout=30)
    text = open(services, encoding="utf-8").read()
    check("Exec=" + os.path.abspath(exe) in text and "/AUTOMATION" in text, "service file: " + text)
    check("--data-dir" in text, "service file lacks --data-dir: " + text)
    check("DispId" in open(interfaces, encoding="utf-8").read(), "interface XML lacks DispId")
    subprocess.run([exe, "-unregserver"], env=env, check=True, timeout=30)
    check(not os.path.exists(services) and not os.path.exists(interfaces), "files left behind")
    subprocess.run([exe, "--demo", "--data-dir", data, "/REGSERVER"], env=env, check=True,
                   timeout=30)
    text = open(services, encoding="utf-8").read()
    check(" --demo" in text and "--data-dir" in text, "service file lacks --demo: " + text)
    return services


def products(server, count):
    server.SetTop(1)
    rows = []
    for _ in range(count):
        check(int(server.GetNextTovar()) == 1, "GetNextTovar refused")
        rows.append((str(server.Name()), str(server.Price()), str(server.Section()),
                     str(server.Sh_Code()), str(server.Uchet())))
    return rows


def drive(server):
    # The program loads its settings and base files first, serving calls meanwhile.
    wait_for(lambda: int(server.BaseStatus()) == 2, "the start-up load")
    check(int(server.SelectBase(dbus.String("5"))) == 1, "SelectBase(5), code %d" % int(server.GetBaseError()))
    check(int(server.SetRange(1, 20)) == 1, "SetRange(1, 20)")
    run_exchange(server, server.ReadBase, "ReadBase")
    rows = products(server, 20)
    check(all(r[0].strip() for r in rows), "empty names read: %r" % rows[:3])
    check(all("." in r[1] for r in rows), "prices: %r" % rows[:3])

    server.SetTop(1)
    check(int(server.AddTovar("Тест", "12,5", dbus.Int32(3), "460000000011")) == 1,
          "AddTovar refused, code %d" % int(server.GetBaseError()))
    run_exchange(server, server.WriteBase, "WriteBase")
    run_exchange(server, server.ReadBase, "ReadBase after WriteBase")
    first = products(server, 1)[0]
    check(first[0].startswith("ТЕСТ") and first[1] == "12.50" and first[3] == "460000000011",
          "written product read back as %r" % (first,))

    check(int(server.ReadBlockKL()) == 1, "ReadBlockKL")
    slots = int(server.SlotKLCount())
    check(slots >= 2, "slot count %d" % slots)
    server.SetTopBlockKL()
    check(int(server.GetNextBlockKL()) == 1, "GetNextBlockKL")
    check(str(server.KLNumber()).strip() != "", "KLNumber empty")
    run_exchange(server, lambda: server.ReadKL(dbus.Int32(1)), "ReadKL(1)")
    server.SetTopTovarKL()
    check(int(server.GetNextTovarKL()) == 1, "no purchase in slot 1")


def drive_with_doubles(server):
    # A COM client passes numbers as doubles (VT_R8) in every VARIANT.
    check(int(server.SelectBase(dbus.Double(5.0))) == 1,
          "SelectBase(5.0), code %d" % int(server.GetBaseError()))
    check(int(server.SetRange(1, 20)) == 1, "SetRange(1, 20)")
    server.SetTop(1)
    check(int(server.AddTovar(dbus.Double(7.0), dbus.Double(0.5), dbus.Double(3.0),
                              dbus.Double(4600000000028.0))) == 1,
          "AddTovar of doubles refused, code %d" % int(server.GetBaseError()))
    first = products(server, 1)[0]
    check(first[0].startswith("7") and first[1] == "0.50" and first[2] == "3"
          and first[3] == "460000000002", "product of doubles stored as %r" % (first,))
    check(int(server.ReadBlockKL()) == 1, "ReadBlockKL")
    run_exchange(server, lambda: server.ReadKL(dbus.Double(1.0)), "ReadKL(1.0)")
    try:
        server.SelectBase(dbus.Boolean(True))
        raise AssertionError("SelectBase(true) answered")
    except dbus.DBusException as e:
        check(e.get_dbus_name() == "Zhrm.Error.Failed", "SelectBase(true): " + str(e))


def activated():
    """Inside a bus of its own whose activation file starts the program."""
    bus = dbus.SessionBus()
    check(not bus.name_has_owner("Zhrm.Server"), "Zhrm.Server runs before activation")
    server = dbus.Interface(bus.get_object("Zhrm.Server", "/Server"), "Zhrm.IServer")
    # The very first call starts the program; it is served, not refused as busy.
    check(int(server.SelectBase(dbus.Double(5.0))) == 1,
          "first SelectBase after activation, code %d" % int(server.GetBaseError()))
    check(int(server.GetBaseError()) == 0, "first SelectBase left a code")
    watcher = dbus.bus.BusConnection(os.environ["DBUS_SESSION_BUS_ADDRESS"])
    bus.close()
    wait_for(lambda: not watcher.name_has_owner("Zhrm.Server"), "the activated program to end")
    print("activation: passed")


def main():
    if sys.argv[1] == "--activated":
        activated()
        return
    exe = sys.argv[1]
    with tempfile.TemporaryDirectory() as tmp:
        env = dict(os.environ, XDG_DATA_HOME=os.path.join(tmp, "xdg"), QT_QPA_PLATFORM="offscreen")
        data = os.path.join(tmp, "data")
        registration(exe, env, data)
        bus = dbus.SessionBus()
        check(not bus.name_has_owner("Zhrm.Server"), "another Zhrm.Server is running")
        proc = subprocess.Popen([exe, "--demo", "--data-dir", data, "/AUTOMATION"], env=env)
        try:
            wait_for(lambda: bus.name_has_owner("Zhrm.Server"), "Zhrm.Server on the bus")
            server = dbus.Interface(bus.get_object("Zhrm.Server", "/Server"), "Zhrm.IServer")
            drive(server)
            drive_with_doubles(server)
            check(os.path.getsize(os.path.join(data, "Base", "Base5.bsd")) == 12288 * 77,
                  "Base5.bsd size")
            bus.close()
            # The last client has left: the program ends by itself.
            proc.wait(timeout=TIMEOUT_S)
            check(proc.returncode == 0, "exit code %d" % proc.returncode)
        finally:
            if proc.poll() is None:
                proc.kill()
        # D-Bus activation, on a bus of its own that reads the activation
        # file registered above.
        subprocess.run(["dbus-run-session", "--", sys.executable, os.path.abspath(__file__),
                        "--activated"], env=env, check=True, timeout=TIMEOUT_S * 2)
    print("automation end-to-end: passed")


if __name__ == "__main__":
    main()
