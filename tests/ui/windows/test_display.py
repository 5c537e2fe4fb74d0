"""Marlox.exe under Wine with its manifest: the dialog at 96 and 144 dpi, the
WM_DPICHANGED handler, and port names outside the system code page.

At 144 dpi the template's dialog units make the dialog about 1.5 times its
96-dpi size, with every control inside its client area. At either dpi every
label shows its whole text, and what the template fits stays in place. A port
whose name has characters of no single code page shows them whole only when the
manifest's UTF-8 code page is in effect (Windows 10 1903 and later, and Wine 8).
"""
import unittest

from winelab import DIALOG_EXE, Session, by_step, one

DESKTOP = r"HKEY_CURRENT_USER\Control Panel\Desktop"
FONTS = r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts"
ENUM = r"HKEY_LOCAL_MACHINE\Enum"
# Latin, Greek, Cyrillic, kana, kanji and a check mark: no ANSI code page holds them all.
WORLDWIDE_PORT = "Café Ελλάδα Порт シリアル 串口 ✓ (COM5)"


def dpi_registry(dpi):
    return {DESKTOP: {"LogPixels": dpi}, FONTS: {"LogPixels": dpi}}


class DisplayTestCase(unittest.TestCase):
    def drive(self, session, *steps):
        status, lines = session.drive(*steps)
        self.assertEqual(status, 0, lines)
        self.assertEqual(by_step(lines, "error"), [])
        return lines

    def layout(self, dpi, lang=None):
        """The dialog's window rectangle, client size and control rectangles at dpi."""
        with Session("dpi%d" % dpi, version="nt40", registry=dpi_registry(dpi),
                     lang=lang) as session:
            session.restart_server()  # the dpi is read when the server starts
            session.start(DIALOG_EXE)
            return self.drive(session, "dialog", "rect", "layout", "close")

    def assert_texts_fit(self, lines):
        """Every label's text fits. Columns widen only from the right edge of the leftmost label
        that the template alone cuts: nothing left of it changes, nothing moves left."""
        items, template = by_step(lines, "item"), by_step(lines, "templateitem")
        labels = [item for item in items if "textWidth" in item]
        self.assertEqual(len(labels), 6)
        self.assertTrue(all(i["textWidth"] <= i["clientWidth"] for i in labels), labels)
        cut = [t["right"] for t in template if t.get("textWidth", 0) > t.get("clientWidth", 0)]
        edge = min(cut, default=None)
        for now, was in zip(map(box, items), map(box, template), strict=True):
            self.assertEqual(now[1::2], was[1::2])  # rows keep their place and height
            if edge is None or was[2] < edge:
                self.assertEqual(now, was)
            else:
                self.assertTrue(now[2] >= was[2] and (now[0] == was[0] or now[0] > was[0] >= edge),
                                (now, was, edge))
        if edge is None:  # the template's dialog to the pixel
            self.assertEqual(one(lines, "client") | {"step": ""},
                             one(lines, "templateclient") | {"step": ""})

    def assert_inside(self, lines):
        client = one(lines, "client")
        items = by_step(lines, "item")
        self.assertEqual(len(items), 16)
        for item in items:
            self.assertTrue(0 <= item["left"] < item["right"] <= client["width"] and
                            0 <= item["top"] < item["bottom"] <= client["height"],
                            (item, client))


def size(rect):
    return rect["right"] - rect["left"], rect["bottom"] - rect["top"]


def box(rect):
    return rect["left"], rect["top"], rect["right"], rect["bottom"]


class HighDpi(DisplayTestCase):
    def check_scaling(self, lang):
        normal = self.layout(96, lang)
        large = self.layout(144, lang)
        for lines in (normal, large):
            self.assert_inside(lines)
            self.assert_texts_fit(lines)
        for step in ("client",):
            small_size = one(normal, step)
            large_size = one(large, step)
            for key in ("width", "height"):
                ratio = large_size[key] / small_size[key]
                print("%s %s: %d -> %d (%.2f)" % (lang or "en", key, small_size[key],
                                                   large_size[key], ratio))
                self.assertTrue(1.35 <= ratio <= 1.65, (key, small_size, large_size))
        (w96, h96), (w144, h144) = size(one(normal, "rect")), size(one(large, "rect"))
        print("window: %dx%d -> %dx%d" % (w96, h96, w144, h144))
        self.assertTrue(1.3 <= w144 / w96 <= 1.65 and 1.3 <= h144 / h96 <= 1.65)

    def test_english_dialog_at_144_dpi(self):
        self.check_scaling(None)

    def test_japanese_dialog_at_144_dpi(self):
        self.check_scaling("ja_JP.UTF-8")

    def test_dpi_change_takes_the_suggested_rectangle(self):
        with Session("dpichanged", version="nt40") as session:
            session.start(DIALOG_EXE)
            lines = self.drive(session, "dialog", "rect", "layout")
            before = one(lines, "rect")
            laid_out = by_step(lines, "item")
            width, height = size(before)
            suggested = [40, 30, 40 + width * 3 // 2, 30 + height * 3 // 2]
            lines = self.drive(session, "dialog", "dpichanged", 144, *suggested, "rect",
                               "layout", "close")
        after = one(lines, "rect")
        self.assertEqual([after[k] for k in ("left", "top", "right", "bottom")], suggested)
        self.assert_inside(lines)
        # Wine keeps the fonts and the controls: the texts fit as before, and nothing moves.
        self.assert_texts_fit(lines)
        self.assertEqual(by_step(lines, "item"), laid_out)


class NarrowTexts(DisplayTestCase):
    def test_port_name_outside_the_code_page(self):
        keys = {ENUM + r"\ROOT\*PNP0501\0000": {"PORTNAME": "COM5",
                                                 "FRIENDLYNAME": WORLDWIDE_PORT}}
        with Session("utf8", version="win98", registry=keys, lang="ja_JP.UTF-8") as session:
            session.start(DIALOG_EXE)
            lines = self.drive(session, "dialog", "combo", "close")
            # marlox-probe.exe has no manifest: the same name through the locale's code
            # page (932) loses what that cannot hold, so the name does tell them apart.
            without_manifest = session.probe_list()[0]["friendlyName"]
        self.assertEqual(one(lines, "combo")["items"], [WORLDWIDE_PORT])
        self.assertNotEqual(without_manifest, WORLDWIDE_PORT)
        self.assertIn("?", without_manifest)


if __name__ == "__main__":
    unittest.main()
