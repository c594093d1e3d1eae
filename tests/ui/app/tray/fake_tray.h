#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <string>

namespace ravinel::testing {

// The least a notification area does, on its own connection to the X server: it owns the
// tray selection of screen 0, announces itself to the clients, and notes the window that
// asks to dock. Ending the object drops the connection, which ends the tray as a panel
// that quits or restarts would.
class FakeTray {
  public:
    explicit FakeTray(const std::string& display);
    ~FakeTray();
    FakeTray(const FakeTray&) = delete;
    FakeTray& operator=(const FakeTray&) = delete;

    // Reads what has arrived; the window that asked to dock, 0 while none has.
    uint32_t dockedWindow();

  private:
    xcb_atom_t atom(const char* name);

    xcb_connection_t* connection_ = nullptr;
    xcb_atom_t opcode_ = XCB_NONE;
    uint32_t docked_ = 0;
};

}  // namespace ravinel::testing
