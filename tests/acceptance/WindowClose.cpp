// Asks an X window to close as a window manager's close box does: a WM_DELETE_WINDOW message
// of the WM_PROTOCOLS kind. (Destroying the window or killing its client would test nothing.)
// Given the window's process, it also waits for that process to end and prints
// "close-to-exit: N ms", counted from the moment the server has taken the message.
//
//   quillane_test_window_close WINDOW-ID [PID]
//
// Exits 0 once the message is taken (and the process has ended, given PID), 1 when the server
// cannot be reached, 3 when the process is still running after 10 s.

#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kExitWaitMs = 10000;

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

// A descriptor that becomes readable when the process ends (the C library's wrapper is not
// declared for C++ in every version).
int OpenProcess(unsigned long pid) {
    return static_cast<int>(syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0U));
}

unsigned long Number(const char* text) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 0);
    return end != text && *end == '\0' ? value : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const unsigned long window = argc == 2 || argc == 3 ? Number(argv[1]) : 0;
    const unsigned long pid = argc == 3 ? Number(argv[2]) : 0;
    if (window == 0 || (argc == 3 && pid == 0)) {
        std::fprintf(stderr, "usage: quillane_test_window_close WINDOW-ID [PID]\n");
        return 2;
    }
    // Held before the message goes, so an end that comes at once is still seen.
    const int process = pid != 0 ? OpenProcess(pid) : -1;
    if (pid != 0 && process < 0) {
        std::fprintf(stderr, "no process %lu to wait for\n", pid);
        return 2;
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        std::fprintf(stderr, "cannot reach the X server\n");
        return 1;
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window);
    message.type = Atom(connection, "WM_PROTOCOLS");
    message.data.data32[0] = Atom(connection, "WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, message.window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    // An answer to a later request proves the server has handled the message. Hanging up at
    // once lets a busy server see the closed connection before the request it still holds,
    // and the message is lost.
    xcb_get_input_focus_reply_t* focus =
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr);
    const auto taken = std::chrono::steady_clock::now();
    const bool delivered = focus != nullptr;
    std::free(focus);
    xcb_disconnect(connection);
    if (!delivered) {
        std::fprintf(stderr, "the X server did not answer after the close message\n");
        return 1;
    }
    if (process < 0) {
        return 0;
    }
    pollfd ended{process, POLLIN, 0};
    const int ready = poll(&ended, 1, kExitWaitMs);
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - taken);
    close(process);
    if (ready != 1) {
        std::printf("close-to-exit: over %d ms (still running)\n", kExitWaitMs);
        return 3;
    }
    std::printf("close-to-exit: %lld ms\n", static_cast<long long>(waited.count()));
    return 0;
}
