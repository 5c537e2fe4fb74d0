"""Marlox.exe (x64) under Wine's null display driver, driven by the test driver.

The port under test is COM5, a symlink in the prefix's dosdevices to a
marlox-sim pty. The dialog lists it through the fixed range (version nt40) or
the HKLM\\Enum walk (version win98): the setup API's interface paths cannot be
opened under Wine.
"""
import unittest

from winelab import DIALOG_EXE, Session, by_step, held_exclusively, one

TESTER_FIELDS = (1004, 1005, 1006, 1002, 1003)
COM5 = 4  # index of COM5 in the fixed range COM1..COM16
VK_RETURN = 0x0D
VK_ESCAPE = 0x1B
RESULT_STEPS = ["text", 1004, "text", 1005, "text", 1006, "text", 1002, "text", 1003,
                "text", 1007, "text", 1001]

ENGLISH = {
    "no_respond": "No respond",
    "none": "None",
    "protected": "Protected",
    "cannot_open": "Can not open COM Port",
    "about": "About Marlox",
    "test": "TEST",
    "labels": ["COM Port", "Tarvex ENGINECODE Inquery", "Tarvex Version Inquery",
               "Data Protection", "Legacy Drevik ENGINECODE Inquery",
               "Legacy Drevik Version Inquery"],
    "tips": {
        1002: "New Drevik will not responce.\r\nthis is special commands for Legacy Drevik.",
        1004: "this is command set for the Tarvex.\r\n"
              "it is not communicatable Drevik if not respond this command.",
        1006: "Data Protection.\r\nMarlox shows 'No respond' when incompatible with Tarvex.",
    },
}
JAPANESE = {
    "no_respond": "応答なし",
    "none": "なし",
    "protected": "あり",
    "cannot_open": "ポートが開けません",
    "about": "バージョン情報 Marlox",
    "test": "テスト",
    "labels": ["通信ポート", "Tarvex エンジンコード照会", "Tarvex バージョン照会",
               "データープロテクト", "旧型Drevik エンジンコード照会", "旧型Drevik バージョン照会"],
    "tips": {
        1002: "旧型Drevik特有の照会コマンドで、\r\n新型Drevikは応答しません",
        1004: "Tarvex用の照会コマンドで、\r\n応答しない場合は Tarvex非対応となります。",
        1006: "「あり」の場合はDrevikのデーターにプロテクトがかかっています。\r\n"
              "Tarvex非対応Drevikの場合、「応答なし」となります。",
    },
}
for texts in (ENGLISH, JAPANESE):
    texts["tips"][1003] = texts["tips"][1002]
    texts["tips"][1005] = texts["tips"][1004]


def fields(lines):
    return {line["id"]: line for line in by_step(lines, "text")}


class DialogTestCase(unittest.TestCase):
    def open_dialog(self, session, port_profile="tarvex", *sim_options):
        """Starts a simulator on COM5 and the dialog; COM6 leads nowhere."""
        sim = session.sim("COM5", port_profile, *sim_options)
        session.link_port("COM5", sim.link)
        session.link_port("COM6", session.port_path("nothing-here"))
        self.program = session.start(DIALOG_EXE)
        return sim

    def drive(self, session, *steps):
        status, lines = session.drive(*steps)
        self.assertEqual(status, 0, lines)
        self.assertEqual(by_step(lines, "error"), [])
        return lines

    def assert_results(self, lines, expected, icon_visible):
        got = fields(lines)
        self.assertEqual({i: got[i]["text"] for i in TESTER_FIELDS}, expected)
        self.assertEqual(got[1007]["visible"], icon_visible)
        self.assertTrue(got[1001]["enabled"], "TEST is enabled again")

    def run_test(self, lines, index=0):
        run = by_step(lines, "test")[index]
        self.assertEqual(run["outcome"], "ran", run)
        return run

    def assert_tooltips(self, lines, tips):
        tooltips = one(lines, "tooltips")
        self.assertEqual((tooltips["found"], tooltips["count"], tooltips["maxWidth"]),
                         (True, 5, 320))
        tools = by_step(lines, "tool")
        self.assertEqual([tool["id"] for tool in tools], [1002, 1003, 1004, 1005, 1006])
        for tool in tools:
            self.assertTrue(tool["idIsWindow"], tool)
            # comctl32 copies at most 80 characters of a tip for TTM_GETTEXT: the
            # first line and its line break always fit, the rest may be cut.
            expected = tips[tool["id"]]
            self.assertTrue(expected.startswith(tool["text"]), (tool, expected))
            self.assertIn("\r\n", tool["text"], tool)

    def assert_open_failure(self, popup, first_line):
        """The string table's line, then Windows' reason for the failed open."""
        self.assertEqual(popup["caption"], "Marlox")
        lines = popup["text"].split("\n")
        self.assertEqual(lines[0], first_line)
        self.assertEqual(len(lines), 2, popup)
        self.assertTrue(lines[1].strip(), popup)

    def assert_about(self, popup, caption):
        self.assertEqual(popup["caption"], caption)
        self.assertIn("Marlox Version 1.0i", popup["texts"])
        self.assertTrue(popup["ownedByTester"] and popup["closed"], popup)


