"""Faults of the controller and the port during TEST, for Marlox.exe under Wine:
whatever happens, the program goes on, the port is closed afterwards, TEST is
enabled again and each field shows what the link made of what arrived.

"Closed" is checked on the Linux side: no process of the session's Wine (the
program, its wineserver) keeps a descriptor on the simulator's pty.
"""
import os
import stat
import unittest

from test_dialog import COM5, ENGLISH, RESULT_STEPS, TESTER_FIELDS, DialogTestCase, fields
from winelab import Session, by_step, one

NO_RESPOND = dict.fromkeys(TESTER_FIELDS, ENGLISH["no_respond"])
DUAL_TEXTS = ("--engine-code", "E1WN0001", "--version", "V9.87",
              "--legacy-engine-code", "E2WN0002", "--legacy-version", "V6.54")
DUAL_ANSWERS = {1004: "E1WN0001", 1005: "V9.87", 1006: "None", 1002: "E2WN0002", 1003: "V6.54"}


def session_processes(session):
    """The pids whose environment names the session's prefix."""
    marker = ("WINEPREFIX=" + session.prefix).encode()
    pids = []
    for name in os.listdir("/proc"):
        if not name.isdigit():
            continue
        try:
            with open("/proc/%s/environ" % name, "rb") as f:
                if marker in f.read().split(b"\0"):
                    pids.append(int(name))
        except OSError:
            continue  # gone meanwhile
    return pids


def holding(pids, device):
    """Those of pids with a descriptor on the character device."""
    found = []
    for pid in pids:
        try:
            fds = os.listdir("/proc/%d/fd" % pid)
        except OSError:
            continue
        for fd in fds:
            try:
                info = os.stat("/proc/%d/fd/%s" % (pid, fd))
            except OSError:
                continue
            if stat.S_ISCHR(info.st_mode) and info.st_rdev == device:
                found.append(pid)
                break
    return found


class FaultInjection(DialogTestCase):
    def assert_port_closed(self, session, sim, device):
        wine = session_processes(session)
        self.assertTrue(wine, "the session's Wine processes are found")
        self.assertEqual(holding(wine, device), [], "a Wine process still holds the port")
        if sim.process.poll() is None:
            # The same look finds the simulator's own descriptor on the pty.
            self.assertEqual(holding([sim.process.pid], device), [sim.process.pid])

    def test_hang_up_mid_test(self):
        with Session("faults-hangup", version="nt40") as session:
            # Half of the protection reply, then the controller closes the line and is gone.
            sim = self.open_dialog(session, "dual", *DUAL_TEXTS, "--hang-up", "--fault-on", "AD")
            device = os.stat(sim.pty).st_rdev
            lines = self.drive(session, "dialog", "select", COM5, "test", *RESULT_STEPS)
            self.assertEqual(sim.process.wait(5), 0)
            self.assert_port_closed(session, sim, device)
            # A controller on the same port again: the next TEST opens and answers.
            session.sim("COM5", "dual", *DUAL_TEXTS)
            again = self.drive(session, "dialog", "test", *RESULT_STEPS)

        self.run_test(lines)
        self.assert_results(lines, {1004: "E1WN0001", 1005: "V9.87", 1006: "No respond",
                                    1002: "No respond", 1003: "No respond"}, icon_visible=False)
        self.run_test(again)
        self.assert_results(again, DUAL_ANSWERS, icon_visible=False)

    def test_port_vanishes_between_discovery_and_test(self):
        with Session("faults-vanish", version="nt40") as session:
            sim = self.open_dialog(session, "protected")
            device = os.stat(sim.pty).st_rdev
            before = self.drive(session, "dialog", "select", COM5, "test", *RESULT_STEPS)
            self.assert_port_closed(session, sim, device)
            sim.stop()  # its pty and the link COM5 leads through are gone
            self.assertFalse(os.path.lexists(sim.link))
            lines = self.drive(session, "dialog", "test", "popup", "sleep", 300, "dialogs",
                               *RESULT_STEPS)
            session.sim("COM5", "tarvex")
            again = self.drive(session, "dialog", "test", *RESULT_STEPS)

        self.run_test(before)
        self.assertEqual(one(lines, "test")["outcome"], "popup")
        popup = one(lines, "popup")
        self.assert_open_failure(popup, ENGLISH["cannot_open"])
        self.assertTrue(popup["closed"], popup)
        self.assertEqual(one(lines, "dialogs")["captions"], [])
        # Nothing changed: the last test's fields and icon stay, TEST is usable.
        self.assertEqual(fields(lines), fields(before))
        self.assertTrue(fields(lines)[1007]["visible"])
        self.assertTrue(fields(lines)[1001]["enabled"])
        self.run_test(again)
        self.assertEqual(fields(again)[1004]["text"], "E7TX0421")

    def test_garbage_flood_for_the_whole_test(self):
        with Session("faults-flood", version="nt40") as session:
            # 55 AA without end: every frame read from it fails its checksum.
            sim = self.open_dialog(session, "dual", "--flood")
            device = os.stat(sim.pty).st_rdev
            lines = self.drive(session, "dialog", "select", COM5, "test", *RESULT_STEPS,
                               "test", *RESULT_STEPS)
            self.assert_port_closed(session, sim, device)

        runs = by_step(lines, "test")
        self.assertEqual([run["outcome"] for run in runs], ["ran", "ran"])
        results = by_step(lines, "text")
        half = len(results) // 2
        for run_lines in (results[:half], results[half:]):
            self.assert_results(run_lines, NO_RESPOND, icon_visible=False)

    def test_replies_with_253_data_bytes(self):
        with Session("faults-long", version="nt40") as session:
            # F3, AD and 6B answer with their data padded by '#' to 253 bytes, of
            # which 128 reach the reply area; F5 and 6C answer short after them.
            sim = self.open_dialog(session, "dual", "--long-reply", "--fault-on", "F3",
                                   "--fault-on", "AD", "--fault-on", "6B",
                                   "--engine-code", "E1WN", "--version", "V9",
                                   "--legacy-engine-code", "E2WN", "--legacy-version", "V6")
            device = os.stat(sim.pty).st_rdev
            lines = self.drive(session, "dialog", "select", COM5, "test", *RESULT_STEPS,
                               "test", *RESULT_STEPS)
            self.assert_port_closed(session, sim, device)

        runs = by_step(lines, "test")
        self.assertEqual([run["outcome"] for run in runs], ["ran", "ran"])
        results = by_step(lines, "text")
        half = len(results) // 2
        # A long text fills its window; a short one after it shows nothing of
        # it. Eight spaces followed by '#' instead of a zero is a protected answer.
        expected = {1004: "E1WN####", 1005: "V9", 1006: "Protected", 1002: "E2WN####",
                    1003: "V6"}
        for run_lines in (results[:half], results[half:]):
            self.assert_results(run_lines, expected, icon_visible=True)

if __name__ == "__main__":
    unittest.main()
