#!/usr/bin/env python3
"""Asks an X window to close, as its title bar's close button does: the WM_DELETE_WINDOW message of
the window manager's protocol, sent to the window (the test display has no window manager to send it).
Usage: close_window.py WINDOW   (the window's id, as xdotool prints it)"""
import ctypes
import ctypes.util
import sys


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class Event(ctypes.Union):
    _fields_ = [("message", ClientMessage), ("pad", ctypes.c_long * 24)]


def main():
    window = int(sys.argv[1], 0)
    x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(Event)]
    x.XFlush.argtypes = [ctypes.c_void_p]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x.XOpenDisplay(None)
    if not display:
        sys.exit("close_window.py: cannot open the display")
    event = Event()
    event.message.type = 33  # ClientMessage
    event.message.window = window
    event.message.message_type = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.message.format = 32
    event.message.data[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    event.message.data[1] = 0  # CurrentTime
    if not x.XSendEvent(display, window, 0, 0, ctypes.byref(event)):
        sys.exit("close_window.py: the message could not be sent")
    x.XFlush(display)
    x.XCloseDisplay(display)


main()
