"""marlox-probe.exe under Wine: the connection test against each simulator
profile, and `--list --json` through each of the three discovery methods."""
import json
import time
import unittest

from winelab import COMPORT_CLASS, Session

NOBODY = dict(engine_code=None, version=None, protection=None, legacy_engine_code=None,
              legacy_version=None)
OUTCOMES = {
    "tarvex": dict(NOBODY, engine_code="E7TX0421", version="V3.02", protection="none"),
    "protected": dict(NOBODY, engine_code="E7TX0421", version="V3.02", protection="protected"),
    "legacy": dict(NOBODY, legacy_engine_code="E4LG0193", legacy_version="V1.07"),
    "silent": NOBODY,
}

HKLM = "HKEY_LOCAL_MACHINE"
CCS = HKLM + r"\System\CurrentControlSet"
PORTS_CLASS = "{4d36e978-e325-11ce-bfc1-08002be10318}"


def setup_api_port(index, friendly, description, location, port):
    """The keys that make Wine's setup API report one COM-port interface."""
    instance = r"ROOT\PORTS\%04d" % index
    interface = CCS + r"\Control\DeviceClasses\%s\##?#ROOT#PORTS#%04d#%s" % (
        COMPORT_CLASS, index, COMPORT_CLASS)
    device = {"ClassGUID": PORTS_CLASS, "Class": "Ports", "LocationInformation": location}
    if friendly is not None:
        device["FriendlyName"] = friendly
    if description is not None:
        device["DeviceDesc"] = description
    return {
        CCS + "\\Enum\\" + instance: device,
        CCS + "\\Enum\\" + instance + r"\Device Parameters": {"PortName": port},
        interface: {"DeviceInstance": instance},
        interface + r"\#\Control": {"Linked": 1},
    }


def entry(port, friendly, is_usb, description):
    return dict(devicePath="\\\\.\\" + port, portName=port, friendlyName=friendly, isUsb=is_usb,
                description=description)


class ProbeOutcomes(unittest.TestCase):
    def test_profiles_through_ports_key(self):
        with Session("probe-outcomes") as session:
            link = session.port_path("COM5")
            session.sim("COM5", "silent")
            # The documented mapping: the Ports key, read when the server starts.
            session.import_registry({HKLM + r"\Software\Wine\Ports": {"COM5": link}})
            session.restart_server()
            for profile, expected in OUTCOMES.items():
                with self.subTest(profile=profile):
                    for sim in session.sims:
                        sim.stop()
                    session.sim("COM5", profile)
                    start = time.monotonic()
                    status, out, err = session.probe("COM5", "--json")
                    seconds = time.monotonic() - start
                    self.assertEqual(status, 0, err)
                    self.assertEqual(json.loads(out), dict(expected, port="COM5"))
                    print("%s: %.2f s" % (profile, seconds))

            # The full device path form opens the same port.
            status, out, err = session.probe("\\\\.\\COM5", "--json")
            self.assertEqual(status, 0, err)
            self.assertIn('"protection": null', out)

            # A port that nothing maps cannot be opened.
            status, out, err = session.probe("COM9", "--json")
            self.assertEqual(status, 2)
            self.assertIn("Can not open COM Port", err)


class PortListing(unittest.TestCase):
    def test_setup_api_method(self):
        # Wine's default version (6.1) selects the device-interface method.
        keys = {}
        keys.update(setup_api_port(0, "Communications Port (COM5)", "Communications Port", "", "COM5"))
        keys.update(setup_api_port(1, "USB Serial Port (COM7)", "USB Serial Port",
                                   "USB Serial Converter", "COM7"))
        # Without a friendly name an interface is not listed.
        keys.update(setup_api_port(2, None, "Communications Port", "", "COM8"))
        with Session("list-setupapi", registry=keys) as session:
            ports = session.probe_list()
        path = "\\\\?\\root#ports#%04d#" + COMPORT_CLASS
        self.assertEqual(
            [dict(p, devicePath=p["devicePath"].lower()) for p in ports],
            [dict(devicePath=path % 0, portName="", friendlyName="Communications Port (COM5)",
                  isUsb=False, description="Communications Port"),
             dict(devicePath=path % 1, portName="", friendlyName="USB Serial Port (COM7)",
                  isUsb=True, description="USB Serial Port")])

    def test_fixed_range_method(self):
        with Session("list-nt40", version="nt40") as session:
            ports = session.probe_list()
        self.assertEqual(ports, [entry("COM%d" % n, "COM%d" % n, False, "COM%d" % n)
                                 for n in range(1, 17)])

    def test_enum_walk_method(self):
        enum = HKLM + r"\Enum"
        keys = {
            enum + r"\BIOS\*PNP0501\0D": {"PORTNAME": "COM1",
                                          "FRIENDLYNAME": "Communications Port (COM1)"},
            enum + r"\BIOS\*PNP0501\0E": {"PORTNAME": "COM2"},
            enum + r"\ISAPNP\*PNP0500\01": {"FRIENDLYNAME": "No port name (COM4)"},
            # Names are compared case-sensitively: this device is not a port.
            enum + r"\PCI\*pnp0501\00": {"PORTNAME": "COM8"},
            enum + r"\USBPORTS\VID_0403\0000": {"PORTNAME": "COM7",
                                                "FRIENDLYNAME": "USB Serial Port (COM7)"},
            # The same port name again: the first entry takes this one's data.
            enum + r"\USBPORTS\VID_0403\0001": {"PORTNAME": "COM1",
                                                "FRIENDLYNAME": "USB Serial Port (COM1)"},
        }
        with Session("list-win98", version="win98", registry=keys) as session:
            ports = session.probe_list()
        # Wine walks subkeys in name order: BIOS, ISAPNP, PCI, USBPORTS.
        self.assertEqual(ports, [
            entry("COM1", "USB Serial Port (COM1)", True, "USB Serial Port"),
            entry("COM2", "COM2", False, "COM2"),
            entry("COM7", "USB Serial Port (COM7)", True, "USB Serial Port"),
        ])


if __name__ == "__main__":
    unittest.main()
