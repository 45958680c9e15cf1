#include "virtual_display.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <QDeadlineTimer>
#include <QStandardPaths>
#include <algorithm>
#include <bit>

namespace shipped {

namespace {

constexpr int kServerStartMs = 5000;

// Windows come and go under the test's feet (the program ends, a window closes between
// the listing and the look); a request on a window that is gone must not end the test
// program, which is Xlib's default.
int ignoreXErrors(Display*, XErrorEvent*) { return 0; }

QByteArray property(Display* display, Window window, Atom name, Atom type, int* format = nullptr) {
    Atom actualType = 0;
    int actualFormat = 0;
    unsigned long count = 0;
    unsigned long rest = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, name, 0, 1024, False, type, &actualType, &actualFormat,
                           &count, &rest, &data) != Success ||
        data == nullptr) {
        return {};
    }
    // Items of format 32 come back as longs.
    const int itemBytes = actualFormat == 32 ? int(sizeof(long)) : actualFormat / 8;
    QByteArray value(reinterpret_cast<const char*>(data), qsizetype(count) * itemBytes);
    XFree(data);
    if (format) *format = actualFormat;
    return value;
}

qint64 windowPid(Display* display, Window window) {
    int format = 0;
    const QByteArray value =
        property(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, &format);
    if (format != 32 || value.size() < qsizetype(sizeof(long))) return 0;
    return *reinterpret_cast<const long*>(value.constData());
}

QString windowCaption(Display* display, Window window) {
    const QByteArray utf8 = property(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                                     XInternAtom(display, "UTF8_STRING", False));
    if (!utf8.isEmpty()) return QString::fromUtf8(utf8);
    return QString::fromLatin1(property(display, window, XA_WM_NAME, XA_STRING));
}

bool takesCloseRequest(Display* display, Window window) {
    Atom* protocols = nullptr;
    int count = 0;
    if (!XGetWMProtocols(display, window, &protocols, &count)) return false;
    const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    bool found = false;
    for (int i = 0; i < count; ++i) found = found || protocols[i] == deleteWindow;
    XFree(protocols);
    return found;
}

// One colour channel of a pixel, scaled to 0..255, whatever the server's visual.
int channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const unsigned long max = mask >> shift;
    return int(((pixel & mask) >> shift) * 255 / max);
}

}  // namespace

VirtualDisplay::VirtualDisplay() {
    const QString server = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (server.isEmpty()) {
        failure_ = QStringLiteral("Xvfb is not installed (tools/deps.sh installs it)");
        return;
    }
    // The server picks the first free display number itself and writes it to its output.
    server_.setProgram(server);
    server_.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"),
                          QStringLiteral("-screen"), QStringLiteral("0"),
                          QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                          QStringLiteral("tcp")});
    server_.setProcessChannelMode(QProcess::SeparateChannels);
    server_.start();
    const QDeadlineTimer deadline(kServerStartMs);
    QByteArray number;
    while (!number.endsWith('\n') && !deadline.hasExpired()) {
        if (!server_.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())))) {
            if (server_.state() == QProcess::NotRunning) break;
            continue;
        }
        number += server_.readAllStandardOutput();
    }
    bool ok = false;
    const int n = number.trimmed().toInt(&ok);
    if (!ok) {
        failure_ = QStringLiteral("Xvfb gave no display number within %1 ms: %2")
                       .arg(kServerStartMs)
                       .arg(QString::fromLocal8Bit(server_.readAllStandardError()));
        return;
    }
    name_ = QStringLiteral(":%1").arg(n);
    XSetErrorHandler(ignoreXErrors);
    display_ = XOpenDisplay(name_.toLatin1().constData());
    if (!display_) failure_ = QStringLiteral("cannot connect to Xvfb on ") + name_;
}

VirtualDisplay::~VirtualDisplay() {
    if (display_) XCloseDisplay(display_);
    if (server_.state() != QProcess::NotRunning) {
        server_.terminate();
        if (!server_.waitForFinished(3000)) {
            server_.kill();
            server_.waitForFinished(3000);
        }
    }
}

std::vector<VirtualDisplay::ShownWindow> VirtualDisplay::shownWindows() {
    std::vector<ShownWindow> shown;
    if (!display_) return shown;
    XSync(display_, False);
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count)) {
        return shown;
    }
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display_, children[i], &attributes) ||
            attributes.map_state != IsViewable) {
            continue;
        }
        shown.push_back({children[i], windowPid(display_, children[i]),
                         windowCaption(display_, children[i]),
                         takesCloseRequest(display_, children[i])});
    }
    if (children) XFree(children);
    return shown;
}

QImage VirtualDisplay::grab(unsigned long window) {
    if (!display_) return {};
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display_, window, &attributes) ||
        attributes.map_state != IsViewable) {
        return {};
    }
    XImage* shot = XGetImage(display_, window, 0, 0, unsigned(attributes.width),
                             unsigned(attributes.height), AllPlanes, ZPixmap);
    if (!shot) return {};
    QImage image(attributes.width, attributes.height, QImage::Format_RGB32);
    for (int y = 0; y < attributes.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < attributes.width; ++x) {
            const unsigned long pixel = XGetPixel(shot, x, y);
            line[x] = qRgb(channel(pixel, shot->red_mask), channel(pixel, shot->green_mask),
                           channel(pixel, shot->blue_mask));
        }
    }
    XDestroyImage(shot);
    return image;
}

void VirtualDisplay::askToClose(unsigned long window) {
    if (!display_) return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XFlush(display_);
}

}  // namespace shipped
