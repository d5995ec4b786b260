#!/usr/bin/env python3
"""What a user is told, and the exit code, for every way of running glowmeter-host,
glowmeter-monitor and the project's scripts wrongly (and a few rightly): one table of cases,
each run as a user runs it, the Windows programs under Wine from a folder of files made here.

    command_cases.py --source DIR --build DIR --wine WINE --driver simulated|none

The cases of one driver run: "simulated" with the simulated driver in the Wine prefix's
system folder, "none" without any (the CTest fixtures put it there or take it away).
Prints a line a case and a closing count; exits 1 when a case failed.
"""
import argparse
import os
import shlex
import shutil
import struct
import subprocess
import sys
import tempfile

CYRILLIC = "\u041a\u0438\u0440\u0438\u043b\u043b\u0438\u0446\u0430"  # "Kirillitsa"
CJK = "\u65e5\u672c"  # "Nihon"

# Slot 0: Left on the logo light, slot 1: Right on the SLI light (the host's tests' settings).
TWO_LIGHTS = ("[GLOBAL]\r\nDecay=4\r\n[HALOSEQ]\r\nEnable=0\r\n"
              "[DEVICE0]\r\nEnable=1\r\nDisplay=0\r\nGPU=0\r\nAttribute=0\r\nChannel=1\r\n"
              "[DEVICE1]\r\nEnable=1\r\nDisplay=0\r\nGPU=0\r\nAttribute=1\r\nChannel=2\r\n")
# No light: slot 0 enabled but fed by no channel, slot 1 fed but not enabled.
NO_LIGHT = ("[GLOBAL]\r\nDecay=4\r\n[HALOSEQ]\r\nEnable=0\r\n"
            "[DEVICE0]\r\nEnable=1\r\nDisplay=0\r\nGPU=0\r\nAttribute=0\r\nChannel=0\r\n"
            "[DEVICE1]\r\nEnable=0\r\nDisplay=0\r\nGPU=0\r\nAttribute=1\r\nChannel=2\r\n")


class Case:
    """`command` starts with the program: "host" (glowmeter-host, run in the folder `where`),
    "monitor", "scripts/NAME" or "sh"; the rest is its arguments, split as a shell would
    ({source} is the project's folder).
    The run must end with `code` and print every text of `says` (standard output and error
    together), none of `never`, and leave every file of `makes` (in the work folder)."""

    def __init__(self, driver, command, code, says=(), never=(), env=None, where="play", makes=()):
        self.driver, self.command, self.code = driver, command, code
        self.says, self.never, self.env, self.where, self.makes = says, never, env or {}, where, makes


