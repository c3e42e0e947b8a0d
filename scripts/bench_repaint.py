#!/usr/bin/env python3
"""Covers a window with another one and measures, after uncovering it, how
long the window takes to paint its content back: bench_repaint.py WINDOW_ID
ROUNDS PAUSE. Prints one line per round, in milliseconds. X11 through ctypes,
no other module."""
import ctypes
import ctypes.util
import sys
import time

x = ctypes.CDLL(ctypes.util.find_library("X11"))
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XGetImage.restype = ctypes.c_void_p
x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                        ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x.XGetPixel.restype = ctypes.c_ulong
x.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
x.XDestroyImage.argtypes = [ctypes.c_void_p]
x.XCreateSimpleWindow.restype = ctypes.c_ulong
x.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                  ctypes.c_uint, ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong,
                                  ctypes.c_ulong]
x.XMapRaised.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x.XUnmapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x.XFlush.argtypes = [ctypes.c_void_p]


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("rest", ctypes.c_byte * 256)]


x.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                   ctypes.POINTER(XWindowAttributes)]
x.XTranslateCoordinates.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong,
                                    ctypes.c_int, ctypes.c_int, ctypes.POINTER(ctypes.c_int),
                                    ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong)]

ALL_PLANES = 0xFFFFFFFF
Z_PIXMAP = 2
COVER = 0xFF0000  # a colour the form does not show

display = x.XOpenDisplay(None)
root = x.XDefaultRootWindow(display)
window = int(sys.argv[1], 0)
rounds = int(sys.argv[2])
pause = float(sys.argv[3])

attributes = XWindowAttributes()
x.XGetWindowAttributes(display, window, ctypes.byref(attributes))
ox, oy, child = ctypes.c_int(), ctypes.c_int(), ctypes.c_ulong()
x.XTranslateCoordinates(display, window, root, 0, 0, ctypes.byref(ox), ctypes.byref(oy),
                        ctypes.byref(child))
width, height = attributes.width, attributes.height


def snapshot():
    """A grid of pixels over the window, as the screen shows them now."""
    image = x.XGetImage(display, root, ox.value, oy.value, width, height, ALL_PLANES, Z_PIXMAP)
    pixels = tuple(x.XGetPixel(image, px, py)
                   for px in range(5, width, width // 7) for py in range(30, height, height // 7))
    x.XDestroyImage(image)
    return pixels


cover = x.XCreateSimpleWindow(display, root, ox.value, oy.value, width, height, 0, 0, COVER)
for n in range(rounds):
    x.XMapRaised(display, cover)
    x.XSync(display, 0)
    time.sleep(pause)
    x.XUnmapWindow(display, cover)
    x.XSync(display, 0)
    start = time.monotonic()
    while COVER in snapshot():
        if time.monotonic() - start > 10:
            break
        time.sleep(0.002)
    print(f"round {n + 1}: repainted after {1000 * (time.monotonic() - start):.0f} ms")
    sys.stdout.flush()
    time.sleep(pause)
