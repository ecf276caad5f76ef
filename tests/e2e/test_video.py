"""The Video list in saver mode, end to end under Wine with the system's media
engine: a 16:9 video of one colour on the 4:3 screen shows its colour in the
middle and black bars above and below, a video with a sound track plays on a bed
without an audio device and, with "Play video sound", is heard on one that
writes to a file, a truncated video beside a good one leaves the good one
playing, "Change every" minute brings the other video, and a list of videos that
cannot play warns once, stays black and ends on a key. The videos are made with
ffmpeg when the test runs."""

import array
import os
import subprocess

from lumivane_e2e import LumivaneTestCase, main

MAKE_VIDEOS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "contract", "make_videos.sh")
NOT_FOUND = "Too much files in the RandomList cannot be found!\r\nPlease fix it firstly"
WIDE_COLOUR = (0x20, 0x60, 0xC0)   # wide.mp4, 320 x 180
SOUND_COLOUR = (0xE0, 0x80, 0x20)  # sound.mp4, 160 x 120 with an AAC track
# How a saver that played videos may end under this Wine: normally, or with
# Wine's crash as the process exits (139, or -11 as the signal) once its media
# engine has had a thread stuck in a file cut before its index, or, seldom, one
# still leaving the engine. The window is gone either way.
ENDED = (0, 139, -11)


def near(colour, expected, slack=24):
    return all(abs(a - b) <= slack for a, b in zip(colour, expected))


