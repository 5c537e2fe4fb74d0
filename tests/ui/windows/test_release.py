"""The release ZIP's own x64 program, from a ZIP made with the x64 build's CPack configuration:
it keeps the name Marlox.exe, which captions its message boxes, and starts as Windows 95 and
NT 4.0, the systems of the registry walk and the fixed range."""
import os
import subprocess
import tempfile
import unittest
import zipfile

from winelab import CPACK_CONFIG, WORK_ROOT, Session, one

# Windows version, driver steps that bring up a message box, and that box's first line: with no
# HKLM\Enum the registry walk fails at start; COM6 of the fixed range leads nowhere.
OLD_SYSTEMS = (("win95", ["popup", "dialog"], "Could not read from HKLM\\Enum"),
               ("nt40", ["dialog", "select", 5, "test", "popup"], "Can not open COM Port"))


class ReleaseZip(unittest.TestCase):
    def test_x64_program_starts_on_old_windows_and_captions_its_boxes_marlox(self):
        os.makedirs(WORK_ROOT, exist_ok=True)
        folder = tempfile.mkdtemp(prefix="release-", dir=WORK_ROOT)
        subprocess.run(["cpack", "-G", "ZIP", "--config", CPACK_CONFIG, "-B", folder],
                       capture_output=True, check=True, timeout=120)
        [name] = [name for name in os.listdir(folder) if name.endswith("-windows.zip")]
        with zipfile.ZipFile(os.path.join(folder, name)) as archive:
            program = archive.extract("x64/Marlox.exe", folder)
        for version, steps, text in OLD_SYSTEMS:
            with self.subTest(version), Session("release-" + version, version=version) as session:
                session.link_port("COM6", session.port_path("nothing-here"))
                session.start(program)
                status, lines = session.drive(*steps, "close")
                popup = one(lines, "popup")
                self.assertEqual((status, popup["caption"], popup["text"][:len(text)]),
                                 (0, "Marlox", text), lines)
                self.assertTrue(one(lines, "close")["closed"])


if __name__ == "__main__":
    unittest.main()
