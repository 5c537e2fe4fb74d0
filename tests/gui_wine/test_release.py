"""The Windows release ZIP's own x64 program under Wine, extracted from a ZIP made by the x64
build's CPack configuration. It keeps the name Marlox.exe, which the framework makes the
caption of every message box, and it starts with Wine reporting Windows 95 (its ports from
HKLM\\Enum) and NT 4.0 (the fixed range), the systems whose discovery methods it carries."""
import os
import subprocess
import tempfile
import unittest
import zipfile

from winelab import CPACK, CPACK_CONFIG, WORK_ROOT, Session, by_step, one

# (Windows version, driver steps that bring up a message box, the box's first line)
OLD_SYSTEMS = (
    # No HKLM\Enum: the registry walk fails while the dialog initialises.
    ("win95", ["popup", "dialog"], "Could not read from HKLM\\Enum"),
    # COM6 of the fixed range leads nowhere: TEST cannot open it.
    ("nt40", ["dialog", "select", 5, "test", "popup"], "Can not open COM Port"),
)


class ReleaseZip(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        os.makedirs(WORK_ROOT, exist_ok=True)
        cls.dir = tempfile.mkdtemp(prefix="release-", dir=WORK_ROOT)
        with open(os.path.join(cls.dir, "cpack.log"), "w") as log:
            subprocess.run([CPACK, "-G", "ZIP", "--config", CPACK_CONFIG, "-B", cls.dir],
                           stdout=log, stderr=log, check=True, timeout=120)
        [name] = [name for name in os.listdir(cls.dir) if name.endswith("-windows.zip")]
        with zipfile.ZipFile(os.path.join(cls.dir, name)) as archive:
            cls.program = archive.extract("x64/Marlox.exe", cls.dir)

    def test_x64_program_starts_on_old_windows_and_captions_its_boxes_marlox(self):
        for version, steps, text in OLD_SYSTEMS:
            with self.subTest(version=version), Session("release-" + version,
                                                        version=version) as session:
                session.link_port("COM6", session.port_path("nothing-here"))
                session.start(self.program)
                status, lines = session.drive(*steps, "close")
                self.assertEqual((status, by_step(lines, "error")), (0, []), lines)
                popup = one(lines, "popup")
                self.assertEqual(popup["caption"], "Marlox")
                self.assertTrue(popup["text"].startswith(text), popup)
                self.assertTrue(one(lines, "close")["closed"])


if __name__ == "__main__":
    unittest.main()
