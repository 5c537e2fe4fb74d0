#!/usr/bin/env python3
"""Writes the seeds of fuzz_registry and fuzz_sysfs into corpus/. Both targets read their
input through libFuzzer's FuzzedDataProvider: numbers from the end of the input, strings
from the front. Input builds each input in the order the target consumes it."""

import os

HERE = os.path.dirname(os.path.abspath(__file__))


class Input:
    def __init__(self):
        self.front = bytearray()
        self.back = bytearray()  # in the order consumed

    def number(self, value, largest):
        """ConsumeIntegralInRange(0, largest) returning value."""
        if largest > 255:
            self.back += bytes([value >> 8, value & 0xFF])
        else:
            self.back.append(value)

    def flag(self, value):
        self.back.append(1 if value else 0)

    def string(self, text):
        """ConsumeRandomLengthString: a backslash doubled, backslash + other byte ends it."""
        data = text if isinstance(text, bytes) else text.encode("latin-1")
        self.front += data.replace(b"\\", b"\\\\") + b"\\E"

    def bytes(self):
        return bytes(self.front) + bytes(reversed(self.back))


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# fuzz_registry ----------------------------------------------------------------------------

REGISTRY_NAMES = ["Enum", "USBPORTS", "usbports", "*PNP0500", "*PNP0501", "*pnp0501",
                  "*PNP05011", "BIOS", "ROOT", "0000", "0D", "PNP0501"]


def registry_name(inp, name):
    if name in REGISTRY_NAMES:
        inp.number(REGISTRY_NAMES.index(name), 15)
    else:
        inp.number(15, 15)
        inp.string(name)


def registry_value(inp, data):
    if data is None:
        inp.number(0, 3)
        return
    inp.number(1, 3)
    terminated = not data.endswith("!raw")
    inp.string(data if terminated else data[:-4])
    inp.flag(terminated)


def registry_key(inp, depth, key):
    """key: (name, refuses, children) or, at depth 4, (name, refuses, portName, friendlyName)."""
    name, refuses = key[0], key[1]
    if depth == 1:
        if name == "Enum":
            inp.number(1, 7)
        else:
            inp.number(0, 7)
            registry_name(inp, name)
    else:
        registry_name(inp, name)
    inp.number(0 if refuses else 1, 15)
    if depth == 4:
        registry_value(inp, key[2])
        registry_value(inp, key[3])
        return
    inp.number(len(key[2]), 4)
    for child in key[2]:
        registry_key(inp, depth + 1, child)


def registry_seed(name, enum, fail_enum=0, fail_query=0):
    inp = Input()
    inp.number(fail_enum, 40)
    inp.number(fail_query, 20)
    registry_key(inp, 1, enum)
    write("fuzz_registry", name, inp.bytes())


def registry_seeds():
    inst = lambda name, port, friendly=None, refuses=False: (name, refuses, port, friendly)
    ports = ("Enum", False, [
        ("BIOS", False, [("*PNP0501", False, [inst("0D", "COM1", "Communications Port (COM1)"),
                                              inst("0E", "COM2")])]),
        ("USBPORTS", False, [("FTDIBUS", False, [inst("0000", "COM5", "USB Serial Port (COM5)")])]),
        ("ROOT", False, [("*pnp0501", False, [inst("0000", "COM9")]),
                         ("*PNP0500", False, [inst("0000", "COM1", "Duplicate (COM1)")])]),
    ])
    registry_seed("usb-and-pnp-ports", ports)
    registry_seed("enum-fails-mid-walk", ports, fail_enum=4, fail_query=3)
    odd = ("Enum", False, [
        ("BIOS", False, [("*PNP0501", False, [inst("0D", None, "no port name"),
                                              inst("0E", "COM3" + "X" * 140, "too long"),
                                              inst("0F", "COM4!raw", "unterminated!raw"),
                                              inst("10", "COM6", None, refuses=True)])]),
        ("X" * 127, False, [("*PNP0501", False, [inst("0", "COM7", " (COM7)")])]),
        ("Y" * 128, False, []),
    ])
    registry_seed("odd-instances", odd)
    registry_seed("refused-device-key",
                  ("Enum", False, [("USBPORTS", False, [("ANY\\NAME", True, [])])]))
    registry_seed("refused-enum", ("Enum", True, []))
    registry_seed("no-enum", ("Other", False, []))


# fuzz_sysfs ------------------------------------------------------------------------------

TTY_NAMES = ["ttyS0", "ttyS10", "ttyS2", "ttyUSB0", "ttyACM0", "rfcomm0", "ttyAMA0", ".ttyS1",
             "tty"]
SEGMENTS = ["pci0000:00", "0000:00:14.0", "usb1", "1-1", "1-1:1.0", "platform", "serial8250",
            "serial8250:0", "bluetooth", "hci0", "virtual", "devices", "tty"]
PRODUCTS = ["FT232R USB UART\n", "", " \t\n", "\u30b7\u30ea\n", None, "A" * 300]


def pick(inp, known, value):
    if value in known:
        inp.number(known.index(value), len(known) + 2)
    else:
        inp.number(len(known), len(known) + 2)
        inp.string(value)


