#!/usr/bin/env python3
"""Writes stage1_spawns.txt: what stage 1 spawns, frame by frame, from a new
game to its WARNING, modelled straight from the stage's table (it shares no
code with the game). Run: python3 stage1_spawns.py > stage1_spawns.txt

Model of the run (the unit test sets up the same): FrameStep 0.05 every
frame; the script runs first in a frame, then StepTimer += FrameStep in
single precision; the random generator starts at state 1; small enemies
never fill their pools; a mid-size enemy dies at the end of the 200th frame
after the one it appeared in.
"""
import struct

def f32(v):
    return struct.unpack('f', struct.pack('f', v))[0]

STEP = f32(0.05)
state = 1

def my_rand(lo, hi):
    global state
    state = (state * 214013 + 2531011) & 0xFFFFFFFF
    r = (state >> 16) & 0x7FFF
    return int(r / 32767.1 * (hi - lo + 1) + lo)

out = []
frame = 0
mids = []  # frames at which live mid-size enemies appeared

def log(name, x, y, a, s, extra=None):
    line = '%d %s %g %g %d %g' % (frame, name, x, y, a, s)
    if extra is not None:
        line += ' %d' % extra
    out.append(line)

# Spawners: the log entry, and the random draws each makes in a free slot.
def zako1(x, y, a, s, v):
    log('zako1', x, y, a, s, v); my_rand(1, 5); my_rand(0, 1)
def zako2(x, y, a, s):
    log('zako2', x, y, a, s); my_rand(0, 440)
def zako3(x, y, a, s):
    log('zako3', x, y, a, s)
def oozako1(x, y, a, s):
    log('oozako1', x, y, a, s)
def haro(x, y, a, s):
    log('haro', x, y, a, s); my_rand(0, 10)
def Chuugata(x, y, a, s):
    log('Chuugata', x, y, a, s); mids.append(frame)
def Chuugata4(x, y, a, s, v):
    log('Chuugata4', x, y, a, s, v); mids.append(frame)

A = [(680, 50, 180, 30), (680, 100, 180, 30), (680, 300, 180, 30), (680, 350, 180, 30),
     (680, 100, 170, 35), (680, 220, 180, 35), (680, 340, 190, 35)]
H = ([(680, 120 + 20 * i, 180, 15) for i in range(5)] +
     [(680, 380 - 20 * (i - 5), 180, 15) for i in range(5, 10)] +
     [(100 + 100 * (i - 10), -30, 90, 15) for i in range(10, 15)] +
     [(150 + 100 * (i - 15), 470, 270, 15) for i in range(15, 20)])

def za(i):
    zako1(*A[i], 0)

T = 0.0      # StepTimer
R = 0        # StepRepeat
step = 0
col_off = 0.0
col_cnt = 0
haro_i = 0

def every(t):
    global T, R
    if T >= t:
        T = 0.0
        R += 1
        return True
    return False

def done(n):
    global R, step
    if R >= n:
        R = 0
        step += 1
        return True
    return False

def pause():
    global step
    if T >= 20:
        step += 1
        return True
    return False

def none_alive():
    return not mids

def clear_wait():
    global step
    if none_alive():
        step += 1
        return True
    return False

while step != 34:
    frame += 1
    before = step
    k = R
    if step == 0:
        T = 0.0; R += 1
        done(200)
    elif step in (1, 3):
        if every(3):
            za(0 if step == 1 else 2); za(1 if step == 1 else 3)
        if done(5):
            for i in range(10): zako3(640, 100 + 20 * i, 180, 40)
    elif step in (2, 4, 6, 10, 12, 16):
        pause()
    elif step in (5, 13):
        if every(5):
            za(4); za(5); za(6)
        if done(10) and before == 13:
            for i in range(10): zako3(300 + 20 * i, 440, 270, 40)
    elif step == 7:
        if every(1): zako2(580, 440, 270, 50)
        done(21)
    elif step == 8:
        if pause():
            for j in range(9): oozako1(640, 50 * j, 180, 25)
    elif step == 9:
        if every(3):
            zako1(640, 10, 160, 30, 0); zako1(640, 50, 150, 30, 0)
            zako1(640, 390, 210, 30, 0); zako1(640, 430, 230, 30, 0)
        done(20)
    elif step == 11:
        if every(1):
            zako2(640, 40 + 40 * k, 180, 20); zako2(640, 40 + 40 * k, 180, 40)
        if done(10):
            for i in range(10): zako3(300 + 20 * i, -40, 90, 40)
    elif step == 14:
        if pause():
            for j in range(9): oozako1(640, 50 * j, 180, 25)
            for i in range(10): zako3(300 + 20 * i, -40, 90, 40)
            for i in range(10): zako3(300 + 20 * i, 440, 270, 40)
    elif step == 15:
        if every(1): zako1(680, 400 - 20 * k, 180, 30, 0)
        done(20)
    elif step == 17:
        haro(*H[haro_i]); haro_i += 1
        if haro_i == 10: step += 1
    elif step == 18:
        if pause(): T = 0.0
    elif step == 19:
        for i in range(10, 20): haro(*H[i])
        Chuugata(640, 200, 180, 90)
        T = 1.0
        step = 22
    elif step == 22:
        if none_alive() and T >= 1:
            zako3(650, 30 + col_off, 180, 40); col_off += 30; T = 0.0; col_cnt += 1
        if col_cnt == 10:
            col_off = 0.0; col_cnt = 0; step += 1
    elif step in (23, 25, 26):
        clear_wait()
    elif step == 24:
        if clear_wait(): Chuugata(640, 200, 180, 90)
    elif step == 27:
        if every(5):
            y = my_rand(0, 440)
            haro(640, y, 180, 25)
        if done(21): Chuugata4(640, 220, 180, 2.0, 0)
    elif step == 28:
        if every(5):
            za(0); za(1); za(2); za(3); R += 1
        done(20)
    elif step == 29:
        if every(2):
            zako2(580, -20, 90, 50); zako1(640, 100, 160 + k, 50, 0); zako1(640, 140, 160 + k, 50, 0)
        done(20)
    elif step == 30:
        if T >= 5:
            T = 0.0; step += 1
    elif step == 31:
        if every(2):
            zako2(580, 440, 270, 50); zako1(640, 200, 200 - k, 50, 0); zako1(640, 240, 200 - k, 50, 0)
        if done(20): T = 0.0
    elif step == 32:
        if T >= 2:
            zako3(650, 30 + col_off, 180, 40); col_off += 30; T = 0.0; col_cnt += 1
        if col_cnt == 12:
            col_cnt = 0; step += 1
    elif step == 33:
        if T >= 50 and none_alive():
            T = 0.0; step += 1
    if step != before:
        out.append('%d step %d' % (frame, step))
    T = f32(T + STEP)
    mids = [m for m in mids if frame - m < 200]

print('\n'.join(out))