def cases(port):
    monitor_port = "--port %d " % port
    good = "good.wav"
    return [
        # glowmeter-host: its command line, the track, the plug-in.
        Case("simulated", "host --help", 0, ["usage: glowmeter-host"]),
        Case("simulated", "host --bogus " + good, 1, ["unknown option --bogus", "usage: glowmeter-host"]),
        Case("simulated", "host", 1, ["no track given"]),
        Case("simulated", "host --frames", 1, ["--frames needs a frame count"]),
        Case("simulated", "host --module 3 " + good, 1, ["no module 3 (it has 3)"]),
        Case("simulated", "host missing.wav", 2, ['cannot read the track "missing.wav": no such file']),
        Case("simulated", "host adir.wav", 2, ['cannot read the track "adir.wav": it is a folder']),
        Case("simulated", "host nowhere/a.wav", 2, ["nowhere/a.wav", "its folder does not exist"]),
        Case("simulated", "host empty.wav", 2, ["not a WAV file"]),
        Case("simulated", "host text.wav", 2, ["not a WAV file"]),
        Case("simulated", "host noframe.wav", 2, ["truncated"]),
        Case("simulated", "host float.wav", 2, ["not PCM"]),
        Case("simulated", "host mono32.wav", 2, ["8, 16 and 24-bit"]),
        Case("simulated", "host '%s.wav'" % CYRILLIC, 2,
             ['cannot read the track "%s.wav": no such file' % CYRILLIC]),
        Case("simulated", "host --plugin missing.dll " + good, 3, ["missing.dll", "no such file"]),
        Case("simulated", "host --plugin fake.dll " + good, 3, ["cannot load the plug-in"]),
        Case("simulated", "host planted_library.dll " + good, 3, ["no winampVisGetHeader export"]),
        Case("simulated", "host empty_vis_plugin.dll " + good, 3, ["lists no module"]),
        Case("simulated", "host failing_vis_plugin.dll " + good, 3, ["did not start (Init returned 1)"]),
        # Tracks that play, and what may keep the lights dark.
        Case("simulated", "host --fast " + good, 0, ["good.wav (8000 Hz 16-bit stereo)", "10 frames"],
             never=["warning", "no settings", "no light", "no NVIDIA", "simulated NVIDIA driver"]),
        Case("simulated", "host --fast cut.wav", 0,
             ['warning: the samples of "cut.wav" end before the size its data chunk gives: playing the 0:00.2']),
        Case("simulated", "host --fast streamed.wav", 0, ['warning: the samples of "streamed.wav" end before']),
        Case("simulated", "host --fast odd.wav", 0, ["odd.wav (8000 Hz 8-bit mono)"], never=["warning"]),
        Case("simulated", "host --fast '%s %s.wav'" % (CYRILLIC, CJK), 0, ["%s %s.wav (8000 Hz" % (CYRILLIC, CJK)]),
        Case("simulated", "host --fast " + good, 0, ["no settings file ", "nosettings\\vis_glowmeter.ini: every light is off"],
             where="nosettings"),
        Case("simulated", "host --fast " + good, 0, ["no light is enabled in ", "dark\\vis_glowmeter.ini"], where="dark"),
        Case("simulated", "host --fast " + good, 0,
             ['simulated NVIDIA driver: no scenario file "missing.ini" (GLOWMETER_NVSIM): simulating the default'],
             env={"GLOWMETER_NVSIM": "missing.ini"}),
        Case("simulated", "host --fast " + good, 0,
             ['the scenario file "junk.ini" (GLOWMETER_NVSIM) gives no display that reaches a GPU'],
             env={"GLOWMETER_NVSIM": "junk.ini"}),
        Case("none", "host --fast " + good, 0, ["no NVIDIA driver library at ", "nvapi64.dll: the plug-in will light nothing"]),
        # glowmeter-monitor.
        Case("simulated", "monitor --help", 0, ["usage: glowmeter-monitor"]),
        Case("simulated", "monitor --bogus", 2, ["unknown option --bogus", "usage: glowmeter-monitor"]),
        Case("simulated", "monitor --port", 2, ["--port needs a value"]),
        Case("simulated", "monitor --csv adir.wav", 2, ['cannot write the CSV file "adir.wav": it is a folder']),
        Case("simulated", "monitor --csv nowhere/lights.csv", 2, ["nowhere/lights.csv", "its folder does not exist"]),
        Case("simulated", "monitor %s--seconds 1 --csv '%s.csv'" % (monitor_port, CJK), 0,
             ["listening on 127.0.0.1:%d\r\nglowmeter-monitor: requests=0 answered=0" % port],
             makes=[CJK + ".csv"]),
        # The scripts: --help, unknown options, wrong arguments; none builds anything for them.
        # (scripts/host and scripts/monitor hand other options to the tools, which refuse them
        # as above, once they have built them.)
        *[Case("simulated", "scripts/%s --help" % name, 0, ["usage: scripts/" + name])
          for name in ("bench-host", "bootstrap", "demo", "make-demo-audio", "package", "screenshot-dialog", "test",
                       "host", "monitor")],
        *[Case("simulated", "scripts/%s --bogus" % name, 2, ["unknown", "--bogus", "usage: scripts/" + name])
          for name in ("bench-host", "bootstrap", "demo", "make-demo-audio", "package", "screenshot-dialog", "test")],
        Case("simulated", "scripts/test -R", 2, ["-R needs a pattern"]),
        Case("simulated", "scripts/test extra", 2, ["unknown argument extra"]),
        Case("simulated", "scripts/demo --frames", 2, ["--frames needs a value"]),
        Case("simulated", "scripts/demo a.wav b.wav", 2, ["one track at most"]),
        Case("simulated", "scripts/demo missing.wav", 2, ["no such file: missing.wav"]),
        Case("simulated", "scripts/bench-host nowhere", 2, ["holds no glowmeter-host.exe"]),
        Case("simulated", "scripts/make-demo-audio a.wav b.wav", 2, ["one output at most"]),
        Case("simulated", "scripts/make-demo-audio text.wav/demo.wav", 1, ["text.wav is a file, not a folder"],
             never=["Traceback"]),
        Case("simulated", "scripts/make-demo-audio outdir", 0, [], never=["Traceback"],
             makes=["outdir/glowmeter-demo.wav"]),
        Case("simulated", "sh -c '. {source}/scripts/wine-env'", 2, ["source it from bash"]),
    ]


# --- the files the cases use ------------------------------------------------------------

def riff(chunks, form=b"WAVE"):
    """A RIFF file of (tag, body, declared size or None) chunks, each padded to even length."""
    body = b""
    for tag, data, declared in chunks:
        body += tag + struct.pack("<I", len(data) if declared is None else declared) + data
        if len(data) % 2:
            body += b"\0"
    return b"RIFF" + struct.pack("<I", 4 + len(body)) + form + body


