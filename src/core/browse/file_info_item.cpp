#include "browse/file_info_item.h"

#include "browse/date_time_separators.h"

namespace ravinel {

std::string FileInfoItem::sizeText() const {
    return std::to_string(size);
}

std::string FileInfoItem::timeText() const {
    return formatDosDateTime(time, userDateTimeSeparators());
}

}  // namespace ravinel
