#pragma once

#include <QImage>
#include <QProcess>
#include <QString>
#include <vector>

// Xlib's connection, kept out of this header: Xlib's macros clash with Qt's and gtest's.
struct _XDisplay;

namespace shipped {

// An X display of the test's own: a virtual server on a display number that no other
// server holds, and a connection to it that sees and closes windows as a window manager
// would. The server stops with this object.
class VirtualDisplay {
  public:
    VirtualDisplay();
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // False when the server did not start or cannot be reached; `failure()` says why.
    bool ready() const { return display_ != nullptr; }
    const QString& failure() const { return failure_; }
    // What DISPLAY names it, ":n".
    const QString& name() const { return name_; }

    struct ShownWindow {
        unsigned long id = 0;
        qint64 pid = 0;  // of the process that made it; 0 when it does not say
        QString caption;
        bool takesCloseRequest = false;
    };
    // The windows on the screen: every top-level window that is mapped and viewable.
    std::vector<ShownWindow> shownWindows();
    // What the window shows now; a null image when it is gone.
    QImage grab(unsigned long window);
    // The close request a window manager sends when the frame's close button is clicked.
    void askToClose(unsigned long window);

  private:
    QProcess server_;
    QString name_;
    QString failure_;
    ::_XDisplay* display_ = nullptr;
};

}  // namespace shipped
