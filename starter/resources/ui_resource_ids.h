// Ids of the starter's pictures, icon and accelerator keys (ui_resources.rc).
// Only #define lines: the resource compiler includes this file too.
#pragma once

#define IDR_ACCELERATORS 260
#define IDB_LOGO 261
#define IDB_BTN_START_INSTALL 292
#define IDB_BTN_CANCEL 293
#define IDB_BTN_MINIMIZE 294
#define IDB_BTN_CLOSE 295
#define IDB_BTN_SELECT_DIR 298
#define IDB_FOLDER_LABEL 304
#define IDB_BACKGROUND 305
#define IDB_TOP_EDGE 306
#define IDB_RIGHT_EDGE 307
#define IDB_BOTTOM_EDGE 308
#define IDB_BTN_CANCEL_SMALL 312
#define IDI_STARTER 32773

// Commands of the accelerator table.
#define ID_ACCEL_NO_SHORTCUT 32776 /* Ctrl+X */
#define ID_ACCEL_START 32779       /* Enter */
#define ID_ACCEL_CANCEL 32780      /* Escape */
