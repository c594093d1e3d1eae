#include "tests/ui/app/tray/fake_tray.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace ravinel::testing {

namespace {

// The message of the tray protocol that asks for a dock.
constexpr uint32_t kRequestDock = 0;

}  // namespace

FakeTray::FakeTray(const std::string& display) {
    int screenNumber = 0;
    connection_ = xcb_connect(display.c_str(), &screenNumber);
    if (xcb_connection_has_error(connection_) != 0) {
        throw std::runtime_error("cannot connect to " + display);
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    const xcb_window_t window = xcb_generate_id(connection_);
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    opcode_ = atom("_NET_SYSTEM_TRAY_OPCODE");
    const xcb_atom_t selection = atom("_NET_SYSTEM_TRAY_S0");
    xcb_set_selection_owner(connection_, window, selection, XCB_CURRENT_TIME);

    // Clients watching the root window learn of the new tray from this message.
    xcb_client_message_event_t manager;
    std::memset(&manager, 0, sizeof manager);
    manager.response_type = XCB_CLIENT_MESSAGE;
    manager.format = 32;
    manager.window = screen->root;
    manager.type = atom("MANAGER");
    manager.data.data32[0] = XCB_CURRENT_TIME;
    manager.data.data32[1] = selection;
    manager.data.data32[2] = window;
    xcb_send_event(connection_, 0, screen->root, XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&manager));
    xcb_flush(connection_);
}

FakeTray::~FakeTray() {
    xcb_disconnect(connection_);
}

xcb_atom_t FakeTray::atom(const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t value = reply != nullptr ? reply->atom : XCB_NONE;
    std::free(reply);
    return value;
}

uint32_t FakeTray::dockedWindow() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        if ((event->response_type & 0x7F) == XCB_CLIENT_MESSAGE) {
            const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
            if (message->type == opcode_ && message->data.data32[1] == kRequestDock) {
                docked_ = message->data.data32[2];
            }
        }
        std::free(event);
    }
    return docked_;
}

}  // namespace ravinel::testing
