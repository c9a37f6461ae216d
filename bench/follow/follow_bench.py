#!/usr/bin/env python3
"""mirudana-cli --watch measured as a player uses it, on Linux:

  latency  a battle saved into a followed folder of 10,000 battles: time from the
           file's write to the update line, and the run's own share of it
  idle     following 30,000 files while nothing changes: CPU over a minute
  memory   1,000 files arriving one every 50 ms: peak resident memory over the
           first and the last quarter of the updates, and the updates' count, with
           the default report (which grows with the battles)
  memory_load_only
           the same with a script that loads every battle and writes one line,
           so the figure is following's own

Usage: follow_bench.py BUILD_DIR [latency|idle|memory|memory_load_only ...]
"""
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

BUILD = sys.argv[1] if len(sys.argv) > 1 else "build"
BIN = os.path.join(BUILD, "bin")
CLI = os.path.join(BIN, "mirudana-cli")
TICKS = os.sysconf("SC_CLK_TCK")


def battles(folder, count, seed=1):
    subprocess.run([os.path.join(BIN, "kvsgen"), "--seed", str(seed), "--count", str(count),
                    "--out", folder], check=True, stdout=subprocess.DEVNULL)


def cpu_seconds(pid):
    fields = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def rss_kb(pid):
    for line in open(f"/proc/{pid}/status"):
        if line.startswith("VmRSS:"):
            return int(line.split()[1])
    return 0


# Loads every battle and hands over one line: the memory of following itself,
# without a report that grows with the battles.
LOAD_ONLY = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "report", "floor-load.tts")


class Follow:
    def __init__(self, work, folder, script=None):
        self.output = os.path.join(work, "report.html")
        script_option = ["--script", script] if script else []
        self.process = subprocess.Popen(
            [CLI, "--home", BIN, *script_option, "--watch", "--output", self.output, folder],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)

    def line(self):
        return self.process.stdout.readline()

    def stop(self):
        self.process.send_signal(2)
        return self.process.wait()


def latency(work):
    folder = os.path.join(work, "battles")
    battles(folder, 10000)
    spare = os.path.join(work, "spare")
    battles(spare, 1, seed=7)
    follow = Follow(work, folder)
    first = follow.line()
    started = time.monotonic()
    shutil.copy(os.path.join(spare, "battle-0001.kvs"), os.path.join(folder, "new.kvs"))
    line = follow.line()
    took = time.monotonic() - started
    run = float(line.split()[-2])
    print(f"latency: first update {first.strip()}")
    print(f"latency: saved -> updated {took:.2f} s (settle 1.00 s, run {run:.2f} s, "
          f"the rest {took - 1.0 - run:.2f} s): {line.strip()}")
    print(f"latency exit status {follow.stop()}")


def idle(work):
    folder = os.path.join(work, "battles")
    battles(folder, 30000)
    follow = Follow(work, folder)
    follow.line()
    pid = follow.process.pid
    time.sleep(2)  # the first run's clean-up
    before = cpu_seconds(pid)
    time.sleep(60)
    used = cpu_seconds(pid) - before
    print(f"idle: {used:.3f} s CPU over 60 s = {used / 60 * 100:.3f} % of one core "
          f"(clock tick {1 / TICKS:.3f} s)")
    print(f"idle exit status {follow.stop()}")


def memory(work, script=None, label="default report"):
    folder = os.path.join(work, "battles")
    os.makedirs(folder)
    source = os.path.join(work, "source")
    battles(source, 1000, seed=3)
    follow = Follow(work, folder, script)
    follow.line()
    pid = follow.process.pid
    samples = []  # (time, rss)
    updates = []  # (time, battles)
    done = threading.Event()

    def sample():
        while not done.is_set():
            samples.append((time.monotonic(), rss_kb(pid)))
            time.sleep(0.005)

    def read():
        while True:
            line = follow.line()
            if not line:
                return
            updates.append((time.monotonic(), int(line.split()[3])))
            if updates[-1][1] == 1000:
                return

    sampler = threading.Thread(target=sample)
    reader = threading.Thread(target=read)
    sampler.start()
    reader.start()
    for name in sorted(os.listdir(source)):
        shutil.copy(os.path.join(source, name), os.path.join(folder, name))
        time.sleep(0.05)
    reader.join(timeout=60)
    done.set()
    sampler.join()
    count = len(updates)
    quarter = max(count // 4, 1)

    def peak(first, last):
        begin = updates[first - 1][0] if first > 0 else 0
        end = updates[last][0]
        return max(rss for at, rss in samples if begin < at <= end)

    early = peak(0, quarter - 1)
    late = peak(count - quarter, count - 1)
    print(f"memory ({label}): {count} updates, the last with {updates[-1][1]} battles; peak RSS "
          f"first quarter {early} kB, last quarter {late} kB ({(late / early - 1) * 100:+.1f} %)")
    print(f"memory exit status {follow.stop()}")


def memory_load_only(work):
    memory(work, LOAD_ONLY, "loading only")


for name in sys.argv[2:] or ["latency", "idle", "memory", "memory_load_only"]:
    with tempfile.TemporaryDirectory() as work:
        globals()[name](work)
