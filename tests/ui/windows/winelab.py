"""Wine harness for the Windows programs: a ready prefix made once, a private copy
per test, marlox-sim on a pty mapped to a COM port, and the test driver.

Everything a test starts is stopped when its session ends: the wineserver of the
copy is killed (its chatter goes to a file), the simulators are stopped and the
copy is deleted; the session's logs stay until the next run.

Run them with `ctest -L wine` in a Linux build whose MARLOX_WIN64_DIR holds a
built x64 tree; MARLOX_WINE_KEEP=1 keeps each session's prefix as well.
"""
import contextlib
import fcntl
import json
import os
import select
import shutil
import subprocess
import tempfile
import termios

# Set by CTest (tests/ui/windows/CMakeLists.txt).
TEMPLATE = os.environ.get("MARLOX_WINE_TEMPLATE", "")
WORK_ROOT = os.environ.get("MARLOX_WINE_WORK", "")
SIM = os.environ.get("MARLOX_SIM", "")
SHIM = os.environ.get("MARLOX_WINE_SHIM", "")
DRIVER = os.environ.get("MARLOX_WINE_DRIVER", "")
PROBE_EXE = os.environ.get("MARLOX_PROBE_EXE", "")
DIALOG_EXE = os.environ.get("MARLOX_DIALOG_EXE", "")
# The x64 build's CPack configuration, which makes the release ZIP.
CPACK_CONFIG = os.environ.get("MARLOX_CPACK_CONFIG", "")

WINE_ENV = {
    "WINEDEBUG": "-all",
    "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
}
COMPORT_CLASS = "{86e0d1e0-8089-11d0-9ce4-08003e301f73}"
STAMP = ".marlox-template"
# Raised whenever make_template changes what it puts into the prefix.
TEMPLATE_RECIPE = "3"
# What a Japanese Windows has: the Japanese dialog font. Without it Wine chooses by the
# character set the code page implies, and the program's UTF-8 code page implies none with
# Japanese glyphs.
FONT_REPLACEMENTS = {"MS UI Gothic": "Noto Sans CJK JP"}
# Marlett draws the title bars' buttons (its "r" is the close box's cross): fonts-wine has it.
SYSTEM_FONTS = ("/usr/share/wine/fonts/marlett.ttf",)
# The server outlives its last program by this long: long enough to carry a
# test from one program to the next without booting the prefix's services
# again, short enough that a test killed half-way leaves nothing running.
SERVER_LINGER = "-p30"


def wine_version():
    return subprocess.run(["wine", "--version"], capture_output=True, text=True,
                          env=dict(os.environ, **WINE_ENV)).stdout.strip()


def make_template(path):
    """Creates the ready prefix once; a stamp names the Wine that made it, so a
    later run reuses it and a half-made one is never taken for ready."""
    stamp = os.path.join(path, STAMP)
    version = wine_version() + " recipe " + TEMPLATE_RECIPE
    with contextlib.suppress(OSError), open(stamp) as f:
        if f.read() == version:
            return False
    shutil.rmtree(path, ignore_errors=True)
    env = dict(os.environ, WINEPREFIX=path, **WINE_ENV)
    with open(path + ".log", "w") as log:
        subprocess.run(["wine", "wineboot", "-i"], env=env, stdout=log, stderr=log, check=True)
        # The null display driver: dialogs exist and can be driven without an X server.
        subprocess.run(["wine", "reg", "add", r"HKCU\Software\Wine\Drivers", "/v", "Graphics",
                        "/d", "null", "/f"], env=env, stdout=log, stderr=log, check=True)
        for face, replacement in FONT_REPLACEMENTS.items():
            subprocess.run(["wine", "reg", "add", r"HKCU\Software\Wine\Fonts\Replacements",
                            "/v", face, "/d", replacement, "/f"],
                           env=env, stdout=log, stderr=log, check=True)
        subprocess.run(["wineserver", "-w"], env=env, stdout=log, stderr=log, check=True)
    for font in SYSTEM_FONTS:
        shutil.copy(font, os.path.join(path, "drive_c", "windows", "Fonts"))
    with open(stamp, "w") as f:
        f.write(version)
    return True


