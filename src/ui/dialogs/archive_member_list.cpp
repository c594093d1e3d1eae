#include "dialogs/archive_member_list.h"

#include <exception>

#include "archive/archiver.h"

namespace ravinel {

namespace {

FileInfoItem memberItem(const IndividualInfo64& member) {
    FileInfoItem item;
    item.name = member.info.szFileName;
    item.size = static_cast<int32_t>(static_cast<uint32_t>(member.originalSize));
    item.time = dosDateTimeOfFileTime(member.writeTime);
    return item;
}

}  // namespace

void listArchiveMembers(ArchiveFile& archive, FilesInfo& list) {
    try {
        if (archive.openArchive(nullptr, 0) == 0) {
            IndividualInfo64 member;
            for (int32_t result = archive.findFirst("*", member); result == 0;
                 result = archive.findNext(member)) {
                // The full size decides: a 4 GiB member is no empty file.
                if (member.originalSize != 0) {
                    list.add(memberItem(member));
                }
            }
        }
    } catch (const std::exception&) {
        // Whatever was listed before the failure stays.
    }
    archive.closeArchive();
}

bool showsArchivePictures(ArchiverType type) {
    return type == ArchiverType::atLha || type == ArchiverType::atZip ||
           type == ArchiverType::atTar;
}

}  // namespace ravinel
