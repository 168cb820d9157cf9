#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets: the shipped environment and language files as
they are, and driver records and registry contents of the shape the simulated adapter and the
program produce. Run from anywhere; it rewrites corpus/."""
import os
import shutil
import struct

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.dirname(os.path.dirname(here))


def put(target, name, data):
    folder = os.path.join(here, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# The shipped files.
os.makedirs(os.path.join(here, "corpus", "environment"), exist_ok=True)
shutil.copy(os.path.join(root, "res", "simulated-environment.json"),
            os.path.join(here, "corpus", "environment", "shipped.json"))
os.makedirs(os.path.join(here, "corpus", "language"), exist_ok=True)
shutil.copy(os.path.join(root, "res", "Wlan.ini"),
            os.path.join(here, "corpus", "language", "shipped.ini"))
put("language", "quotes-and-blanks.ini",
    b'[Languages]\r\nLanguage-1 = Fran\xe7ais\r\nFran\xe7ais=1\r\n[Fran\xe7ais]\r\n'
    b'QuestionOverwriteProfile = "Are you sure you want to overwrite "\r\n'
    b'DevicePollingTimerMsec=250ms\r\nDeviceDescription-1=ORVEX PCI Skyrelay\r\n'
    b'DeviceDescription-3=skipped\r\nShowAdaptersList=1\r\nMaxRssi=200\r\n')
put("environment", "one-card.json",
    b'{"adapters":[{"displayName":"ORVEX PCMCIA Skyrelay (K1)","serviceName":"SKYK1",'
    b'"hardwareId":"PCMCIA\\\\ORVEX-SKYRELAY_K1-5D2A","cardType":12,"mac":"00-60-1D-4A-21-07",'
    b'"parameters":{"ESSID":"Harbour"},"faults":[{"oid":"0xFF000021","fail":31},'
    b'{"oid":"0xFF01000A","garbage":true}],"removeAtRequest":40}],'
    b'"networks":[{"bssid":"00-40-96-A1-00-01","ssid":"Harbour","channel":1,"signal":82},'
    b'{"bssid":"00-40-96-A1-00-02","ssidHex":"00410d","channel":14,"bssType":"adhoc",'
    b'"wep":{"key":"0102030405","authentication":"shared"}}]}')


# Driver records.
def device_config(ssid=b"Harbour", channel=1, state=5, status=0):
    r = bytes([1, channel]) + ssid.ljust(32, b"\0") + bytes([len(ssid), 4, 0, 2])
    r += struct.pack("<HH", 2346, 2347) + bytes([0, 0x40, 0x96, 0xA1, 0, 1])
    r += bytes([state, 0xC8, 80]) + struct.pack("<I", status)
    assert len(r) == 55
    return r


def wep(level=1):
    r = bytes([1, 0]) + struct.pack("<H", 0) + bytes([level])
    for k in range(4):
        r += bytes(range(k * 13 + 1, k * 13 + 14))
    assert len(r) == 57
    return r


def bss(channel, ssid, rssi, wep_flag, bss_type):
    r = bytes([channel]) + ssid.ljust(32, b"\0")[:32] + bytes([min(len(ssid), 255)])
    r += bytes([0, 0x40, 0x96, 0xA1, 0, channel]) + struct.pack("<b", rssi)
    r += bytes([wep_flag, 0, 0, 0, bss_type])
    assert len(r) == 46
    return r


put("records", "configuration", device_config())
put("records", "configuration-refused", device_config(b"Crowded", 11, 241, 37))
put("records", "all-settings", device_config() + wep(2) + bytes([1, 1]) + bytes(13))
put("records", "version", bytes([2, 1, 0]) + struct.pack("<HHHHH", 300, 1, 7, 2, 65535))
put("records", "wep", wep())
put("records", "statistics", struct.pack("<12I", *range(100, 112)))
survey = bss(1, b"Harbour", 82, 0, 2) + bss(6, b"A\0\r", 30, 1, 1) + bss(3, b"", 0, 0, 7)
put("records", "survey", survey)
put("records", "survey-reported", struct.pack("<H", len(survey) + 1) + bytes([3]) + survey + b"\0")


# Registry contents for the profile store: where, key, value name, type, data.
def value(where, key, name, vtype, data):
    return (bytes([where, len(key)]) + key + bytes([len(name)]) + name + bytes([vtype])
            + struct.pack("<H", len(data)) + data)


def profile(name, ssid, channel, enc, keys):
    out = value(0, name, b"ssid", 1, ssid + b"\0")
    numbers = dict(channel=channel, power=0, rate=4, mode=1, preamble=2, frag=2346, rts=2347,
                   enc=enc, auth=0, wepmode=0, key=0, radio=1, roaming=0)
    for k, v in numbers.items():
        out += value(0, name, k.encode(), 4, struct.pack("<I", v))
    for i, key in enumerate(keys):
        out += value(0, name, b"key%d" % (i + 1), 1, key + b"\0")
    return out


unused = [b"7E3D91C0A5"] * 4
seed = profile(b"Default", b"", 10, 0, unused) + profile(b"Harbour", b"Harbour", 1, 0, unused)
seed += profile(b"Lighthouse", b"Lighthouse", 6, 1, [b"0102030405", b"A1B2C3D4E5"] + unused[:2])
seed += value(1, b"", b"LastProfile", 1, b"Harbour")
seed += value(3, b"", b"ESSID", 1, b"Harbour") + value(3, b"", b"Channel", 4, b"\x06\0\0\0")
for layout in range(6):
    put("profiles", "three-profiles-layout%d" % layout, bytes([layout, 0, 0]) + seed)
put("profiles", "failing-calls", bytes([2, 7, 19]) + seed)
put("profiles", "dword-ssid", bytes([2, 0, 0]) + profile(b"Odd", b"x", 99, 7, [b"ERROR"] * 4)
    + value(0, b"Odd", b"ssid", 4, b"\x0a\0\0\0") + value(1, b"", b"LastProfile", 3, b"Odd\0\0"))


# A profile export file of the command-line companion, as it writes one.
header = (b"# WARNING: this file holds the profile's WEP keys in clear text. Keep it private.\r\n"
          b"# One field per line.\r\n")
fields = b"".join(b"%s = %d\r\n" % (k.encode(), v) for k, v in [
    ("mode", 1), ("channel", 6), ("rate", 4), ("power", 0), ("preamble", 2), ("frag", 2346),
    ("rts", 2347), ("enc", 1), ("wepmode", 0), ("auth", 0), ("key", 1), ("roaming", 0),
    ("radio", 1)])
put("import", "lighthouse.txt", header + b"format = 1\r\nname = \"Lighthouse\"\r\n"
    b"ssid = \"Light\\x01house \\\"A\\\"\"\r\n" + fields +
    b"key1 = 0102030405\r\nkey2 = a1b2c3d4e5\r\nkey3 = 7E3D91C0A5\r\nkey4 = 7E3D91C0A5\r\n")