class EnglishDialog(DialogTestCase):
    def test_opens_with_ports_tooltips_and_about(self):
        with Session("dialog-open", version="nt40") as session:
            self.open_dialog(session)
            lines = self.drive(session, "dialog", "focus", "controls", "combo", "tooltips",
                               "syscommand", 0x10, "popup", "syscommand", 0x1F, "popup",
                               "dialogs", *RESULT_STEPS, "close")
            ports = session.probe_list()

        combo = one(lines, "combo")
        self.assertEqual(combo["items"], [port["friendlyName"] for port in ports])
        self.assertEqual(combo["items"], ["COM%d" % n for n in range(1, 17)])
        self.assertEqual(combo["selected"], 0)
        # Enlarged by five selection-field heights: Wine reports the dropped
        # rectangle as the list below the field.
        self.assertEqual(combo["droppedHeight"], 5 * combo["fieldHeight"], combo)
        self.assertEqual(one(lines, "focus")["id"], 1000, "the drop-down has the focus")

        controls = by_step(lines, "control")
        labels = [c["text"] for c in controls if c["id"] == -1 and c["class"] == "Static"]
        self.assertEqual(labels, ENGLISH["labels"])
        self.assert_results(lines, dict.fromkeys(TESTER_FIELDS, ""), icon_visible=False)
        self.assertEqual(fields(lines)[1001]["text"], ENGLISH["test"])

        self.assert_tooltips(lines, ENGLISH["tips"])

        # 0x10 is the About entry; the low four bits of a system command are ignored.
        about_boxes = by_step(lines, "popup")
        self.assertEqual(len(about_boxes), 2)
        for popup in about_boxes:
            self.assert_about(popup, ENGLISH["about"])
        self.assertEqual(one(lines, "dialogs")["captions"], [])
        self.assertTrue(one(lines, "close")["closed"])

    def test_unprotected_controller(self):
        with Session("dialog-tarvex", version="nt40") as session:
            self.open_dialog(session, "tarvex")
            lines = self.drive(session, "dialog", "select", COM5, "test", *RESULT_STEPS,
                               "dialogs")
        self.assertEqual(one(lines, "select")["selected"], COM5)
        run = self.run_test(lines)
        self.assertEqual(run["icon"], [False])
        self.assert_results(lines, {1004: "E7TX0421", 1005: "V3.02", 1006: "None",
                                    1002: "No respond", 1003: "No respond"}, icon_visible=False)
        self.assertEqual(one(lines, "dialogs")["captions"], [])

    def test_keyboard_enter_runs_test_and_escape_ends_program(self):
        # Keys go through the program's own message loop and dialog keyboard
        # handling: Enter in the drop-down reaches the default button TEST.
        with Session("dialog-keys", version="nt40") as session:
            self.open_dialog(session, "tarvex")
            lines = self.drive(session, "dialog", "select", COM5, "focus", "testkey", VK_RETURN,
                               *RESULT_STEPS, "key", VK_ESCAPE, "gone")
            exit_status = self.program.wait(10)
        self.assertEqual(one(lines, "focus")["id"], 1000)
        self.run_test(lines)
        self.assertEqual(fields(lines)[1004]["text"], "E7TX0421")
        self.assertTrue(one(lines, "gone")["gone"])
        self.assertEqual(exit_status, 0)

    def test_protected_controller_icon_follows_each_test(self):
        with Session("dialog-protected", version="nt40") as session:
            # A reply delay keeps the icon hidden long enough to be seen hidden.
            self.open_dialog(session, "protected", "--reply-delay", "40")
            lines = self.drive(session, "dialog", "select", COM5, "test", "test",
                               *RESULT_STEPS)
        first, second = self.run_test(lines, 0), self.run_test(lines, 1)
        self.assertEqual(first["icon"], [False, True])
        # The second test hides the icon before its first inquiry and shows it
        # again once the protection inquiry has answered.
        self.assertEqual(second["icon"], [True, False, True])
        self.assert_results(lines, {1004: "E7TX0421", 1005: "V3.02", 1006: "Protected",
                                    1002: "No respond", 1003: "No respond"}, icon_visible=True)

    def test_legacy_controller(self):
        with Session("dialog-legacy", version="nt40") as session:
            self.open_dialog(session, "legacy")
            lines = self.drive(session, "dialog", "select", COM5, "test", *RESULT_STEPS)
        self.assertEqual(self.run_test(lines)["icon"], [False])
        self.assert_results(lines, {1004: "No respond", 1005: "No respond", 1006: "No respond",
                                    1002: "E4LG0193", 1003: "V1.07"}, icon_visible=False)

    def test_silent_port(self):
        with Session("dialog-silent", version="nt40") as session:
            self.open_dialog(session, "silent")
            lines = self.drive(session, "dialog", "select", COM5, "test", *RESULT_STEPS)
        run = self.run_test(lines)
        self.assert_results(lines, dict.fromkeys(TESTER_FIELDS, "No respond"), icon_visible=False)
        # Five inquiries of five empty 101 ms reads each: about 2.5 s. Reported, not bounded.
        print("silent port: TEST disabled for about %d ms (click to enabled)" % run["ms"])

    def test_port_held_by_another_program(self):
        # Wine itself does not enforce exclusive opens. What makes CreateFileA
        # fail here is the kernel: the tty is held in exclusive mode (TIOCEXCL)
        # by another process, as a Linux serial program holds it, and Wine runs
        # without the capability that would let it pass. So this proves the
        # dialog's handling of a port that does not open, not Windows' sharing.
        with Session("dialog-held", version="nt40", without_sys_admin=True) as session:
            sim = self.open_dialog(session, "tarvex")
            before = self.drive(session, "dialog", "select", COM5, "test", *RESULT_STEPS)
            self.run_test(before)
            with held_exclusively(sim.pty):
                lines = self.drive(session, "dialog", "test", "popup", "sleep", 300, "dialogs",
                                   *RESULT_STEPS)

        self.assertEqual(one(lines, "test")["outcome"], "popup")
        popup = one(lines, "popup")
        self.assert_open_failure(popup, ENGLISH["cannot_open"])
        self.assertEqual(popup["buttons"], ["OK"])
        self.assertTrue(popup["ownedByTester"] and popup["closed"], popup)
        # One message box and nothing else: fields, icon and TEST as they were.
        self.assertEqual(one(lines, "dialogs")["captions"], [])
        self.assertEqual(fields(lines), fields(before))


