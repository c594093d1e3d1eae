// The display's profile as a colour-managed desktop publishes it on the test's X server.
#include "app/display_profile.h"

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "tools/fixtures/icc_profiles.h"

namespace ravinel::testing {
namespace {

// Waits until the server has handled every request sent before.
void roundTrip(xcb_connection_t* connection) {
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

TEST(DisplayProfile, IsTheRootWindowPropertyWhileOneIsSet) {
    EXPECT_TRUE(displayIccProfile().empty());

    // A desktop's own connection, as the colour settings of a desktop would set it.
    xcb_connection_t* desktop = xcb_connect(nullptr, nullptr);
    ASSERT_EQ(xcb_connection_has_error(desktop), 0);
    const char name[] = "_ICC_PROFILE";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        desktop, xcb_intern_atom(desktop, 0, std::strlen(name), name), nullptr);
    ASSERT_NE(atom, nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(desktop)).data->root;
    const std::vector<uint8_t> adobe = fixtures::iccBytes(fixtures::TestProfile::adobeRgb);
    xcb_change_property(desktop, XCB_PROP_MODE_REPLACE, root, atom->atom, XCB_ATOM_CARDINAL, 8,
                        static_cast<uint32_t>(adobe.size()), adobe.data());
    roundTrip(desktop);
    EXPECT_EQ(displayIccProfile(), adobe);

    xcb_delete_property(desktop, root, atom->atom);
    roundTrip(desktop);
    EXPECT_TRUE(displayIccProfile().empty());
    std::free(atom);
    xcb_disconnect(desktop);
}

}  // namespace
}  // namespace ravinel::testing