def copy_prefix(source, target):
    # The DLL folders are only read: hard links make a copy take a fraction of
    # a second. Everything else (registry files, ini files) is copied.
    shared = {os.path.join(source, "drive_c", "windows", name) for name in ("system32", "winsxs")}

    def copy(src, dst):
        if any(src.startswith(folder + os.sep) for folder in shared):
            os.link(src, dst)
        else:
            shutil.copy2(src, dst)

    shutil.copytree(source, target, symlinks=True, copy_function=copy,
                    ignore=shutil.ignore_patterns(STAMP))


def reg_file(keys, header="REGEDIT4"):
    """REGEDIT4 text from {key path: {value name: str or int}} (an empty dict
    makes just the key)."""
    lines = [header, ""]
    for key, values in keys.items():
        lines.append("[" + key + "]")
        for name, value in values.items():
            if isinstance(value, int):
                data = "dword:%08x" % value
            else:
                data = '"' + value.replace("\\", "\\\\").replace('"', '\\"') + '"'
            lines.append('"%s"=%s' % (name, data))
        lines.append("")
    return "\r\n".join(lines) + "\r\n"


class Sim:
    """marlox-sim on a fresh pty, reachable at `link` until stopped."""

    def __init__(self, link, profile="tarvex", *options):
        self.link = link
        self.log = link + ".sim.log"
        self.process = subprocess.Popen(
            [SIM, "--profile", profile, "--link", link, "--log", self.log, *options],
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        ready, _, _ = select.select([self.process.stdout], [], [], 10)
        self.pty = self.process.stdout.readline().strip() if ready else ""
        if not self.pty.startswith("/dev/"):
            self.stop()
            raise RuntimeError("marlox-sim did not start: " + self.pty)

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.process.stdout.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


@contextlib.contextmanager
def held_exclusively(path):
    """Holds a tty the way a serial program does on Linux: open, with the
    kernel's exclusive mode set, so any further open() fails with EBUSY."""
    fd = os.open(path, os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK)
    try:
        fcntl.ioctl(fd, termios.TIOCEXCL)
        yield
    finally:
        with contextlib.suppress(OSError):
            fcntl.ioctl(fd, termios.TIOCNXCL)
        os.close(fd)


class Session:
    """A private copy of the ready prefix with its own wineserver.

    version: Wine's reported Windows version ("nt40", "win98", None for the default).
    registry: keys to add before anything runs (see reg_file).
    lang: LC_ALL for every Wine process of the session.
    env: more environment for them (DISPLAY, for example).
    without_sys_admin: run Wine without CAP_SYS_ADMIN, so that a tty's exclusive
    mode also holds against it when the tests run as root (the wineserver opens
    devices; root would pass the kernel's check).
    """

    def __init__(self, name, version=None, registry=None, lang=None, without_sys_admin=False,
                 env=None):
        if not os.path.isfile(os.path.join(TEMPLATE, STAMP)) or not WORK_ROOT:
            raise RuntimeError("no ready Wine prefix at '%s' or no MARLOX_WINE_WORK" % TEMPLATE)
        os.makedirs(WORK_ROOT, exist_ok=True)
        self.dir = tempfile.mkdtemp(prefix=name + "-", dir=WORK_ROOT)
        print("Wine session and logs:", self.dir)
        self.prefix = os.path.join(self.dir, "prefix")
        self.sims = []
        self.runs = 0
        self.background = []
        self.env = dict(os.environ, WINEPREFIX=self.prefix, LD_PRELOAD=SHIM, **WINE_ENV)
        if lang:
            self.env["LC_ALL"] = lang
        self.env.update(env or {})
        self.launcher = []
        if without_sys_admin and os.geteuid() == 0:
            self.launcher = ["setpriv", "--bounding-set=-sys_admin"]
        try:
            copy_prefix(TEMPLATE, self.prefix)
            # Otherwise every program after a pause of 3 s boots the services again.
            subprocess.run(self.launcher + ["wineserver", SERVER_LINGER], env=self.env, check=True)
            keys = dict(registry or {})
            if version:
                keys[r"HKEY_CURRENT_USER\Software\Wine"] = {"Version": version}
            if keys:
                self.import_registry(keys)
        except BaseException:
            self.close()
            raise

    # --- registry and ports -------------------------------------------------

    def import_registry(self, keys):
        path = os.path.join(self.dir, "keys%d.reg" % (self.runs + 1))
        text = reg_file(keys)
        if text.isascii():
            with open(path, "w", encoding="ascii") as f:
                f.write(text)
        else:  # REGEDIT4 files are in the ANSI code page; version 5 files in UTF-16
            with open(path, "w", encoding="utf-16") as f:
                f.write(reg_file(keys, "Windows Registry Editor Version 5.00"))
        status, _, err = self.wine("regedit", "/S", path, timeout=60)
        if status != 0:
            raise RuntimeError("regedit could not import %s: %s" % (path, err[-500:]))

    def restart_server(self):
        """The Ports key is read when the wineserver starts."""
        self.kill_server()
        subprocess.run(self.launcher + ["wineserver", SERVER_LINGER], env=self.env, check=True)

    def link_port(self, name, target):
        """COMn opens `target` at once; the port is then not in SERIALCOMM."""
        link = os.path.join(self.prefix, "dosdevices", name.lower())
        with contextlib.suppress(FileNotFoundError):
            os.remove(link)
        os.symlink(target, link)

    def port_path(self, name):
        """Where a simulator for port `name` puts its symlink."""
        return os.path.join(self.dir, name.lower())

    def sim(self, port, profile="tarvex", *options):
        sim = Sim(self.port_path(port), profile, *options)
        self.sims.append(sim)
        return sim

    # --- programs ------------------------------------------------------------

    def wine(self, *args, timeout=60):
        """Runs a Windows program and waits for it; returns (status, stdout, stderr)
        as bytes. Output goes through files, not pipes: services that Wine starts
        on the way inherit the handles and would keep a pipe open forever."""
        self.runs += 1
        out_path = os.path.join(self.dir, "run%d.out" % self.runs)
        err_path = os.path.join(self.dir, "run%d.err" % self.runs)
        with open(out_path, "wb") as out, open(err_path, "wb") as err:
            process = subprocess.Popen(self.launcher + ["wine", *args], env=self.env,
                                       stdin=subprocess.DEVNULL, stdout=out, stderr=err)
            try:
                status = process.wait(timeout)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
                raise
        with open(out_path, "rb") as out, open(err_path, "rb") as err:
            return status, out.read(), err.read()

    def start(self, exe, *args):
        out = open(os.path.join(self.dir, os.path.basename(exe) + ".out"), "w")
        process = subprocess.Popen(self.launcher + ["wine", exe, *args], env=self.env,
                                   stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT)
        self.background.append((process, out))
        return process

    def probe(self, *args):
        """marlox-probe.exe: (exit status, stdout, stderr) as text."""
        status, out, err = self.wine(PROBE_EXE, *args)
        return status, out.decode("utf-8", "replace"), err.decode("utf-8", "replace")

    def probe_list(self):
        status, out, err = self.probe("--list", "--json")
        if status != 0:
            raise AssertionError("marlox-probe --list failed (%d): %s" % (status, err))
        return json.loads(out)

    def drive(self, *steps):
        """Runs the test driver; returns its status and its report lines."""
        status, out, _ = self.wine(DRIVER, *[str(step) for step in steps], timeout=180)
        lines = [json.loads(raw) for raw in out.decode("utf-8").splitlines() if raw.strip()]
        return status, lines

    # --- the end ---------------------------------------------------------------

    def kill_server(self):
        with open(os.path.join(self.dir, "wineserver.log"), "a") as log:
            subprocess.run(["wineserver", "-k"], env=self.env, stdout=log, stderr=log)
            subprocess.run(["wineserver", "-w"], env=self.env, stdout=log, stderr=log)

    def close(self):
        self.kill_server()
        for process, out in self.background:
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
            out.close()
        for sim in self.sims:
            sim.stop()
        # The logs stay (a few KB) for a failure to be looked into; the next
        # run's fixture clears them.
        if not os.environ.get("MARLOX_WINE_KEEP"):
            shutil.rmtree(self.prefix, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


def by_step(lines, step):
    return [line for line in lines if line.get("step") == step]


def one(lines, step):
    found = by_step(lines, step)
    if len(found) != 1:
        raise AssertionError("expected one '%s' line, got %r" % (step, lines))
    return found[0]

