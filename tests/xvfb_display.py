"""An Xvfb display of the caller's own, for the checks that need a real X
server: -displayfd lets Xvfb pick a free number and report it once it
accepts clients, with no race against a server starting or ending beside it
(as xvfb-run -a can hand out one whose server is going away)."""
import os
import subprocess


class Display:
    def __init__(self, screen="1280x1024x24"):
        read, write = os.pipe()
        self.process = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", screen, "-nolisten", "tcp"],
                                        pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as reported:
            number = reported.readline().strip()
        if not number:
            self.process.kill()
            self.process.wait()
            raise RuntimeError("Xvfb did not start")
        self.name = ":" + number

    def stop(self):
        self.process.terminate()
        self.process.wait()