def attribute(inp, known, value):
    """value: a known text, 'folder', 'fifo' or bytes (written as they are)."""
    if value == "folder":
        inp.number(0, 5)
    elif value == "fifo":
        inp.number(1, 5)
    elif isinstance(value, bytes):
        inp.number(2, 5)
        inp.string(value)
    else:
        inp.number(3, 5)
        pick(inp, known, value)


def device_level(inp, segment, vendor=None, interface_number=None, product=None,
                 interface=None, driver=None, subsystem=None):
    pick(inp, SEGMENTS, segment)
    for value, chance, known in ((vendor, 3, ["0403\n"]), (interface_number, 3, ["00\n"])):
        inp.number(0 if value is not None else 1, chance)
        if value is not None:
            attribute(inp, known, value)
    inp.flag(product is not None)
    if product is not None:
        attribute(inp, PRODUCTS, product)
    inp.number(0 if interface is not None else 1, 3)
    if interface is not None:
        attribute(inp, ["CDC Abstract Control Model\n"], interface)
    inp.number(0 if driver is not None else 1, 3)
    if driver is not None:
        pick(inp, ["ftdi_sio"], driver)
    inp.number(0 if subsystem is not None else 1, 5)
    if subsystem is not None:
        pick(inp, ["bluetooth"], subsystem)


def tty(inp, name, kind=5, levels=(), device_link=3, type_file=1, dev_node=3):
    """kind 0-4: virtual, dangling, loop, folder, outside; 5: a real tty on levels.
    device_link 3: valid; type_file 0 none, 1 "4", 2 "0", 3 folder, 4 fifo, bytes: those;
    dev_node 3: a file, 0 none, 1 folder, 2 dangling."""
    pick(inp, TTY_NAMES, name)
    inp.number(kind, 7)
    if kind < 5:
        return
    inp.number(len(levels), 5)
    for level in levels:
        device_level(inp, **level)
    inp.number(device_link, 4)
    if isinstance(type_file, bytes):
        inp.number(5, 5)
        inp.string(type_file)
    else:
        inp.number(type_file, 5)
    inp.number(dev_node, 4)


def sysfs_seed(name, ttys, text=b"plain text", limit=40):
    inp = Input()
    inp.number(limit, 300)
    inp.string(text)
    inp.number(len(ttys), 6)
    for entry in ttys:
        tty(inp, **entry)
    write("fuzz_sysfs", name, inp.bytes())


def sysfs_seeds():
    uart = [dict(segment="platform"), dict(segment="serial8250"), dict(segment="serial8250:0")]
    usb = [dict(segment="pci0000:00"), dict(segment="usb1"),
           dict(segment="1-1", vendor="0403\n", product="FT232R USB UART\n"),
           dict(segment="1-1:1.0", interface_number="00\n")]
    sysfs_seed("built-in-uarts", [dict(name="ttyS0", levels=uart),
                                  dict(name="ttyS10", levels=uart, type_file=2),
                                  dict(name="ttyS2", levels=uart, type_file=0)])
    sysfs_seed("usb-adapter", [dict(name="ttyUSB0", levels=usb, type_file=0)])
    acm = usb[:2] + [dict(segment="1-1", vendor="0403\n", product=""),
                     dict(segment="1-1:1.0", interface_number="00\n",
                          interface="CDC Abstract Control Model\n", driver="cdc_acm")]
    sysfs_seed("cdc-acm-without-product", [dict(name="ttyACM0", levels=acm, type_file=0)])
    bluetooth = usb[:3] + [dict(segment="bluetooth"), dict(segment="hci0", subsystem="bluetooth")]
    sysfs_seed("rfcomm-on-usb-dongle", [dict(name="rfcomm0", levels=bluetooth, type_file=0)])
    odd_usb = usb[:2] + [dict(segment="1-1", vendor="0403\n",
                              product=b"\xc0\xaf \x01\x7f  \xed\xa0\x80" + b"\xe3\x82" * 150)]
    sysfs_seed("odd-product-bytes", [dict(name="ttyUSB0", levels=odd_usb, type_file=0),
                                     dict(name="ttyS0", levels=uart, type_file=b" 00x")],
               text=b"\x00\xff\xc3\x28  a\tb ", limit=7)
    sysfs_seed("virtual-dangling-loops", [
        dict(name="tty", kind=0), dict(name="ttyS0", kind=1), dict(name="ttyS2", kind=2),
        dict(name="ttyS10", kind=3), dict(name="ttyAMA0", kind=4),
        dict(name="ttyUSB0", levels=usb, device_link=1, dev_node=2)])
    sysfs_seed("odd-names-and-nodes", [
        dict(name="tty\xff\n", levels=uart), dict(name=".ttyS1", levels=uart),
        dict(name="ttyS0", levels=[dict(segment="virtual")]),
        dict(name="ttyS2", levels=uart, type_file=3, dev_node=1),
        dict(name="ttyACM0", levels=[], type_file=4)])


if __name__ == "__main__":
    registry_seeds()
    sysfs_seeds()