class LegacyPlatform(DialogTestCase):
    """Version win98: the dialog lists what the HKLM\\Enum walk finds."""

    ENUM = r"HKEY_LOCAL_MACHINE\Enum"

    def test_enum_ports_in_list_order_and_tested(self):
        keys = {
            # Walked in key order (BIOS, ISAPNP, USBPORTS); the names are not in
            # sorted order, so a sorting drop-down would show them otherwise.
            self.ENUM + r"\BIOS\*PNP0501\0D": {"PORTNAME": "COM5",
                                               "FRIENDLYNAME": "Zulu serial port (COM5)"},
            self.ENUM + r"\ISAPNP\*PNP0500\00": {"PORTNAME": "COM3",
                                                 "FRIENDLYNAME": "Alpha serial port (COM3)"},
            self.ENUM + r"\USBPORTS\VID_0403\0000": {"PORTNAME": "COM7",
                                                     "FRIENDLYNAME": "Mike USB serial (COM7)"},
        }
        with Session("dialog-win98", version="win98", registry=keys) as session:
            self.open_dialog(session, "tarvex")
            lines = self.drive(session, "dialog", "combo", "test", *RESULT_STEPS)
            ports = session.probe_list()

        combo = one(lines, "combo")
        self.assertEqual(combo["items"], [port["friendlyName"] for port in ports])
        self.assertEqual(combo["items"], ["Zulu serial port (COM5)", "Alpha serial port (COM3)",
                                          "Mike USB serial (COM7)"])
        self.assertEqual(combo["selected"], 0)
        # The first entry is selected, so TEST opens \\.\COM5 without a choice.
        self.run_test(lines)
        self.assert_results(lines, {1004: "E7TX0421", 1005: "V3.02", 1006: "None",
                                    1002: "No respond", 1003: "No respond"}, icon_visible=False)

    def test_empty_port_list_refuses_test(self):
        # HKLM\Enum exists but holds no port: an empty list, not a failure.
        with Session("dialog-empty", version="win98",
                     registry={self.ENUM + r"\Root": {}}) as session:
            self.open_dialog(session)
            lines = self.drive(session, "dialog", "combo", "test", "popup", "sleep", 300,
                               "dialogs", *RESULT_STEPS, "close")

        combo = one(lines, "combo")
        self.assertEqual((combo["count"], combo["selected"]), (0, -1))
        self.assertEqual(one(lines, "test")["outcome"], "popup")
        popup = one(lines, "popup")
        self.assertEqual(popup["caption"], "Marlox")
        self.assertNotEqual(popup["text"], "")
        self.assertTrue(popup["closed"])
        print("refusal message: %r" % popup["text"])
        self.assertEqual(one(lines, "dialogs")["captions"], [])
        self.assert_results(lines, dict.fromkeys(TESTER_FIELDS, ""), icon_visible=False)
        self.assertTrue(one(lines, "close")["closed"])

    def test_discovery_failure_is_shown_and_dialog_goes_on(self):
        # No HKLM\Enum at all: discovery fails while the dialog initialises. The
        # failure is shown in a message box and the dialog opens with no ports.
        with Session("dialog-nokey", version="win98") as session:
            self.open_dialog(session)
            lines = self.drive(session, "popup", "dialog", "combo", "dialogs", "close")

        popup = one(lines, "popup")
        self.assertEqual((popup["caption"], popup["text"]),
                         ("Marlox", "Could not read from HKLM\\Enum"))
        self.assertTrue(popup["closed"])
        combo = one(lines, "combo")
        self.assertEqual((combo["count"], combo["selected"]), (0, -1))
        self.assertEqual(one(lines, "dialogs")["captions"], [])
        self.assertTrue(one(lines, "close")["closed"])


    def test_list_follows_ports_added_and_removed(self):
        zulu = {"PORTNAME": "COM5", "FRIENDLYNAME": "Zulu serial port (COM5)"}
        mike = {"PORTNAME": "COM7", "FRIENDLYNAME": "Mike USB serial (COM7)"}
        enum = self.ENUM.replace("HKEY_LOCAL_MACHINE", "HKLM")
        alpha = enum + r"\ISAPNP\*PNP0500\00"
        usb = enum + r"\USBPORTS\VID_0403\0000"
        keys = {self.ENUM + r"\BIOS\*PNP0501\0D": zulu,
                self.ENUM + r"\USBPORTS\VID_0403\0000": mike}
        with Session("dialog-plug", version="win98", registry=keys) as session:
            self.open_dialog(session)
            lines = self.drive(session, "dialog", "select", 1, "combo")
            self.assertEqual(one(lines, "combo")["selected"], 1)

            # A port appears before the selected one, announced by a burst of messages.
            for name, value in (("PORTNAME", "COM3"), ("FRIENDLYNAME", "Alpha serial port (COM3)")):
                status = session.wine("reg", "add", alpha, "/v", name, "/d", value, "/f")[0]
                self.assertEqual(status, 0)
            plugged = self.drive(session, "dialog", "devicechange", 5, "waitcount", 3, "combo")
            # The same list again: nothing moves.
            same = self.drive(session, "dialog", "select", 2, "devicechange", 1, "sleep", 800,
                              "combo")
            # The selected port goes.
            self.assertEqual(session.wine("reg", "delete", usb, "/f")[0], 0)
            unplugged = self.drive(session, "dialog", "devicechange", 1, "waitcount", 2, "combo")
            # Discovery fails (no HKLM\Enum): the list stays, and no message box comes.
            self.assertEqual(session.wine("reg", "delete", enum, "/f")[0], 0)
            failed = self.drive(session, "dialog", "devicechange", 1, "sleep", 800, "combo",
                                "dialogs", "close")

        wait = one(plugged, "waitcount")
        self.assertTrue(wait["reached"], wait)
        print("posted burst to refilled list: %d ms" % wait["ms"])
        combo = one(plugged, "combo")
        self.assertEqual(combo["items"], ["Zulu serial port (COM5)", "Alpha serial port (COM3)",
                                          "Mike USB serial (COM7)"])
        self.assertEqual(combo["selected"], 2, "still on COM7")
        self.assertEqual(one(same, "combo"), dict(combo, selected=2))

        wait = one(unplugged, "waitcount")
        self.assertTrue(wait["reached"], wait)
        print("posted message to refilled list after removal: %d ms" % wait["ms"])
        combo = one(unplugged, "combo")
        self.assertEqual(combo["items"], ["Zulu serial port (COM5)", "Alpha serial port (COM3)"])
        self.assertEqual(combo["selected"], 0)

        self.assertEqual(one(failed, "combo")["items"], combo["items"])
        self.assertEqual(one(failed, "dialogs")["captions"], [])
        self.assertTrue(one(failed, "close")["closed"])


