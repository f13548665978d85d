#!/usr/bin/python3
"""Shaped banners: Quillmark's text engine against Pillow with raqm.

    bench/shaped_bench.py [--count N] [--build DIR] [--keep DIR]

Writes one job of N banners (default 30) in Arabic, Devanagari and Thai,
a third each, with "shape": true: 1000x340, fitted from 120 pt, an outline
under the fill, a drop shadow, as the Latin banners set of the in-process
benchmark. Renders it, each into a fresh folder, with
    bench/raqm_peer.py fonts.json job.json
    Quillmark fonts.json job.json -jobs=1
    Quillmark fonts.json job.json -jobs=auto
    Quillmark fonts.json job.json -jobs=auto -png-compression=1
timing each whole process, checks that each wrote every image, and prints
canvases per second and Quillmark's speed as a multiple of the peer's. Needs
Debian's fonts-noto-core and python3-pil with libraqm0. Exits with 1 when a
run failed or left an image out.
"""
import argparse
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
NOTO = "/usr/share/fonts/truetype/noto/"
FONTS = {
    "arabic": NOTO + "NotoSansArabic-Regular.ttf",
    "devanagari": NOTO + "NotoSansDevanagari-Regular.ttf",
    "thai": NOTO + "NotoSansThai-Regular.ttf",
}
WORDS = {
    "arabic": "مرحبا بالعالم تخفيضات الصيف على كل شيء اليوم فقط في متجرنا الكبير "
              "أسعار جديدة وعروض خاصة للعائلة والأصدقاء",
    "devanagari": "नमस्ते दुनिया आज की बड़ी बिक्री हर चीज़ पर छूट केवल आज हमारी दुकान में "
                  "नए दाम और खास पेशकश परिवार और दोस्तों के लिए",
    "thai": "สวัสดีชาวโลก ลดราคาฤดูร้อน ทุกอย่างวันนี้เท่านั้น ในร้านใหญ่ของเรา "
            "ราคาใหม่ ข้อเสนอพิเศษ สำหรับครอบครัวและเพื่อน",
}


def banner_text(rng, script, length):
    words = WORDS[script].split()
    text = ""
    while len(text) < length:
        text += ("" if not text else " ") + rng.choice(words)
    return text


def write_job(folder, count, seed=7):
    rng = random.Random(seed)
    scripts = list(FONTS)
    job = []
    for i in range(count):
        script = scripts[i % len(scripts)]
        job.append({"size": [1000, 340], "output": "shaped%d.png" % i, "ui": {
            "default": banner_text(rng, script, rng.randint(60, 90)),
            "font": script, "size": 120, "line_height": 130,
            "align": rng.randint(0, 2), "area": [20, 20, 960, 300],
            "fill": "#FFD54A", "stroke": "#3A2A00", "width": rng.randint(4, 8),
            "strokeOverFill": False, "shadow": "#000000", "s_size": 3,
            "s_dist": 5, "s_angle": rng.randint(0, 359), "s_alpha": 0.5,
            "adjustToFit": True, "shape": True}})
    with open(os.path.join(folder, "fonts.json"), "w", encoding="utf-8") as f:
        json.dump(FONTS, f)
    with open(os.path.join(folder, "job.json"), "w", encoding="utf-8") as f:
        json.dump(job, f, ensure_ascii=False)
    return [c["output"] for c in job]


def run_timed(command, folder):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    with open(os.path.join(folder, "log.txt"), "wb") as log:
        start = time.perf_counter()
        status = subprocess.call(command, cwd=folder, stdout=log,
                                 stderr=subprocess.STDOUT)
        return time.perf_counter() - start, status


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--count", type=int, default=30)
    parser.add_argument("--build", default=os.path.join(HERE, "..", "build"))
    parser.add_argument("--keep", help="keep the images in this folder")
    args = parser.parse_args()
    missing = [p for p in FONTS.values() if not os.path.exists(p)]
    if missing:
        sys.exit("shaped_bench: no %s (fonts-noto-core)" % ", ".join(missing))
    quillmark = os.path.abspath(os.path.join(args.build, "Quillmark"))
    root = args.keep or tempfile.mkdtemp(prefix="quillmark-shaped-")
    os.makedirs(root, exist_ok=True)
    outputs = write_job(root, args.count)
    fonts, job = os.path.join(root, "fonts.json"), os.path.join(root, "job.json")
    runs = [("Pillow + raqm", [sys.executable, os.path.join(HERE, "raqm_peer.py"), fonts, job]),
            ("Quillmark -jobs=1", [quillmark, fonts, job, "-jobs=1"]),
            ("Quillmark -jobs=auto", [quillmark, fonts, job, "-jobs=auto"]),
            ("  -png-compression=1", [quillmark, fonts, job, "-jobs=auto",
                                      "-png-compression=1"])]
    failed = False
    peer_rate = None
    print("%d shaped banners (Arabic, Devanagari, Thai)" % args.count)
    print("%-22s %8s %12s %10s" % ("", "seconds", "canvases/s", "vs peer"))
    for i, (name, command) in enumerate(runs):
        folder = os.path.join(root, "run%d" % i)
        seconds, status = run_timed(command, folder)
        left_out = [o for o in outputs if not os.path.isfile(os.path.join(folder, o))]
        if status != 0 or left_out:
            print("%s: exit %d, %d images missing (log: %s)" %
                  (name, status, len(left_out), os.path.join(folder, "log.txt")))
            failed = True
            continue
        rate = args.count / seconds
        peer_rate = peer_rate or rate
        print("%-22s %8.2f %12.2f %9.2fx" % (name, seconds, rate, rate / peer_rate))
    if not args.keep:
        shutil.rmtree(root, ignore_errors=True)
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
