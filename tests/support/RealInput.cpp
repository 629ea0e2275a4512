#include "RealInput.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QTest>
#include <QtGui/qguiapplication_platform.h>

#include <sys/uio.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace RealInput {

namespace {

// The requests of the server's test extension are built by hand: its client library is one more
// package for a single request.
xcb_extension_t testExtension = {"XTEST", 0};
constexpr uint8_t FakeInput = 2;
enum : uint8_t { KeyPress = 2, KeyRelease = 3, ButtonPress = 4, ButtonRelease = 5, Motion = 6 };

struct FakeInputRequest
{
    uint8_t major;
    uint8_t minor;
    uint16_t length;
    uint8_t type;
    uint8_t detail;
    uint8_t pad0[2];
    uint32_t time;
    uint32_t root;
    uint8_t pad1[8];
    int16_t rootX;
    int16_t rootY;
    uint8_t pad2[7];
    uint8_t device;
};
static_assert(sizeof(FakeInputRequest) == 36);

xcb_connection_t *connection()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t root()
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection())).data->root;
}

void fake(uint8_t type, uint8_t detail, const QPoint &at = QPoint())
{
    FakeInputRequest request;
    std::memset(&request, 0, sizeof request);
    request.type = type;
    request.detail = detail;
    if (type == Motion) {
        request.root = root();
        request.rootX = int16_t(at.x());
        request.rootY = int16_t(at.y());
    }
    // xcb writes its own header into the two parts before the request's.
    iovec parts[4] = {};
    parts[2].iov_base = &request;
    parts[2].iov_len = sizeof request;
    const xcb_protocol_request_t protocol = {1, &testExtension, FakeInput, 1};
    xcb_send_request(connection(), 0, parts + 2, &protocol);
}

// A round trip: what was sent before it has been handled by the server.
void sync()
{
    std::free(xcb_get_input_focus_reply(connection(), xcb_get_input_focus(connection()), nullptr));
}

// Counts the releases of keys and buttons the server hands the application.
class Arrivals : public QObject
{
public:
    Arrivals() { qApp->installEventFilter(this); }
    ~Arrivals() override { qApp->removeEventFilter(this); }
    int releases = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Each reaches a window first, then its widgets: counted once, at the window.
        if (watched->isWindowType() && event->spontaneous() &&
            (event->type() == QEvent::KeyRelease || event->type() == QEvent::MouseButtonRelease))
            ++releases;
        return false;
    }
};

// Sends the inputs and waits, a while at most, for their releases to reach the application: one
// on another program's window (a window manager's frame) never does.
void deliver(const std::function<void()> &send, int releases, int wait = 2000)
{
    Arrivals arrivals;
    send();
    xcb_flush(connection());
    sync();
    QTest::qWaitFor([&] { return arrivals.releases >= releases; }, wait);
    QCoreApplication::processEvents();
}

struct Keycode
{
    uint8_t code = 0;
    bool shifted = false;
};

Keycode keycodeOf(uint32_t keysym)
{
    const xcb_setup_t *setup = xcb_get_setup(connection());
    const int count = setup->max_keycode - setup->min_keycode + 1;
    std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&std::free)> mapping(
        xcb_get_keyboard_mapping_reply(
            connection(), xcb_get_keyboard_mapping(connection(), setup->min_keycode, count),
            nullptr),
        &std::free);
    if (!mapping)
        return {};
    const xcb_keysym_t *keysyms = xcb_get_keyboard_mapping_keysyms(mapping.get());
    const int perCode = mapping->keysyms_per_keycode;
    for (int column = 0; column < std::min(perCode, 2); ++column)
        for (int i = 0; i < count; ++i)
            if (keysyms[i * perCode + column] == keysym)
                return {uint8_t(setup->min_keycode + i), column == 1};
    return {};
}

uint32_t keysymOf(Qt::Key key)
{
    switch (key) {
    case Qt::Key_Return:
        return 0xff0d;
    case Qt::Key_Enter:
        return 0xff8d;
    case Qt::Key_Escape:
        return 0xff1b;
    case Qt::Key_Tab:
        return 0xff09;
    case Qt::Key_Backspace:
        return 0xff08;
    case Qt::Key_Delete:
        return 0xffff;
    case Qt::Key_Home:
        return 0xff50;
    case Qt::Key_End:
        return 0xff57;
    case Qt::Key_Left:
        return 0xff51;
    case Qt::Key_Up:
        return 0xff52;
    case Qt::Key_Right:
        return 0xff53;
    case Qt::Key_Down:
        return 0xff54;
    case Qt::Key_PageUp:
        return 0xff55;
    case Qt::Key_PageDown:
        return 0xff56;
    default:
        if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
            return 0xffbe + (key - Qt::Key_F1);
        // Letters as their small keysyms; digits and signs are their own Latin-1 codes.
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return uint32_t(key) + 0x20;
        return uint32_t(key);
    }
}

std::vector<Keycode> modifierKeys(Qt::KeyboardModifiers modifiers)
{
    std::vector<Keycode> keys;
    if (modifiers & Qt::ShiftModifier)
        keys.push_back(keycodeOf(0xffe1));
    if (modifiers & Qt::ControlModifier)
        keys.push_back(keycodeOf(0xffe3));
    if (modifiers & Qt::AltModifier)
        keys.push_back(keycodeOf(0xffe9));
    return keys;
}

void pressKey(uint32_t keysym, Qt::KeyboardModifiers modifiers)
{
    const Keycode main = keycodeOf(keysym);
    if (main.shifted)
        modifiers |= Qt::ShiftModifier;
    const std::vector<Keycode> held = modifierKeys(modifiers);
    deliver(
        [&] {
            for (const Keycode &modifier : held)
                fake(KeyPress, modifier.code);
            fake(KeyPress, main.code);
            fake(KeyRelease, main.code);
            for (auto it = held.rbegin(); it != held.rend(); ++it)
                fake(KeyRelease, it->code);
        },
        1 + int(held.size()));
}

} // namespace

bool available()
{
    xcb_connection_t *c = connection();
    if (!c)
        return false;
    const xcb_query_extension_reply_t *extension = xcb_get_extension_data(c, &testExtension);
    return extension && extension->present;
}

void moveTo(const QPoint &global)
{
    fake(Motion, 0, global);
    xcb_flush(connection());
    sync();
    QCoreApplication::processEvents();
}

void click(const QPoint &global, Qt::MouseButton button)
{
    const uint8_t number = button == Qt::RightButton ? 3 : button == Qt::MiddleButton ? 2 : 1;
    moveTo(global);
    deliver(
        [&] {
            fake(ButtonPress, number);
            fake(ButtonRelease, number);
        },
        1);
}

void key(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    pressKey(keysymOf(key), modifiers);
}

void type(const QString &text)
{
    for (const QChar c : text)
        pressKey(c == u' ' ? 0x20 : c.unicode(), Qt::NoModifier);
}

void minimiseByWindowManager(WId window)
{
    xcb_connection_t *c = connection();
    const QByteArray name = QByteArrayLiteral("WM_CHANGE_STATE");
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(name.size()), name.constData()),
                              nullptr),
        &std::free);
    if (!atom)
        return;
    xcb_client_message_event_t message = {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = xcb_window_t(window);
    message.type = atom->atom;
    message.data.data32[0] = 3; // IconicState
    xcb_send_event(c, 0, root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    settle();
}

void settle()
{
    xcb_flush(connection());
    sync();
    QCoreApplication::processEvents();
}

} // namespace RealInput
