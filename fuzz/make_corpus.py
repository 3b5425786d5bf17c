#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/.

Seeds are small: recorded replies laid out for the fuzzed channel, security records with valid
and broken check values, version texts, packages from scripts/make-test-package.py with a tiny
payload, the scenario files of scenarios/, and instance IDs and interface paths as the platform
reports them. Run again after changing it; it rewrites the seed files it owns and leaves files
the fuzzer added alone.
"""

import pathlib
import shutil
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
CORPUS = ROOT / "fuzz" / "corpus"


def reply_header(prefix, cmd, status, d0, d1=0):
    return bytes([prefix >> 8, prefix & 0xFF, cmd >> 8, cmd & 0xFF, status >> 8, status & 0xFF,
                  d0, d1]) + bytes(8)


def version_reply(text):
    n = len(text)
    return reply_header(0x00AC, 0xFF21, 0, n >> 8, n & 0xFF) + text


def tail(controls):
    """Integers are consumed from the end: store them last-first."""
    return bytes(reversed(controls))


# Writes: (clock tick, control 0 = whole) for UEL, language line, frame and closing UEL.
WRITES_OK = [0, 0] * 4


def fixed_reply_seeds():
    status_reply = reply_header(0x00AC, 0xFF87, 0, 3)
    yield "status-ready", status_reply + tail([1] + WRITES_OK + [0, 0x3F])
    # The same reply in 1-, 4- and 3-byte pieces with a zero-byte read between them.
    pieces = [0, 0x20, 0, 0, 0, 0x23] + [0, 0x22] * 4
    yield "status-pieces", status_reply + tail([1] + WRITES_OK + pieces)
    yield "status-read-fails", status_reply[:5] + tail([1] + WRITES_OK + [0, 0x24, 0, 0x01])
    yield "wrong-command", reply_header(0x00AC, 0xFF21, 0, 0) + tail([1] + WRITES_OK + [0, 0x3F])
    yield "slow-pieces", status_reply + tail([1] + WRITES_OK + [250, 0x21] * 8)
    yield "write-fails", tail([1, 0, 0, 0, 0xFF])


def length_prefixed_seeds():
    # Text length 40 (two bytes of the range 0..4097), then the job's writes and the reads.
    text40 = [0, 40]
    for name, text in (("version-older", b"V1.0.08"), ("version-same", b"V2.0.9 "),
                       ("version-newer", b"V3.1.10"), ("empty", b"")):
        reply = version_reply(text)
        yield name, reply + tail(text40 + WRITES_OK + [0, 0x3F, 0, 0x3F])
    long_reply = version_reply(b"V" * 140)
    yield "longer-than-data-area", long_reply + tail(text40 + WRITES_OK + [0, 0x3F] * 8)
    reply = version_reply(b"V1.0.08")
    retry = [0, 0x23, 0, 0x01] + WRITES_OK + [0, 0x3F, 0, 0x3F]
    yield "retry-after-failed-read", reply[:4] + reply + tail(text40 + WRITES_OK + retry)


def crc16_xmodem(data):
    crc = 0
    for byte in data:
        crc ^= byte << 8
        for _ in range(8):
            crc = ((crc << 1) ^ 0x1021) if crc & 0x8000 else crc << 1
            crc &= 0xFFFF
    return crc


def security_record(security, corrupt=False, length=172):
    block = bytes([security]) + bytes(range(1, 166))
    crc = crc16_xmodem(block) + (1 if corrupt else 0)
    low, high = crc & 0xFF, (crc >> 8) & 0xFF
    mask = low ^ high if low != high else 0xD4
    record = bytes([0xCA, 0, 0, 0, low, high]) + bytes(b ^ mask for b in block)
    return (record + bytes(max(0, length - len(record))))[:length]


def security_seeds():
    yield "plain", security_record(0x00)
    yield "encrypted", security_record(0x20)
    yield "bad-crc", security_record(0x20, corrupt=True)
    yield "cut-short", security_record(0x20, length=40)
    yield "padded-512", security_record(0x20, length=512)


def version_seeds():
    for text in (b"V1.0.08", b"V2.0.9", b"V2.0.9x", b"V3.1.10", b"V2.A.9", b"V2./.9", b""):
        yield "v" + (text.decode().replace("/", "slash").replace(".", "_") or "empty"), text


def package_seeds():
    script = ROOT / "scripts" / "make-test-package.py"
    with tempfile.TemporaryDirectory() as tmp:
        cases = [("valid-0", ["--payload-bytes", "0"]), ("valid-16", ["--payload-bytes", "16"])]
        for broken in ("uel-start", "language", "prefix", "command", "length", "uel-end",
                       "truncated"):
            cases.append((broken, ["--payload-bytes", "16", "--break", broken]))
        for name, args in cases:
            out = pathlib.Path(tmp) / name
            subprocess.run([sys.executable, str(script), *args, str(out)], check=True,
                           stdout=subprocess.DEVNULL)
            yield name, out.read_bytes()


def scenario_seeds():
    for path in sorted((ROOT / "scenarios").glob("*.json")):
        yield path.stem, path.read_bytes()


def discovery_seeds():
    # Bool (port present), port number, then for each text its length and width; characters are
    # integers too. All come from the end, most significant byte first.
    def text(chars):
        return [len(chars) >> 8, len(chars) & 0xFF, 0] + [ord(c) for c in chars]

    def seed(port, instance_id, path):
        controls = [1, *port.to_bytes(4, "big")] + text(instance_id) + text(path)
        return tail(controls)

    yield "supported", seed(1, "USB\\VID_5A7C&PID_B101\\SER0001",
                            "\\\\?\\usb#vid_5a7c&pid_b101#SER0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}")
    yield "unsupported", seed(7, "USB\\VID_1234&PID_0001\\X", "\\\\?\\usb#vid_1234&pid_0001#X")
    yield "dot4", seed(2, "USB\\VID_5A7C&PID_B101&MI_01\\7", "\\\\?\\dot4#vid_5a7c#7")
    yield "libusb-path", seed(1234, "USB\\VID_5A7C&PID_B101\\bus1-port1.2",
                              "usb:1-1.2:if0:dev5:5a7c:b101")


def libusb_seeds():
    def seed(serial, path):
        front = serial
        # serial length, vendor and product (most significant byte first), composite
        # interface 1, bus 1, two ports (taken from the front: 1 then 2).
        controls = [len(serial) >> 8, len(serial) & 0xFF, 0x5A, 0x7C, 0xB1, 0x01, 1, 1, 1, 2]
        return front + bytes([1, 2]) + path + tail(controls)

    yield "plain", seed(b"SER0001", b"usb:1-1.2:if0:dev5:5a7c:b101")
    yield "padded", seed(b"AB C\\#,\x00\x00  ", b"usb:3-1.2.3.4.5.6.7:if1:dev127:0000:ffff")
    yield "utf16", seed("Ser\u00e9".encode("utf-16-le"), b"usb:1-1:if0:dev1:5a7c:b101")


def device_id_seeds():
    def reply(text):
        n = len(text) + 2
        return bytes([n >> 8, n & 0xFF]) + text

    yield "mfg-mdl-sn", reply(b"MFG:Viruzu;MDL:TQ3800HKR;CMD:PCL;SN:SER0001;")
    yield "serialnumber", reply(b"mfg:Viruzu; SERIALNUMBER: AB 12 ;SERN:x;")
    yield "cut", reply(b"MFG:Viruzu;SN:SER0001;")[:12]
    yield "length-too-small", b"\x00\x01SN:X;"


def device_uri_seeds():
    yield "serial-interface", b"usb://Viruzu/TQ3800HKR?serial=SER0001&interface=1"
    yield "percent", b"usb://Viruzu/TQ3800%20HKS?serial=AB%2fC%25&uuid=1234"
    yield "bare", b"usb://Viruzu/TQ3800HKR"
    yield "other-scheme", b"ipp://printer.local/ipp/print"


def cli_options_seeds():
    """Arguments joined by NUL bytes."""
    for name, args in (("upgrade-port", [b"upgrade", b"--port", b"USB002", b"--yes", b"--json"]),
                       ("check-serial", [b"check", b"SER0002"]),
                       ("verify-timeout", [b"upgrade", b"--verify", b"--verify-timeout", b"30"]),
                       ("list-serial", [b"list", b"--serial", b"X"]),
                       ("help", [b"--help"]),
                       ("not-utf8", [b"\xff\xfe", b"--json"])):
        yield name, b"\0".join(args)


def history_line_seeds():
    """Lines of history.jsonl: a whole record, one that never reached a printer, a simulated
    run's, one cut."""
    whole = (b'{"time":"2026-12-09T10:59:06Z","computer":"desk-7","program":"viruzu-fwup-cli",'
             b'"programVersion":"0.1.0","command":"upgrade",'
             b'"instanceId":"USB\\\\VID_5A7C&PID_B101\\\\SER0001","model":"Viruzu TQ3800HKR Series",'
             b'"port":"USB001","versionText":"V2.10.8","firmware":"older","package":3000,'
             b'"bytesSent":600059,"result":"succeeded","versionAfter":"same"}')
    bare = (b'{"time":"2026-12-09T10:59:06Z","computer":"","program":"viruzu-fwup","programVersion":"0",'
            b'"command":"upgrade","instanceId":null,"model":null,"port":null,"versionText":null,'
            b'"firmware":null,"package":null,"bytesSent":0,"result":"not-connected",'
            b'"versionAfter":null}')
    yield "whole", whole
    yield "bare", bare
    yield "simulated", whole[:-1] + b',"simulated":true}'
    yield "cut", whole[:57]


TARGETS = {
    "fuzz_fixed_reply": fixed_reply_seeds,
    "fuzz_length_prefixed": length_prefixed_seeds,
    "fuzz_security_record": security_seeds,
    "fuzz_fw_version": version_seeds,
    "fuzz_package_layout": package_seeds,
    "fuzz_scenario": scenario_seeds,
    "fuzz_discovery": discovery_seeds,
    "fuzz_libusb_ids": libusb_seeds,
    "fuzz_ieee1284_device_id": device_id_seeds,
    "fuzz_usb_device_uri": device_uri_seeds,
    "fuzz_cli_options": cli_options_seeds,
    "fuzz_history_line": history_line_seeds,
}


def main():
    for target, seeds in TARGETS.items():
        folder = CORPUS / target
        folder.mkdir(parents=True, exist_ok=True)
        for name, data in seeds():
            (folder / f"seed-{name}").write_bytes(data)
    print(f"seeds written to {CORPUS}")


if __name__ == "__main__":
    main()