class VideoSaver(LumivaneTestCase):
    def setUp(self):
        super().setUp()
        self.make_folder(["Lumivane.scr"])
        videos = os.path.join(self.folder.path, "videos")
        subprocess.run(["bash", MAKE_VIDEOS, videos], check=True, capture_output=True, timeout=120)

    def capturing_device(self):
        """An audio device for Wine's ALSA driver that writes what it plays to a file, as
        signed 16-bit mono at 48 kHz; the environment that gives it to a program, and the file."""
        config = os.path.join(self.folder.path, "sound", "alsa")
        os.makedirs(config, exist_ok=True)
        captured = os.path.join(self.folder.path, "sound", "played.raw")
        with open(os.path.join(config, "asoundrc"), "w") as rc:
            rc.write('pcm.!default { type plug; slave { pcm "captured"; format S16_LE; rate 48000; channels 1 } }\n'
                     'pcm.captured { type file; slave.pcm "null"; file "%s"; format "raw" }\n' % captured)
        return {"XDG_CONFIG_HOME": os.path.dirname(config)}, captured

    def run_saver(self, names, *misc, env=None):
        entries = ["%s\\videos\\%s" % (self.folder.dos, name) for name in names]
        lines = ["[Amount]", "Total=0", "FlashTotal=0", "VideoTotal=%d" % len(entries), "[VideoList]"]
        lines += ["File%d=%s" % (i, entry) for i, entry in enumerate(entries)]
        self.folder.write_ini("\n".join(lines + ["[RandomWhat]", "Type=2", "[Misc]", *misc]) + "\n")
        return self.start_lumivane("/s", env=env)

    def end_with_key(self, program):
        self.input.key("space")
        self.assertIn(program.wait(10), ENDED)

    def test_a_wide_video_fills_the_width_with_bars_above_and_below(self):
        program = self.run_saver(["wide.mp4"])
        self.wait_window(cls="TfrmScreen", timeout=15)
        self.assertTrue(self.eventually(lambda: near(self.pixel(512, 384), WIDE_COLOUR), 15), self.pixel(512, 384))
        self.snap("wide-video")
        # 1024 x 576 from y 96: its edges are the video's colour, the bars black.
        for x, y in ((4, 100), (1019, 667), (512, 120)):
            self.assertTrue(near(self.pixel(x, y), WIDE_COLOUR), (x, y, self.pixel(x, y)))
        for x, y in ((512, 40), (512, 740)):
            self.assertEqual(self.pixel(x, y), (0, 0, 0), (x, y))
        self.end_with_key(program)

    def test_a_video_with_a_sound_track_plays_without_an_audio_device(self):
        program = self.run_saver(["sound.mp4"])
        self.wait_window(cls="TfrmScreen", timeout=15)
        self.assertTrue(self.eventually(lambda: near(self.pixel(512, 384), SOUND_COLOUR), 15), self.pixel(512, 384))
        self.assertIsNone(self.driver.msgbox(timeout=0.3))
        self.end_with_key(program)

    def test_the_sound_track_is_played_on_the_device_only_when_asked_for_and_loops_with_the_picture(self):
        env, captured = self.capturing_device()
        for sound in (0, 1):
            program = self.run_saver(["sound.mp4"], "VideoSound=%d" % sound, env=env)
            self.wait_window(cls="TfrmScreen", timeout=15)
            self.assertTrue(self.eventually(lambda: near(self.pixel(512, 384), SOUND_COLOUR), 15))
            played = lambda: os.path.getsize(captured) // 2 / 48000 if os.path.exists(captured) else 0
            self.eventually(lambda: played() > 3.5, 8)
            self.end_with_key(program)
            if not sound:
                self.assertEqual(played(), 0, "muted, the device is not even opened")
                continue
            # The 1 s video's 440 Hz tone in every tenth of a second of over three loops,
            # but for the seams of the loops.
            samples = array.array("h", open(captured, "rb").read())
            tenths = [samples[i:i + 4800] for i in range(4800, len(samples) - 4800, 4800)]
            self.assertGreater(len(tenths), 30, "%.1f s of sound" % played())
            tone = [t for t in tenths if max(t) > 2000 and 40 <= sum(a < 0 <= b for a, b in zip(t, t[1:])) <= 48]
            self.assertGreater(len(tone), 0.8 * len(tenths), "%d of %d tenths hold the tone" % (len(tone), len(tenths)))

    def test_a_truncated_video_beside_a_good_one_leaves_the_good_one_playing(self):
        program = self.run_saver(["truncated.mp4", "wide.mp4", "text.mp4"])
        self.wait_window(cls="TfrmScreen", timeout=15)
        self.assertTrue(self.eventually(lambda: near(self.pixel(512, 384), WIDE_COLOUR), 30), self.pixel(512, 384))
        self.assertIsNone(self.driver.msgbox(timeout=0.3))
        self.end_with_key(program)

    def test_change_every_minute_shows_the_other_video(self):
        program = self.run_saver(["wide.mp4", "sound.mp4"], "ChangeEvery=1")
        self.wait_window(cls="TfrmScreen", timeout=15)
        colours = (WIDE_COLOUR, SOUND_COLOUR)
        self.assertTrue(self.eventually(lambda: any(near(self.pixel(512, 384), c) for c in colours), 15))
        first = next(c for c in colours if near(self.pixel(512, 384), c))
        other = colours[1 - colours.index(first)]
        self.assertTrue(self.eventually(lambda: near(self.pixel(512, 384), other), 75), self.pixel(512, 384))
        self.end_with_key(program)

    def test_only_videos_that_cannot_play_warn_once_then_black_until_a_key(self):
        program = self.run_saver(["text.mp4", "empty.mp4", "missing.mp4"])
        box = self.driver.msgbox(caption="Warning", timeout=40)
        self.assertIsNotNone(box, "no warning")
        self.assertEqual(box["text"], NOT_FOUND)
        self.driver.press(box["hwnd"], "OK")
        self.assertTrue(self.driver.gone(box["hwnd"]))
        self.assertIsNone(self.driver.msgbox(caption="Warning", timeout=1.0), "the warning came twice")
        self.assertEqual(self.pixel(512, 384), (0, 0, 0))
        self.end_with_key(program)


if __name__ == "__main__":
    main()