def fmt(format_tag, channels, rate, bits):
    align = channels * ((bits + 7) // 8)
    return struct.pack("<HHIIHH", format_tag, channels, rate, rate * align, align, bits)


def square(frames, channels):
    """16-bit samples, a square wave of 40 frames a period, loud on the left."""
    out = b""
    for f in range(frames):
        for c in range(channels):
            high = 99 if c == 0 else 25
            out += struct.pack("<h", (high if f % 40 < 20 else -high) << 8)
    return out


def make_files(work, build):
    pcm = square(4000, 2)  # half a second at 8000 Hz
    good = riff([(b"fmt ", fmt(1, 2, 8000, 16), None), (b"data", pcm, None)])
    files = {
        "good.wav": good,
        "cut.wav": good[:len(good) - len(pcm) // 2],
        "streamed.wav": riff([(b"fmt ", fmt(1, 2, 8000, 16), None), (b"data", pcm, 0xFFFFFFFF)]),
        "noframe.wav": riff([(b"fmt ", fmt(1, 2, 8000, 16), None), (b"data", pcm, None)])[:12 + 24 + 8 + 3],
        "odd.wav": riff([(b"fmt ", fmt(1, 1, 8000, 8), None), (b"data", bytes(range(100, 107)), None)])[:-1],
        "float.wav": riff([(b"fmt ", fmt(3, 2, 8000, 32), None), (b"data", pcm, None)]),
        "mono32.wav": riff([(b"fmt ", fmt(1, 1, 8000, 32), None), (b"data", pcm, None)]),
        "text.wav": b"just some text, no audio\n",
        "empty.wav": b"",
        "fake.dll": b"MZ but nothing else",
        "junk.ini": b"just some text, no machine\n",
        "%s %s.wav" % (CYRILLIC, CJK): good,
    }
    folders = {"play": TWO_LIGHTS, "nosettings": None, "dark": NO_LIGHT}
    for folder, settings in folders.items():
        where = os.path.join(work, folder)
        os.makedirs(os.path.join(where, "adir.wav"))
        for name in ("glowmeter-host.exe", "vis_glowmeter.dll", "planted_library.dll", "empty_vis_plugin.dll",
                     "failing_vis_plugin.dll"):
            shutil.copy(os.path.join(build, name), where)
        for name, data in files.items():
            with open(os.path.join(where, name), "wb") as f:
                f.write(data)
        if settings is not None:
            with open(os.path.join(where, "vis_glowmeter.ini"), "w", newline="") as f:
                f.write(settings)
    os.makedirs(os.path.join(work, "adir.wav"))
    os.makedirs(os.path.join(work, "outdir"))
    with open(os.path.join(work, "text.wav"), "wb") as f:
        f.write(files["text.wav"])


# --- running them -------------------------------------------------------------------------

def command_line(case, args, work):
    words = shlex.split(case.command.replace("{source}", args.source))
    program, rest = words[0], words[1:]
    if program == "host":
        return [args.wine, os.path.join(work, case.where, "glowmeter-host.exe")] + rest, os.path.join(work, case.where)
    if program == "monitor":
        return [args.wine, os.path.join(args.build, "glowmeter-monitor.exe")] + rest, work
    if program.startswith("scripts/"):
        return [os.path.join(args.source, program)] + rest, work
    return words, work


def run(case, args, work):
    argv, folder = command_line(case, args, work)
    csv = os.path.join(work, "lights.csv")
    if os.path.exists(csv):
        os.remove(csv)
    env = dict(os.environ, LC_ALL="C.UTF-8", GLOWMETER_CSV=csv, **case.env)
    env.pop("GLOWMETER_VIEW", None)
    try:
        done = subprocess.run(argv, cwd=folder, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT, timeout=120)
    except subprocess.TimeoutExpired:
        return ["did not end within 120 s"]
    said = done.stdout.decode("utf-8", "replace")
    faults = []
    if done.returncode != case.code:
        faults.append("exit code %d, not %d" % (done.returncode, case.code))
    faults += ["does not say %r" % text for text in case.says if text not in said]
    faults += ["says %r" % text for text in case.never if text in said]
    faults += ["made no %s" % name for name in case.makes if not os.path.exists(os.path.join(work, name))]
    # A host run that is refused never starts the plug-in, so no light changes.
    if case.command.startswith("host") and case.code != 0 and os.path.exists(csv):
        faults.append("a light changed although the run was refused")
    if faults:
        faults.append("it said:\n    " + said.replace("\n", "\n    "))
    return faults


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--source", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--wine", required=True)
    parser.add_argument("--driver", required=True, choices=["simulated", "none"])
    args = parser.parse_args()
    args.source, args.build = os.path.abspath(args.source), os.path.abspath(args.build)

    passed = failed = 0
    work = tempfile.mkdtemp(prefix="glowmeter-cases-")
    try:
        make_files(work, args.build)
        for case in cases(33000 + os.getpid() % 4000):
            if case.driver != args.driver:
                continue
            faults = run(case, args, work)
            where = "" if case.where == "play" or not case.command.startswith("host") else " (in %s)" % case.where
            env = "".join(" %s=%s" % item for item in case.env.items())
            print("%s:%s %s%s" % ("ok" if not faults else "FAILED", env, case.command, where))
            for fault in faults:
                print("    " + fault)
            passed += not faults
            failed += bool(faults)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
