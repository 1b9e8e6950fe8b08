#!/usr/bin/python3
"""A share that answers slowly, for the tests: a passthrough file system (FUSE, fusepy) over
a folder, whose listings and look-ups of its root wait as a control file says.

    slow-share.py FILES MOUNT_POINT CONTROL

CONTROL holds "LISTING [LOOK-UP]": how many seconds each listing waits, and each look-up of the
share's root (the listing's when not given); 0 or a missing file: at once. Under Wine a look-up
is made by the wineserver, which stops every Wine program while it waits; a listing stops only
the thread that lists. A waiting call looks at the file every 50 ms and ends as soon as the
time now written there has passed, so a share made to wait "for ever" (a large number)
answers as soon as the file is set back to 0. CONTROL.waiting holds how many calls wait now,
so that a test acts once a call is under way.

It also lends the tests a hand: "X Y CLICKS" written to CONTROL.hand moves the X server's own
pointer there and clicks (xdotool), as a person's mouse does, and the file goes once the
clicks are done. A pointer that a Windows program moves with SendInput is Wine's, not always X's.
"""

import errno
import os
import subprocess
import sys
import threading
import time

import fusepy


class SlowShare(fusepy.Operations):
    def __init__(self, files, control):
        self.files = files
        self.control = control
        self.waiting = 0
        self.lock = threading.Lock()
        self._tell_waiting(0)

    def _tell_waiting(self, change):
        with self.lock:
            self.waiting += change
            with open(self.control + ".waiting", "w") as told:
                told.write(str(self.waiting))

    def _seconds(self, which=0):
        try:
            with open(self.control) as control:
                values = control.read().split()
            return float(values[min(which, len(values) - 1)]) if values else 0.0
        except (OSError, ValueError):
            return 0.0

    def _wait(self, which=0):
        started = time.monotonic()
        if self._seconds(which) <= 0:
            return
        self._tell_waiting(1)
        try:
            while time.monotonic() - started < self._seconds(which):
                time.sleep(0.05)
        finally:
            self._tell_waiting(-1)

    def _path(self, path):
        return os.path.join(self.files, path.lstrip("/"))

    def getattr(self, path, fh=None):
        if path == "/":
            self._wait(1)
        try:
            st = os.lstat(self._path(path))
        except OSError as error:
            raise fusepy.FuseOSError(error.errno)
        return {key: getattr(st, key) for key in (
            "st_atime", "st_ctime", "st_gid", "st_mode", "st_mtime", "st_nlink", "st_size",
            "st_uid")}

    def readdir(self, path, fh):
        self._wait()
        return [".", ".."] + os.listdir(self._path(path))

    def open(self, path, flags):
        return os.open(self._path(path), flags)

    def read(self, path, size, offset, fh):
        os.lseek(fh, offset, os.SEEK_SET)
        return os.read(fh, size)

    def release(self, path, fh):
        os.close(fh)
        return 0

    def statfs(self, path):
        st = os.statvfs(self._path(path))
        return {key: getattr(st, key) for key in (
            "f_bavail", "f_bfree", "f_blocks", "f_bsize", "f_favail", "f_ffree", "f_files",
            "f_flag", "f_frsize", "f_namemax")}

    def access(self, path, amode):
        if not os.access(self._path(path), amode):
            raise fusepy.FuseOSError(errno.EACCES)
        return 0


def lend_a_hand(request):
    while True:
        try:
            with open(request) as asked:
                x, y, clicks = asked.read().split()[:3]
        except (OSError, ValueError):
            time.sleep(0.02)
            continue
        subprocess.run(["xdotool", "mousemove", x, y, "sleep", "0.1",
                        "click", "--repeat", clicks, "--delay", "80", "1"], check=False)
        os.remove(request)


def main():
    files, mount_point, control = sys.argv[1:4]
    threading.Thread(target=lend_a_hand, args=(control + ".hand",), daemon=True).start()
    # Nothing cached: every look-up reaches the share, as a network share's would.
    fusepy.FUSE(SlowShare(files, control), mount_point, foreground=True, nothreads=False,
                allow_other=True, attr_timeout=0, entry_timeout=0, negative_timeout=0)


if __name__ == "__main__":
    main()
