"""Regenerates docs/screenshots/marlox-en.png and marlox-ja.png, and the same at
144 dpi (marlox-en-144dpi.png, marlox-ja-144dpi.png): Marlox.exe under Wine on
Xvfb, in a Wine virtual desktop (which draws the title bar), after a test
against a protected controller. Not part of the test suite.

    python3 tests/ui/windows/take_screenshots.py BUILD_DIR [WIN64_DIR]

BUILD_DIR is a Linux build with the Wine test targets built (marlox-sim, the
shim, the driver); WIN64_DIR defaults to BUILD_DIR's MARLOX_WIN64_DIR.
"""
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "..", "docs", "screenshots")


def configure(build, win64):
    build = os.path.abspath(build)  # Wine takes only absolute prefix paths
    if win64 is None:
        with open(os.path.join(build, "CMakeCache.txt")) as cache:
            win64 = re.search(r"^MARLOX_WIN64_DIR:\w+=(.*)$", cache.read(), re.M).group(1)
    tests = os.path.join(build, "tests", "ui", "windows")
    os.environ.update(
        MARLOX_WINE_TEMPLATE=os.path.join(tests, "wineprefix"),
        MARLOX_WINE_WORK=os.path.join(tests, "runs"),
        MARLOX_WINE_SHIM=os.path.join(tests, "marlox_parity_shim.so"),
        MARLOX_WINE_DRIVER=os.path.join(tests, "marlox-wine-driver.exe"),
        MARLOX_SIM=os.path.join(build, "tools", "sim", "marlox-sim"),
        MARLOX_PROBE_EXE=os.path.join(win64, "tools", "probe", "marlox-probe.exe"),
        MARLOX_DIALOG_EXE=os.path.join(win64, "ui", "Marlox.exe"))


def start_xvfb():
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
                             "-nolisten", "tcp"], pass_fds=(write,), stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as f:
        display = ":" + f.readline().strip()
    return xvfb, display


def shoot(winelab, display, lang, name, dpi=96):
    desktop = {
        r"HKEY_CURRENT_USER\Software\Wine\Drivers": {"Graphics": "x11"},
        r"HKEY_CURRENT_USER\Software\Wine\Explorer": {"Desktop": "Default"},
        r"HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops": {"Default": "1024x768"},
        r"HKEY_CURRENT_USER\Control Panel\Desktop": {"LogPixels": dpi},
    }
    with winelab.Session("shot-" + name, version="nt40", registry=desktop, lang=lang,
                         env={"DISPLAY": display}) as session:
        session.restart_server()  # the dpi is read when the server starts
        sim = session.sim("COM5", "protected")
        session.link_port("COM5", sim.link)
        session.start(winelab.DIALOG_EXE)
        session.drive("dialog")
        # The desktop puts the pointer in the screen's centre, over a result
        # field, whose tooltip would cover the dialog: move it to a corner.
        subprocess.run(["xdotool", "mousemove", "2", "2"], env=dict(os.environ, DISPLAY=display),
                       check=True)
        status, lines = session.drive("dialog", "select", 4, "test", "sleep", 1000, "rect")
        if status != 0:
            sys.exit("driver failed: %r" % lines)
        rect = winelab.one(lines, "rect")
        full = os.path.join(session.dir, "screen.png")
        subprocess.run(["import", "-display", display, "-window", "root", full], check=True)
        geometry = "%dx%d+%d+%d" % (rect["right"] - rect["left"], rect["bottom"] - rect["top"],
                                    rect["left"], rect["top"])
        target = os.path.join(OUT, name + ".png")
        subprocess.run(["convert", full, "-crop", geometry, "+repage", "-strip", target],
                       check=True)
        session.drive("dialog", "close")
        print("wrote", os.path.normpath(target))


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    configure(sys.argv[1], sys.argv[2] if len(sys.argv) == 3 else None)
    sys.dont_write_bytecode = True  # no __pycache__ in the source tree
    import winelab  # reads the paths set above
    winelab.make_template(winelab.TEMPLATE)
    os.makedirs(OUT, exist_ok=True)
    xvfb, display = start_xvfb()
    try:
        shoot(winelab, display, None, "marlox-en")
        shoot(winelab, display, "ja_JP.UTF-8", "marlox-ja")
        shoot(winelab, display, None, "marlox-en-144dpi", dpi=144)
        shoot(winelab, display, "ja_JP.UTF-8", "marlox-ja-144dpi", dpi=144)
    finally:
        xvfb.terminate()
        xvfb.wait()


if __name__ == "__main__":
    main()
