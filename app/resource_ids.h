// Ids of the track manager's icons and bitmaps. Plain #defines: the resource
// compiler reads this file too.
#pragma once

#define IDR_MAINFRAME 128           // application icon
#define IDB_TREE_IMAGES 135         // album/track list images, 16 x 16 each, mask colour 0x00FF00
#define IDB_PROGRESS_PICTURE_2 146  // progress window, second picture (34 x 34)
#define IDB_PROGRESS_PICTURE_1 147  // progress window, first picture (34 x 34)
