#include "app/display_profile.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "color/icc_profile.h"

namespace ravinel {

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply>
using ReplyPointer = std::unique_ptr<Reply, FreeReply>;

constexpr char kProfileAtom[] = "_ICC_PROFILE";

}  // namespace

std::vector<uint8_t> displayIccProfile() {
    auto* x11 = qGuiApp == nullptr ? nullptr
                                   : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 == nullptr ? nullptr : x11->connection();
    if (connection == nullptr) {
        return {};
    }
    const ReplyPointer<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, std::strlen(kProfileAtom), kProfileAtom),
        nullptr));
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!atom || atom->atom == XCB_ATOM_NONE || screen == nullptr) {
        return {};
    }
    // Lengths count 32-bit units; a profile over the limit leaves bytes after.
    const ReplyPointer<xcb_get_property_reply_t> property(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, screen->root, atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0,
                         kMaxIccProfileBytes / 4),
        nullptr));
    if (!property || property->format != 8 || property->bytes_after != 0) {
        return {};
    }
    const auto* bytes = static_cast<const uint8_t*>(xcb_get_property_value(property.get()));
    return {bytes, bytes + xcb_get_property_value_length(property.get())};
}

}  // namespace ravinel