class JapaneseDialog(DialogTestCase):
    def test_japanese_texts_results_and_about(self):
        with Session("dialog-ja", version="nt40", lang="ja_JP.UTF-8") as session:
            self.open_dialog(session, "tarvex")
            lines = self.drive(session, "dialog", "controls", "tooltips", "select", COM5,
                               "test", *RESULT_STEPS, "select", COM5 + 1, "test", "popup",
                               "syscommand", 0x10, "popup", "close")

        # The driver reads through the W API and prints UTF-8, so these are
        # compared as characters; the program's narrow API works in the
        # manifest's UTF-8 code page, which Wine honours.
        labels = [c["text"] for c in by_step(lines, "control")
                  if c["id"] == -1 and c["class"] == "Static"]
        self.assertEqual(labels, JAPANESE["labels"])
        self.assertEqual(fields(lines)[1001]["text"], JAPANESE["test"])
        self.assert_tooltips(lines, JAPANESE["tips"])

        self.run_test(lines)
        self.assert_results(lines, {1004: "E7TX0421", 1005: "V3.02", 1006: JAPANESE["none"],
                                    1002: JAPANESE["no_respond"], 1003: JAPANESE["no_respond"]},
                            icon_visible=False)

        # COM6 leads to a path that does not exist.
        self.assertEqual(by_step(lines, "test")[1]["outcome"], "popup")
        message, about = by_step(lines, "popup")
        self.assert_open_failure(message, JAPANESE["cannot_open"])
        self.assertEqual(len(message["buttons"]), 1)
        self.assert_about(about, JAPANESE["about"])
        self.assertTrue(one(lines, "close")["closed"])


if __name__ == "__main__":
    unittest.main()
