// Numbers of the track manager's user-visible texts in the message module
// (winui/message_text.h). Every Win32 part of the program names its texts
// through these constants; the test run checks that each one has a text in
// our message module (stand-ins/message_module/messages.mc).
#pragma once

namespace msg {

// ---- Window titles, buttons and column headings ----------------------------
constexpr unsigned kAppTitle = 4096;  // main window title, caption of every message box
constexpr unsigned kEraseButton = 4097;
constexpr unsigned kEraseAllButton = 4098;
constexpr unsigned kCloseButton = 4099;    // main window's Exit, help window's Close
constexpr unsigned kTitleColumn = 4100;    // column 0: track title, album name on album rows
constexpr unsigned kNewAlbumName = 4101;   // album made for a drop when there is none
constexpr unsigned kAboutMenuItem = 4102;  // system menu entry of the About box
constexpr unsigned kHelpTitle = 8192;
constexpr unsigned kHelpAtStartCheckBox = 8193;
constexpr unsigned kHelpNotShownHere = 8194;  // help window without an HTML engine
constexpr unsigned kAboutVersionLine = 12288;
constexpr unsigned kAboutSecondLine = 12289;
constexpr unsigned kOkButton = 16384;      // progress window when done, About box
constexpr unsigned kCancelButton = 16385;  // progress window while a transfer runs
constexpr unsigned kArtistColumn = 18438;
constexpr unsigned kTimeColumn = 18439;
constexpr unsigned kAlbumColumn = 18440;
constexpr unsigned kGenreColumn = 18441;
constexpr unsigned kHelpHint = 18448;

// ---- Questions ------------------------------------------------------------
constexpr unsigned kConfirmErase = 16640;
constexpr unsigned kConfirmEraseAll = 16641;

// ---- Progress window texts --------------------------------------------------
constexpr unsigned kCollectingFiles = 16896;
constexpr unsigned kCancelling = 16897;
constexpr unsigned kNothingToTransfer = 17154;
constexpr unsigned kOutOfSpaceBefore = 17155;  // followed by a count
constexpr unsigned kOutOfSpaceAfter = 17156;   // after the count
constexpr unsigned kTooManyAlbums = 18449;
constexpr unsigned kDroppedItemUnreadable = 18450;
constexpr unsigned kFinishingTrack = 18452;

// ---- Reports and errors -----------------------------------------------------
constexpr unsigned kTransferStopped = 17152;
constexpr unsigned kSomeFilesSkipped = 17153;
constexpr unsigned kNothingSelected = 17408;
constexpr unsigned kMixedSelection = 17409;
constexpr unsigned kAlbumNotCreated = 17664;
constexpr unsigned kAlbumFull = 17665;
constexpr unsigned kNoMoreAlbums = 17666;
constexpr unsigned kStartFailed = 17920;
constexpr unsigned kDeviceFailure = 17921;
constexpr unsigned kLogOffRefused = 18176;
constexpr unsigned kAlreadyRunning = 18433;
constexpr unsigned kLockedOut = 18434;  // after the names of the programs holding the lock
constexpr unsigned kLibraryMissing = 18435;
constexpr unsigned kTracksUnreadable = 18437;
constexpr unsigned kSuspendRefused = 18451;

// ---- Why a dropped file was skipped ------------------------------------------
// Listed under kSomeFilesSkipped, one "name - cause" line per file. The
// tools and the log use the English texts of app/engine/refusal_text.cpp,
// which the test run holds equal to these.
constexpr unsigned kRefusedByName = 18688;
constexpr unsigned kRefusedUnreadable = 18689;  // followed by the system's reason when known
constexpr unsigned kRefusedNotMpegAudio = 18690;
constexpr unsigned kRefusedBitRate = 18691;  // followed by the rate found
constexpr unsigned kRefusedTooManyAlbums = 18692;
constexpr unsigned kMoreRefusedBefore = 18693;  // "... and" before the count of files not listed
constexpr unsigned kMoreRefusedAfter = 18694;   // after that count

}  // namespace msg
