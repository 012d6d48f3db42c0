/* The exported functions of Vantle.dll, the device command library, and the
   two records they carry. Plain C so that any host program can use it; the
   functions are exported by these exact names.

   Every function but SetDriveNo writes its outcome to *result and returns 0;
   a null result pointer is refused with E_POINTER (0x80004003) and nothing
   is sent. */
#ifndef PELLMARK_DEVCMD_VANTLE_H_
#define PELLMARK_DEVCMD_VANTLE_H_

#if defined(_WIN32)
#define VANTLE_CALL __stdcall
#else
#define VANTLE_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The preference menu (16 bytes). Its bytes belong to the device and pass
   through unchanged, except the 16-bit value at 12-13: host byte order here,
   most significant byte first on the way to and from the device. */
typedef struct _SETPREFERENCEMENU {
  unsigned char lead[12];
  unsigned short value;
  unsigned char trail[2];
} SETPREFERENCEMENU;

/* The preference timer record (20 bytes), carried unchanged from the
   device. */
typedef struct _SETPREFERENCETIMERREC {
  unsigned char bytes[20];
} SETPREFERENCETIMERREC;

/* Room GetInquiry needs: vendor (8), blank, product (16), blank, revision
   (4), terminating zero. */
#define VANTLE_INQUIRY_TEXT_SIZE 31

/* Stores the drive later commands address (0 = A:). Not checked here: a
   drive that cannot be used makes each command report 1 (0 for
   GetInquiry). Returns 0. */
int VANTLE_CALL SetDriveNo(int drive);

/* Identification text of the player; *result 1 on success, else 0 with the
   31 bytes zeroed. */
int VANTLE_CALL GetInquiry(char* text, int* result);

/* Owner number and name (at most 23 characters). *result 0 success, 1 drive
   not selectable, 16 command failed or name too long (nothing sent). */
int VANTLE_CALL SetUserNameDevice(unsigned short number, const char* name, int* result);

/* Sends the preference menu. *result 0, 1 or 16 as above. */
int VANTLE_CALL SetPreferenceMenu(SETPREFERENCEMENU* menu, int* result);

/* Reads the preference menu and timer records. *result 0, 1, 16, or the
   device's non-zero status byte (then both records are left untouched). */
int VANTLE_CALL GetPreferenceInfo(SETPREFERENCEMENU* menu, SETPREFERENCETIMERREC* timer, int* result);

/* Resets the player. *result 0 success, 1 drive not selectable or command
   failed. */
int VANTLE_CALL Reset(int* result);

#ifdef __cplusplus
}  // extern "C"

#include <stddef.h>
static_assert(sizeof(SETPREFERENCEMENU) == 16, "the preference menu is 16 bytes");
static_assert(offsetof(SETPREFERENCEMENU, value) == 12, "its value sits at bytes 12-13");
static_assert(sizeof(SETPREFERENCETIMERREC) == 20, "the timer record is 20 bytes");
#endif

#endif /* PELLMARK_DEVCMD_VANTLE_H_ */
