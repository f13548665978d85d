"""Tests of bench/pillow_peer.py and bench/peer_bench.py.

    /usr/bin/python3 peer_bench_test.py BUILD_DIR

Skips (exit 77) when the Python running it has no Pillow.
"""
import json
import math
import os
import subprocess
import sys
import tempfile
import unittest

BENCH = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "bench")
sys.path.insert(0, BENCH)
try:
    from PIL import Image, ImageColor, ImageFont
    import pillow_peer
except ImportError:
    print("Pillow is missing: skipped")
    sys.exit(77)
BUILD = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 1 else "build"
SANS = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
CJK = "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf"


def write_jobs(root, counts):
    subprocess.run([os.path.join(BUILD, "bench", "quillmark_bench"), "--write-jobs", root,
                    "--count", counts], check=True, capture_output=True)


def near(pixel, colour, tolerance=40):
    return all(abs(a - b) <= tolerance for a, b in zip(pixel[:3], colour[:3]))


class PillowPeerTest(unittest.TestCase):
    def test_draws_every_canvas_with_its_outline_and_shadow(self):
        with tempfile.TemporaryDirectory() as root:
            write_jobs(root, "banners=2,vertical-fit=4,vertical=2,plain=3")
            for name in ("banners", "vertical-fit", "vertical", "plain"):
                folder = os.path.join(root, name)
                subprocess.run([sys.executable, os.path.join(BENCH, "pillow_peer.py"),
                                os.path.join(root, "fonts.json"), "job.json"],
                               cwd=folder, check=True)
                with open(os.path.join(folder, "job.json"), encoding="utf-8") as f:
                    job = json.load(f)
                for canvas in job:
                    self.check_image(os.path.join(folder, canvas["output"]), canvas)

    def check_image(self, path, canvas):
        ui = canvas["ui"]
        image = Image.open(path)
        self.assertEqual(image.size, tuple(canvas["size"]), path)
        self.assertEqual(image.mode, "RGBA", path)
        pixels = list(image.getdata())
        opaque = [p for p in pixels if p[3] == 255]
        self.assertTrue(any(near(p, ImageColor.getrgb(ui["fill"]), 8) for p in opaque), path)
        if "stroke" in ui:
            has_stroke = any(near(p, ImageColor.getrgb(ui["stroke"]), 8) for p in opaque)
            self.assertEqual(has_stroke, ui.get("width", 0) > 0, path)
        # The shadow: black, partly transparent, outside the drawn text.
        soft = sum(1 for p in pixels if 0 < p[3] < 200 and near(p, (0, 0, 0), 8))
        self.assertEqual(soft > 100, ui.get("s_size", 0) > 0, f"{path}: {soft} shadow pixels")

    def test_fitting_takes_the_largest_size_that_fits(self):
        text = "fresh bread every weekend, free coffee with every order"
        font, placed = pillow_peer.lay_out_lines({"default": text}, SANS, 120, 130,
                                                 [0, 0, 400, 120], True, True)
        self.assertEqual("".join(line for _, line in placed), text)
        self.assertLessEqual(len(placed) * sum(font.getmetrics()), 120)
        for _, line in placed:
            self.assertLessEqual(font.getlength(line), 400, line)
        bigger = ImageFont.truetype(SANS, font.size + 1)
        lines = pillow_peer.break_lines(text, bigger, 400)
        self.assertGreater(len(lines) * sum(bigger.getmetrics()), 120)

        text = "春眠不觉晓处处闻啼鸟夜来风雨声花落知多少" * 2
        font, placed = pillow_peer.lay_out_columns({"default": text}, CJK, 120, 48,
                                                   [10, 10, 220, 600], True, True)
        size = font.size
        self.assertEqual(len(placed), len(text))
        columns = sum(1 for (_, y), _ in placed if y == 10)  # each starts at the top
        self.assertLessEqual(columns * size, 220)
        for (_, y), ch in placed:
            self.assertLessEqual(y + size, 610, ch)
        self.assertGreater(math.ceil(len(text) / (600 // (size + 1))) * (size + 1), 220)
        # The first characters go down the rightmost column.
        self.assertGreater(placed[0][0][0], 230 - size - 1)
        self.assertGreater(placed[1][0][1], placed[0][0][1])

    def test_vertical_columns_start_at_the_right(self):
        with tempfile.TemporaryDirectory() as root:
            job = [{"size": [300, 200], "output": "v.png", "ui": {
                "default": "春眠不觉晓处处闻啼鸟", "font": "cjk", "size": 40,
                "line_height": 50, "area": [0, 0, 300, 200], "fill": "#000000",
                "direction": 1}}]
            write_jobs(root, "plain=1")
            with open(os.path.join(root, "job.json"), "w", encoding="utf-8") as f:
                json.dump(job, f)
            subprocess.run([sys.executable, os.path.join(BENCH, "pillow_peer.py"),
                            "fonts.json", "job.json"], cwd=root, check=True)
            alpha = Image.open(os.path.join(root, "v.png")).getchannel("A")
            # 10 characters, 5 to a 40-pixel cell column: two columns of 50.
            self.assertIsNotNone(alpha.crop((250, 0, 300, 200)).getbbox())
            self.assertIsNotNone(alpha.crop((200, 0, 250, 200)).getbbox())
            self.assertIsNone(alpha.crop((0, 0, 200, 200)).getbbox())


class PeerBenchTest(unittest.TestCase):
    def run_bench(self, build):
        return subprocess.run([sys.executable, os.path.join(BENCH, "peer_bench.py"),
                               "--build", build, "--python", sys.executable,
                               "--count", "plain=2,vertical-fit=0,banners=0"],
                              capture_output=True, text=True)

    def test_times_every_renderer_on_the_same_jobs(self):
        result = self.run_bench(BUILD)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        rows = [line.split() for line in result.stdout.splitlines() if line.startswith("plain")]
        self.assertEqual([row[2:-3] for row in rows],
                         [["pillow"], ["quillmark", "-jobs=1"], ["quillmark", "-jobs=auto"],
                          ["quillmark", "-jobs=auto", "-png-compression=1"],
                          ["quillmark", "-dry-run"]])
        for row in rows:
            self.assertEqual(row[1], "2")
            self.assertGreater(float(row[-2]), 0)

    def test_a_renderer_that_leaves_images_out_fails_the_run(self):
        with tempfile.TemporaryDirectory() as fake:
            os.mkdir(os.path.join(fake, "bench"))
            os.symlink(os.path.join(BUILD, "bench", "quillmark_bench"),
                       os.path.join(fake, "bench", "quillmark_bench"))
            quillmark = os.path.join(fake, "Quillmark")
            with open(quillmark, "w", encoding="utf-8") as f:
                f.write("#!/bin/sh\necho '2026-01-01 00:00:00.000 [1] ImageMagick 7'\n")
            os.chmod(quillmark, 0o755)
            result = self.run_bench(fake)
        self.assertEqual(result.returncode, 1, result.stdout)
        failed = [line for line in result.stdout.splitlines() if "FAILED" in line]
        self.assertEqual(len(failed), 3, result.stdout)
        self.assertIn("2 images missing", failed[0])


if __name__ == "__main__":
    unittest.main()
