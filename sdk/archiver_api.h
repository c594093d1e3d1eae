/*
 * The common archiver interface as Ravinel's archiver modules export it on Linux.
 *
 * Each module is a shared object named after the Windows DLL it stands for
 * (unlha32.so, unzip32.so, tar32.so, cab32.so, unrar32.so, 7-zip32.so). Its exports are
 * the export prefix of that DLL ("Unlha", "UnZip", "Tar", "Cab", "Unrar", "SevenZip")
 * followed by the names below; the command entry is the prefix alone. All exports have
 * C linkage. Sizes are fixed-width: what Windows declares as DWORD is uint32_t here.
 */
#ifndef RAVINEL_ARCHIVER_API_H
#define RAVINEL_ARCHIVER_API_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define ARC_EXPORT __attribute__((visibility("default")))
#else
#define ARC_EXPORT
#endif

/* An open archive; NULL when opening failed. */
typedef void* HARC;
/* A window of the caller; Ravinel passes NULL or an opaque value the module ignores. */
typedef void* ArcWindow;

enum { ARC_FNAME_MAX32 = 512 };

/* One member (FindFirst, FindNext): 558 bytes, the layout of the common interface. */
typedef struct ArcIndividualInfo {
    uint32_t dwOriginalSize;   /* low 32 bits of the original size */
    uint32_t dwCompressedSize; /* low 32 bits of the stored size */
    uint32_t dwCRC;
    uint32_t uFlag;
    uint32_t uOSType;
    uint16_t wRatio;                      /* stored size in per mille of the original */
    uint16_t wDate;                       /* DOS date of the modification time (local time) */
    uint16_t wTime;                       /* DOS time */
    char szFileName[ARC_FNAME_MAX32 + 1]; /* path inside the archive, "/"-separated */
    char dummy1[3];
    char szAttribute[8]; /* attribute letters, e.g. "-----" */
    char szMode[8];      /* method, e.g. "-lh5-", "deflate" */
} ArcIndividualInfo;

/* Error results of the interface that these modules return. */
enum {
    ARC_ERROR_NOT_EXIST = 0x800F,         /* no member of that name */
    ARC_ERROR_HEADER_BROKEN = 0x8017,     /* the archive is corrupt or truncated */
    ARC_ERROR_ARC_FILE_OPEN = 0x8018,     /* the archive file cannot be opened */
    ARC_ERROR_NOT_ARC_FILE = 0x8019,      /* not an archive of this module's format */
    ARC_ERROR_COMMAND_NAME = 0x801C,      /* a command that this module does not run */
    ARC_ERROR_MORE_HEAP_MEMORY = 0x801D,  /* the member does not fit the buffer */
    ARC_ERROR_USER_CANCEL = 0x8020,       /* the enumeration callback asked to stop */
    ARC_ERROR_HARC_ISNOT_OPENED = 0x8021, /* a NULL archive handle */
    ARC_ERROR_NULL_POINTER = 0x8025,      /* a required pointer argument is NULL */
    ARC_ERROR_ILLEGAL_PARAMETER = 0x8026  /* no archive or not exactly one member named */
};

/* The bytes of ArcIndividualInfo that a module writes: the interface's record is 558
 * bytes long, while the C struct carries two bytes of tail padding. */
enum { ARC_INDIVIDUAL_INFO_SIZE = 558 };

/* A Windows FILETIME: 100-nanosecond intervals since 1601-01-01 UTC. */
typedef uint64_t ArcFileTime;

/* Mode bits of CheckArchive and OpenArchive that Ravinel uses: 16 and 24 for
 * CheckArchive (quick and full checks), 0x800002 for the open probe. Modules may ignore
 * bits they have no use for. */

/* Member-enumeration callback of ExtractMem (SetEnumMembersProc64): called once per
 * member before extraction; return non-zero to go on, 0 to stop. */
