#include "codec/jpeg/jpeg_frame_walk.h"

#include "platform/byte_reader.h"

namespace ravinel {

bool findJpegFrame(std::span<const uint8_t> data, JpegFrameSize& frame) {
    ByteReader reader(data);
    reader.seek(4);
    int64_t length = reader.u16be();
    reader.seek(6);
    for (;;) {
        // A first segment length below 2 steps back; the byte found there ends the walk.
        reader.seek(static_cast<size_t>(static_cast<int64_t>(reader.position()) + length - 2));
        const uint8_t prefix = reader.u8();
        const uint8_t marker = reader.u8();
        if (prefix != 0xFF || marker == 0xD9) {
            return false;
        }
        if (marker == 0xC0 || marker == 0xC2) {
            reader.skip(3);  // segment length and sample precision
            frame.height = reader.u16be();
            frame.width = reader.u16be();
            return true;
        }
        length = reader.u16be();
        if (length < 2 || reader.position() + static_cast<uint64_t>(length) > data.size() - 1) {
            return false;
        }
    }
}

}  // namespace ravinel
