// Timers and device events, both delivered to the window through its message map.
#include <QSocketNotifier>

#include "afx/qt/Handles.h"
#include "afx/qt/QtBackend.h"

namespace afx::qt {
namespace {

std::function<sys::posix::UeventSocket()> g_openUevents;  // empty: the kernel's

// Tells the window when a tty came or went; what else the kernel reports is read and dropped.
class UeventNotification : public afx::DeviceNotification {
public:
    UeventNotification(sys::posix::UeventSocket socket, HWND target)
        : m_socket(std::move(socket)), m_notifier(m_socket.Fd(), QSocketNotifier::Read) {
        QObject::connect(&m_notifier, &QSocketNotifier::activated, [this, target] {
            if (m_socket.ReadTtyEvents() && Find(target) != nullptr)
                TheQtBackend().SendMessage(target, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
        });
    }

private:
    sys::posix::UeventSocket m_socket;
    QSocketNotifier m_notifier;
};

}  // namespace

void SetUeventOpener(std::function<sys::posix::UeventSocket()> open) {
    g_openUevents = std::move(open);
}

std::unique_ptr<afx::DeviceNotification> QtBackend::NotifyPortDevices(HWND hWnd) {
    if (Find(hWnd) == nullptr) return nullptr;
    sys::posix::UeventSocket socket =
        g_openUevents ? g_openUevents() : sys::posix::UeventSocket::OpenKernel();
    if (!socket.Valid()) return nullptr;
    return std::make_unique<UeventNotification>(std::move(socket), hWnd);
}

bool QtBackend::SetTimer(HWND hWnd, UINT_PTR id, UINT ms) {
    HWND__* window = Find(hWnd);
    if (window == nullptr) return false;
    std::unique_ptr<QTimer>& timer = window->timers[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, [hWnd, id] {
            if (Find(hWnd) != nullptr) TheQtBackend().SendMessage(hWnd, WM_TIMER, id, 0);
        });
    }
    timer->start(static_cast<int>(ms));
    return true;
}

bool QtBackend::KillTimer(HWND hWnd, UINT_PTR id) {
    HWND__* window = Find(hWnd);
    // Stopped, not destroyed: the timer may be the one whose tick is being handled.
    if (window == nullptr) return false;
    const auto found = window->timers.find(id);
    if (found == window->timers.end() || !found->second->isActive()) return false;
    found->second->stop();
    return true;
}

}  // namespace afx::qt
