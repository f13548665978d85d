#!/usr/bin/python3
"""Compares Quillmark with what users would write instead: a Pillow script.

    bench/peer_bench.py [--quick] [--count name=N,...] [--sets name,...]
                        [--build DIR] [--python PATH] [--keep DIR]

Writes the job sets with `quillmark_bench --write-jobs` (plain 100,
vertical-fit 40, banners 100; --quick takes a tenth, --count sets them), then
renders each set, in this order and each into a fresh folder, with
    bench/pillow_peer.py fonts.json job.json
    Quillmark fonts.json job.json -jobs=1
    Quillmark fonts.json job.json -jobs=auto
    Quillmark fonts.json job.json -jobs=auto -png-compression=1
    Quillmark fonts.json job.json -jobs=1 -dry-run
timing each whole process, and checks that each wrote every image (the dry
run none). Prints canvases per second and Quillmark's speed as a multiple of
Pillow's. Exits with 1 when a run failed or left an image out.
"""
import argparse
import datetime
import json
import os
import platform
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
QUICK_COUNTS = "plain=10,vertical-fit=4,banners=10"


def run_timed(command, folder, log_path):
    """Runs `command` in a fresh `folder`; returns (seconds, exit status)."""
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    with open(log_path, "wb") as log:
        start = time.perf_counter()
        status = subprocess.call(command, cwd=folder, stdout=log, stderr=subprocess.STDOUT)
        return time.perf_counter() - start, status


def missing_outputs(folder, outputs):
    return [o for o in outputs
            if not os.path.isfile(os.path.join(folder, o))
            or os.path.getsize(os.path.join(folder, o)) == 0]


def describe_machine(python, quillmark, root):
    """Prints the date, the processor and the versions of Pillow and ImageMagick."""
    pillow = subprocess.run([python, "-c", "import PIL; print(PIL.__version__)"],
                            capture_output=True, text=True).stdout.strip()
    # Quillmark logs ImageMagick's version first; an empty job ends the run.
    started = subprocess.run([quillmark, os.path.join(root, "fonts.json"), os.devnull],
                             capture_output=True, text=True, cwd=root).stdout
    magick = started.split("] ", 1)[1].split(" https")[0] if "] " in started else "?"
    cpu = platform.machine()
    if os.path.exists("/proc/cpuinfo"):
        with open("/proc/cpuinfo", encoding="utf-8") as f:
            models = [line.split(":", 1)[1].strip() for line in f if line.startswith("model name")]
        cpu = models[0] if models else cpu
    print(f"{datetime.date.today()}, {cpu}, {os.cpu_count()} cores, "
          f"Pillow {pillow or '?'}, {magick}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--quick", action="store_true", help=f"counts {QUICK_COUNTS}")
    parser.add_argument("--count", help="name=N,... (see quillmark_bench)")
    parser.add_argument("--sets", help="only these sets, name,...")
    parser.add_argument("--build", default=os.path.join(HERE, "..", "build"))
    parser.add_argument("--python", default="/usr/bin/python3", help="a Python with Pillow")
    parser.add_argument("--keep", help="render into this folder and keep it")
    args = parser.parse_args()

    quillmark = os.path.abspath(os.path.join(args.build, "Quillmark"))
    bench = os.path.abspath(os.path.join(args.build, "bench", "quillmark_bench"))
    root = os.path.abspath(args.keep) if args.keep else tempfile.mkdtemp(prefix="quillmark-peer.")
    counts = ",".join(c for c in (QUICK_COUNTS if args.quick else "", args.count or "") if c)
    write = [bench, "--write-jobs", root]
    if counts:
        write += ["--count", counts]
    if args.sets:
        write += ["--sets", args.sets]
    written = subprocess.run(write, capture_output=True, text=True)
    if written.returncode != 0:
        sys.exit(written.stderr.strip() or f"{bench} failed")
    sets = [line.split()[0] for line in written.stdout.splitlines() if line.strip()]

    describe_machine(args.python, quillmark, root)
    fonts = os.path.join(root, "fonts.json")
    print(f"{'set':<13} {'canvases':>8}  {'renderer':<39} {'seconds':>8} {'canvases/s':>11}"
          f" {'vs Pillow':>10}")
    failed = False
    for name in sets:
        folder = os.path.join(root, name)
        job = os.path.join(folder, "job.json")
        with open(job, encoding="utf-8") as f:
            outputs = [canvas["output"] for canvas in json.load(f)]
        runners = [
            ("pillow", [args.python, os.path.join(HERE, "pillow_peer.py"), fonts, job]),
            ("quillmark -jobs=1", [quillmark, fonts, job, "-jobs=1"]),
            ("quillmark -jobs=auto", [quillmark, fonts, job, "-jobs=auto"]),
            # The same with the fastest zlib level that still compresses.
            ("quillmark -jobs=auto -png-compression=1",
             [quillmark, fonts, job, "-jobs=auto", "-png-compression=1"]),
            # Lays out and fits as a real run does, draws and writes nothing.
            ("quillmark -dry-run", [quillmark, fonts, job, "-jobs=1", "-dry-run"]),
        ]
        pillow_rate = None
        for label, command in runners:
            out = os.path.join(folder, label.replace(" ", "").replace("=", "-"))
            seconds, status = run_timed(command, out, out + ".log")
            missing = missing_outputs(out, outputs)
            if "-dry-run" in command:
                # A dry run writes nothing: every image it left is wrong.
                missing = [o for o in outputs if o not in missing]
            rate = len(outputs) / seconds
            pillow_rate = pillow_rate or rate
            note = ""
            if status != 0 or missing:
                failed = True
                note = (f"  FAILED: exit {status}, {len(missing)} images missing"
                        f" (or written by the dry run; see {out}.log)")
            ratio = "-" if label == "pillow" else f"{rate / pillow_rate:.2f}x"
            print(f"{name:<13} {len(outputs):>8}  {label:<39} {seconds:>8.2f} {rate:>11.2f}"
                  f" {ratio:>10}{note}", flush=True)
        print()
    if args.keep:
        print(f"images kept in {root}")
    else:
        shutil.rmtree(root, ignore_errors=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