typedef struct ArcEnumMemberInfo64 {
    uint32_t dwStructSize; /* sizeof(ArcEnumMemberInfo64) */
    uint32_t dwFileAttributes;
    uint64_t llOriginalSize;
    uint64_t llCompressedSize;
    ArcFileTime ftWriteTime;
    char szFileName[ARC_FNAME_MAX32 + 1];
} ArcEnumMemberInfo64;
typedef int32_t (*ArcEnumMembersProc64)(const ArcEnumMemberInfo64* info);

/* Progress callback of SetOwnerWindowEx: state and an opaque extracting-info pointer;
 * return non-zero to stop. */
typedef int32_t (*ArcOwnerWindowProc)(ArcWindow window, uint32_t message, uint32_t state,
                                      const void* extractingInfo);

/* The exports, shown for the prefix "Unlha"; every module has the same set under its
 * own prefix. Results: 0 success, non-zero an error code of the interface (0x8000 and
 * above), unless said otherwise. */
#define ARC_DECLARE_EXPORTS(prefix)                                                                \
    /* Runs a command line (only commands that read are supported); output may be NULL             \
     * with size 0. */                                                                             \
    ARC_EXPORT int32_t prefix(ArcWindow window, const char* commandLine, char* output,             \
                              uint32_t outputSize);                                                \
    ARC_EXPORT HARC prefix##OpenArchive(ArcWindow window, const char* archivePath, uint32_t mode); \
    ARC_EXPORT int32_t prefix##CloseArchive(HARC archive);                                         \
    /* 0: a member matching wildName ("*" for all) was stored in info; -1: no more. */             \
    ARC_EXPORT int32_t prefix##FindFirst(HARC archive, const char* wildName,                       \
                                         ArcIndividualInfo* info);                                 \
    ARC_EXPORT int32_t prefix##FindNext(HARC archive, ArcIndividualInfo* info);                    \
    /* Non-zero when the file is an archive this module reads. */                                  \
    ARC_EXPORT int32_t prefix##CheckArchive(const char* archivePath, int32_t mode);                \
    /* The archive's kind (TAR: 1 tar, 2 tar.gz, 3 tar.Z, 4 gz, 5 Z, 6 tar.bz2, 7 bz2,             \
     * 32 cpio, 48 ar; other modules: 1 their format); 0 unknown, -1 error. */                     \
    ARC_EXPORT int32_t prefix##GetArchiveType(const char* archivePath);                            \
    /* Extracts the member named on the command line into buffer, never writing past               \
     * bufferSize; time, attribute and writtenSize may be NULL. */                                 \
    ARC_EXPORT int32_t prefix##ExtractMem(ArcWindow window, const char* commandLine,               \
                                          uint8_t* buffer, uint32_t bufferSize, int64_t* time,     \
                                          uint16_t* attribute, uint32_t* writtenSize);             \
    /* Optional exports: a missing one makes the caller fall back. Non-zero: success. */           \
    ARC_EXPORT int32_t prefix##SetOwnerWindowEx(ArcWindow window, ArcOwnerWindowProc proc);        \
    ARC_EXPORT int32_t prefix##KillOwnerWindowEx(ArcWindow window);                                \
    ARC_EXPORT int32_t prefix##GetWriteTimeEx(HARC archive, ArcFileTime* time);                    \
    ARC_EXPORT int32_t prefix##GetCreateTimeEx(HARC archive, ArcFileTime* time);                   \
    ARC_EXPORT int32_t prefix##GetAccessTimeEx(HARC archive, ArcFileTime* time);                   \
    ARC_EXPORT int32_t prefix##GetOriginalSizeEx(HARC archive, int64_t* size);                     \
    ARC_EXPORT int32_t prefix##GetCompressedSizeEx(HARC archive, int64_t* size);                   \
    ARC_EXPORT int32_t prefix##SetEnumMembersProc64(ArcEnumMembersProc64 proc,                     \
                                                    uint32_t structSize);                          \
    ARC_EXPORT int32_t prefix##ClearEnumMembersProc64(void);

#ifdef __cplusplus
}
#endif

#endif /* RAVINEL_ARCHIVER_API_H */
